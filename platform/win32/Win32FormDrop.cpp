// Drops on the path box: the drop target takes a drop and returns at once, and the window hands
// it to the program from its own message queue.
#include "platform/win32/Dpi.h"
#include "platform/win32/Win32Form.h"

namespace timrose::win32 {

void Win32Form::RegisterDrops() {
  dropTarget_ = Win32DropTarget::Create([this](DropEvent drop) { DeferDrop(std::move(drop)); });
  // Fails only without OLE on this thread or memory; the window then simply takes no drops.
  dropRegistered_ = dropTarget_ && SUCCEEDED(RegisterDragDrop(Control(kPathBox), dropTarget_.get()));
}

void Win32Form::RevokeDrops() {
  if (dropRegistered_) RevokeDragDrop(Control(kPathBox));
  dropRegistered_ = false;
  if (dropTarget_) dropTarget_->Detach();
  pendingDrops_.clear();
}

void Win32Form::DeferDrop(DropEvent drop) {
  POINT point = drop.screenPoint;
  ScreenToClient(Control(kPathBox), &point);
  const float x = PixelsToTwips(point.x, dpi_), y = PixelsToTwips(point.y, dpi_);
  pendingDrops_.push_back(PendingDrop{std::move(drop), x, y});
  // Without the message the drop would wait for the next one; better not to hold it at all.
  if (!PostMessageW(window_, kDeferredDropMessage, 0, 0)) pendingDrops_.pop_back();
}

LRESULT Win32Form::OnDeferredDrop() {
  if (pendingDrops_.empty()) return 0;
  PendingDrop drop = std::move(pendingDrops_.front());
  pendingDrops_.pop_front();
  DropEvent& event = drop.event;
  RaiseEvent([&] {
    events_->OnOLEDragDrop(kPathBox, event.data, event.effect, event.button, event.shift, drop.x, drop.y);
  });
  return 0;
}

}  // namespace timrose::win32
