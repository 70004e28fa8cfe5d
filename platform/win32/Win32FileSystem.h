#pragma once
// The file functions and file-system services on Windows. Every path reaches Windows through the
// wide functions as the UTF-16 text it is, in its long form where it needs one (LongPath.h).
#include <cstdint>

#include "core/Platform.h"

namespace timrose::win32 {

class Win32FileSystem final : public IFileSystem {
 public:
  HFILE OpenFile(const Text& path, OFSTRUCT& buffer, uint32_t style) override;
  bool GetFileInformationByHandle(HFILE handle, BY_HANDLE_FILE_INFORMATION& info) override;
  bool CloseHandle(HFILE handle) override;
  bool SetFileTime(HFILE handle, const FILETIME* creation, const FILETIME* lastAccess,
                   const FILETIME* lastWrite) override;
  uint32_t GetLastError() override;

  bool Exists(const Text& path, int mask) override;
  int GetAttr(const Text& path) override;
  void SetAttr(const Text& path, int attributes) override;
  int32_t FileLen(const Text& path) override;
  Date FileDateTime(const Text& path) override;

 private:
  // Kept at the moment a Windows function fails, so that calls made in between (a close after a
  // failed query) cannot overwrite the code the caller asks for.
  uint32_t lastError_ = 0;
};

}  // namespace timrose::win32
