#include "tests/sim/SimVolume.h"

#include <algorithm>
#include <stdexcept>

#include "core/Error.h"

namespace timrose::sim {
namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kLargestFileTime = 0x7FFFFFFFFFFFFFFFull;
// SetFileTime's two values that set nothing: 0 leaves the stamp, all ones stops later updates.
constexpr uint64_t kLeaveStamp = 0;
constexpr uint64_t kStopUpdates = 0xFFFFFFFFFFFFFFFFull;
// From this many characters of full path on, only the long form "\\?\" + full path reaches a file.
constexpr size_t kMaxPath = 260;
constexpr size_t kLongFormPrefix = 4;
constexpr int kSearchBits = kAttrHidden | kAttrSystem | kAttrDirectory;

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorFilenameExcedRange = 206;

// What a service raises for a name it cannot hand over; 0 when the name itself is fine.
int NameErrorOfService(uint32_t code) {
  return code == kErrorInvalidName || code == kErrorFilenameExcedRange ? kErrBadFileName : 0;
}

char16_t Upper(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - 32;
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~char16_t{1};
  if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c & 1) == 0) return c - 1;
  if (c >= 0x1CD && c <= 0x1DC && (c & 1) == 0) return c - 1;
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3C9) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;
  return c;
}

Text UpperText(const Text& text) {
  Text out = text;
  for (auto& c : out) c = Upper(c);
  return out;
}

bool IsLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Seconds from the zero date 1899-12-30 to 1601-01-01 (a function: safe from static initialisers).
int64_t Seconds1601() {
  return (DaysFromCivil(1601, 1, 1) - DaysFromCivil(1899, 12, 30)) * Date::kSecondsPerDay;
}

}  // namespace

const char* OpName(Op op) {
  switch (op) {
    case Op::OpenFile:
      return "OpenFile";
    case Op::GetFileInformationByHandle:
      return "GetFileInformationByHandle";
    case Op::CloseHandle:
      return "CloseHandle";
    case Op::SetFileTime:
      return "SetFileTime";
    case Op::Exists:
      return "Exists";
    case Op::GetAttr:
      return "GetAttr";
    case Op::SetAttr:
      return "SetAttr";
    case Op::FileLen:
      return "FileLen";
    case Op::FileDateTime:
      return "FileDateTime";
  }
  return "?";
}

SimVolume::SimVolume(SimTime& time) : time_(time) {
  AddFolder(u"C:\\");
}

SimVolume::Resolved SimVolume::Resolve(const Text& path, bool checkLength) const {
  Resolved r;
  if (checkLength && path.size() > size_t{kMaxPathLength}) {
    r.error = kErrorFilenameExcedRange;
    return r;
  }
  Text p = path;
  std::replace(p.begin(), p.end(), u'/', u'\\');
  if (p.find_first_not_of(u' ') == Text::npos) {
    r.error = kErrorFileNotFound;
    return r;
  }
  for (size_t i = 0; i < p.size(); ++i) {
    const char16_t c = p[i];
    const bool driveColon = i == 1 && c == u':' && IsLetter(p[0]);
    if (c < 0x20 || c == u'?' || c == u'*' || c == u'<' || c == u'>' || c == u'|' || c == u'"' ||
        (c == u':' && !driveColon)) {
      r.error = kErrorInvalidName;
      return r;
    }
  }
  if (p.starts_with(u"\\\\")) {  // no network on this volume
    r.error = kErrorPathNotFound;
    return r;
  }

  const char16_t currentDrive = currentDirectory_[0];
  char16_t drive = currentDrive;
  Text rest = p;
  Text base = currentDirectory_.substr(3);
  if (p.size() >= 2 && p[1] == u':') {
    drive = Upper(p[0]);
    rest = p.substr(2);
    if (drive != currentDrive) base.clear();
  }
  if (rest.starts_with(u'\\')) base.clear();

  std::vector<Text> segments;
  auto addSegments = [&segments](const Text& text) {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find(u'\\', start);
      if (end == Text::npos) end = text.size();
      Text segment = text.substr(start, end - start);
      start = end + 1;
      if (segment == u"..") {
        if (!segments.empty()) segments.pop_back();
        continue;
      }
      while (!segment.empty() && (segment.back() == u' ' || segment.back() == u'.')) segment.pop_back();
      if (!segment.empty()) segments.push_back(segment);
    }
  };
  addSegments(base);
  addSegments(rest);

  r.fullPath = Text(1, drive) + u":\\";
  r.ancestors.push_back(r.fullPath);
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) r.fullPath += u'\\';
    r.fullPath += segments[i];
    if (i + 1 < segments.size()) r.ancestors.push_back(r.fullPath);
  }
  if (segments.empty()) r.ancestors.clear();
  r.key = UpperText(r.fullPath);
  r.trailingSeparator = !segments.empty() && p.back() == u'\\';
  const size_t longForm = r.fullPath.size() < kMaxPath ? 0 : kLongFormPrefix + r.fullPath.size();
  if (checkLength && longForm > size_t{kMaxPathLength}) r.error = kErrorFilenameExcedRange;
  return r;
}

