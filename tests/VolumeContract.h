#pragma once
// The file-system contract: the same rows run on each real mount (Windows tests, under Wine) and on
// the simulated volume configured with the same profile (native tests). `path` names an existing
// file that the rows may change; `files` is the interface the program itself uses.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "core/Error.h"
#include "core/Platform.h"
#include "tests/VolumeProfiles.h"

namespace timrose::contract {

inline uint64_t Ticks(const FILETIME& ft) {
  return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
}
inline FILETIME FromTicks(uint64_t t) {
  return FILETIME{static_cast<uint32_t>(t), static_cast<uint32_t>(t >> 32)};
}

struct Stamps {
  uint64_t creation = 0, lastAccess = 0, lastWrite = 0;
};

// The file's stamps through the program's own calls; fails the test when the file cannot be read.
inline Stamps ReadStamps(IFileSystem& files, const Text& path) {
  OFSTRUCT ofs;
  const HFILE handle = files.OpenFile(path, ofs, kOfRead);
  EXPECT_NE(handle, kHfileError) << "open for reading: " << files.GetLastError();
  if (handle == kHfileError) return {};
  BY_HANDLE_FILE_INFORMATION info{};
  EXPECT_TRUE(files.GetFileInformationByHandle(handle, info)) << files.GetLastError();
  files.CloseHandle(handle);
  return {Ticks(info.ftCreationTime), Ticks(info.ftLastAccessTime), Ticks(info.ftLastWriteTime)};
}

// Writes the three stamps (a null pointer leaves one alone); the system error, 0 on success.
inline uint32_t WriteStamps(IFileSystem& files, const Text& path, const FILETIME* creation,
                            const FILETIME* lastAccess, const FILETIME* lastWrite) {
  OFSTRUCT ofs;
  const HFILE handle = files.OpenFile(path, ofs, kOfReadWrite);
  if (handle == kHfileError) return files.GetLastError();
  const bool written = files.SetFileTime(handle, creation, lastAccess, lastWrite);
  const uint32_t error = written ? 0 : files.GetLastError();
  files.CloseHandle(handle);
  return error;
}

inline int RaisedBy(const std::function<void()>& action) {
  try {
    action();
  } catch (const RaisedError& e) {
    return e.Number();
  }
  return 0;
}

// 2003-10-11 04:13:15.5 UTC and others of the same day, on odd seconds and with sub-second parts,
// inside FAT's years (1980-2107) and ext4's (from 1901-12-13).
constexpr uint64_t kSampleCreation = 126107971955000000ULL;
constexpr uint64_t kSampleLastAccess = 126108187873456789ULL;
constexpr uint64_t kSampleLastWrite = 126108079951234567ULL;

inline void RunTimeRows(IFileSystem& files, const Text& path, const VolumeProfile& p) {
  const Stamps before = ReadStamps(files, path);
  const FILETIME c = FromTicks(kSampleCreation), a = FromTicks(kSampleLastAccess),
                 w = FromTicks(kSampleLastWrite);
  const uint32_t error = WriteStamps(files, path, &c, &a, &w);
  if (p.readOnly) {
    EXPECT_EQ(error, p.readOnlyError) << "a time write on a read-only volume";
    const Stamps after = ReadStamps(files, path);
    EXPECT_EQ(after.lastWrite, before.lastWrite);
    EXPECT_EQ(after.creation, before.creation);
    return;
  }
  // A driver that reports the write as failed may still have kept part of it: the program takes any
  // failed time write as a failure and puts the file back.
  if (error != 0 && error == p.timeWriteRefusal) return;
  ASSERT_EQ(error, 0u) << "SetFileTime";
  const Stamps kept = ReadStamps(files, path);
  const auto cut = [&](uint64_t t) { return t - t % p.step; };
  EXPECT_EQ(kept.lastWrite, cut(kSampleLastWrite)) << "last write";
  EXPECT_EQ(kept.lastAccess, p.lastAccess == StampKept::Exact ? cut(kSampleLastAccess) : kept.lastWrite)
      << "last access";
  EXPECT_EQ(kept.creation, p.creation == StampKept::Exact ? cut(kSampleCreation) : kept.lastWrite)
      << "creation";

  // A FILETIME of 0 leaves its stamp alone (the program never writes one: it means 1601-01-01).
  const FILETIME zero{0, 0};
  const FILETIME a2 = FromTicks(kSampleLastAccess + 86400 * kTicksPerSecond);
  const FILETIME w2 = FromTicks(kSampleLastWrite + 86400 * kTicksPerSecond);
  ASSERT_EQ(WriteStamps(files, path, &zero, &a2, &w2), 0u) << "SetFileTime with a zero creation";
  const Stamps again = ReadStamps(files, path);
  EXPECT_EQ(again.lastWrite, cut(Ticks(w2))) << "the stamps written beside the zero";
  if (p.creation == StampKept::Exact) {
    EXPECT_EQ(again.creation, kept.creation) << "a zero creation";
  }

  // A time before the volume's first is never kept as written: Windows' FAT refuses it and the file
  // keeps its stamps; fusefat takes it and stores another time (it wraps round to 2107).
  if (p.earliest != 0) {
    const FILETIME early = FromTicks(p.earliest - kTicksPerSecond);
    const uint32_t error = WriteStamps(files, path, &early, &early, &early);
    const uint64_t kept = ReadStamps(files, path).lastWrite;
    if (error != 0) {
      EXPECT_EQ(error, p.earliestError) << "a time before the first";
      EXPECT_EQ(kept, again.lastWrite) << "after a refused time before the first";
    } else {
      EXPECT_NE(kept, cut(p.earliest - kTicksPerSecond)) << "a time before the first, kept as written";
    }
  }
}

inline void RunAttributeRows(IFileSystem& files, const Text& path, const VolumeProfile& p) {
  const int before = files.GetAttr(path) & kAttrOwnedBits;
  for (const int bits :
       {int{kAttrReadOnly}, int{kAttrHidden}, int{kAttrSystem}, int{kAttrArchive}, int{kAttrOwnedBits}, 0}) {
    SCOPED_TRACE(bits);
    const int raised = RaisedBy([&] { files.SetAttr(path, bits); });
    const int read = files.GetAttr(path) & kAttrOwnedBits;
    if (p.readOnly) {
      EXPECT_EQ(raised, kErrPermissionDenied);
      EXPECT_EQ(read, before);
    } else if (p.attributeWriteError != 0) {
      EXPECT_EQ(raised, ErrorNumberFromSystemCode(p.attributeWriteError));
      EXPECT_EQ(read, before);
    } else {
      EXPECT_EQ(raised, 0);
      EXPECT_EQ(read, (bits & p.keptBits) | p.forcedBits);
    }
  }
  // Leaves the file plain where the volume lets it (a refusal was checked above).
  RaisedBy([&] { files.SetAttr(path, 0); });
}

// Every row of the contract on one existing file.
inline void RunVolumeContract(IFileSystem& files, const Text& path, const VolumeProfile& p) {
  SCOPED_TRACE(std::string(p.name));
  RunTimeRows(files, path, p);
  RunAttributeRows(files, path, p);
}

}  // namespace timrose::contract
