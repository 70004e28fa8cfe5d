#pragma once
// Drops on txtPath: an OLE drop target that accepts any data object and hands the drop to the
// window, and the drop data as the handlers see it (the dropped files from CF_HDROP).
#include <ole2.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/win32/Handles.h"
#include "window/WindowModel.h"

namespace timrose::win32 {

// The drop data of one drop, copied out of the data object while the drop lasts, so that the
// handler can run after the drag source has been let go.
class Win32DropData final : public IDropData {
 public:
  explicit Win32DropData(IDataObject* data);
  // Entry 1..the list's length; raises 461 when the drop carries no file list, 9 outside the list.
  Text Files(int index) override;

  // What was read: whether the drop carried a file list, and its entries in order.
  bool HasFileList() const { return hasFileList_; }
  const std::vector<Text>& Names() const { return names_; }

 private:
  bool hasFileList_ = false;
  std::vector<Text> names_;
};

// What the drop target reports for one drop: the data read from it, the effect answered to the
// source, the mouse buttons and Shift/Ctrl/Alt in the program's 16-bit form, and the drop point
// in screen pixels.
struct DropEvent {
  Win32DropData data;
  int32_t effect;
  int16_t button;
  int16_t shift;
  POINT screenPoint;
};

class Win32DropTarget final : public ComObject<IDropTarget> {
 public:
  // Called inside Drop, which returns only after it: it must keep the event and return at once.
  using DropHandler = std::function<void(DropEvent)>;
  // Empty when out of memory.
  static ComPtr<Win32DropTarget> Create(DropHandler handler);

  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

  // The window forgets its handler before it goes away; a drop that still arrives is refused.
  void Detach() { handler_ = nullptr; }

 private:
  explicit Win32DropTarget(DropHandler handler) : handler_(std::move(handler)) {}
  ~Win32DropTarget() override = default;

  DropHandler handler_;
};

// The effect shown while dragging and reported for a drop: a copy (or a link when the source
// offers only that). Never a move: the program only reads the dropped names, and a move would
// let the source delete its file.
DWORD ChooseDropEffect(DWORD allowed);
// The buttons (1 left, 2 right, 4 middle) and Shift (1), Ctrl (2), Alt (4) of MK_ key flags.
int16_t DropButtons(DWORD keys);
int16_t DropShift(DWORD keys);

}  // namespace timrose::win32