uint32_t SimVolume::Locate(const Resolved& r, std::shared_ptr<SimEntry>* found) const {
  const auto it = nodes_.find(r.key);
  if (it != nodes_.end()) {
    if (r.trailingSeparator && !it->second.entry->directory) return kErrorFileNotFound;
    *found = it->second.entry;
    return 0;
  }
  for (const Text& ancestor : r.ancestors) {
    const auto a = nodes_.find(UpperText(ancestor));
    if (a == nodes_.end() || !a->second.entry->directory) return kErrorPathNotFound;
  }
  return r.ancestors.empty() ? kErrorPathNotFound : kErrorFileNotFound;
}

bool SimVolume::AddNode(const Resolved& r, bool directory) {
  if (r.error != 0) throw std::invalid_argument("SimVolume: invalid name " + ToUtf8(r.fullPath));
  for (const Text& ancestor : r.ancestors) {
    const Text key = UpperText(ancestor);
    auto& node = nodes_[key];
    if (!node.entry || !node.entry->directory) {
      node.fullPath = ancestor;
      node.entry = std::make_shared<SimEntry>();
      node.entry->directory = true;
      node.entry->attributes = kAttrDirectory;
      node.entry->creation = node.entry->lastAccess = node.entry->lastWrite = now;
    }
  }
  auto& node = nodes_[r.key];
  if (node.entry && HasOpenHandle(node.entry.get())) return false;
  node.fullPath = r.fullPath;
  // A new object even when the name existed: a handle still open on the old entry keeps it, as
  // after a delete and re-create.
  node.entry = std::make_shared<SimEntry>();
  node.entry->directory = directory;
  node.entry->creation = node.entry->lastAccess = node.entry->lastWrite = now;
  return true;
}

SimEntry& SimVolume::AddFile(const Text& path, uint64_t size, uint32_t attributes) {
  const Resolved r = Resolve(path, false);
  // A file another program holds open cannot be replaced; it stays as it is.
  if (!AddNode(r, false)) return *nodes_[r.key].entry;
  SimEntry& e = *nodes_[r.key].entry;
  e.size = size;
  e.attributes = attributes & ~uint32_t{kAttrDirectory};
  return e;
}

SimEntry& SimVolume::AddFolder(const Text& path, uint32_t attributes) {
  const Resolved r = Resolve(path, false);
  if (!AddNode(r, true)) return *nodes_[r.key].entry;
  SimEntry& e = *nodes_[r.key].entry;
  e.attributes = attributes | kAttrDirectory;
  return e;
}

void SimVolume::Remove(const Text& path) {
  const Resolved r = Resolve(path, false);
  if (r.error != 0 || r.ancestors.empty()) return;
  const Text below = r.key + u'\\';
  const auto doomed = [&](const auto& item) { return item.first == r.key || item.first.starts_with(below); };
  for (const auto& item : nodes_) {
    if (doomed(item) && HasOpenHandle(item.second.entry.get())) return;
  }
  std::erase_if(nodes_, doomed);
}

bool SimVolume::HasOpenHandle(const SimEntry* entry) const {
  return std::any_of(handles_.begin(), handles_.end(),
                     [entry](const auto& h) { return h.second.entry.get() == entry; });
}

SimEntry* SimVolume::Find(const Text& path) {
  const Resolved r = Resolve(path, false);
  if (r.error != 0) return nullptr;
  std::shared_ptr<SimEntry> e;
  return Locate(r, &e) == 0 ? e.get() : nullptr;
}

