#include "platform/win32/Win32CommonDialog.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>

#include "core/Error.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/SystemLibrary.h"

namespace timrose::win32 {
namespace {

// The most the dialog fills: the longest path and its terminating zero.
constexpr int kMaxFileSizeLimit = kMaxPathLength + 1;

}  // namespace

std::vector<wchar_t> FilterList(const Text& filter) {
  std::vector<wchar_t> list;
  if (filter.empty()) return list;
  list.reserve(filter.size() + 2);
  for (char16_t c : filter) list.push_back(c == u'|' ? L'\0' : static_cast<wchar_t>(c));
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

std::vector<wchar_t> FileNameBuffer(const Text& fileName, int maxChars) {
  std::vector<wchar_t> buffer(static_cast<size_t>(maxChars), L'\0');
  const size_t fit = std::min(fileName.size(), buffer.size() - 1);
  for (size_t i = 0; i < fit; ++i) buffer[i] = static_cast<wchar_t>(fileName[i]);
  return buffer;
}

void Win32CommonDialog::ShowOpen() {
  if (MaxFileSize < 1 || MaxFileSize > kMaxFileSizeLimit) RaiseError(kErrInvalidCall);
  std::vector<wchar_t> filter = FilterList(Filter);
  std::vector<wchar_t> file = FileNameBuffer(FileName, MaxFileSize);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.data();
  ofn.nFilterIndex = filter.empty() ? 0 : 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = InitDir.empty() ? nullptr : Wide(InitDir);
  ofn.lpstrTitle = DialogTitle.empty() ? nullptr : Wide(DialogTitle);
  ofn.Flags = OFN_EXPLORER;

  using GetOpenFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
  using ExtendedErrorFunction = DWORD(WINAPI*)();
  static const auto getOpenFileName =
      SystemFunction<GetOpenFileNameFunction>(L"comdlg32.dll", "GetOpenFileNameW");
  static const auto extendedError =
      SystemFunction<ExtendedErrorFunction>(L"comdlg32.dll", "CommDlgExtendedError");
  if (!getOpenFileName || !extendedError) RaiseError(kErrDialogInitialization);

  if (getOpenFileName(&ofn)) {
    FileName = FromWide(file.data());
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
