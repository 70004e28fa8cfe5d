#pragma once
// Drags out of txtPath: the selected text as an OLE data object (UTF-16, and the ANSI code page
// for older targets), a drop source that drops on button-up and cancels on Esc, and the press on
// the selection that starts such a drag.
#include <windows.h>
#include <ole2.h>

#include <optional>
#include <string>

#include "core/Text.h"
#include "platform/win32/Handles.h"

namespace timrose::win32 {

// A text offered as CF_UNICODETEXT, and as CF_TEXT when every character has an exact form in the
// ANSI code page: a "?" or a look-alike letter standing in for one would name another file.
class Win32TextData final : public ComObject<IDataObject> {
 public:
  // Empty when out of memory.
  static ComPtr<Win32TextData> Create(const Text& text);

  // IDataObject. Every GetData hands out a fresh block that the receiver frees.
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                    DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advises) override;

 private:
  Win32TextData(const Text& text, std::optional<std::string> ansi);
  ~Win32TextData() override = default;

  Text text_;
  std::optional<std::string> ansi_;
  FORMATETC formats_[2];
  UINT formatCount_ = 0;
};

// Drops when the left button goes up and cancels on Esc.
class Win32DropSource final : public ComObject<IDropSource> {
 public:
  // Empty when out of memory.
  static ComPtr<Win32DropSource> Create();

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

 private:
  Win32DropSource() = default;
  ~Win32DropSource() override = default;
};

// The selected part of `text`, the text of an edit box, when the point (client pixels) lies on a
// selected character.
std::optional<Text> SelectedTextAt(HWND edit, const Text& text, POINT client);

// With the left button just pressed at `screen` on `window`: follows the mouse until it leaves
// the system's drag rectangle (true) or the button goes up first (false). The button-up is
// taken from the queue.
bool DraggedPastThreshold(HWND window, POINT screen);

// Runs the drag of `text` until it is dropped or cancelled, offering the copy effect only;
// returns the effect the target reported.
DWORD DragTextOut(const Text& text);

}  // namespace timrose::win32
