#pragma once
// The fixed description of the one window: every control's name, kind, index, caption,
// rectangle in twips, tab place and start state. The Windows toolkit builds the real window from
// it, the in-memory form of the tests builds its model from it.
#include <array>
#include <cstdint>
#include <string_view>

namespace timrose {

enum class ControlId : int {
  lblInfo0,
  txtPath,
  btnGet,
  btnSet,
  chkOnTop,
  lblInfo1,
  txtTime0,
  lblInfo3,
  txtTime1,
  lblInfo2,
  txtTime2,
  lblAbout,
  lblInfo4,
  chkReadOnly,
  chkHide,
  chkSystem,
  chkArchive,
  lblInfo5,
  lblSize,
  kCount,
};
constexpr int kControlCount = static_cast<int>(ControlId::kCount);

enum class ControlKind { Label, TextBox, PushButton, CheckBox, ToggleButton };

// Start-state and look flags.
enum ControlFlag : uint32_t {
  kFlagNone = 0,
  kFlagRightAligned = 1u << 0,
  kFlagCentred = 1u << 1,
  kFlagMultiLine = 1u << 2,
  kFlagVScroll = 1u << 3,
  kFlagLocked = 1u << 4,      // the user can select and copy, never type
  kFlagDropTarget = 1u << 5,  // drops are handed to the program
  kFlagDisabled = 1u << 6,
  kFlagRedText = 1u << 7,
  kFlagHandPointer = 1u << 8,  // the label's own pointing-hand pointer
  kFlagStartFocus = 1u << 9,
  kFlagToolTip = 1u << 10,  // can carry a tooltip
};

struct ControlDesc {
  ControlId id;
  std::string_view name;  // the control's (array's) name
  int index;              // index in its control array, -1 for a single control
  ControlKind kind;
  std::u16string_view caption;
  int left, top, width, height;  // twips, from the client area's top-left corner
  int tabIndex;
  uint32_t flags;
};

struct FormDesc {
  std::string_view name;
  std::u16string_view caption;
  int clientWidth, clientHeight;  // twips
};

inline constexpr FormDesc kForm = {"frmFileAttribute", u"Timrose", 5010, 2745};

inline constexpr std::array<ControlDesc, kControlCount> kControls = {{
    {ControlId::lblInfo0, "lblInfo", 0, ControlKind::Label, u"文件路径(可拖拽)", 120, 120, 1455, 255, 7,
     kFlagRightAligned},
    {ControlId::txtPath, "txtPath", -1, ControlKind::TextBox, u"", 1680, 120, 3255, 855, 0,
     kFlagMultiLine | kFlagVScroll | kFlagLocked | kFlagDropTarget | kFlagStartFocus},
    {ControlId::btnGet, "btnGet", -1, ControlKind::PushButton, u"选择文件", 120, 330, 1455, 300, 11,
     kFlagNone},
    {ControlId::btnSet, "btnSet", -1, ControlKind::PushButton, u"设置文件属性", 120, 670, 1455, 300, 12,
     kFlagDisabled},
    {ControlId::chkOnTop, "chkOnTop", -1, ControlKind::ToggleButton, u"置顶", 120, 1050, 495, 300, 16,
     kFlagNone},
    {ControlId::lblInfo1, "lblInfo", 1, ControlKind::Label, u"创建时间", 720, 1080, 855, 255, 8,
     kFlagRightAligned},
    {ControlId::txtTime0, "txtTime", 0, ControlKind::TextBox, u"", 1680, 1080, 3255, 270, 1, kFlagNone},
    {ControlId::lblInfo3, "lblInfo", 3, ControlKind::Label, u"最近一次修改时间", 120, 1440, 1455, 255, 10,
     kFlagRightAligned},
    {ControlId::txtTime1, "txtTime", 1, ControlKind::TextBox, u"", 1680, 1440, 3255, 270, 2, kFlagNone},
    {ControlId::lblInfo2, "lblInfo", 2, ControlKind::Label, u"最后一次访问时间", 120, 1800, 1455, 255, 9,
     kFlagRightAligned},
    {ControlId::txtTime2, "txtTime", 2, ControlKind::TextBox, u"", 1680, 1800, 3255, 270, 3, kFlagNone},
    {ControlId::lblAbout, "lblAbout", -1, ControlKind::Label, u"关于", 120, 2160, 495, 255, 18,
     kFlagCentred | kFlagRedText | kFlagHandPointer},
    {ControlId::lblInfo4, "lblInfo", 4, ControlKind::Label, u"只读与隐藏", 120, 2160, 1455, 255, 13,
     kFlagRightAligned},
    {ControlId::chkReadOnly, "chkReadOnly", -1, ControlKind::CheckBox, u"只读", 1680, 2160, 735, 255, 4,
     kFlagNone},
    {ControlId::chkHide, "chkHide", -1, ControlKind::CheckBox, u"隐藏", 2400, 2160, 735, 255, 5, kFlagNone},
    {ControlId::chkSystem, "chkSystem", -1, ControlKind::CheckBox, u"系统", 3120, 2160, 735, 255, 6,
     kFlagNone},
    {ControlId::chkArchive, "chkArchive", -1, ControlKind::CheckBox, u"存档", 3840, 2160, 735, 255, 17,
     kFlagNone},
    {ControlId::lblInfo5, "lblInfo", 5, ControlKind::Label, u"简单实用的小工具vantrelTooL", 120, 2520, 2535,
     255, 15, kFlagDisabled},
    {ControlId::lblSize, "lblSize", -1, ControlKind::Label, u"大小:当前没有选择文件", 2760, 2520, 2175, 255,
     14, kFlagRightAligned | kFlagToolTip},
}};

constexpr const ControlDesc& Describe(ControlId id) {
  return kControls[static_cast<size_t>(id)];
}

constexpr bool HasFlag(const ControlDesc& desc, ControlFlag flag) {
  return (desc.flags & flag) != 0;
}

// The kinds that hold a value: the check boxes and the toggle button.
constexpr bool IsCheckKind(ControlKind kind) {
  return kind == ControlKind::CheckBox || kind == ControlKind::ToggleButton;
}

// The label that names a text box, which has no caption of its own: lblInfo(0) the path box, and
// the three time labels their boxes (whose indexes differ from the labels').
struct BoxLabel {
  ControlId box;
  ControlId label;
};
inline constexpr BoxLabel kBoxLabels[] = {
    {ControlId::txtPath, ControlId::lblInfo0},
    {ControlId::txtTime0, ControlId::lblInfo1},
    {ControlId::txtTime1, ControlId::lblInfo3},
    {ControlId::txtTime2, ControlId::lblInfo2},
};

// The Windows control id of a control: the driver of the GUI tests finds controls by it.
constexpr int DialogId(ControlId id) {
  return 1000 + static_cast<int>(id);
}

// Mouse pointer values.
constexpr int kPointerDefault = 0;
constexpr int kPointerCustom = 99;

}  // namespace timrose
