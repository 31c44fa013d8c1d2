#include "shred/wipers/free_space_wiper.h"

#include "shred/wipers/ascii_path.h"
#include "shred/wipers/progress_file_estimate.h"

#include <cinttypes>
#include <cstdio>

namespace shred::wipers {

namespace {

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
                system.Print("Last filler not sized: " + NarrowPath(name) + "\n");
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

constexpr int kGoOn = 0;

// One run: the plan, what the volume answered so far, and the steps that follow the working
// folder's creation; the run stops between any two steps when the caller aborts.
class FreeSpaceRun
{
public:
    FreeSpaceRun(const FreeSpaceRequest& request, IFreeSpaceSystem& system,
                 IProgressSystem& progressSystem, const ShredFileFunction& shredFile)
        : m_request(request),
          m_system(system),
          m_progressSystem(progressSystem),
          m_shredFile(shredFile),
          m_plan(PlanFreeSpaceWipe(request.driveLetter)),
          m_target(ChooseProgressTarget(progressSystem, request.progress)),
          m_abortFlag(request.abortFlag)
    {
        if (m_target.FileMode() && m_abortFlag == nullptr)
            m_abortFlag = &m_ownAbort;
    }
    FreeSpaceRun(const FreeSpaceRun&) = delete;
    FreeSpaceRun& operator=(const FreeSpaceRun&) = delete;

    int Run()
    {
        m_system.Print("strWorkingFolder: " + NarrowPath(m_plan.folder) + "\n");
        m_context.baselineTime = m_progressSystem.NowSeconds();
        m_context.callerCtx = m_request.ctx;
        m_context.system = &m_progressSystem;
        m_context.target = &m_target;
        m_context.ownAbort = &m_ownAbort;

        if (Aborted())
            return kFreeSpaceAborted;
        if (m_plan.isDriveLetter)
            m_system.DeleteTree(m_plan.folder);  // a leftover of an interrupted run
        if (!m_plan.isDriveLetter || !m_system.CreateFolder(m_plan.folder))
            return ReportFolderFailure();
        if (!Measure())
            return Leave(kFreeSpaceQueryFailed);

        using Step = int (FreeSpaceRun::*)();
        constexpr Step kSteps[] = {&FreeSpaceRun::Fill, &FreeSpaceRun::Announce,
                                   &FreeSpaceRun::ShredFirstFiller, &FreeSpaceRun::FillTheRest,
                                   &FreeSpaceRun::RemoveFirstFiller};
        for (const Step step : kSteps) {
            if (const int ended = (this->*step)(); ended != kGoOn)
                return Leave(ended);
            if (Aborted())
                return Leave(kFreeSpaceAborted);
        }
        return ShredFolder();
    }

private:
    bool Aborted()
    {
        m_system.WaitForRun(m_request.pauseEvent);
        return m_abortFlag != nullptr && *m_abortFlag == 1;
    }

    int Leave(int result)
    {
        m_system.DeleteTree(m_plan.folder);
        return result;
    }

    std::wstring FirstFiller() const { return m_plan.folder + L"\\S0"; }

    int ReportFolderFailure()
    {
        const std::uint32_t error =
            m_plan.isDriveLetter ? m_system.LastError() : kErrorInvalidDrive;
        std::string text =
            Format("%s Error: %d Drive type: %d", NarrowPath(m_plan.folder).c_str(),
                   static_cast<int>(error), static_cast<int>(m_system.DriveType(m_plan.givenRoot)));
        std::uint64_t freeBytes = 0;
        std::uint64_t totalBytes = 0;
        if (m_system.FreeSpace(m_plan.givenRoot, freeBytes, totalBytes))
            text +=
                Format(" free disk: %" PRId64 " Total: %" PRId64,
                       static_cast<std::int64_t>(freeBytes), static_cast<std::int64_t>(totalBytes));
        if (m_target.FileMode()) {
            m_target.file->Append(text);
        } else if (m_target.callback != nullptr) {
            std::wstring wide = Widen(text);
            reinterpret_cast<WipeProgressCallback>(m_target.callback)(
                kWipeStartError, m_request.ctx, wide.data(), kWipeStartError, 0.0);
        }
        return kFreeSpaceFolderFailed;
    }

    // The free space, the cluster size and the filler size; false when the volume cannot tell.
    bool Measure()
    {
        std::uint64_t totalBytes = 0;
        if (!m_system.FreeSpace(m_plan.folder, m_freeBytes, totalBytes))
            return false;
        m_system.Print(Format("lpTotalNumberOfFreeBytes: %" PRId64 "\n",
                              static_cast<std::int64_t>(m_freeBytes)));
        m_context.freeBytes = m_freeBytes;

        ClusterGeometry geometry;
        if (!m_system.Geometry(m_plan.root, geometry)) {
            m_system.Print(Format("GetDiskFreeSpace %s %d\n", NarrowPath(m_plan.folder).c_str(),
                                  static_cast<int>(m_system.LastError())));
            return false;
        }
        m_system.Print(Format(
            "lpSectorsPerCluster: %d\nlpBytesPerSector: %d\nlpNumberOfFreeClusters: "
            "%d\nlpTotalNumberOfClusters: %d\n",
            static_cast<int>(geometry.sectorsPerCluster), static_cast<int>(geometry.bytesPerSector),
            static_cast<int>(geometry.freeClusters), static_cast<int>(geometry.totalClusters)));
        m_cluster = geometry.sectorsPerCluster * geometry.bytesPerSector;
        if (m_cluster == 0)
            return false;
        m_fillerSize = FillerSize(m_freeBytes, m_cluster);
        m_system.Print(
            Format("uiFileSize: %" PRId64 "\n", static_cast<std::int64_t>(m_fillerSize)));
        return true;
    }

