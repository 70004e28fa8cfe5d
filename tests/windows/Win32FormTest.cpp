// The real window: geometry from the description, the nested change event of the path box, routing
// of real control notifications, the Tab cycle, the accessibility layer's names, the tooltip.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "core/Error.h"
#include "platform/win32/CaptionFont.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Form.h"
#include "tests/Support.h"
#include "tests/sim/SimUi.h"

namespace timrose::win32 {
namespace {

// Records every event with what the window showed at that moment.
class Recorder : public IFormEvents {
 public:
  explicit Recorder(Win32Form& form) : form_(form) {}
  void OnChange(ControlId control) override {
    log.push_back("change " + ControlName(control) + "=" + ToUtf8(form_.GetText(control)));
    if (onChange) onChange();
  }
  void OnClick(ControlId control) override {
    std::string entry = "click " + ControlName(control);
    const ControlKind kind = Describe(control).kind;
    if (kind == ControlKind::CheckBox || kind == ControlKind::ToggleButton) {
      entry += "=" + std::to_string(form_.GetValue(control));
    }
    log.push_back(entry);
    if (onClick) onClick(control);
  }
  void OnOLEDragDrop(ControlId control, IDropData&, int32_t&, int16_t, int16_t, float, float) override {
    log.push_back("drop " + ControlName(control));
  }
  std::vector<std::string> log;
  std::function<void()> onChange;
  std::function<void(ControlId)> onClick;

 private:
  Win32Form& form_;
};

class Win32FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    form.SetEvents(&events);
  }
  void Show() {
    ASSERT_TRUE(form.Create(SW_SHOWNORMAL));
    SetForegroundWindow(form.Handle());
    Pump();
  }
  void CreateHidden() { ASSERT_TRUE(form.Create(SW_HIDE)); }
  HWND Ctl(ControlId id) { return form.Control(id); }
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  RECT ClientRectOf(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  // The numbers of the error boxes shown.
  std::vector<int> ErrorNumbers() const {
    std::vector<int> numbers;
    for (const sim::ShownMessage& box : boxes.shown) numbers.push_back(std::stoi(ToUtf8(box.prompt)));
    return numbers;
  }

  sim::SimMessageBoxes boxes;
  Win32Form form{GetModuleHandleW(nullptr), boxes};
  Recorder events{form};
};

// The start state and the place of each control at 96 DPI are the GUI window test's; here, what the
// window is given only from inside its process: another DPI, as on a move to another monitor, and
// the styles of its controls.
TEST_F(Win32FormTest, ADpiChangePlacesEveryControlAtItsTwipsAtTheNewScale) {
  CreateHidden();
  const struct {
    int dpi;
    std::array<LONG, 4> path, size;  // left, top, width, height
  } cases[] = {
      {144, {168, 12, 326, 86}, {276, 252, 218, 26}},
      {192, {224, 16, 434, 114}, {368, 336, 290, 34}},
      {96, {112, 8, 217, 57}, {184, 168, 145, 17}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi), 0);
    EXPECT_EQ(form.Dpi(), c.dpi);
    for (const auto& [control, place] :
         {std::pair{ControlId::txtPath, c.path}, std::pair{ControlId::lblSize, c.size}}) {
      const RECT r = ClientRectOf(Ctl(control));
      EXPECT_EQ((std::array<LONG, 4>{r.left, r.top, r.right - r.left, r.bottom - r.top}), place)
          << ControlName(control);
    }
  }
}

