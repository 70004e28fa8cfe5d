// The real window under wine64: geometry from the description, the nested change event of the
// path box, routing of real control notifications, the Tab cycle, the dialog and drop helpers.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include "platform/win32/Win32Form.h"
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <algorithm>
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
#include "platform/win32/AnsiText.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Win32CommonDialog.h"
#include "platform/win32/Win32DragSource.h"
#include "platform/win32/Win32DropTarget.h"

namespace timrose::win32 {
namespace {

TEST(Dpi, TwipsConvertAtEachScale) {
  struct Case {
    int twips, dpi, pixels;
  };
  const Case cases[] = {
      {15, 96, 1},  {5010, 96, 334},  {2745, 96, 183},  {855, 96, 57},  {5010, 144, 501}, {2745, 144, 275},
      {15, 144, 2}, {5010, 192, 668}, {2745, 192, 366}, {255, 192, 34}, {0, 144, 0},      {-120, 96, -8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
  }
  EXPECT_FLOAT_EQ(PixelsToTwips(334, 96), 5010.0f);
  EXPECT_FLOAT_EQ(PixelsToTwips(3, 144), 30.0f);
}

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
  void OnOLEDragDrop(ControlId control, IDropData& data, int32_t&, int16_t, int16_t, float, float) override {
    log.push_back("drop " + ControlName(control) + " " + std::to_string(data.FileCount()));
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
    form.SetErrorReporter([this](int number, const Text&) { errors.push_back(number); });
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

  Win32Form form{GetModuleHandleW(nullptr)};
  Recorder events{form};
  std::vector<int> errors;
};

TEST_F(Win32FormTest, WindowAndEveryControlFollowTheDescription) {
  CreateHidden();
  const int dpi = form.Dpi();
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(kForm.clientWidth, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(kForm.clientHeight, dpi));

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
    const RECT r = ClientRectOf(control);
    EXPECT_EQ(r.left, TwipsToPixels(desc.left, dpi));
    EXPECT_EQ(r.top, TwipsToPixels(desc.top, dpi));
    EXPECT_EQ(r.right - r.left, TwipsToPixels(desc.width, dpi));
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(desc.height, dpi));
    EXPECT_EQ(form.GetText(desc.id), Text(desc.caption));
    EXPECT_EQ(form.GetEnabled(desc.id), (desc.flags & kFlagDisabled) == 0);
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
  EXPECT_EQ(form.GetValue(ControlId::chkOnTop), 0);
}

// Under Wine without Windows' fonts the message font has no Chinese characters (Wine 10 in every
// locale, Wine 8 in Western ones): each control must still draw every character of its caption, in a
// font of the message font's size and weight. Also run in de_DE (tests/CMakeLists.txt).
TEST_F(Win32FormTest, EveryControlsFontHasAGlyphForEveryCharacterOfItsCaption) {
  CreateHidden();
  const LOGFONTW message = MessageFont(form.Dpi());
  WindowDc dc(form.Handle());
  for (const ControlDesc& desc : kControls) {
    SCOPED_TRACE(ControlName(desc.id));
    const Text caption = form.GetText(desc.id);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Ctl(desc.id), WM_GETFONT, 0, 0));
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
      EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for U+" << std::hex << static_cast<int>(caption[i]) << " in "
                                   << ToUtf8(caption.substr(i, 1)) << " of "
                                   << ToUtf8(FromWide(used.lfFaceName));
    }
    SelectObject(dc.get(), old);
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
       [] { (void)std::allocator<char16_t>().allocate(PTRDIFF_MAX / sizeof(char16_t) + 1); }, kErrOutOfMemory},
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
    errors.clear();
    events.onClick = [&c](ControlId) { c.raise(); };
    SendMessageW(Ctl(ControlId::btnGet), BM_CLICK, 0, 0);
    EXPECT_EQ(errors, std::vector<int>{c.number});
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

