// The file-system contract on the real volumes of scripts/volumes.sh: what each one keeps, seen
// through the program's own file system, must be what its profile says, the profile the simulated
// volume follows in the native tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/Win32FileSystem.h"
#include "tests/VolumeContract.h"
#include "tests/windows/Win32TestFiles.h"

namespace timrose::win32 {
namespace {

using testing::MakeFile;
using testing::RemoveTree;

const VolumeProfile* ProfileNamed(const std::string& name) {
  for (const VolumeProfile& p : kVolumeProfiles) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

// The volumes' folder as a Windows path: Wine shows the Unix root as Z:.
Text VolumeFolder(const std::string& kind) {
  const wchar_t* where = _wgetenv(L"TIMROSE_VOLUMES");
  if (!where || !*where) return Text();
  Text path = u"Z:" + FromWide(where) + u"/" + Text(kind.begin(), kind.end());
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  return path;
}

class Volumes : public ::testing::TestWithParam<const char*> {};

TEST_P(Volumes, KeepWhatTheirProfileSays) {
  const VolumeProfile* profile = ProfileNamed(GetParam());
  ASSERT_NE(profile, nullptr);
  const Text folder = VolumeFolder(GetParam());
  ASSERT_FALSE(folder.empty()) << "TIMROSE_VOLUMES names no folder";
  const DWORD attributes = GetFileAttributesW(Wide(folder));
  ASSERT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      << "no volume at " << ToUtf8(folder) << " (scripts/volumes.sh up)";

  Win32FileSystem files;
  if (profile->readOnly) {
    // scripts/volumes.sh put this file there before the volume became read-only.
    contract::RunVolumeContract(files, folder + u"\\kept.txt", *profile);
    return;
  }
  const Text path = folder + u"\\contract " + DecimalText(GetCurrentProcessId()) + u".txt";
  ASSERT_TRUE(MakeFile(path)) << GetLastError();
  contract::RunVolumeContract(files, path, *profile);
  RemoveTree(path);
}

INSTANTIATE_TEST_SUITE_P(Real, Volumes, ::testing::Values("ext4", "fat32", "exfat", "ntfs-3g", "readonly"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace timrose::win32