TEST_F(Win32FormTest, TheWindowIsNotResizableAndOnlyItsBoxesAndButtonsAreTabStops) {
  CreateHidden();
  wchar_t className[64] = {};
  GetClassNameW(form.Handle(), className, 64);
  EXPECT_STREQ(className, kMainWindowClass);
  wchar_t caption[32] = {};
  GetWindowTextW(form.Handle(), caption, 32);
  EXPECT_STREQ(caption, L"Timrose");
  const LONG style = GetWindowLongW(form.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "the window must not be resizable";

  for (const ControlDesc& desc : kControls) {
    SCOPED_TRACE(ControlName(desc.id));
    HWND control = Ctl(desc.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetDlgItem(form.Handle(), DialogId(desc.id)), control);
    const LONG s = GetWindowLongW(control, GWL_STYLE);
    EXPECT_EQ((s & WS_TABSTOP) != 0, desc.kind != ControlKind::Label) << "labels are never tab stops";
    if (desc.kind == ControlKind::Label) {
      const LONG align = s & SS_TYPEMASK;
      EXPECT_EQ(align == SS_RIGHT, (desc.flags & kFlagRightAligned) != 0);
      EXPECT_EQ(align == SS_CENTER, (desc.flags & kFlagCentred) != 0);
    }
  }
  const LONG path = GetWindowLongW(Ctl(ControlId::txtPath), GWL_STYLE);
  EXPECT_EQ(path & (ES_MULTILINE | ES_READONLY | WS_VSCROLL), ES_MULTILINE | ES_READONLY | WS_VSCROLL);
  const LONG onTop = GetWindowLongW(Ctl(ControlId::chkOnTop), GWL_STYLE);
  EXPECT_EQ(onTop & (BS_PUSHLIKE | BS_TYPEMASK), BS_PUSHLIKE | BS_AUTOCHECKBOX);
}

// Under Wine without Windows' fonts the message font has no Chinese characters (Wine 10 in every
// locale, Wine 8 in Western ones): each control must still draw every character of its caption, in a
// font of the message font's size and weight. Also run in de_DE (tests/CMakeLists.txt).
TEST_F(Win32FormTest, EveryControlsFontHasAGlyphForEveryCharacterOfItsCaption) {
  CreateHidden();
  const LOGFONTW message = MessageFont(form.Dpi());
  WindowDc dc(form.Handle());
  // The choice handed a font without one Chinese glyph, which the message font here may never be.
  LOGFONTW symbols = message;
  symbols.lfCharSet = SYMBOL_CHARSET;
  lstrcpynW(symbols.lfFaceName, L"Marlett", LF_FACESIZE);
  const UniqueFont symbolFont(CreateFontIndirectW(&symbols));
  wchar_t face[LF_FACESIZE] = {};
  HGDIOBJ before = SelectObject(dc.get(), symbolFont.get());
  GetTextFaceW(dc.get(), LF_FACESIZE, face);
  SelectObject(dc.get(), before);
  ASSERT_STREQ(face, L"Marlett") << "no font without Chinese glyphs to hand the choice";
  const LOGFONTW chosen = CaptionFont(symbols);
  const UniqueFont fallback(CreateFontIndirectW(&chosen));
  for (const ControlDesc& desc : kControls) {
    const HFONT fonts[] = {reinterpret_cast<HFONT>(SendMessageW(Ctl(desc.id), WM_GETFONT, 0, 0)),
                           fallback.get()};
    for (HFONT font : fonts) {
      SCOPED_TRACE(ControlName(desc.id) + (font == fallback.get() ? " in the fallback" : ""));
      const Text caption = form.GetText(desc.id);
      ASSERT_NE(font, nullptr);
      LOGFONTW used{};
      ASSERT_NE(GetObjectW(font, sizeof(used), &used), 0);
      EXPECT_EQ(used.lfHeight, message.lfHeight);
      EXPECT_EQ(used.lfWeight, message.lfWeight);
      HGDIOBJ old = SelectObject(dc.get(), font);
      std::vector<WORD> glyphs(caption.size());
      EXPECT_EQ(GetGlyphIndicesW(dc.get(), Wide(caption), static_cast<int>(caption.size()), glyphs.data(),
                                 GGI_MARK_NONEXISTING_GLYPHS),
                caption.size());
      for (size_t i = 0; i < caption.size(); ++i) {
        EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for U+" << std::hex << static_cast<int>(caption[i])
                                     << " in " << ToUtf8(caption.substr(i, 1)) << " of "
                                     << ToUtf8(FromWide(used.lfFaceName));
      }
      SelectObject(dc.get(), old);
    }
  }
}

TEST_F(Win32FormTest, AboutLabelLiesAboveTheRowLabelAndTakesItsClicks) {
  Show();
  HWND about = Ctl(ControlId::lblAbout);
  HWND row = Ctl(ControlId::lblInfo4);
  bool aboveRow = false;
  for (HWND w = GetWindow(about, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) aboveRow |= (w == row);
  EXPECT_TRUE(aboveRow);

  const RECT aboutRect = ClientRectOf(about);
  const RECT rowRect = ClientRectOf(row);
  POINT inAbout{(aboutRect.left + aboutRect.right) / 2, (aboutRect.top + aboutRect.bottom) / 2};
  POINT inRowOnly{(aboutRect.right + rowRect.right) / 2, (rowRect.top + rowRect.bottom) / 2};
  ClientToScreen(form.Handle(), &inAbout);
  ClientToScreen(form.Handle(), &inRowOnly);
  EXPECT_EQ(WindowFromPoint(inAbout), about);
  EXPECT_EQ(WindowFromPoint(inRowOnly), form.Handle()) << "lblInfo(4) itself takes no clicks";

  // Real mouse messages on the labels: the About label reports a click, the row label nothing.
  for (HWND target : {about, row}) {
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  EXPECT_EQ(events.log, std::vector<std::string>{"click lblAbout"});
}

// The About label shows its hand while its pointer is the custom one, the arrow while the About box
// has set it to the default one; both when the pointer moves onto it and at once when it lies there.
TEST_F(Win32FormTest, AboutLabelShowsTheHandOnlyWhileItsPointerIsTheCustomOne) {
  Show();
  HWND about = Ctl(ControlId::lblAbout);
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  const auto moveOnto = [&] {
    SetCursor(nullptr);
    return SendMessageW(form.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(about),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  EXPECT_TRUE(moveOnto());
  const HCURSOR hand = GetCursor();
  EXPECT_NE(hand, nullptr);
  EXPECT_NE(hand, arrow);

  RECT rect{};
  GetWindowRect(about, &rect);
  ASSERT_TRUE(SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
  ASSERT_EQ(WindowFromPoint(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}), about);
  form.SetMousePointer(ControlId::lblAbout, kPointerDefault);
  EXPECT_EQ(GetCursor(), arrow) << "the hand stays while the About box is open";
  moveOnto();
  EXPECT_NE(GetCursor(), hand) << "a move onto the label shows the hand while the box is open";
  form.SetMousePointer(ControlId::lblAbout, kPointerCustom);
  EXPECT_EQ(GetCursor(), hand) << "no hand once the box is closed";
  EXPECT_TRUE(moveOnto());
  EXPECT_EQ(GetCursor(), hand);
}

TEST_F(Win32FormTest, PathChangeIsRaisedInsideTheAssignmentAndOnlyForARealChange) {
  CreateHidden();
  int depth = 0;
  std::vector<int> depthAtEvent;
  events.onChange = [&] { depthAtEvent.push_back(depth); };
  auto assign = [&](const Text& text) {
    ++depth;
    form.SetText(ControlId::txtPath, text);
    --depth;
  };
  auto sendSetText = [&](const wchar_t* text) {
    ++depth;
    SendMessageW(Ctl(ControlId::txtPath), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    --depth;
  };

  assign(u"C:\\a.txt");
  assign(u"C:\\a.txt");       // unchanged: nothing
  sendSetText(L"C:\\b.txt");  // a WM_SETTEXT as another program sends it
  sendSetText(L"C:\\b.txt");
  assign(u"");
  assign(u"");
  form.SetText(ControlId::txtTime0, u"2011-03-03 10:00:00");  // other boxes raise nothing
  form.SetText(ControlId::lblSize, u"大小:1 字节");

  EXPECT_EQ(events.log, (std::vector<std::string>{"change txtPath=C:\\a.txt", "change txtPath=C:\\b.txt",
                                                  "change txtPath="}));
  EXPECT_EQ(depthAtEvent, (std::vector<int>{1, 1, 1})) << "each event ran inside its assignment";
}

TEST_F(Win32FormTest, ChangesFromAnotherThreadAndByReplacingTheSelectionAreRaisedToo) {
  CreateHidden();
  HWND path = Ctl(ControlId::txtPath);
  std::atomic<bool> done{false};
  std::thread other([&] {
    SendMessageW(path, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"D:\\from another thread"));
    done = true;
  });
  // The sent message is delivered while this thread waits for messages.
  for (int i = 0; i < 2000 && !done; ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
  other.join();
  SendMessageW(path, EM_SETSEL, 0, -1);
  SendMessageW(path, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"E:\\x"));
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"change txtPath=D:\\from another thread", "change txtPath=E:\\x"}));
}

TEST_F(Win32FormTest, TheLockedPathBoxIgnoresTypingPastingAndDeleting) {
  CreateHidden();
  HWND path = Ctl(ControlId::txtPath);
  form.SetText(ControlId::txtPath, u"C:\\keep.txt");
  events.log.clear();
  SendMessageW(path, EM_SETSEL, 0, -1);
  SendMessageW(path, WM_CHAR, L'x', 0);
  SendMessageW(path, WM_CHAR, VK_BACK, 0);
  SendMessageW(path, WM_KEYDOWN, VK_DELETE, 0);
  SendMessageW(path, WM_CUT, 0, 0);
  SendMessageW(path, WM_CLEAR, 0, 0);
  SendMessageW(path, WM_PASTE, 0, 0);
  EXPECT_EQ(form.GetText(ControlId::txtPath), u"C:\\keep.txt");
  EXPECT_TRUE(events.log.empty());

  // Copying still works.
  SendMessageW(path, EM_SETSEL, 0, -1);
  SendMessageW(path, WM_COPY, 0, 0);
  ASSERT_TRUE(OpenClipboard(form.Handle()));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(data, nullptr);
  const Text copied = FromWide(static_cast<const wchar_t*>(GlobalLock(data)));
  GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(copied, u"C:\\keep.txt");
}

TEST_F(Win32FormTest, ControlNotificationsReachTheirEventsOnce) {
  CreateHidden();
  SendMessageW(Ctl(ControlId::btnGet), BM_CLICK, 0, 0);
  SendMessageW(Ctl(ControlId::btnSet), BM_CLICK, 0,
               0);  // disabled: nothing, even where BM_CLICK gets through
  form.SetEnabled(ControlId::btnSet, true);
  SendMessageW(Ctl(ControlId::btnSet), BM_CLICK, 0, 0);
  SendMessageW(Ctl(ControlId::chkOnTop), BM_CLICK, 0, 0);
  SendMessageW(Ctl(ControlId::chkOnTop), BM_CLICK, 0, 0);
  SendMessageW(Ctl(ControlId::chkHide), BM_CLICK, 0, 0);
  form.SetValue(ControlId::chkSystem, 1);
  form.SetValue(ControlId::chkSystem, 1);  // unchanged: no click
  SendMessageW(Ctl(ControlId::txtTime1), WM_CHAR, L'7', 0);
  SendMessageW(Ctl(ControlId::lblInfo5), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageW(Ctl(ControlId::lblInfo5), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"click btnGet", "click btnSet", "click chkOnTop=1", "click chkOnTop=0",
                                      "click chkHide=1", "click chkSystem=1"}));
  EXPECT_EQ(form.GetText(ControlId::txtTime1), u"7");
}

// The program's own errors keep their number; of the C++ library's, an allocation failure is error 7
// and every other one, a fault of the program, error 51, whichever of the library's helpers raises it.
TEST_F(Win32FormTest, AnErrorEscapingAHandlerIsReportedNotThrown) {
  CreateHidden();
  const struct {
    const char* what;
    void (*raise)();
    int number;
  } cases[] = {
      {"raised error", [] { RaiseError(kErrDialogBufferTooSmall); }, kErrDialogBufferTooSmall},
      {"allocation past the allocator's limit",
       [] { (void)std::allocator<char16_t>().allocate(PTRDIFF_MAX / sizeof(char16_t) + 1); },
       kErrOutOfMemory},
      {"array size past the address space",
       [] { (void)std::allocator<char16_t>().allocate(SIZE_MAX / 2 + 1); }, kErrOutOfMemory},
      {"out of memory", [] { throw std::bad_alloc(); }, kErrOutOfMemory},
      {"text past its maximum length", [] { Text().reserve(Text().max_size() + 1); }, kErrInternal},
      {"substring past the end", [] { (void)Text(u"ab").substr(3); }, kErrInternal},
      {"text from a null pointer",
       [] {
         const char16_t* volatile none = nullptr;
         Text text(none);
       },
       kErrInternal},
      {"empty function", [] { std::function<void()>()(); }, kErrInternal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.shown.clear();
    events.onClick = [&c](ControlId) { c.raise(); };
    SendMessageW(Ctl(ControlId::btnGet), BM_CLICK, 0, 0);
    EXPECT_EQ(ErrorNumbers(), std::vector<int>{c.number});
  }
  EXPECT_NE(form.Handle(), nullptr);
}

TEST_F(Win32FormTest, TabCycleFollowsTheTabOrderAndSkipsADisabledButton) {
  Show();
  auto tabCycle = [&] {
    form.SetFocus(ControlId::txtPath);
    std::vector<std::string> visited;
    for (int i = 0; i < 12; ++i) {
      MSG message{GetFocus(), WM_KEYDOWN, VK_TAB, 0};
      EXPECT_TRUE(IsDialogMessageW(form.Handle(), &message));
      const int id = GetDlgCtrlID(GetFocus()) - DialogId(ControlId::lblInfo0);
      visited.push_back(id >= 0 && id < kControlCount ? ControlName(static_cast<ControlId>(id)) : "?");
      if (GetFocus() == Ctl(ControlId::txtPath)) break;
    }
    return visited;
  };
  EXPECT_EQ(tabCycle(),
            (std::vector<std::string>{"txtTime(0)", "txtTime(1)", "txtTime(2)", "chkReadOnly", "chkHide",
                                      "chkSystem", "btnGet", "chkOnTop", "chkArchive", "txtPath"}));
  form.SetEnabled(ControlId::btnSet, true);
  EXPECT_EQ(tabCycle(),
            (std::vector<std::string>{"txtTime(0)", "txtTime(1)", "txtTime(2)", "chkReadOnly", "chkHide",
                                      "chkSystem", "btnGet", "btnSet", "chkOnTop", "chkArchive", "txtPath"}));

  // The multi-line box's own hand-over: WM_NEXTDLGCTL forwards, backwards and to a named control.
  form.SetFocus(ControlId::txtPath);
  SendMessageW(form.Handle(), WM_NEXTDLGCTL, 0, 0);
  EXPECT_EQ(GetFocus(), Ctl(ControlId::txtTime0));
  SendMessageW(form.Handle(), WM_NEXTDLGCTL, 1, 0);
  EXPECT_EQ(GetFocus(), Ctl(ControlId::txtPath));
  SendMessageW(form.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Ctl(ControlId::chkHide)), TRUE);
  EXPECT_EQ(GetFocus(), Ctl(ControlId::chkHide));

  // On a monitor of another DPI the controls move but keep their order among the siblings, which is
  // the Tab order and what names each box after the label right before it.
  RECT suggested{};
  GetWindowRect(form.Handle(), &suggested);
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(tabCycle(),
            (std::vector<std::string>{"txtTime(0)", "txtTime(1)", "txtTime(2)", "chkReadOnly", "chkHide",
                                      "chkSystem", "btnGet", "btnSet", "chkOnTop", "chkArchive", "txtPath"}));
  const std::pair<ControlId, ControlId> labelled[] = {{ControlId::lblInfo0, ControlId::txtPath},
                                                      {ControlId::lblInfo1, ControlId::txtTime0},
                                                      {ControlId::lblInfo3, ControlId::txtTime1},
                                                      {ControlId::lblInfo2, ControlId::txtTime2}};
  for (const auto& [label, box] : labelled) EXPECT_EQ(GetWindow(Ctl(box), GW_HWNDPREV), Ctl(label));
}

// Screen readers name a box, which has no caption, after the static text right before it among its
// siblings, and every other control, labels included, after its own caption: every control is here.
TEST_F(Win32FormTest, TheAccessibilityLayerNamesEachBoxByItsLabelAndEachButtonByItsCaption) {
  const OleInitialization ole;
  Show();
  const struct {
    ControlId control;
    ControlId label;  // the one right before it, for a box
    const wchar_t* name;
  } rows[] = {
      {ControlId::txtPath, ControlId::lblInfo0, L"文件路径(可拖拽)"},
      {ControlId::txtTime0, ControlId::lblInfo1, L"创建时间"},
      {ControlId::txtTime1, ControlId::lblInfo3, L"最近一次修改时间"},
      {ControlId::txtTime2, ControlId::lblInfo2, L"最后一次访问时间"},
      {ControlId::btnGet, ControlId::kCount, L"选择文件"},
      {ControlId::btnSet, ControlId::kCount, L"设置文件属性"},
      {ControlId::chkOnTop, ControlId::kCount, L"置顶"},
      {ControlId::chkReadOnly, ControlId::kCount, L"只读"},
      {ControlId::chkHide, ControlId::kCount, L"隐藏"},
      {ControlId::chkSystem, ControlId::kCount, L"系统"},
      {ControlId::chkArchive, ControlId::kCount, L"存档"},
      {ControlId::lblInfo0, ControlId::kCount, L"文件路径(可拖拽)"},
      {ControlId::lblInfo1, ControlId::kCount, L"创建时间"},
      {ControlId::lblInfo3, ControlId::kCount, L"最近一次修改时间"},
      {ControlId::lblInfo2, ControlId::kCount, L"最后一次访问时间"},
      {ControlId::lblAbout, ControlId::kCount, L"关于"},
      {ControlId::lblInfo4, ControlId::kCount, L"只读与隐藏"},
      {ControlId::lblInfo5, ControlId::kCount, L"简单实用的小工具vantrelTooL"},
      {ControlId::lblSize, ControlId::kCount, L"大小:当前没有选择文件"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(ControlName(row.control));
    if (row.label != ControlId::kCount) {
      EXPECT_EQ(GetWindow(Ctl(row.control), GW_HWNDPREV), Ctl(row.label));
    }
    IAccessible* raw = nullptr;
    // __uuidof: the import library's IID_IAccessible is the address of the DLL's export, not the GUID.
    ASSERT_EQ(AccessibleObjectFromWindow(Ctl(row.control), static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&raw)),
              S_OK);
    const ComPtr<IAccessible> accessible = ComPtr<IAccessible>::Attach(raw);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    ASSERT_EQ(accessible->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), row.name);
    SysFreeString(name);
  }
}