void SimVolume::SetCurrentDirectory(const Text& folder) {
  if (folder.size() < 3 || folder[1] != u':' || (folder[2] != u'\\' && folder[2] != u'/')) {
    throw std::invalid_argument("SimVolume: the current directory must be absolute");
  }
  const Resolved r = Resolve(folder, false);
  if (r.error != 0) throw std::invalid_argument("SimVolume: invalid current directory");
  currentDirectory_ = r.fullPath;
}

void SimVolume::FailNext(Op op, uint32_t systemErrorCode, int count) {
  failures_[op] = {systemErrorCode, count};
}

int SimVolume::CallCount(Op op) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), op));
}

std::map<Text, SimEntry> SimVolume::Snapshot() const {
  std::map<Text, SimEntry> out;
  for (const auto& [key, node] : nodes_) out[node.fullPath] = *node.entry;
  return out;
}

uint32_t SimVolume::Enter(Op op, const Text& path) {
  if (inHook_) return 0;
  calls.push_back(op);
  if (beforeCall) {
    inHook_ = true;
    try {
      beforeCall(op, path);
    } catch (...) {
      inHook_ = false;
      throw;
    }
    inHook_ = false;
  }
  const auto it = failures_.find(op);
  if (it == failures_.end()) return 0;
  const uint32_t code = it->second.first;
  if (--it->second.second <= 0) failures_.erase(it);
  return code;
}

HFILE SimVolume::OpenFile(const Text& path, OFSTRUCT& buffer, uint32_t style) {
  const auto fail = [&](uint32_t code) {
    lastError_ = code;
    buffer.cBytes = static_cast<uint8_t>(sizeof(OFSTRUCT));
    buffer.nErrCode = static_cast<uint16_t>(code);
    return kHfileError;
  };
  if (const uint32_t forced = Enter(Op::OpenFile, path)) return fail(forced);
  const Resolved r = Resolve(path, true);
  if (r.error != 0) return fail(r.error);
  std::shared_ptr<SimEntry> e;
  if (const uint32_t code = Locate(r, &e)) return fail(code);
  const bool write = (style & 3) != 0;
  if (e->directory) return fail(kErrorAccessDenied);
  if (write && (e->attributes & kAttrReadOnly) != 0) return fail(kErrorAccessDenied);
  if (write && profile_.readOnly) return fail(profile_.readOnlyError);
  if (e->heldOpen) return fail(kErrorSharingViolation);

  buffer.cBytes = static_cast<uint8_t>(sizeof(OFSTRUCT));
  buffer.nErrCode = 0;

  const HFILE handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = Handle{r.fullPath, e, write};
  return handle;
}

bool SimVolume::GetFileInformationByHandle(HFILE handle, BY_HANDLE_FILE_INFORMATION& info) {
  const auto it = handles_.find(handle);
  const uint32_t forced =
      Enter(Op::GetFileInformationByHandle, it != handles_.end() ? it->second.path : Text());
  const auto h = handles_.find(handle);
  lastError_ = forced != 0 ? forced : h == handles_.end() ? kErrorInvalidHandle : 0;
  if (lastError_ != 0) return false;
  const SimEntry& e = *h->second.entry;
  info = BY_HANDLE_FILE_INFORMATION{};
  info.dwFileAttributes = e.attributes | static_cast<uint32_t>(profile_.forcedBits);
  info.ftCreationTime = FileTimeOf(profile_.creation == StampKept::Exact ? e.creation : e.lastWrite);
  info.ftLastAccessTime = FileTimeOf(profile_.lastAccess == StampKept::Exact ? e.lastAccess : e.lastWrite);
  info.ftLastWriteTime = FileTimeOf(e.lastWrite);
  info.dwVolumeSerialNumber = 0x7A3C19E5;
  info.nFileSizeHigh = static_cast<uint32_t>(e.size >> 32);
  info.nFileSizeLow = static_cast<uint32_t>(e.size & 0xFFFFFFFFu);
  info.nNumberOfLinks = 1;
  info.nFileIndexLow = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&e));
  return true;
}

bool SimVolume::CloseHandle(HFILE handle) {
  const auto it = handles_.find(handle);
  const uint32_t forced = Enter(Op::CloseHandle, it != handles_.end() ? it->second.path : Text());
  const bool known = handles_.erase(handle) > 0;
  lastError_ = forced != 0 ? forced : known ? 0 : kErrorInvalidHandle;
  return lastError_ == 0;
}