    // Fillers of the planned size while more than two of them would fit.
    int Fill()
    {
        std::uint64_t totalBytes = 0;
        while (2 * m_fillerSize < m_freeBytes) {
            if (Aborted())
                return kFreeSpaceAborted;
            const std::wstring name = NextFreeFillerName(m_system, m_plan.folder, m_count);
            ++m_count;
            m_system.CreateFiller(name, m_fillerSize, FillerWrite::Unbuffered);
            const std::uint64_t before = m_freeBytes;
            if (!m_system.FreeSpace(m_plan.folder, m_freeBytes, totalBytes))
                return kFreeSpaceQueryFailed;
            if (m_freeBytes >= before) {
                // Quotas, compression or sparse files: more fillers would never consume the space.
                m_system.Print("Free space did not shrink after " + NarrowPath(name) + "\n");
                m_notFilled = true;
                break;
            }
        }
        return kGoOn;
    }

    int Announce()
    {
        m_system.Print(Format("fileCount %d\n", m_count));
        if (m_request.init != nullptr)
            m_request.init(m_count + 1, static_cast<unsigned long>(m_freeBytes & 0xffffffffu),
                           static_cast<unsigned long>(m_freeBytes >> 32), m_request.ctx);
        return kGoOn;
    }

    // The first filler is overwritten on its own and kept, so its space stays taken.
    int ShredFirstFiller()
    {
        if (m_count == 0)
            return kGoOn;
        if (Aborted())
            return kFreeSpaceAborted;
        m_system.Print("Shred " + NarrowPath(FirstFiller()) + "\n");
        const int result = m_shredFile(FirstFiller(), m_request.algorithmId, &m_context,
                                       m_request.pauseEvent, m_abortFlag, &WriteWipeProgress, 1);
        m_system.Print(Format("VNTShredFile %d\n", result));
        std::uint64_t totalBytes = 0;
        if (!m_system.FreeSpace(m_plan.folder, m_freeBytes, totalBytes))
            return kFreeSpaceQueryFailed;
        return kGoOn;
    }

    int FillTheRest()
    {
        if (!FillRemainder(m_system, m_plan.folder, m_count + 1, m_freeBytes, m_cluster))
            m_notFilled = true;
        return kGoOn;
    }

    int RemoveFirstFiller()
    {
        m_system.RemoveFile(FirstFiller());  // already overwritten
        return kGoOn;
    }

    int ShredFolder()
    {
        const int result = m_shredFile(m_plan.folder, m_request.algorithmId, &m_context,
                                       m_request.pauseEvent, m_abortFlag, &WriteWipeProgress, 0);
        m_system.Print(Format("VNTShredFile %d\n", result));
        if (m_abortFlag != nullptr && *m_abortFlag == 1)
            return Leave(kFreeSpaceAborted);
        // A filler the engine could not remove would keep the drive full.
        if (m_system.Exists(m_plan.folder))
            m_system.DeleteTree(m_plan.folder);
        return m_notFilled ? kFreeSpaceNotFilled : kFreeSpaceDone;
    }

    const FreeSpaceRequest& m_request;
    IFreeSpaceSystem& m_system;
    IProgressSystem& m_progressSystem;
    const ShredFileFunction& m_shredFile;
    const FreeSpacePlan m_plan;
    ProgressTarget m_target;
    char m_ownAbort = 0;
    char* m_abortFlag;
    WipeContext m_context;
    std::uint64_t m_freeBytes = 0;
    std::uint32_t m_cluster = 0;
    std::uint64_t m_fillerSize = 0;
    int m_count = 0;
    bool m_notFilled = false;
};

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

FreeSpacePlan PlanFreeSpaceWipe(char driveLetter)
{
    const char letter = Upper(driveLetter);
    FreeSpacePlan plan;
    plan.isDriveLetter = letter >= 'A' && letter <= 'Z';
    plan.givenRoot = std::wstring(1, static_cast<wchar_t>(driveLetter)) + L":\\";
    plan.folder = std::wstring(1, static_cast<wchar_t>(driveLetter)) + L":\\VNTShred";
    plan.root = std::wstring(1, static_cast<wchar_t>(letter)) + L":\\";
    return plan;
}

int WipeFreeDiskSpace(const FreeSpaceRequest& request, IFreeSpaceSystem& system,
                      IProgressSystem& progressSystem, const ShredFileFunction& shredFile)
{
    return FreeSpaceRun(request, system, progressSystem, shredFile).Run();
}

}  // namespace shred::wipers