TEST_F(Win32FormTest, OnlyTheSizeLabelCarriesATooltip) {
  CreateHidden();
  EXPECT_EQ(form.GetToolTip(ControlId::lblSize), u"");
  form.SetToolTip(ControlId::lblSize, u"12.0K");
  form.SetToolTip(ControlId::lblInfo0, u"ignored");
  EXPECT_EQ(form.GetToolTip(ControlId::lblSize), u"12.0K");
  EXPECT_EQ(form.GetToolTip(ControlId::lblInfo0), u"");
  form.SetToolTip(ControlId::lblSize, u"2.79G");
  EXPECT_EQ(form.GetToolTip(ControlId::lblSize), u"2.79G");
  form.SetToolTip(ControlId::lblSize, u"");
  EXPECT_EQ(form.GetToolTip(ControlId::lblSize), u"");
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

TEST(Win32CommonDialog, FilterBecomesADoubleNulList) {
  const std::vector<wchar_t> list = FilterList(u"所有文件(*.*)|*.*");
  const std::wstring expected(L"所有文件(*.*)\0*.*\0\0", 15);
  EXPECT_EQ(std::wstring(list.begin(), list.end()), expected);
  EXPECT_TRUE(FilterList(u"").empty());
  const std::vector<wchar_t> two = FilterList(u"a|*.a|b|*.b");
  EXPECT_EQ(std::wstring(two.begin(), two.end()), std::wstring(L"a\0*.a\0b\0*.b\0\0", 13));
}

TEST(Win32CommonDialog, StartNameIsCutToTheBuffer) {
  struct Case {
    Text name;
    int size;
    std::wstring start;
  };
  const Case cases[] = {
      {u"C:\\a.txt", 260, L"C:\\a.txt"}, {u"", 260, L""}, {u"abcdef", 4, L"abc"}, {u"ab", 1, L""}};
  for (const Case& c : cases) {
    const std::vector<wchar_t> buffer = FileNameBuffer(c.name, c.size);
    ASSERT_EQ(buffer.size(), static_cast<size_t>(c.size));
    EXPECT_EQ(std::wstring(buffer.data()), c.start);
    EXPECT_EQ(buffer.back(), L'\0');
  }
}

// A data object that offers a file list, or nothing at all.
class FakeDataObject : public IDataObject {
 public:
  explicit FakeDataObject(std::vector<std::wstring> files, bool hasFiles)
      : files_(std::move(files)), has_(hasFiles) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!has_ || format->cfFormat != CF_HDROP) return DV_E_FORMATETC;
    std::wstring list;
    for (const auto& f : files_) list += f + L'\0';
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(),
                list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return has_ && format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  ULONG refs_ = 1;

 private:
  std::vector<std::wstring> files_;
  bool has_;
};

TEST(Win32DropData, ReadsTheDroppedFilesInOrderAndRaisesWithoutAList) {
  FakeDataObject files({L"C:\\一.txt", L"D:\\two"}, true);
  Win32DropData data(&files);
  EXPECT_EQ(data.FileCount(), 2);
  EXPECT_EQ(data.Files(1), u"C:\\一.txt");
  EXPECT_EQ(data.Files(2), u"D:\\two");
  for (int bad : {0, 3, -1}) EXPECT_THROW(data.Files(bad), RaisedError) << bad;

  FakeDataObject text({}, false);
  Win32DropData none(&text);
  EXPECT_EQ(none.FileCount(), 0);
  EXPECT_THROW(none.Files(1), RaisedError);
}

