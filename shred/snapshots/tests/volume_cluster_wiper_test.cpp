#include "shred/snapshots/volume_cluster_wiper.h"

#include "shred/engine/region_overwriter.h"
#include "shred/snapshots/snapshot_remover.h"
#include "shred/snapshots/tests/recording_window.h"
#include "shred/snapshots/tests/simulated_volume.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

namespace shred::snapshots {
namespace {

using testing::RecordingWindow;
using testing::SimulatedVolume;
using testing::WindowMessage;

const std::wstring kTempPath = L"D:\\VNTShred.txt";
constexpr std::uint8_t kFileFill = 0x11;
constexpr std::uint8_t kShredChar = 0xC3;

// Snapshots as runs of clusters per drive; deleting a drive's snapshots frees its runs.
class RunFreeingSnapshots : public ISnapshotService
{
public:
    explicit RunFreeingSnapshots(SimulatedVolume& volume) : m_volume(volume) {}
    void Add(char letter, ClusterExtentList runs, bool deletable = true)
    {
        for (const ClusterExtent& run : runs)
            m_volume.MarkUsed(run.start, run.length);
        m_drives[letter] = {std::move(runs), deletable};
    }
    bool IsDriveSnapshotted(char letter) override { return m_drives.count(letter) != 0; }
    void DeleteDriveSnapshots(char letter) override
    {
        ++deletions;
        auto found = m_drives.find(letter);
        if (found == m_drives.end() || !found->second.deletable)
            return;
        for (const ClusterExtent& run : found->second.runs)
            m_volume.Free(run.start, run.length);
    }
    int deletions = 0;

private:
    struct Drive
    {
        ClusterExtentList runs;
        bool deletable;
    };
    SimulatedVolume& m_volume;
    std::map<char, Drive> m_drives;
};

// A 40000-cluster volume of 512-byte clusters (past the first bitmap page) with a file on its
// first 100 clusters.
struct Drive
{
    SimulatedVolume volume{40000, 1, 512};
    RunFreeingSnapshots snapshots{volume};
    RecordingWindow window;

