#pragma once
// What each kind of volume keeps of what it is given: the one table the simulated volume is
// configured from and the real mounts are held to (the contract suite runs the same rows on both),
// so that the simulated volume cannot drift from the real ones.
//
// The rows describe what the Windows calls of this program see: on the real mounts here that is
// Wine over the Linux drivers (FUSE for FAT32, exFAT and NTFS), which keep less than Windows' own
// drivers do; "network" is a server that keeps no creation time and ignores attributes, as some
// do, and exists on the simulated volume only.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/Records.h"

namespace timrose {

// What a stamp reads as after it was written.
enum class StampKept {
  Exact,        // what was written, cut to the profile's step
  AsLastWrite,  // not stored: reads as the file's last write time
};

struct VolumeProfile {
  std::string_view name;
  StampKept creation;
  StampKept lastAccess;
  // The stored last write and last access times are cut down to a multiple of this many 100-ns
  // ticks (1: exact).
  uint64_t step;
  // Which of the four owned attribute bits an attribute write stores; the others are accepted
  // (the call succeeds) and dropped.
  int keptBits;
  // Bits every file reports whatever was written.
  int forcedBits;
  // The system error of every attribute write (0 when it succeeds).
  uint32_t attributeWriteError;
  // Every write (an attribute write, an open for writing) is refused.
  bool readOnly;
  // The system error a write on a read-only volume gets.
  uint32_t readOnlyError;
  // The earliest stamp the volume can hold (100-ns ticks since 1601, 0: any), and the system error
  // of a time write that asks for an earlier one (the file keeps its stamps).
  uint64_t earliest;
  uint32_t earliestError;
  // A system error with which some versions of the volume's driver report every time write as failed,
  // whatever they kept of it (fusefat under Wine 10: 31, its last write time written); 0 where none does.
  uint32_t timeWriteRefusal = 0;
};

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr int kAllOwnedBits = kAttrOwnedBits;
// 1980-01-01 00:00:00 UTC, where FAT's years begin.
constexpr uint64_t kFatEarliest = 119600064000000000ULL;

// Everywhere, a FILETIME of 0 in SetFileTime means "leave this stamp as it is", as Windows
// documents; the simulated volume does the same.
inline constexpr std::array<VolumeProfile, 6> kVolumeProfiles = {{
    // Windows' own NTFS keeps everything to 100 ns.
    {"ntfs", StampKept::Exact, StampKept::Exact, 1, kAllOwnedBits, 0, 0, false, 0, 0, 0},
    // Wine on ext4: no creation time; the archive bit is always reported.
    {"ext4", StampKept::AsLastWrite, StampKept::Exact, 1, kAllOwnedBits, kAttrArchive, 0, false, 0, 0, 0},
    // fusefat: write times in steps of 2 s, no access or creation time, no attribute write at all,
    // and no year before 1980 (Windows' FAT refuses such a time as an invalid parameter).
    {"fat32", StampKept::AsLastWrite, StampKept::AsLastWrite, 2 * kTicksPerSecond, 0, kAttrArchive, 31, false,
     0, kFatEarliest, 87, 31},
    // exfat-fuse: whole seconds, no creation time; read-only, hidden and system accepted and dropped.
    {"exfat", StampKept::AsLastWrite, StampKept::Exact, kTicksPerSecond, kAttrArchive, kAttrArchive, 0, false,
     0, 0, 0},
    // ntfs-3g: 100 ns, no creation time seen through Wine, archive always reported; read-only accepted
    // and dropped.
    {"ntfs-3g", StampKept::AsLastWrite, StampKept::Exact, 1, kAttrHidden | kAttrSystem | kAttrArchive,
     kAttrArchive, 0, false, 0, 0, 0},
    // A read-only mount (a CD, a write-protected stick, a read-only share): reads work, writes fail.
    {"readonly", StampKept::AsLastWrite, StampKept::Exact, 1, kAllOwnedBits, kAttrArchive, 0, true, 5, 0, 0},
}};

// Simulated only: a network drive whose server keeps no creation time and ignores attributes.
inline constexpr VolumeProfile kNetworkDriveProfile = {
    "network", StampKept::AsLastWrite, StampKept::Exact, 1, 0, kAttrArchive, 0, false, 0, 0, 0};

}  // namespace timrose
