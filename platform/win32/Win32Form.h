#pragma once
// The real window of frmFileAttribute: one object owns the top-level window and builds every
// control from kControls. The window procedure only dispatches; each message has its own member.
// Win32Form.cpp holds the window, its messages and the focus; Win32FormModel.cpp the window model;
// Win32FormDrop.cpp the drops on the path box.
#include <windows.h>

#include <array>
#include <deque>
#include <functional>
#include <optional>

#include "platform/win32/ControlBuilder.h"
#include "platform/win32/Handles.h"
#include "platform/win32/PathBox.h"
#include "platform/win32/ToolTips.h"
#include "platform/win32/Win32DropTarget.h"
#include "resources/ResourceIds.h"
#include "window/MessageBox.h"
#include "window/WindowModel.h"

namespace timrose::win32 {

// The main window's class name; the GUI test driver may look for it.
inline constexpr wchar_t kMainWindowClass[] = L"TimroseFileStampWindow";

// Resource ids of the program's icon group and the label's pointing-hand cursor.
inline constexpr int kIconGroupId = TIMROSE_ICON_GROUP;
inline constexpr int kHandCursorId = TIMROSE_HAND_CURSOR;

// The path box: the window's one drop target, whose subclass also raises its change event.
constexpr ControlId PathBoxId() {
  for (const ControlDesc& desc : kControls) {
    if (HasFlag(desc, kFlagDropTarget)) return desc.id;
  }
  return kControls.front().id;
}
inline constexpr ControlId kPathBox = PathBoxId();
static_assert(HasFlag(Describe(kPathBox), kFlagDropTarget));

// Posted to the window for each drop taken, so that the drop's handler runs from its queue.
inline constexpr UINT kDeferredDropMessage = WM_APP + 1;

class Win32Form final : public IWindowModel {
 public:
  // An error that escapes a handler is shown in the error box of `messages`, the boxes the
  // handlers show theirs in.
  Win32Form(HINSTANCE instance, IMessageBox& messages);
  ~Win32Form() override;
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  // Where events go; null drops them. Set before the window is shown.
  void SetEvents(IFormEvents* events) { events_ = events; }

  // Creates the window and its controls and shows it with the given show command (SW_HIDE keeps
  // it hidden). False when Windows refused to create it.
  bool Create(int showCommand);
  // Runs the message loop until the window is closed; returns the quit code.
  int RunMessageLoop();
  // Tab, Shift+Tab and the arrows between controls; true when the message was consumed.
  bool PreTranslate(MSG& message);

  HWND Handle() const { return window_; }
  HWND Control(ControlId id) const { return controls_[static_cast<size_t>(id)]; }
  int Dpi() const { return dpi_; }

  // IWindowModel
  Text GetText(ControlId control) override;
  void SetText(ControlId control, const Text& text) override;
  int GetValue(ControlId control) override;
  void SetValue(ControlId control, int value) override;
  void SetEnabled(ControlId control, bool enabled) override;
  void SetFocus(ControlId control) override;
  void SetSelStart(ControlId control, int position) override;
  void SetToolTip(ControlId control, const Text& text) override;
  void SetMousePointer(ControlId control, int pointer) override;
  intptr_t NativeHandle() override { return reinterpret_cast<intptr_t>(window_); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // One member a message.
  LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
  LRESULT OnNextDlgCtl(WPARAM wParam, LPARAM lParam);
  LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetFocus();
  LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnDeferredDrop();
  LRESULT OnDestroy();
  LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam);

  void CreateControls();
  // Fonts and icons for the DPI; with relayout, the controls' places and the window's size too.
  void ApplyDpi(int dpi, bool relayout);
  void MoveFocusTo(HWND control);
  void RegisterDrops();
  void RevokeDrops();
  // Keeps a drop for the window's own queue, so that the drag source is let go at once.
  void DeferDrop(DropEvent drop);
  std::optional<ControlId> IdOf(HWND control) const;
  // Runs one event of the program; an error it lets escape is reported here, never thrown
  // through the window procedure.
  void RaiseEvent(const std::function<void()>& event);
  void ReportError(int number, const Text& description);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  ControlHandles controls_{};
  std::array<int, kControlCount> pointers_{};
  std::array<Text, kControlCount> toolTipTexts_;
  ToolTips toolTips_;
  HWND lastFocus_ = nullptr;
  int dpi_ = 96;
  PathBox pathBox_;
  IFormEvents* events_ = nullptr;
  IMessageBox& messages_;

  UniqueFont font_;
  UniqueIcon bigIcon_, smallIcon_;
  UniqueCursor ownHandCursor_;
  HCURSOR handCursor_ = nullptr;  // the own cursor, or the shared system hand
  // The path box's drop target, the window's only one.
  ComPtr<Win32DropTarget> dropTarget_;
  // Drops taken and not yet handled, oldest first, each with its point in twips.
  struct PendingDrop {
    DropEvent event;
    float x, y;
  };
  std::deque<PendingDrop> pendingDrops_;
  bool dropRegistered_ = false;
  bool looping_ = false;
};

}  // namespace timrose::win32
