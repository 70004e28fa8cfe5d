// The file-system contract on the simulated volume, configured with each profile: the rows the
// real mounts are held to, so that what the window and store tests trust cannot drift from them.
#include <gtest/gtest.h>

#include "tests/VolumeContract.h"
#include "tests/sim/SimVolume.h"

namespace timrose::sim {
namespace {

TEST(VolumeContract, TheSimulatedVolumeKeepsWhatEachProfileSays) {
  std::vector<VolumeProfile> profiles(kVolumeProfiles.begin(), kVolumeProfiles.end());
  profiles.push_back(kNetworkDriveProfile);
  // A write-protected stick: NTFS's keeping, every write refused with 19.
  VolumeProfile writeProtected = kVolumeProfiles[0];
  writeProtected.name = "write-protected";
  writeProtected.readOnly = true;
  writeProtected.readOnlyError = 19;
  profiles.push_back(writeProtected);
  for (const VolumeProfile& profile : profiles) {
    SimTime time;
    SimVolume volume(time);
    volume.AddFile(u"C:\\卷\\f.txt", 10, 0);
    if (profile.name == "write-protected") {
      volume.SetReadOnlyMedia(true);
    } else {
      volume.SetProfile(profile);
    }
    contract::RunVolumeContract(volume, u"C:\\卷\\f.txt", profile);
    EXPECT_EQ(volume.OpenHandles(), 0) << profile.name;
  }
}

}  // namespace
}  // namespace timrose::sim
