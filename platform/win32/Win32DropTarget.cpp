#include "platform/win32/Win32DropTarget.h"

#include <shellapi.h>

#include <array>
#include <vector>

#include "core/Error.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

namespace timrose::win32 {
namespace {

// DragQueryFileW from shell32, loaded on the first drop.
UINT QueryDroppedFile(HDROP drop, UINT entry, wchar_t* buffer, UINT size) {
  const auto dragQueryFile = sys::DragQueryFileW();
  return dragQueryFile ? dragQueryFile(drop, entry, buffer, size) : 0;
}

// The given key flags, in this order, as the bits 1, 2 and 4 of the program's 16-bit form.
int16_t FlagBits(DWORD keys, const std::array<DWORD, 3>& flags) {
  int16_t bits = 0;
  for (size_t i = 0; i < flags.size(); ++i) {
    if (keys & flags[i]) bits |= static_cast<int16_t>(1 << i);
  }
  return bits;
}

FORMATETC HdropFormat() {
  return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// Runs `use` on the drop's file list while it is locked; false when the drop carries none.
template <typename Use>
bool WithFileList(IDataObject* data, Use&& use) {
  if (!data) return false;
  FORMATETC format = HdropFormat();
  StorageMedium medium;
  if (FAILED(data->GetData(&format, medium.Receive()))) {
    medium.MarkEmpty();
    return false;
  }
  auto drop = static_cast<HDROP>(GlobalLock(medium.get().hGlobal));
  if (!drop) return false;
  use(drop);
  GlobalUnlock(medium.get().hGlobal);
  return true;
}

}  // namespace

Win32DropData::Win32DropData(IDataObject* data) {
  hasFileList_ = WithFileList(data, [&](HDROP drop) {
    const UINT count = QueryDroppedFile(drop, 0xFFFFFFFF, nullptr, 0);
    names_.reserve(count);
    for (UINT entry = 0; entry < count; ++entry) {
      const UINT length = QueryDroppedFile(drop, entry, nullptr, 0);
      Text name(length, u'\0');
      const UINT copied = QueryDroppedFile(drop, entry, WideBuffer(name), length + 1);
      name.resize(copied < length ? copied : length);
      names_.push_back(std::move(name));
    }
  });
}

Text Win32DropData::Files(int index) {
  if (!hasFileList_) RaiseError(kErrNoSuchFormat);
  if (index < 1 || static_cast<size_t>(index) > names_.size()) RaiseError(kErrSubscriptOutOfRange);
  return names_[static_cast<size_t>(index - 1)];
}

DWORD ChooseDropEffect(DWORD allowed) {
  if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
  // A source that offers only a move is told, all the way, that nothing can be taken here: Windows
  // then never calls Drop, and the file stays where it is.
  return DROPEFFECT_NONE;
}

int16_t DropButtons(DWORD keys) {
  return FlagBits(keys, {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON});
}

int16_t DropShift(DWORD keys) {
  return FlagBits(keys, {MK_SHIFT, MK_CONTROL, MK_ALT});
}

ComPtr<Win32DropTarget> Win32DropTarget::Create(DropHandler handler) {
  return NewComObject([&] { return new Win32DropTarget(std::move(handler)); });
}

HRESULT Win32DropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  // Any data object is accepted, so that a drop without files reaches the handler and is answered.
  *effect = handler_ ? ChooseDropEffect(*effect) : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT Win32DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = handler_ ? ChooseDropEffect(*effect) : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT Win32DropTarget::DragLeave() {
  return S_OK;
}

HRESULT Win32DropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = *effect;
  *effect = handler_ ? ChooseDropEffect(allowed) : DROPEFFECT_NONE;
  if (*effect == DROPEFFECT_NONE) return S_OK;
  // The source waits in its drag loop until Drop returns (Explorer takes no input meanwhile), so
  // everything the handler needs is read now and the handler itself runs later.
  handler_(DropEvent{Win32DropData(data), static_cast<int32_t>(*effect), DropButtons(keys), DropShift(keys),
                     POINT{point.x, point.y}});
  return S_OK;
}

}  // namespace timrose::win32
