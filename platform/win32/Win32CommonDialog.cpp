#include "platform/win32/Win32CommonDialog.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>

#include "core/Error.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

namespace timrose::win32 {
namespace {

// The most the dialog fills: the longest path and its terminating zero.
constexpr int kMaxFileSizeLimit = kMaxPathLength + 1;
// A folder the dialog opens leaves room for an 8.3 name and the zero within MAX_PATH, as every
// folder path of the classic file functions must.
constexpr size_t kMaxFolderLength = MAX_PATH - 12;

// The 8.3 form of a folder, or of a file, through the long form; "" when there is none.
Text ConvertedPath(const Text& path, DWORD(WINAPI* convert)(LPCWSTR, LPWSTR, DWORD)) {
  const SystemPath system = ToSystemPath(path);
  if (system.error) return {};
  const DWORD size = convert(Wide(system.text), nullptr, 0);
  if (size == 0) return {};
  Text converted(size, u'\0');
  const DWORD length = convert(Wide(system.text), WideBuffer(converted), size);
  if (length == 0 || length >= size) return {};
  converted.resize(length);
  return WithoutLongForm(converted);
}

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

DialogStart StartFor(const Text& fileName, const Text& initDir,
                     const std::function<Text(const Text&)>& shortForm) {
  const size_t separator = fileName.find_last_of(u"\\/");
  if (fileName.size() < MAX_PATH || separator == Text::npos || separator == 0) return {fileName, initDir};
  DialogStart start{fileName.substr(separator + 1), fileName.substr(0, separator)};
  if (start.initialDir.size() > kMaxFolderLength) {
    const Text folder = shortForm(start.initialDir);
    start.shortFolder = !folder.empty() && folder.size() <= kMaxFolderLength;
    start.initialDir = start.shortFolder ? folder : initDir;
  }
  return start;
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
  const DialogStart start = StartFor(
      FileName, InitDir, [](const Text& folder) { return ConvertedPath(folder, &GetShortPathNameW); });
  Text file = FileNameBuffer(start.fileName, MaxFileSize);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.empty() ? nullptr : WideBuffer(filter);
  ofn.nFilterIndex = filter.empty() ? 0 : 1;
  ofn.lpstrFile = WideBuffer(file);
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = start.initialDir.empty() ? nullptr : Wide(start.initialDir);
  ofn.lpstrTitle = DialogTitle.empty() ? nullptr : Wide(DialogTitle);
  ofn.Flags = OFN_EXPLORER;

  const auto getOpenFileName = sys::GetOpenFileNameW();
  const auto extendedError = sys::CommDlgExtendedError();
  if (!getOpenFileName || !extendedError) RaiseError(kErrDialogInitialization);

  bool opened = getOpenFileName(&ofn);
  DWORD failure = opened ? 0 : extendedError();
  if (!opened && failure == FNERR_INVALIDFILENAME && file.front() != u'\0') {
    // The start name is the program's own (the last file read or chosen): a dialog that still
    // refuses it opens with an empty name box rather than reporting the user a wrong name.
    file.assign(file.size(), u'\0');
    ofn.lpstrFile = WideBuffer(file);
    opened = getOpenFileName(&ofn);
    failure = opened ? 0 : extendedError();
  }
  if (opened) {
    FileName = FromWide(WideBuffer(file));
    if (start.shortFolder) {
      // Chosen in the 8.3 folder: shown and kept by its real name.
      const Text longName = ConvertedPath(FileName, &GetLongPathNameW);
      if (!longName.empty()) FileName = longName;
    }
    return;
  }
  switch (failure) {
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