    Drive()
    {
        std::vector<std::uint64_t> clusters;
        for (std::uint64_t c = 0; c < 100; ++c)
            clusters.push_back(c);
        volume.AddFile(L"D:\\kept.bin", clusters, kFileFill);
    }
    int Run(std::string_view letters, int algorithmId)
    {
        const RemoveContext context{window, snapshots, volume, [] { return kShredChar; }};
        return RemoveSnapshots(letters, algorithmId, context);
    }
    std::vector<std::uintptr_t> Percents() const
    {
        std::vector<std::uintptr_t> percents;
        for (const WindowMessage& m : window.messages)
            if (m.message == kMsgPercent && m.lParam == 0 && !(m.wParam == 1 && Cancelled()))
                percents.push_back(m.wParam);
        return percents;
    }
    bool Cancelled() const
    {
        return std::any_of(window.messages.begin(), window.messages.end(),
                           [](const WindowMessage& m) {
                               return m.message == kMsgQueryCancel && m.lParam == kCancelledParam;
                           });
    }
};

TEST(VolumeClusterWiper, FreedRunsHoldTheLastPassAndUsedClustersStay)
{
    struct Case
    {
        const char* name;
        int algorithmId;
        std::optional<std::uint8_t> lastByte;  // nothing: a random last pass
        ClusterExtentList runs;
        std::vector<std::uintptr_t> percents;
    };
    const std::vector<Case> cases = {
        {"two runs in the first page", 7, 0x61, {{200, 100}, {5000, 300}}, {25, 100}},
        {"run across the page boundary", 99, kShredChar, {{32760, 20}}, {40, 100}},
        {"run at the volume's end, grown into free space", 8, 0x55, {{39990, 10}}, {}},
        {"3-byte patterns through the unbuffered file", 2, std::nullopt, {{1000, 200}}, {100}},
    };
    for (const Case& c : cases) {
        Drive drive;
        drive.snapshots.Add('D', c.runs);
        ASSERT_EQ(drive.Run("D", c.algorithmId), kRemoveDone) << c.name;
        for (const ClusterExtent& run : c.runs) {
            for (std::uint64_t cl = run.start; cl < run.start + run.length; ++cl) {
                if (c.lastByte)
                    ASSERT_TRUE(ClusterIs(drive.volume, cl, *c.lastByte)) << c.name << " " << cl;
                else
                    ASSERT_FALSE(ClusterIs(drive.volume, cl, SimulatedVolume::kSecret)) << c.name;
            }
        }
        for (std::uint64_t cl = 0; cl < 100; ++cl)
            ASSERT_TRUE(ClusterIs(drive.volume, cl, kFileFill)) << c.name;
        EXPECT_FALSE(drive.volume.FileExists(kTempPath)) << c.name;
        EXPECT_EQ(drive.volume.refusedWrites, 0) << c.name;
        EXPECT_EQ(drive.volume.printed.find("Error while shredding"), std::string::npos) << c.name;
        if (!c.percents.empty()) {
            EXPECT_EQ(drive.Percents(), c.percents) << c.name;
        }
    }
}

TEST(VolumeClusterWiper, RunAcrossThePageBoundaryIsTwoExtents)
{
    Drive drive;
    drive.snapshots.Add('D', {{32760, 20}});
    ASSERT_EQ(drive.Run("D", 7), kRemoveDone);
    EXPECT_NE(drive.volume.printed.find("--PrintList - 2 objects--\nLCN: 32760\tFree: 8\n"
                                        "LCN: 32768\tFree: 12\n"),
              std::string::npos);
}

TEST(VolumeClusterWiper, RefusedMovesFallBackToSingleClusters)
{
    struct Case
    {
        const char* name;
        std::uint32_t maxMove;
        std::set<std::uint64_t> refused;
    };
    const std::vector<Case> cases = {
        {"whole run refused", 1, {}},
        {"one target refused", 0xffffffffu, {205}},
    };
    for (const Case& c : cases) {
        Drive drive;
        drive.volume.maxMoveClusters = c.maxMove;
        drive.volume.refusedTargets = c.refused;
        drive.snapshots.Add('D', {{200, 10}});
        ASSERT_EQ(drive.Run("D", 7), kRemoveDone) << c.name;
        EXPECT_NE(drive.volume.printed.find("ISCH! MoveCluster failed!"), std::string::npos)
            << c.name;
        for (std::uint64_t cl = 200; cl < 210; ++cl) {
            const std::uint8_t expected = c.refused.count(cl) ? SimulatedVolume::kSecret : 0x61;
            EXPECT_TRUE(ClusterIs(drive.volume, cl, expected)) << c.name << " " << cl;
        }
        EXPECT_FALSE(drive.volume.FileExists(kTempPath)) << c.name;
    }
}

TEST(VolumeClusterWiper, CancelStopsAndRemovesTheTemporaryFile)
{
    struct Case
    {
        const char* name;
        int cancelAtQuery;
        bool deleted;      // the snapshots were deleted before the cancel
        bool firstWiped;   // run 200..209
        bool secondWiped;  // run 6000..6009
    };
    // Queries: before the drive, before list A, after it, after the deletion, after list B, after
    // the subtraction, the one sent as the overwrite begins, then one after every extent.
    const std::vector<Case> cases = {
        {"before the first drive", 1, false, false, false},
        {"before list A", 2, false, false, false},
        {"after the deletion", 4, true, false, false},
        {"after the first extent", 8, true, true, false},
    };
    for (const Case& c : cases) {
        Drive drive;
        drive.window.cancelAtQuery = c.cancelAtQuery;
        drive.snapshots.Add('D', {{200, 10}, {6000, 10}});
        EXPECT_EQ(drive.Run("D", 7), kRemoveCancelled) << c.name;
        ASSERT_GE(drive.window.messages.size(), 2u);
        const std::vector<WindowMessage> tail(drive.window.messages.end() - 2,
                                              drive.window.messages.end());
        EXPECT_EQ(tail, (std::vector<WindowMessage>{{kMsgQueryCancel, 0, kCancelledParam},
                                                    {kMsgPercent, 1, 0}}))
            << c.name;
        EXPECT_EQ(drive.snapshots.deletions, c.deleted ? 1 : 0) << c.name;
        EXPECT_EQ(ClusterIs(drive.volume, 205, 0x61), c.firstWiped) << c.name;
        EXPECT_EQ(ClusterIs(drive.volume, 6005, 0x61), c.secondWiped) << c.name;
        EXPECT_FALSE(drive.volume.FileExists(kTempPath)) << c.name;
    }
}

TEST(VolumeClusterWiper, NothingDeletedMeansNothingOverwritten)
{
    Drive drive;
    drive.snapshots.Add('D', {{200, 10}}, /*deletable=*/false);
    ASSERT_EQ(drive.Run("D", 7), kRemoveDone);
    EXPECT_NE(drive.volume.printed.find("--PrintList - 0 objects--\n"), std::string::npos);
    EXPECT_TRUE(drive.Percents().empty());
    EXPECT_TRUE(ClusterIs(drive.volume, 205, SimulatedVolume::kSecret));
    EXPECT_FALSE(drive.volume.FileExists(kTempPath));
}

TEST(VolumeClusterWiper, MessagesToTheWindowInOrder)
{
    Drive drive;
    drive.snapshots.Add('D', {{200, 10}});
    ASSERT_EQ(drive.Run("CD", 7), kRemoveDone);
    const WindowMessage query{kMsgQueryCancel, 0, kCancelQueryParam};
    const std::vector<WindowMessage> expected = {
        query,  // C:
        query,  // D:
        {kMsgPhase, 1, 0},
        {kMsgRange, 1, 100},
        {kMsgDrive, 'D' + 400, 0},
        query,
        query,
        query,
        query,
        query,
        {kMsgPhase, 0, 0},
        query,
        query,
        {kMsgPercent, 100, 0},
    };
    EXPECT_EQ(drive.window.messages, expected);
    EXPECT_NE(drive.volume.printed.find("C: not snapshoted! Ignoring!\n"), std::string::npos);
}

TEST(VolumeClusterWiper, EmptyLettersSendNothing)
{
    Drive drive;
    EXPECT_EQ(drive.Run("", 7), kRemoveDone);
    EXPECT_TRUE(drive.window.messages.empty());
}

TEST(VolumeClusterWiper, PreparationFailuresEndTheCallWithoutATemporaryFile)
{
    struct Case
    {
        const char* name;
        int algorithmId;
        void (*breakIt)(SimulatedVolume&);
        int expected;
        const char* printed;
    };
    const std::vector<Case> cases = {
        {"no cluster geometry", 7, [](SimulatedVolume& v) { v.failGeometry = true; },
         kRemovePrepareFailed, nullptr},
        {"temporary file not created", 7, [](SimulatedVolume& v) { v.failCreate = true; },
         kRemovePrepareFailed, nullptr},
        {"algorithm refused", 100, [](SimulatedVolume&) {}, kRemovePrepareFailed, nullptr},
        {"end of file not set", 7, [](SimulatedVolume& v) { v.failSetEndOfFile = true; },
         kRemoveEndOfFileFailed, nullptr},
        {"volume not opened", 7, [](SimulatedVolume& v) { v.failOpenVolume = true; },
         kRemoveVolumeFailed, "Could not open volume D:!\nAccess is denied.\r\n\n"},
    };
    for (const Case& c : cases) {
        Drive drive;
        c.breakIt(drive.volume);
        drive.snapshots.Add('D', {{200, 10}});
        drive.snapshots.Add('E', {{300, 10}});
        EXPECT_EQ(drive.Run("DE", c.algorithmId), c.expected) << c.name;
        EXPECT_EQ(drive.snapshots.deletions, 0) << c.name;  // E: is not reached either
        EXPECT_FALSE(drive.volume.FileExists(kTempPath)) << c.name;
        if (c.printed) {
            EXPECT_NE(drive.volume.printed.find(c.printed), std::string::npos) << c.name;
        }
    }
}

TEST(VolumeClusterWiper, FailingBitmapLeavesTheRunsAsTheyAre)
{
    Drive drive;
    drive.volume.bitmapStatus = kStatusInvalidDeviceRequest;
    drive.snapshots.Add('D', {{200, 10}});
    ASSERT_EQ(drive.Run("D", 7), kRemoveDone);
    EXPECT_NE(drive.volume.printed.find("\nGet Volume Bitmap: STATUS_INVALID_DEVICE_REQUEST\n\n"),
              std::string::npos);
    EXPECT_TRUE(ClusterIs(drive.volume, 205, SimulatedVolume::kSecret));
    EXPECT_FALSE(drive.volume.FileExists(kTempPath));
}

TEST(VolumeClusterWiper, TemporaryFileSizes)
{
    struct Case
    {
        const char* name;
        std::uint32_t sectorsPerCluster, bytesPerSector;
        std::uint64_t usedClusters;  // of 64
        int algorithmId;
        std::uint64_t minimumClusters, minimumBytes;
        std::uint64_t grownClusters;
    };
    const std::vector<Case> cases = {
        {"4 KiB clusters, 3-byte patterns", 8, 512, 0, 2, 3, 12288, 64},
        {"4 KiB clusters, 1-byte patterns", 8, 512, 0, 0, 1, 4096, 64},
        {"4-byte patterns fit one cluster", 1, 512, 0, 5, 1, 512, 64},
        {"ten free clusters", 1, 512, 54, 7, 1, 512, 10},
    };
    for (const Case& c : cases) {
        SimulatedVolume volume(64, c.sectorsPerCluster, c.bytesPerSector);
        volume.MarkUsed(0, c.usedClusters);
        VolumeClusterWiper wiper(volume, 'D', c.algorithmId, {});
        std::uint32_t freeClusters = 0;
        ASSERT_EQ(wiper.PrepareTempFile(freeClusters), 1) << c.name;
        EXPECT_EQ(freeClusters, 64 - c.usedClusters) << c.name;
        EXPECT_EQ(wiper.TempClusters(), c.minimumClusters) << c.name;
        EXPECT_EQ(wiper.TempSize(), c.minimumBytes) << c.name;
        EXPECT_EQ(wiper.ResizeTempFile(std::min<std::uint32_t>(freeClusters, kInitialTempClusters)),
                  c.grownClusters > c.minimumClusters ? 1 : 0)
            << c.name;
        EXPECT_EQ(wiper.TempClusters(), c.grownClusters) << c.name;
        EXPECT_EQ(wiper.TempSize(), c.grownClusters * wiper.ClusterSize()) << c.name;
        EXPECT_EQ(wiper.Finish(), 1) << c.name;
        EXPECT_FALSE(volume.FileExists(kTempPath)) << c.name;
    }
}

// The region overwrite writes 65535-byte chunks for 3-byte patterns, which an unbuffered file
// refuses; gathered into aligned blocks they are accepted.
TEST(SectorAlignedFile, MakesPatternChunksAcceptableToUnbufferedFiles)
{
    const PassList gutmann = *BuildPassList(2, kSnapwipe, {});
    for (const bool aligned : {false, true}) {
        SimulatedVolume volume(512, 1, 512);
        auto file = volume.CreateTempFile(kTempPath);
        // The region overwrite stays within the file: size it first, as the wiper does.
        ASSERT_TRUE(file->Seek(300 * 512) && file->SetEndOfFile());
        SectorAlignedFile alignedFile(*file, 512);
        IShredFile* target = aligned ? static_cast<IShredFile*>(&alignedFile) : file.get();
        EXPECT_EQ(OverwriteRegion(target, gutmann, 0, 300 * 512, 1000),
                  aligned ? kShredDone : kRegionWriteFailed)
            << aligned;
        EXPECT_EQ(volume.refusedWrites == 0, aligned) << aligned;
    }
}

}  // namespace
}  // namespace shred::snapshots
