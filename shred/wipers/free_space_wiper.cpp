#include "shred/wipers/free_space_wiper.h"

#include "shred/wipers/progress_file_estimate.h"

#include <cinttypes>
#include <cstdio>

namespace shred::wipers {

namespace {

// What the console lines show of a wide path: plain characters kept, others as '?'.
std::string Narrow(std::wstring_view text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text)
        narrow += (c > 0 && c < 0x80) ? static_cast<char>(c) : '?';
    return narrow;
}

std::wstring Widen(std::string_view text)
{
    return std::wstring(text.begin(), text.end());
}

template <typename... Args>
std::string Format(const char* format, Args... args)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

char Upper(char letter)
{
    return (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
}

constexpr int kMaxFillerNames = 1 << 20;
constexpr std::uint32_t kErrorInvalidDrive = 15;
// Rounds of last fillers: each takes at least half of what is left, or the run gives up.
constexpr int kMaxLastFillers = 64;

// The last filler takes what is left. A drive that cannot hand all of it to one file gets
// smaller tries down to one cluster, and what those leave goes to further fillers; false when
// free space that could not be filled remains.
bool FillRemainder(IFreeSpaceSystem& system, const std::wstring& folder, int firstNumber,
                   std::uint64_t freeBytes, std::uint32_t cluster)
{
    for (int round = 0; round < kMaxLastFillers; ++round) {
        const std::wstring name = NextFreeFillerName(system, folder, firstNumber + round);
        std::uint64_t attempt = freeBytes;
        for (;;) {
            const FillerResult made = system.CreateFiller(name, attempt, FillerWrite::WriteThrough);
            if (made == FillerResult::Sized)
                break;
            if (made == FillerResult::NotCreated || attempt <= cluster) {
                system.Print("Last filler not sized: " + Narrow(name) + "\n");
                return false;
            }
            const std::uint64_t half = (attempt / 2) / cluster * cluster;
            attempt = half > cluster ? half : cluster;
        }
        if (attempt == freeBytes)
            return true;
        const std::uint64_t before = freeBytes;
        std::uint64_t totalBytes = 0;
        if (!system.FreeSpace(folder, freeBytes, totalBytes) || freeBytes >= before)
            return false;
        if (freeBytes < cluster)
            return true;  // less than a cluster: nothing a file could take
    }
    return false;
}

}  // namespace

std::uint64_t FillerSize(std::uint64_t freeBytes, std::uint32_t clusterSize)
{
    if (clusterSize == 0)
        return 0;
    std::uint64_t size = std::uint32_t{clusterSize * (67108864u / clusterSize)};
    if (size != 0 && freeBytes / size > 100)
        size = ((freeBytes / 100) / clusterSize) * clusterSize;
    return size;
}

std::wstring NextFreeFillerName(IFreeSpaceSystem& system, const std::wstring& folder, int number)
{
    std::wstring name;
    for (int tries = 0; tries < kMaxFillerNames; ++tries, ++number) {
        name = folder + L"\\S" + std::to_wstring(number);
        if (!system.Exists(name))
            break;
    }
    return name;
}

int WipeFreeDiskSpace(const FreeSpaceRequest& request, IFreeSpaceSystem& system,
                      IProgressSystem& progressSystem, const ShredFileFunction& shredFile)
{
    char ownAbort = 0;
    ProgressTarget target = ChooseProgressTarget(progressSystem, request.progress);
    char* abortFlag = request.abortFlag;
    if (target.FileMode() && abortFlag == nullptr)
        abortFlag = &ownAbort;

    const std::wstring folder =
        std::wstring(1, static_cast<wchar_t>(request.driveLetter)) + L":\\VNTShred";
    system.Print("strWorkingFolder: " + Narrow(folder) + "\n");

    WipeContext context;
    context.baselineTime = progressSystem.NowSeconds();
    context.callerCtx = request.ctx;
    context.system = &progressSystem;
    context.target = &target;
    context.ownAbort = &ownAbort;

    const auto aborted = [&] {
        system.WaitForRun(request.pauseEvent);
        return abortFlag != nullptr && *abortFlag == 1;
    };
    const auto leave = [&](int result) {
        system.DeleteTree(folder);
        return result;
    };

    if (aborted())
        return kFreeSpaceAborted;
    // Anything but a drive letter would make the working folder a path of the caller's choosing,
    // which the run would delete.
    const char letter = Upper(request.driveLetter);
    const bool isDriveLetter = letter >= 'A' && letter <= 'Z';
    if (isDriveLetter)
        system.DeleteTree(folder);  // a leftover of an interrupted run

    if (!isDriveLetter || !system.CreateFolder(folder)) {
        const std::uint32_t error = isDriveLetter ? system.LastError() : kErrorInvalidDrive;
        const std::wstring root =
            std::wstring(1, static_cast<wchar_t>(request.driveLetter)) + L":\\";
        std::string text =
            Format("%s Error: %d Drive type: %d", Narrow(folder).c_str(), static_cast<int>(error),
                   static_cast<int>(system.DriveType(root)));
        std::uint64_t freeBytes = 0;
        std::uint64_t totalBytes = 0;
        if (system.FreeSpace(root, freeBytes, totalBytes))
            text +=
                Format(" free disk: %" PRId64 " Total: %" PRId64,
                       static_cast<std::int64_t>(freeBytes), static_cast<std::int64_t>(totalBytes));
        if (target.FileMode()) {
            target.file->Append(text);
        } else if (target.callback != nullptr) {
            std::wstring wide = Widen(text);
            reinterpret_cast<WipeProgressCallback>(target.callback)(
                kWipeStartError, request.ctx, wide.data(), kWipeStartError, 0.0);
        }
        return kFreeSpaceFolderFailed;
    }

    std::uint64_t freeBytes = 0;
    std::uint64_t totalBytes = 0;
    if (!system.FreeSpace(folder, freeBytes, totalBytes))
        return leave(kFreeSpaceQueryFailed);
    system.Print(
        Format("lpTotalNumberOfFreeBytes: %" PRId64 "\n", static_cast<std::int64_t>(freeBytes)));
    context.freeBytes = freeBytes;

    const std::wstring root =
        std::wstring(1, static_cast<wchar_t>(Upper(request.driveLetter))) + L":\\";
    ClusterGeometry geometry;
    if (!system.Geometry(root, geometry)) {
        system.Print(Format("GetDiskFreeSpace %s %d\n", Narrow(folder).c_str(),
                            static_cast<int>(system.LastError())));
        return leave(kFreeSpaceQueryFailed);
    }
    system.Print(Format(
        "lpSectorsPerCluster: %d\nlpBytesPerSector: %d\nlpNumberOfFreeClusters: "
        "%d\nlpTotalNumberOfClusters: %d\n",
        static_cast<int>(geometry.sectorsPerCluster), static_cast<int>(geometry.bytesPerSector),
        static_cast<int>(geometry.freeClusters), static_cast<int>(geometry.totalClusters)));
    const std::uint32_t cluster = geometry.sectorsPerCluster * geometry.bytesPerSector;
    if (cluster == 0)
        return leave(kFreeSpaceQueryFailed);

    const std::uint64_t size = FillerSize(freeBytes, cluster);
    system.Print(Format("uiFileSize: %" PRId64 "\n", static_cast<std::int64_t>(size)));

    bool notFilled = false;
    int count = 0;
    while (2 * size < freeBytes) {
        if (aborted())
            return leave(kFreeSpaceAborted);
        const std::wstring name = NextFreeFillerName(system, folder, count);
        ++count;
        system.CreateFiller(name, size, FillerWrite::Unbuffered);
        const std::uint64_t before = freeBytes;
        if (!system.FreeSpace(folder, freeBytes, totalBytes))
            return leave(kFreeSpaceQueryFailed);
        if (freeBytes >= before) {
            // Quotas, compression or sparse files: more fillers would never consume the space.
            system.Print("Free space did not shrink after " + Narrow(name) + "\n");
            notFilled = true;
            break;
        }
    }

    if (aborted())
        return leave(kFreeSpaceAborted);
    system.Print(Format("fileCount %d\n", count));
    if (request.init != nullptr)
        request.init(count + 1, static_cast<unsigned long>(freeBytes & 0xffffffffu),
                     static_cast<unsigned long>(freeBytes >> 32), request.ctx);
    if (aborted())
        return leave(kFreeSpaceAborted);

    const std::wstring firstFiller = folder + L"\\S0";
    if (count > 0) {
        if (aborted())
            return leave(kFreeSpaceAborted);
        system.Print("Shred " + Narrow(firstFiller) + "\n");
        const int result = shredFile(firstFiller, request.algorithmId, &context, request.pauseEvent,
                                     abortFlag, &WriteWipeProgress, 1);
        system.Print(Format("VNTShredFile %d\n", result));
        if (!system.FreeSpace(folder, freeBytes, totalBytes))
            return leave(kFreeSpaceQueryFailed);
    }
    if (aborted())
        return leave(kFreeSpaceAborted);

    if (!FillRemainder(system, folder, count + 1, freeBytes, cluster))
        notFilled = true;
    if (aborted())
        return leave(kFreeSpaceAborted);

    system.RemoveFile(firstFiller);  // already overwritten
    if (aborted())
        return leave(kFreeSpaceAborted);

    const int result = shredFile(folder, request.algorithmId, &context, request.pauseEvent,
                                 abortFlag, &WriteWipeProgress, 0);
    system.Print(Format("VNTShredFile %d\n", result));
    if (abortFlag != nullptr && *abortFlag == 1)
        return leave(kFreeSpaceAborted);
    // A filler the engine could not remove would keep the drive full.
    if (system.Exists(folder))
        system.DeleteTree(folder);
    return notFilled ? kFreeSpaceNotFilled : kFreeSpaceDone;
}

}  // namespace shred::wipers
