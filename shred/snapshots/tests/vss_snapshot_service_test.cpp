#include "shred/snapshots/vss_snapshot_service.h"

#include "shred/snapshots/tests/recording_window.h"
#include "shred/snapshots/tests/simulated_vss.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace shred::snapshots {
namespace {

using testing::RecordingWindow;
using testing::SimulatedVolume;
using testing::SimulatedVss;

constexpr VssGuid kOtherProvider = {0x01, 0x02, 0x03};

struct Service
{
    SimulatedVolume volume{8192, 1, 512};
    SimulatedVss vss{volume};
    VssSnapshotService service{vss};
    RecordingWindow window;

    int Run(std::string_view letters)
    {
        return RemoveSnapshots(letters, 7, {window, service, volume, {}});
    }
};

TEST(VssSnapshotService, DeletesOnlyTheSoftwareProvidersCopiesOfTheDrive)
{
    Service s;
    s.vss.Add('D', kSoftwareProviderId, {{200, 10}});
    s.vss.Add('D', kOtherProvider, {{300, 10}});
    s.vss.Add('E', kSoftwareProviderId, {{400, 10}});
    ASSERT_EQ(s.Run("D"), kRemoveDone);

    struct Expect
    {
        std::uint64_t cluster;
        std::uint8_t byte;
    };
    for (const Expect& e : std::vector<Expect>{
             {205, 0x61}, {305, SimulatedVolume::kSecret}, {405, SimulatedVolume::kSecret}})
        EXPECT_TRUE(ClusterIs(s.volume, e.cluster, e.byte)) << e.cluster;
    ASSERT_EQ(s.vss.snapshots.size(), 2u);
    EXPECT_EQ(s.vss.snapshots[0].info.providerId, kOtherProvider);
    for (const char* line :
         {"Warning!! NOT IID_MicrosoftShodowCopy!\n", "IID_MicrosoftShodowCopy\n",
          "Not current volume: \\\\?\\Volume{D}\\\n", "\r\nQuery Snapshot is S_OK!\nSnapshots:\n"})
        EXPECT_NE(s.vss.printed.find(line), std::string::npos) << line;
}

// Wine's service cannot create the backup object, and its volume query ends the process.
TEST(VssSnapshotService, WithoutABackupObjectNoDriveIsSnapshotted)
{
    Service s;
    s.vss.createFails = true;
    s.vss.Add('D', kSoftwareProviderId, {{200, 10}});
    EXPECT_EQ(s.Run("D"), kRemoveDone);
    EXPECT_EQ(s.vss.volumeQueries, 0);
    EXPECT_NE(s.vss.printed.find("CreateVssBackupComponents is NOT S_OK!\n"), std::string::npos);
    EXPECT_NE(s.volume.printed.find("D: not snapshoted! Ignoring!\n"), std::string::npos);
    EXPECT_TRUE(ClusterIs(s.volume, 205, SimulatedVolume::kSecret));
}

TEST(VssSnapshotService, QueryFailuresArePrintedByName)
{
    struct Case
    {
        std::uint32_t hresult;
        const char* printed;
    };
    const std::vector<Case> cases = {
        {0x80042301u, "Query Snapshot is NOT S_OK!\nVSS_E_BAD_STATE\n"},
        {0x80070005u, "Query Snapshot is NOT S_OK!\nE_ACCESSDENIED\n"},
        {0x80004005u, "Query Snapshot is NOT S_OK!\n"},
    };
    for (const Case& c : cases) {
        Service s;
        s.vss.queryResult = static_cast<std::int32_t>(c.hresult);
        s.vss.Add('D', kSoftwareProviderId, {{200, 10}});
        EXPECT_EQ(s.Run("D"), kRemoveDone);
        const auto at = s.vss.printed.find(c.printed);
        ASSERT_NE(at, std::string::npos) << c.printed;
        EXPECT_EQ(s.vss.printed.substr(at), c.printed);  // nothing after the name
        EXPECT_EQ(s.vss.snapshots.size(), 1u);
        EXPECT_TRUE(ClusterIs(s.volume, 205, SimulatedVolume::kSecret));
    }
}

}  // namespace
}  // namespace shred::snapshots