TEST(Win32DropTarget, EveryDropReachesTheHandlerAndIsNeverReportedAsAMove) {
  std::vector<std::string> seen;
  auto* raw = Win32DropTarget::Create([&](DropEvent& drop) {
    seen.push_back(std::to_string(drop.data.FileCount()) + " effect " + std::to_string(drop.effect) +
                   " button " + std::to_string(drop.button) + " shift " + std::to_string(drop.shift));
  });
  ComPtr<Win32DropTarget> target = ComPtr<Win32DropTarget>::Attach(raw);
  FakeDataObject files({L"C:\\a"}, true);
  FakeDataObject nothing({}, false);
  struct Case {
    IDataObject* data;
    DWORD allowed, keys, expectedEffect;
  };
  const Case cases[] = {
      {&files, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, MK_LBUTTON, DROPEFFECT_COPY},
      {&files, DROPEFFECT_MOVE, MK_SHIFT | MK_CONTROL, DROPEFFECT_NONE},
      {&nothing, DROPEFFECT_LINK | DROPEFFECT_MOVE, MK_RBUTTON | MK_ALT, DROPEFFECT_LINK},
  };
  for (const Case& c : cases) {
    DWORD effect = c.allowed;
    EXPECT_EQ(target->DragEnter(c.data, c.keys, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, c.expectedEffect) << "any data object is accepted while dragging";
    effect = c.allowed;
    EXPECT_EQ(target->Drop(c.data, c.keys, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, c.expectedEffect);
    EXPECT_EQ(effect & DROPEFFECT_MOVE, 0u);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"1 effect 1 button 1 shift 0", "1 effect 0 button 0 shift 3",
                                            "0 effect 4 button 2 shift 4"}));
  target->Detach();
  DWORD effect = DROPEFFECT_COPY;
  target->Drop(&files, 0, POINTL{0, 0}, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(seen.size(), 3u);
}

// The text of one format as a drop target gets it, up to the terminator; nothing when the
// format is refused or the block has no terminator.
template <typename Char>
std::optional<std::basic_string<Char>> TextOf(IDataObject& data, CLIPFORMAT format) {
  FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  StorageMedium medium;
  if (data.GetData(&wanted, medium.Receive()) != S_OK) {
    medium.MarkEmpty();
    return std::nullopt;
  }
  const auto* chars = static_cast<const Char*>(GlobalLock(medium.get().hGlobal));
  if (!chars) return std::nullopt;
  const size_t limit = GlobalSize(medium.get().hGlobal) / sizeof(Char);
  const size_t length = std::find(chars, chars + limit, Char{0}) - chars;
  std::optional<std::basic_string<Char>> text;
  if (length < limit) text.emplace(chars, length);
  GlobalUnlock(medium.get().hGlobal);
  return text;
}

TEST(Win32TextData, OffersTheTextAsUnicodeAndExactlyInTheAnsiCodePageAndListsBoth) {
  if (GetACP() != 936) GTEST_SKIP() << "written for the Chinese code page 936 (zh_CN)";
  const struct {
    const char16_t* text;
    std::optional<std::string> ansi;
  } cases[] = {
      {u"C:\\数据\\文件.txt", std::string("C:\\\xca\xfd\xbe\xdd\\\xce\xc4\xbc\xfe.txt")},
      // No exact form in 936: Unicode only, never a "?" in its place.
      {u"C:\\한\\文件.txt", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    ComPtr<Win32TextData> data = ComPtr<Win32TextData>::Attach(Win32TextData::Create(c.text));
    ASSERT_TRUE(data);
    const auto unicode = TextOf<wchar_t>(*data.get(), CF_UNICODETEXT);
    ASSERT_TRUE(unicode.has_value());
    EXPECT_EQ(FromWide(unicode->c_str()), Text(c.text));
    EXPECT_EQ(TextOf<char>(*data.get(), CF_TEXT), c.ansi);
    // A drop of it carries no file list.
    EXPECT_EQ(Win32DropData(data.get()).FileCount(), 0);

    IEnumFORMATETC* raw = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &raw), S_OK);
    ComPtr<IEnumFORMATETC> formats = ComPtr<IEnumFORMATETC>::Attach(raw);
    FORMATETC listed[4]{};
    ULONG count = 0;
    formats->Next(4, listed, &count);
    std::vector<CLIPFORMAT> kinds;
    for (ULONG i = 0; i < count; ++i) {
      kinds.push_back(listed[i].cfFormat);
      EXPECT_EQ(listed[i].tymed, static_cast<DWORD>(TYMED_HGLOBAL));
      EXPECT_EQ(listed[i].dwAspect, static_cast<DWORD>(DVASPECT_CONTENT));
      EXPECT_EQ(data->QueryGetData(&listed[i]), S_OK);
    }
    std::vector<CLIPFORMAT> expected{CF_UNICODETEXT};
    if (c.ansi) expected.push_back(CF_TEXT);
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &raw), E_NOTIMPL);
  }
}

}  // namespace
}  // namespace timrose::win32
