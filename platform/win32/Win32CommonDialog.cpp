#include "platform/win32/Win32CommonDialog.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>

#include "core/Error.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

namespace timrose::win32 {
namespace {

// The most the dialog fills: the longest path and its terminating zero.
constexpr int kMaxFileSizeLimit = kMaxPathLength + 1;

}  // namespace

Text FilterList(const Text& filter) {
  Text list;
  if (filter.empty()) return list;
  list.reserve(filter.size() + 2);
  for (char16_t c : filter) list += c == u'|' ? u'\0' : c;
  list += u'\0';
  list += u'\0';
  return list;
}

Text FileNameBuffer(const Text& fileName, int maxChars) {
  // Cut to leave room for the terminating zero, the rest zeros.
  Text buffer = fileName.substr(0, std::min(fileName.size(), static_cast<size_t>(maxChars) - 1));
  buffer.resize(static_cast<size_t>(maxChars), u'\0');
  return buffer;
}

void Win32CommonDialog::ShowOpen() {
  if (MaxFileSize < 1 || MaxFileSize > kMaxFileSizeLimit) RaiseError(kErrInvalidCall);
  Text filter = FilterList(Filter);
  Text file = FileNameBuffer(FileName, MaxFileSize);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.empty() ? nullptr : WideBuffer(filter);
  ofn.nFilterIndex = filter.empty() ? 0 : 1;
  ofn.lpstrFile = WideBuffer(file);
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = InitDir.empty() ? nullptr : Wide(InitDir);
  ofn.lpstrTitle = DialogTitle.empty() ? nullptr : Wide(DialogTitle);
  ofn.Flags = OFN_EXPLORER;

  const auto getOpenFileName = sys::GetOpenFileNameW();
  const auto extendedError = sys::CommDlgExtendedError();
  if (!getOpenFileName || !extendedError) RaiseError(kErrDialogInitialization);

  if (getOpenFileName(&ofn)) {
    FileName = FromWide(WideBuffer(file));
    return;
  }
  switch (extendedError()) {
    case 0:  // the user cancelled
      if (CancelError) RaiseError(kErrDialogCancel);
      return;
    case FNERR_BUFFERTOOSMALL:
      RaiseError(kErrDialogBufferTooSmall);
    case FNERR_INVALIDFILENAME:
      RaiseError(kErrDialogInvalidFileName);
    default:
      RaiseError(kErrDialogInitialization);
  }
}

}  // namespace timrose::win32
