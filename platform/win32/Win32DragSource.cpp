#include "platform/win32/Win32DragSource.h"

#include <cstring>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

namespace timrose::win32 {
namespace {

// SHCreateStdEnumFmtEtc from shell32, loaded when a target first asks for the formats.
HRESULT EnumerateFormats(UINT count, const FORMATETC* formats, IEnumFORMATETC** out) {
  const auto create = sys::SHCreateStdEnumFmtEtc();
  return create ? create(count, formats, out) : E_NOTIMPL;
}

FORMATETC GlobalFormat(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// A fresh movable block holding `size` bytes from `bytes`.
HGLOBAL CopyToGlobal(const void* bytes, size_t size) {
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) return nullptr;
  void* target = GlobalLock(memory.get());
  if (!target) return nullptr;
  std::memcpy(target, bytes, size);
  GlobalUnlock(memory.get());
  return memory.release();
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

}  // namespace

// ---- Win32TextData

ComPtr<Win32TextData> Win32TextData::Create(const Text& text) {
  return NewComObject([&] { return new Win32TextData(text, ToAnsiExact(text)); });
}

Win32TextData::Win32TextData(const Text& text, std::optional<std::string> ansi)
    : text_(text),
      ansi_(std::move(ansi)),
      formats_{GlobalFormat(CF_UNICODETEXT), GlobalFormat(CF_TEXT)},
      formatCount_(ansi_ ? 2 : 1) {}

HRESULT Win32TextData::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  for (UINT i = 0; i < formatCount_; ++i) {
    if (formats_[i].cfFormat != format->cfFormat) continue;
    if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    return S_OK;
  }
  return DV_E_FORMATETC;
}

HRESULT Win32TextData::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!medium) return E_INVALIDARG;
  const HRESULT offered = QueryGetData(format);
  if (offered != S_OK) return offered;
  HGLOBAL memory = format->cfFormat == CF_UNICODETEXT
                       ? CopyToGlobal(text_.c_str(), (text_.size() + 1) * sizeof(char16_t))
                       : CopyToGlobal(ansi_->c_str(), ansi_->size() + 1);
  if (!memory) return E_OUTOFMEMORY;
  // The receiver owns the block from here and frees it with ReleaseStgMedium.
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = memory;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT Win32TextData::GetDataHere(FORMATETC*, STGMEDIUM*) {
  return E_NOTIMPL;
}

HRESULT Win32TextData::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* canonical) {
  if (!canonical) return E_INVALIDARG;
  canonical->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

HRESULT Win32TextData::SetData(FORMATETC*, STGMEDIUM*, BOOL) {
  return E_NOTIMPL;
}

HRESULT Win32TextData::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
  if (!formats) return E_POINTER;
  *formats = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  return EnumerateFormats(formatCount_, formats_, formats);
}

HRESULT Win32TextData::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
  return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT Win32TextData::DUnadvise(DWORD) {
  return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT Win32TextData::EnumDAdvise(IEnumSTATDATA**) {
  return OLE_E_ADVISENOTSUPPORTED;
}

// ---- Win32DropSource

ComPtr<Win32DropSource> Win32DropSource::Create() {
  return NewComObject([] { return new Win32DropSource(); });
}

HRESULT Win32DropSource::QueryContinueDrag(BOOL escape, DWORD keys) {
  if (escape) return DRAGDROP_S_CANCEL;
  if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
  return S_OK;
}

HRESULT Win32DropSource::GiveFeedback(DWORD) {
  return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- starting a drag

std::optional<Text> SelectedTextAt(HWND edit, const Text& text, POINT client) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start >= end || end > text.size()) return std::nullopt;

  WindowDc dc(edit);
  if (!dc.get()) return std::nullopt;
  HGDIOBJ oldFont = SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  // The box answers with the character boundary nearest the point, so the point lies on the
  // character before that boundary or on the one after it.
  const LRESULT nearest = SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(client.x, client.y));
  const DWORD boundary = LOWORD(nearest);
  bool onSelection = false;
  for (DWORD index = boundary > 0 ? boundary - 1 : 0; index <= boundary && !onSelection; ++index) {
    if (index < start || index >= end) continue;
    const LRESULT corner = SendMessageW(edit, EM_POSFROMCHAR, index, 0);
    const int length = IsHighSurrogate(text[index]) && index + 1 < text.size() ? 2 : 1;
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), Wide(text) + index, length, &size);
    const int left = static_cast<short>(LOWORD(corner)), top = static_cast<short>(HIWORD(corner));
    const RECT cell{left, top, left + size.cx, top + metrics.tmHeight};
    onSelection = PtInRect(&cell, client) != FALSE;
  }
  SelectObject(dc.get(), oldFont);
  if (!onSelection) return std::nullopt;
  return text.substr(start, end - start);
}

bool DraggedPastThreshold(HWND window, POINT screen) {
  // Not DragDetect: Wine's compares the screen point with the client coordinates of the moves.
  const int width = GetSystemMetrics(SM_CXDRAG), height = GetSystemMetrics(SM_CYDRAG);
  const RECT still{screen.x - width, screen.y - height, screen.x + width + 1, screen.y + height + 1};
  SetCapture(window);
  bool dragged = false;
  bool decided = false;
  while (!decided && GetCapture() == window) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (message.message == WM_LBUTTONUP) {
      decided = true;
    } else if (message.message == WM_MOUSEMOVE && !PtInRect(&still, message.pt)) {
      dragged = decided = true;
    }
  }
  if (GetCapture() == window) ReleaseCapture();
  return dragged;
}

DWORD DragTextOut(const Text& text) {
  const ComPtr<Win32TextData> data = Win32TextData::Create(text);
  const ComPtr<Win32DropSource> source = Win32DropSource::Create();
  DWORD effect = DROPEFFECT_NONE;
  if (!data || !source) return effect;
  DoDragDrop(data.get(), source.get(), DROPEFFECT_COPY, &effect);
  return effect;
}

}  // namespace timrose::win32