bool SimVolume::SetFileTime(HFILE handle, const FILETIME* creation, const FILETIME* lastAccess,
                            const FILETIME* lastWrite) {
  const auto it = handles_.find(handle);
  const uint32_t forced = Enter(Op::SetFileTime, it != handles_.end() ? it->second.path : Text());
  const auto h = handles_.find(handle);
  lastError_ = forced != 0 ? forced : h == handles_.end() ? kErrorInvalidHandle : 0;
  if (lastError_ == 0 && !h->second.write) lastError_ = kErrorAccessDenied;
  const auto sets = [](const FILETIME* ft) {
    return ft != nullptr && TicksOf(*ft) != kLeaveStamp && TicksOf(*ft) != kStopUpdates;
  };
  for (const FILETIME* ft : {creation, lastAccess, lastWrite}) {
    if (lastError_ == 0 && sets(ft) && TicksOf(*ft) > kLargestFileTime) lastError_ = kErrorInvalidParameter;
    if (lastError_ == 0 && sets(ft) && TicksOf(*ft) < profile_.earliest) lastError_ = profile_.earliestError;
  }
  if (lastError_ != 0) return false;
  SimEntry& e = *h->second.entry;
  const auto kept = [this](const FILETIME& ft) { return TicksOf(ft) - TicksOf(ft) % profile_.step; };
  if (sets(creation)) e.creation = kept(*creation);
  if (sets(lastAccess)) e.lastAccess = kept(*lastAccess);
  if (sets(lastWrite)) e.lastWrite = kept(*lastWrite);
  return true;
}

std::shared_ptr<SimEntry> SimVolume::LocateForService(const Text& path) {
  const Resolved r = Resolve(path, true);
  if (const int number = NameErrorOfService(r.error)) RaiseError(number);
  if (r.error != 0) RaiseError(kErrFileNotFound);
  std::shared_ptr<SimEntry> e;
  if (Locate(r, &e) != 0) RaiseError(kErrFileNotFound);
  return e;
}

bool SimVolume::Exists(const Text& path, int mask) {
  if (const uint32_t forced = Enter(Op::Exists, path)) RaiseSystemError(forced);
  const Resolved r = Resolve(path, true);
  if (const int number = NameErrorOfService(r.error)) RaiseError(number);
  std::shared_ptr<SimEntry> e;
  if (r.error != 0 || Locate(r, &e) != 0) return false;
  const int bits = static_cast<int>(e->attributes) | (e->directory ? kAttrDirectory : 0);
  return (bits & kSearchBits & ~mask) == 0;
}

int SimVolume::GetAttr(const Text& path) {
  if (const uint32_t forced = Enter(Op::GetAttr, path)) RaiseSystemError(forced);
  const auto e = LocateForService(path);
  return static_cast<int>(e->attributes) | (e->directory ? kAttrDirectory : profile_.forcedBits);
}

void SimVolume::SetAttr(const Text& path, int attributes) {
  if (const uint32_t forced = Enter(Op::SetAttr, path)) RaiseSystemError(forced);
  const auto e = LocateForService(path);
  if (profile_.readOnly) RaiseSystemError(profile_.readOnlyError);
  if (profile_.attributeWriteError != 0) RaiseSystemError(profile_.attributeWriteError);
  e->attributes =
      (e->attributes & ~uint32_t{kAttrOwnedBits}) |
      (static_cast<uint32_t>(attributes) & static_cast<uint32_t>(kAttrOwnedBits & profile_.keptBits));
}

int32_t SimVolume::FileLen(const Text& path) {
  if (const uint32_t forced = Enter(Op::FileLen, path)) RaiseSystemError(forced);
  const auto e = LocateForService(path);
  return static_cast<int32_t>(static_cast<uint32_t>(e->directory ? 0 : e->size & 0xFFFFFFFFu));
}

Date SimVolume::FileDateTime(const Text& path) {
  if (const uint32_t forced = Enter(Op::FileDateTime, path)) RaiseSystemError(forced);
  const auto e = LocateForService(path);
  const auto utcSeconds = static_cast<int64_t>(e->lastWrite / kTicksPerSecond);
  return Date::FromSeconds(Seconds1601() + utcSeconds - int64_t{time_.bias} * 60);
}

}  // namespace timrose::sim
