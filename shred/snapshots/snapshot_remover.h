// The drive-by-drive run of the snapshot remover: for every snapshotted drive, the free runs
// before and after its snapshots are deleted, and the runs the deletion freed wiped.
#pragma once

#include "shred/engine/algorithm.h"
#include "shred/snapshots/progress_window.h"
#include "shred/snapshots/volume_control.h"

#include <string_view>

namespace shred::snapshots {

inline constexpr int kRemoveDone = 1;
inline constexpr int kRemovePrepareFailed = -1;
inline constexpr int kRemoveSeekFailed = -2;
inline constexpr int kRemoveEndOfFileFailed = -3;
inline constexpr int kRemoveVolumeFailed = -4;
inline constexpr int kRemoveCancelled = -10;

// The shadow-copy service as the remover needs it.
class ISnapshotService
{
public:
    virtual ~ISnapshotService() = default;
    // Whether the service reports shadow copies for the drive's root.
    virtual bool IsDriveSnapshotted(char driveLetter) = 0;
    // Deletes the drive's shadow copies made by the system's software provider.
    virtual void DeleteDriveSnapshots(char driveLetter) = 0;
};

struct RemoveContext
{
    IProgressWindow& window;
    ISnapshotService& snapshots;
    IVolumeControl& volume;
    ShredCharReader readShredChar;
};

// 1 done (also when no drive had shadow copies), -1 .. -4 a drive's preparation failed, -10
// cancelled by the window. Every letter of driveLetters is one drive, in order.
int RemoveSnapshots(std::string_view driveLetters, int algorithmId, const RemoveContext& context);

}  // namespace shred::snapshots
