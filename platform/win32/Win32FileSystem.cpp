#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <utility>

#include "core/Error.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/SystemRecords.h"
#include "platform/win32/WideText.h"

namespace timrose::win32 {
namespace {

static_assert(kHfileError == HFILE_ERROR);
static_assert(kOfRead == OF_READ && kOfReadWrite == OF_READWRITE);
static_assert(kAttrReadOnly == FILE_ATTRIBUTE_READONLY && kAttrHidden == FILE_ATTRIBUTE_HIDDEN &&
              kAttrSystem == FILE_ATTRIBUTE_SYSTEM && kAttrDirectory == FILE_ATTRIBUTE_DIRECTORY &&
              kAttrArchive == FILE_ATTRIBUTE_ARCHIVE);

// The bits the existence test's mask governs: an entry with one of them is found only when the
// mask holds it too.
constexpr DWORD kMaskedBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

static_assert(kAttrNormal == FILE_ATTRIBUTE_NORMAL && kAttrTemporary == FILE_ATTRIBUTE_TEMPORARY &&
              kAttrOffline == FILE_ATTRIBUTE_OFFLINE &&
              kAttrNotContentIndexed == FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);

// An HFILE is the low half of a kernel handle, which always fits in 32 bits and is sign-extended
// back.
HANDLE ToHandle(HFILE handle) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle));
}

// The text the wide file functions get for the path. For a path that has none, what they would
// report is raised before any of them is called.
Text SystemPathOrRaise(const Text& path) {
  SystemPath system = ToSystemPath(path);
  if (system.error != 0) RaiseSystemError(system.error);
  return std::move(system.text);
}

DWORD AttributesOrRaise(const Text& systemPath) {
  const DWORD attributes = GetFileAttributesW(Wide(systemPath));
  if (attributes == INVALID_FILE_ATTRIBUTES) RaiseSystemError(::GetLastError());
  return attributes;
}

WIN32_FILE_ATTRIBUTE_DATA AttributeDataOrRaise(const Text& path) {
  const Text system = SystemPathOrRaise(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(system), GetFileExInfoStandard, &data)) RaiseSystemError(::GetLastError());
  return data;
}

// What OpenFile asks for with style 0 (read), 1 (write) or 2 (read and write) and no share flag.
DWORD AccessOfStyle(uint32_t style) {
  switch (style & 3) {
    case OF_WRITE:
      return GENERIC_WRITE;
    case OF_READWRITE:
      return GENERIC_READ | GENERIC_WRITE;
    default:
      return GENERIC_READ;
  }
}

}  // namespace

HFILE Win32FileSystem::OpenFile(const Text& path, OFSTRUCT& buffer, uint32_t style) {
  // OpenFile first copies the full path into the buffer's 128 bytes of the ANSI code page, so it
  // can open neither a longer path nor a name outside that code page; its open proper is this call
  // (an existing file, shared with readers and writers, not with deletion). Made directly, it takes
  // every path the other operations take, and a bare name means the current folder, as for the
  // attribute services, not a file found along the search path.
  const SystemPath system = ToSystemPath(path);
  DWORD error = system.error;
  HANDLE file = INVALID_HANDLE_VALUE;
  if (error == 0) {
    file = CreateFileW(Wide(system.text), AccessOfStyle(style), FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) error = ::GetLastError();
  }
  buffer.cBytes = sizeof buffer;
  buffer.nErrCode = static_cast<uint16_t>(error);
  if (error != 0) {
    lastError_ = error;
    return kHfileError;
  }
  // A kernel handle's value always fits in 32 bits, on 64-bit Windows too.
  return static_cast<HFILE>(HandleToLong(file));
}

bool Win32FileSystem::GetFileInformationByHandle(HFILE handle, BY_HANDLE_FILE_INFORMATION& info) {
  // The failed open's value sign-extends to the current process's pseudo-handle: never hand it on.
  if (handle == kHfileError) {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  ::BY_HANDLE_FILE_INFORMATION out;
  if (!::GetFileInformationByHandle(ToHandle(handle), &out)) {
    lastError_ = ::GetLastError();
    return false;
  }
  FromSystem(out, info);
  return true;
}

bool Win32FileSystem::CloseHandle(HFILE handle) {
  if (handle == kHfileError) {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  if (!::CloseHandle(ToHandle(handle))) {
    lastError_ = ::GetLastError();
    return false;
  }
  return true;
}

bool Win32FileSystem::SetFileTime(HFILE handle, const FILETIME* creation, const FILETIME* lastAccess,
                                  const FILETIME* lastWrite) {
  if (handle == kHfileError) {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  ::FILETIME times[3];
  const FILETIME* given[3] = {creation, lastAccess, lastWrite};
  for (int i = 0; i < 3; ++i) {
    if (given[i]) times[i] = ToSystem(*given[i]);
  }
  if (!::SetFileTime(ToHandle(handle), creation ? &times[0] : nullptr, lastAccess ? &times[1] : nullptr,
                     lastWrite ? &times[2] : nullptr)) {
    lastError_ = ::GetLastError();
    return false;
  }
  return true;
}

uint32_t Win32FileSystem::GetLastError() {
  return lastError_;
}

bool Win32FileSystem::Exists(const Text& path, int mask) {
  // One exact name, never a search: "?" and "*" fail here as invalid names instead of matching,
  // and such a name is reported as the other services report it, not taken for a missing file.
  const DWORD attributes = GetFileAttributesW(Wide(SystemPathOrRaise(path)));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    if (ErrorNumberFromSystemCode(error) == kErrBadFileName) RaiseSystemError(error);
    return false;
  }
  return (attributes & kMaskedBits & ~static_cast<DWORD>(mask)) == 0;
}

int Win32FileSystem::GetAttr(const Text& path) {
  return static_cast<int>(AttributesOrRaise(SystemPathOrRaise(path)) & kAttrAllMask);
}

void Win32FileSystem::SetAttr(const Text& path, int attributes) {
  const Text system = SystemPathOrRaise(path);
  const DWORD current = AttributesOrRaise(system);
  if (!SetFileAttributesW(Wide(system), AttributesToWrite(current, attributes)))
    RaiseSystemError(::GetLastError());
}

int32_t Win32FileSystem::FileLen(const Text& path) {
  // The low half taken as a signed count, as the 32-bit length gives it.
  return static_cast<int32_t>(AttributeDataOrRaise(path).nFileSizeLow);
}

Date Win32FileSystem::FileDateTime(const Text& path) {
  const WIN32_FILE_ATTRIBUTE_DATA data = AttributeDataOrRaise(path);
  ::FILETIME local;
  ::SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &st)) {
    RaiseSystemError(::GetLastError());
  }
  return Date::FromParts(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

}  // namespace timrose::win32
