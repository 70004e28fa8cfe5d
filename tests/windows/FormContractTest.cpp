// What the handlers rely on of their window model, run on the real window and on the in-memory
// form of the native tests alike, so that the simulation cannot drift from the window.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Form.h"
#include "tests/Support.h"
#include "tests/sim/MemoryForm.h"
#include "tests/sim/SimUi.h"

namespace timrose {
namespace {

// Records each event with the depth of the assignment it happened in.
class Events : public IFormEvents {
 public:
  void OnChange(ControlId control) override { log.push_back("change " + ControlName(control) + Depth()); }
  void OnClick(ControlId control) override { log.push_back("click " + ControlName(control)); }
  void OnOLEDragDrop(ControlId control, IDropData&, int32_t&, int16_t, int16_t, float, float) override {
    log.push_back("drop " + ControlName(control));
  }
  std::string Depth() const { return " inside " + std::to_string(depth); }
  std::vector<std::string> log;
  int depth = 0;
};

// Keeps the thread's tooltip window in the HWND that `found` points to.
BOOL CALLBACK FindToolTips(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The real window, shown, and what the test reads of it beside the model.
struct RealForm {
  RealForm() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    form.SetEvents(&events);
    created = form.Create(SW_SHOWNORMAL);
    SetForegroundWindow(form.Handle());
  }
  std::string Focus() const {
    const int id = GetDlgCtrlID(GetFocus()) - DialogId(static_cast<ControlId>(0));
    return id >= 0 && id < kControlCount ? ControlName(static_cast<ControlId>(id)) : "?";
  }
  int SelStart(ControlId control) const {
    DWORD start = 0;
    SendMessageW(form.Control(control), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
  }
  bool Enabled(ControlId control) const { return IsWindowEnabled(form.Control(control)) != 0; }
  // The tip the tooltip window holds for the control.
  Text ToolTip(ControlId control) const {
    HWND tips = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindToolTips, reinterpret_cast<LPARAM>(&tips));
    wchar_t text[80] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = form.Handle();
    info.uId = reinterpret_cast<UINT_PTR>(form.Control(control));
    info.lpszText = text;
    if (tips) SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
    return Text(reinterpret_cast<const char16_t*>(text));
  }
  sim::SimMessageBoxes boxes;
  win32::Win32Form form{GetModuleHandleW(nullptr), boxes};
  Events events;
  bool created = false;
};

struct InMemoryForm {
  InMemoryForm() { form.SetEvents(&events); }
  std::string Focus() const { return ControlName(form.Focus()); }
  int SelStart(ControlId control) const { return form.SelStart(control); }
  bool Enabled(ControlId control) const { return form.GetEnabled(control); }
  Text ToolTip(ControlId control) const { return form.GetToolTip(control); }
  sim::MemoryForm form;
  Events events;
  bool created = true;
};

template <typename Form>
class FormContract : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(subject.created); }
  IWindowModel& model() { return subject.form; }
  void Assign(ControlId control, const Text& text) {
    ++subject.events.depth;
    model().SetText(control, text);
    --subject.events.depth;
  }
  Form subject;
};

using Forms = ::testing::Types<RealForm, InMemoryForm>;
TYPED_TEST_SUITE(FormContract, Forms);

TYPED_TEST(FormContract, StartsAsTheDescriptionSays) {
  for (const ControlDesc& desc : kControls) {
    SCOPED_TRACE(ControlName(desc.id));
    EXPECT_EQ(this->model().GetText(desc.id), Text(desc.caption));
    EXPECT_EQ(this->subject.Enabled(desc.id), desc.id != ControlId::btnSet && desc.id != ControlId::lblInfo5);
    EXPECT_EQ(this->subject.ToolTip(desc.id), u"");
  }
  for (ControlId box : {ControlId::chkReadOnly, ControlId::chkHide, ControlId::chkSystem,
                        ControlId::chkArchive, ControlId::chkOnTop}) {
    EXPECT_EQ(this->model().GetValue(box), 0) << ControlName(box);
  }
  EXPECT_EQ(this->subject.Focus(), "txtPath");
}

TYPED_TEST(FormContract, OnlyARealChangeOfThePathRaisesItsEventInsideTheAssignment) {
  this->Assign(ControlId::txtPath, u"C:\\a.txt");
  this->Assign(ControlId::txtPath, u"C:\\a.txt");
  this->Assign(ControlId::txtTime0, u"2011-3-3 15:04:05");
  this->Assign(ControlId::lblSize, u"大小: 1024 字节");
  this->Assign(ControlId::txtPath, u"");
  EXPECT_EQ(this->subject.events.log,
            (std::vector<std::string>{"change txtPath inside 1", "change txtPath inside 1"}));
  EXPECT_EQ(this->model().GetText(ControlId::txtTime0), u"2011-3-3 15:04:05");
  EXPECT_EQ(this->model().GetText(ControlId::lblSize), u"大小: 1024 字节");
}

TYPED_TEST(FormContract, AnAttributeBoxChangedFromCodeRaisesItsClickOnce) {
  this->model().SetValue(ControlId::chkHide, 1);
  this->model().SetValue(ControlId::chkHide, 1);
  this->model().SetValue(ControlId::chkHide, 0);
  EXPECT_EQ(this->subject.events.log, (std::vector<std::string>{"click chkHide", "click chkHide"}));
  EXPECT_EQ(this->model().GetValue(ControlId::chkHide), 0);
}

TYPED_TEST(FormContract, FocusCaretAndTheSizeTip) {
  this->model().SetEnabled(ControlId::btnSet, true);
  this->model().SetFocus(ControlId::btnSet);
  EXPECT_EQ(this->subject.Focus(), "btnSet");
  // A disabled control would leave the keyboard dead: the focus moves on in Tab order.
  this->model().SetEnabled(ControlId::btnSet, false);
  EXPECT_EQ(this->subject.Focus(), "chkOnTop");
  EXPECT_FALSE(this->subject.Enabled(ControlId::btnSet));

  this->model().SetText(ControlId::txtPath, u"C:\\文件夹\\a.txt");
  this->model().SetFocus(ControlId::txtPath);
  for (const auto& [asked, caret] : std::vector<std::pair<int, int>>{{12, 12}, {0, 0}, {99, 12}, {-4, 0}}) {
    this->model().SetSelStart(ControlId::txtPath, asked);
    EXPECT_EQ(this->subject.SelStart(ControlId::txtPath), caret) << asked;
  }
  EXPECT_EQ(this->subject.Focus(), "txtPath");

  // Only the size label carries a tip.
  this->model().SetToolTip(ControlId::lblSize, u"12.0K");
  this->model().SetToolTip(ControlId::lblInfo0, u"ignored");
  EXPECT_EQ(this->subject.ToolTip(ControlId::lblSize), u"12.0K");
  EXPECT_EQ(this->subject.ToolTip(ControlId::lblInfo0), u"");
  this->model().SetToolTip(ControlId::lblSize, u"2.79G");
  EXPECT_EQ(this->subject.ToolTip(ControlId::lblSize), u"2.79G");
  this->model().SetToolTip(ControlId::lblSize, u"");
  EXPECT_EQ(this->subject.ToolTip(ControlId::lblSize), u"");
}

}  // namespace
}  // namespace timrose
