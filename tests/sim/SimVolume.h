#pragma once
// An in-memory volume behind IFileSystem, behaving as Windows does for the calls the program makes.
//
// Names. Paths look like "C:\dir\file.txt"; "/" works as a separator too, runs of separators
// count as one, "." and ".." segments resolve, and a relative path ("file.txt", "dir\x",
// "\x", "C:x") resolves against the current directory. Every segment loses its trailing spaces
// and dots (Windows strips them); leading spaces stay. Names compare case-insensitively (ASCII,
// Latin-1, Greek, Cyrillic and fullwidth letters). "?", "*", "<", ">", "|", '"', a ":" after the
// drive and control characters make an invalid name (123). "C:\" exists from the start as a
// folder; another drive exists once something is added on it.
//
// Any UTF-16 name reaches its entry, as through the wide Windows functions: Hangul, emoji
// (surrogate pairs), Chinese in any locale.
//
// Length. Every operation fails with 206 (the services raise 52) when the path text, or its long
// form ("\\?\" and the full path, current directory included for a relative one) where the full
// path takes MAX_PATH (260) characters or more, is longer than kMaxPathLength (32,767) characters.
// Entries themselves may have longer paths: tests add and find them freely.
//
// A profile (SetProfile) decides what the volume keeps: a stamp it does not store reads as the last
// write time, stored stamps are cut to its step, an attribute write keeps only its bits (or fails
// with its error), some bits are always reported, a FILETIME of 0 or all ones leaves its stamp as
// Windows documents, and a read-only volume refuses every write.
//
// Windows functions report failures through GetLastError: OpenFile gives 2 for a missing file,
// 3 for a missing folder on the path (or a file used as a folder), 5 for a folder, 32 for a
// file held open by another program, 5 for style 2 on a read-only file and 19 for style 2 on
// read-only media. A forced CloseHandle failure still releases the handle. Every open fills the
// OFSTRUCT's cBytes and nErrCode (0 on success); the program never reads it back.
//
// Services raise RaisedError: 52 for an invalid name or a too-long path, 53 for a missing name
// (also when a folder on the path is missing), 70 for an attribute write on read-only media.
// Exists never matches a wildcard: it raises what GetAttr would for a name it refuses.
// The services read metadata without opening the file's data, so a file held open by another
// program still answers them and still takes an attribute write.
//
// Every operation is logged in `calls`, then runs `beforeCall`, then honours FailNext (a forced
// failure returns or raises the given code and leaves the volume alone). Operations that
// `beforeCall` itself makes run directly: no log, no hook, no forced failure.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Platform.h"
#include "tests/VolumeProfiles.h"
#include "tests/sim/SimTime.h"

namespace timrose::sim {

enum class Op {
  OpenFile,
  GetFileInformationByHandle,
  CloseHandle,
  SetFileTime,
  Exists,
  GetAttr,
  SetAttr,
  FileLen,
  FileDateTime
};

// For test messages.
const char* OpName(Op op);

struct SimEntry {
  bool directory = false;
  // Every bit, not just the four the program owns (0x2000 not indexed, 0x100 temporary ...).
  // A folder always carries kAttrDirectory.
  uint32_t attributes = 0;
  // 100-ns ticks since 1601-01-01 UTC (see SimTime.h).
  uint64_t creation = 0, lastAccess = 0, lastWrite = 0;
  uint64_t size = 0;  // any size, beyond 2^32 too
  // Held open by another program without sharing: every open fails with 32.
  bool heldOpen = false;

  bool operator==(const SimEntry&) const = default;
};

class SimVolume : public IFileSystem {
 public:
  explicit SimVolume(SimTime& time);

