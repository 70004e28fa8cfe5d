#pragma once
// The shell's file list (CF_HDROP) as the Windows tests and the GUI driver hand it out from their
// data objects: a DROPFILES header, then each full path ended by a zero, then one more zero.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace timrose {

inline std::vector<char> DropFileList(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& path : paths) list += path + L'\0';
  list += L'\0';
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.fWide = TRUE;
  std::vector<char> bytes(sizeof header + list.size() * sizeof(wchar_t));
  std::memcpy(bytes.data(), &header, sizeof header);
  std::memcpy(bytes.data() + sizeof header, list.data(), list.size() * sizeof(wchar_t));
  return bytes;
}

// A fresh movable block holding `bytes`, as GetData hands it out: the receiver frees it.
inline HGLOBAL GlobalCopy(const std::vector<char>& bytes) {
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!copy) return nullptr;
  std::memcpy(GlobalLock(copy), bytes.data(), bytes.size());
  GlobalUnlock(copy);
  return copy;
}

}  // namespace timrose