TEST_F(Win32FormTest, EnterAndEscapeInThePathBoxDoNothing) {
  Show();
  form.SetFocus(ControlId::txtPath);
  for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
    MSG message{Ctl(ControlId::txtPath), WM_KEYDOWN, key, 0};
    if (!IsDialogMessageW(form.Handle(), &message)) DispatchMessageW(&message);
    SendMessageW(Ctl(ControlId::txtPath), WM_KEYDOWN, key, 0);
    Pump();
  }
  EXPECT_TRUE(IsWindow(form.Handle())) << "Esc must not close the window";
  EXPECT_EQ(GetFocus(), Ctl(ControlId::txtPath));
  EXPECT_TRUE(events.log.empty());
}

TEST_F(Win32FormTest, DisablingTheFocusedButtonMovesTheFocusOn) {
  Show();
  form.SetEnabled(ControlId::btnSet, true);
  form.SetFocus(ControlId::btnSet);
  ASSERT_EQ(GetFocus(), Ctl(ControlId::btnSet));
  form.SetEnabled(ControlId::btnSet, false);
  EXPECT_EQ(GetFocus(), Ctl(ControlId::chkOnTop));
}

// The tooltip window must not keep the window out of the topmost band: Wine reorders a window
// with owned popups without making it topmost.
TEST_F(Win32FormTest, WindowWithATooltipEntersAndLeavesTheTopmostBand) {
  ASSERT_TRUE(form.Create(SW_SHOWNOACTIVATE));
  form.SetToolTip(ControlId::lblSize, u"12.0K");
  for (const bool topmost : {true, false}) {
    SetWindowPos(form.Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ((GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, topmost);
  }
}

}  // namespace
}  // namespace timrose::win32