  // Adds or replaces a file (its stamps start at the volume's clock, `now`) and makes the
  // missing parent folders. Any UTF-16 name is allowed; wildcards throw std::invalid_argument.
  // Replacing makes a new entry. While this program holds the file open, another program cannot
  // delete or replace it (the open shares no deletion): then the call changes nothing and returns
  // the existing entry, so a test that meddles between two steps sees Windows' refusal.
  SimEntry& AddFile(const Text& path, uint64_t size = 0, uint32_t attributes = kAttrArchive);
  SimEntry& AddFolder(const Text& path, uint32_t attributes = kAttrDirectory);
  // Removes the entry and everything below it; nothing when absent or when this program holds
  // one of them open (see AddFile).
  void Remove(const Text& path);
  // nullptr when absent; the same name rules as the operations, except that the length does not
  // limit what a test may look up.
  SimEntry* Find(const Text& path);
  // What the volume keeps of what it is given (VolumeProfiles.h); "ntfs", which keeps everything,
  // until a test sets another. Files already on the volume keep what they hold.
  void SetProfile(const VolumeProfile& profile) { profile_ = profile; }
  const VolumeProfile& Profile() const { return profile_; }
  // Write-protected media: writes (attribute write, open for writing) fail with 19 / raise 70, and
  // the volume otherwise keeps what its profile keeps.
  void SetReadOnlyMedia(bool readOnly) {
    profile_.readOnly = readOnly;
    profile_.readOnlyError = kErrorWriteProtectCode;
  }
  // For relative paths; default "C:\". Must be an absolute path.
  void SetCurrentDirectory(const Text& folder);
  // The next `count` calls of op fail with that system error code.
  void FailNext(Op op, uint32_t systemErrorCode, int count = 1);
  // Runs before every operation (delete/change a file between steps). For handle operations the
  // path is the one the handle was opened with.
  std::function<void(Op, const Text& path)> beforeCall;
  // Every operation called, in order.
  std::vector<Op> calls;
  int CallCount(Op op) const;
  // Handles opened and not yet closed.
  int OpenHandles() const { return static_cast<int>(handles_.size()); }
  // Every entry (folders too, drive roots included) by its full path as added, for comparing the
  // whole volume before and after an operation.
  std::map<Text, SimEntry> Snapshot() const;
  // The stamps new entries get.
  uint64_t now = TicksFromUtc(2011, 3, 3, 7, 4, 5);

  HFILE OpenFile(const Text& path, OFSTRUCT& buffer, uint32_t style) override;
  bool GetFileInformationByHandle(HFILE handle, BY_HANDLE_FILE_INFORMATION& info) override;
  bool CloseHandle(HFILE handle) override;
  bool SetFileTime(HFILE handle, const FILETIME* creation, const FILETIME* lastAccess,
                   const FILETIME* lastWrite) override;
  uint32_t GetLastError() override { return lastError_; }

  bool Exists(const Text& path, int mask) override;
  int GetAttr(const Text& path) override;
  void SetAttr(const Text& path, int attributes) override;
  int32_t FileLen(const Text& path) override;
  Date FileDateTime(const Text& path) override;

 private:
  struct Node {
    Text fullPath;  // as added, with the separators made uniform
    std::shared_ptr<SimEntry> entry;
  };
  struct Handle {
    Text path;
    std::shared_ptr<SimEntry> entry;
    bool write = false;
  };
  struct Resolved {
    uint32_t error = 0;           // 0, or the system error code of the name itself
    Text key;                     // upper-cased full path, the map key
    Text fullPath;                // full path as written
    std::vector<Text> ancestors;  // full paths of the folders above, drive root first
    bool trailingSeparator = false;
  };

  Resolved Resolve(const Text& path, bool checkLength) const;
  // 0 when the entry exists, else 2 (missing) or 3 (a folder on the path is missing).
  uint32_t Locate(const Resolved& r, std::shared_ptr<SimEntry>* found) const;
  std::shared_ptr<SimEntry> LocateForService(const Text& path);
  // Logs the call, runs the hook and reports a forced failure's code (0 when none).
  uint32_t Enter(Op op, const Text& path);
  // False when the name is held open and so cannot be replaced.
  bool AddNode(const Resolved& r, bool directory);
  bool HasOpenHandle(const SimEntry* entry) const;

  SimTime& time_;
  std::map<Text, Node> nodes_;
  std::map<HFILE, Handle> handles_;
  std::map<Op, std::pair<uint32_t, int>> failures_;
  Text currentDirectory_ = u"C:\\";
  static constexpr uint32_t kErrorWriteProtectCode = 19;
  VolumeProfile profile_ = kVolumeProfiles[0];
  bool inHook_ = false;
  uint32_t lastError_ = 0;
  HFILE nextHandle_ = 0x104;
};

}  // namespace timrose::sim
