#include "shred/snapshots/snapshot_remover.h"

#include "shred/snapshots/cluster_extents.h"
#include "shred/snapshots/volume_cluster_wiper.h"

#include <algorithm>
#include <string>

namespace shred::snapshots {
namespace {

// One snapshotted drive; the wiper deletes its temporary file however this returns.
int RemoveDrive(char letter, int algorithmId, const RemoveContext& context)
{
    IProgressWindow& window = context.window;
    VolumeClusterWiper wiper(context.volume, letter, algorithmId, context.readShredChar);
    std::uint32_t freeClusters = 0;
    if (wiper.PrepareTempFile(freeClusters) != 1)
        return kRemovePrepareFailed;
    switch (wiper.ResizeTempFile(std::min<std::uint32_t>(freeClusters, kInitialTempClusters))) {
        case -1:
            return kRemoveSeekFailed;
        case -2:
            return kRemoveEndOfFileFailed;
        default:
            break;
    }
    if (wiper.OpenVolume() != 1)
        return kRemoveVolumeFailed;

    const auto cancelled = [&window] {
        if (!QueryCancel(window))
            return false;
        SendCancelled(window);
        return true;
    };
    if (cancelled())
        return kRemoveCancelled;
    ClusterExtentList before;
    wiper.CollectFreeExtents(before);
    if (cancelled())
        return kRemoveCancelled;
    context.snapshots.DeleteDriveSnapshots(letter);
    if (cancelled())
        return kRemoveCancelled;
    ClusterExtentList freed;
    wiper.CollectFreeExtents(freed);
    if (cancelled())
        return kRemoveCancelled;
    SubtractExtents(freed, before);
    context.volume.Print(FormatExtentList(freed));
    if (cancelled())
        return kRemoveCancelled;

    window.Send(kMsgPhase, 0, 0);
    window.Send(kMsgQueryCancel, 0, kCancelQueryParam);
    if (wiper.WipeExtents(freed, window) != 1)
        return kRemoveCancelled;
    wiper.Finish();
    return kRemoveDone;
}

}  // namespace

int RemoveSnapshots(std::string_view driveLetters, int algorithmId, const RemoveContext& context)
{
    for (const char letter : driveLetters) {
        if (QueryCancel(context.window)) {
            SendCancelled(context.window);
            return kRemoveCancelled;
        }
        if (!context.snapshots.IsDriveSnapshotted(letter)) {
            context.volume.Print(std::string(1, letter) + ": not snapshoted! Ignoring!\n");
            continue;
        }
        context.window.Send(kMsgPhase, 1, 0);
        context.window.Send(kMsgRange, 1, 100);
        context.window.Send(kMsgDrive, static_cast<unsigned char>(letter) + 400u, 0);
        const int result = RemoveDrive(letter, algorithmId, context);
        if (result != kRemoveDone)
            return result;
    }
    return kRemoveDone;
}

}  // namespace shred::snapshots
