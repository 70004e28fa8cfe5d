#include "platform/win32/ControlBuilder.h"

#include <commctrl.h>

#include "platform/win32/Dpi.h"

namespace timrose::win32 {
namespace {

struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

// Every control clips its siblings, so a label lying over another one stays drawn on top.
ControlClass ClassFor(const ControlDesc& desc) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (HasFlag(desc, kFlagDisabled)) style |= WS_DISABLED;
  // Each focusable control is its own group, so the arrow keys never wander between controls.
  const DWORD focusable = WS_TABSTOP | WS_GROUP;
  switch (desc.kind) {
    case ControlKind::Label:
      style |= SS_NOPREFIX;
      style |= HasFlag(desc, kFlagRightAligned) ? SS_RIGHT
               : HasFlag(desc, kFlagCentred)    ? SS_CENTER
                                                : SS_LEFT;
      // A static without SS_NOTIFY is transparent to the mouse: no clicks, no tooltip.
      if (TakesClicks(desc)) style |= SS_NOTIFY;
      return {WC_STATICW, style, 0};
    case ControlKind::TextBox:
      style |= focusable;
      if (HasFlag(desc, kFlagMultiLine)) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL;
      } else {
        style |= ES_AUTOHSCROLL;
      }
      if (HasFlag(desc, kFlagVScroll)) style |= WS_VSCROLL;
      if (HasFlag(desc, kFlagLocked)) style |= ES_READONLY;
      return {WC_EDITW, style, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton:
      return {WC_BUTTONW, style | focusable | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox:
      return {WC_BUTTONW, style | focusable | BS_AUTOCHECKBOX, 0};
    case ControlKind::ToggleButton:
      return {WC_BUTTONW, style | focusable | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0};
  }
  return {WC_STATICW, style, 0};
}

// Creation walks the Tab places 0, 1, 2...: each control must have its own, below the count.
constexpr bool EveryControlHasItsOwnTabPlace() {
  for (const ControlDesc& a : kControls) {
    if (a.tabIndex < 0 || a.tabIndex >= kControlCount) return false;
    for (const ControlDesc& b : kControls) {
      if (a.id != b.id && a.tabIndex == b.tabIndex) return false;
    }
  }
  return true;
}
static_assert(EveryControlHasItsOwnTabPlace());

bool Overlap(const ControlDesc& a, const ControlDesc& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// SetWindowPos puts a window after the one it is given: before `next` is after the sibling before it.
void PutBefore(HWND control, HWND next) {
  HWND previous = GetWindow(next, GW_HWNDPREV);
  if (previous == control) return;
  SetWindowPos(control, previous ? previous : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OrderSiblings(HWND parent, const ControlHandles& controls) {
  const auto handle = [&](ControlId id) { return controls[static_cast<size_t>(id)]; };
  for (const BoxLabel& pair : kBoxLabels) {
    if (handle(pair.box) && handle(pair.label)) PutBefore(handle(pair.label), handle(pair.box));
  }
  for (const ControlDesc& label : kControls) {
    if (!TakesClicks(label) || !handle(label.id)) continue;
    // The highest of the controls it lies on, in the order the siblings have now.
    for (HWND w = GetWindow(parent, GW_CHILD); w && w != handle(label.id); w = GetWindow(w, GW_HWNDNEXT)) {
      const int index = GetDlgCtrlID(w) - DialogId(static_cast<ControlId>(0));
      if (index < 0 || index >= kControlCount || !Overlap(label, kControls[static_cast<size_t>(index)]))
        continue;
      PutBefore(handle(label.id), w);
      break;
    }
  }
}

}  // namespace

bool TakesClicks(const ControlDesc& desc) {
  return desc.kind == ControlKind::Label && (HasFlag(desc, kFlagHandPointer) || HasFlag(desc, kFlagToolTip));
}

ControlHandles CreateControls(HWND parent, HINSTANCE instance, int dpi) {
  // Each new child goes to the bottom of the siblings: creating them in Tab order gives that order.
  ControlHandles controls{};
  for (int tab = 0; tab < kControlCount; ++tab) {
    for (const ControlDesc& desc : kControls) {
      if (desc.tabIndex != tab) continue;
      const ControlClass cls = ClassFor(desc);
      // Every caption is a literal, so its view ends in a terminating zero.
      controls[static_cast<size_t>(desc.id)] = CreateWindowExW(
          cls.exStyle, cls.className, reinterpret_cast<const wchar_t*>(desc.caption.data()), cls.style,
          TwipsToPixels(desc.left, dpi), TwipsToPixels(desc.top, dpi), TwipsToPixels(desc.width, dpi),
          TwipsToPixels(desc.height, dpi), parent,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(DialogId(desc.id))), instance, nullptr);
    }
  }
  OrderSiblings(parent, controls);
  return controls;
}

void PlaceControls(const ControlHandles& controls, int dpi) {
  for (const ControlDesc& desc : kControls) {
    HWND control = controls[static_cast<size_t>(desc.id)];
    if (!control) continue;
    SetWindowPos(control, nullptr, TwipsToPixels(desc.left, dpi), TwipsToPixels(desc.top, dpi),
                 TwipsToPixels(desc.width, dpi), TwipsToPixels(desc.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace timrose::win32
