#include "shred/wipers/tests/free_space_fakes.h"

#include <algorithm>

namespace shred::wipers::testing {

namespace {

bool Beneath(const std::wstring& path, const std::wstring& folder)
{
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == L'\\';
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

}  // namespace

std::uint64_t SimulatedVolume::Free() const
{
    std::uint64_t held = used;
    if (fillersConsumeSpace) {
        for (const auto& [path, size] : files)
            held += (size + Cluster() - 1) / Cluster() * Cluster();
    }
    return held >= capacity ? 0 : capacity - held;
}

void SimulatedVolume::WaitForRun(void**)
{
    ++waits;
    if (onWait)
        onWait(waits);
}

void SimulatedVolume::DeleteTree(const std::wstring& folder)
{
    log.push_back("delete-tree");
    std::erase_if(files, [&](const auto& file) { return Beneath(file.first, folder); });
    std::erase(folders, folder);
}

bool SimulatedVolume::CreateFolder(const std::wstring& folder)
{
    log.push_back("create-folder");
    if (folderFails || std::find(folders.begin(), folders.end(), folder) != folders.end())
        return false;
    folders.push_back(folder);
    return true;
}

bool SimulatedVolume::FreeSpace(const std::wstring&, std::uint64_t& freeBytes,
                                std::uint64_t& totalBytes)
{
    ++freeSpaceQueries;
    if (freeSpaceQueries == freeSpaceFailsAt)
        return false;
    freeBytes = Free();
    totalBytes = capacity;
    return true;
}

bool SimulatedVolume::Geometry(const std::wstring& root, ClusterGeometry& geometry)
{
    log.push_back("geometry " + Narrow(root));
    if (geometryFails)
        return false;
    geometry = {sectorsPerCluster, bytesPerSector, static_cast<std::uint32_t>(Free() / Cluster()),
                static_cast<std::uint32_t>(capacity / Cluster())};
    return true;
}

bool SimulatedVolume::Exists(const std::wstring& path)
{
    return files.count(path) != 0 ||
           std::find(folders.begin(), folders.end(), path) != folders.end();
}

FillerResult SimulatedVolume::CreateFiller(const std::wstring& path, std::uint64_t size,
                                           FillerWrite mode)
{
    log.push_back("filler " + Narrow(path) + " " + std::to_string(size) +
                  (mode == FillerWrite::WriteThrough ? " write-through" : ""));
    const std::size_t slash = path.find_last_of(L'\\');
    if (std::find(folders.begin(), folders.end(), path.substr(0, slash)) == folders.end())
        return FillerResult::NotCreated;
    std::uint64_t& length = files[path];
    const std::uint64_t rounded = (size + Cluster() - 1) / Cluster() * Cluster();
    const std::uint64_t current = (length + Cluster() - 1) / Cluster() * Cluster();
    if (size > largestFile || (fillersConsumeSpace && rounded > current + Free()))
        return FillerResult::NotSized;
    length = size;
    return FillerResult::Sized;
}

bool SimulatedVolume::RemoveFile(const std::wstring& path)
{
    log.push_back("remove " + Narrow(path));
    return files.erase(path) != 0;
}

ShredFileFunction RecordingShredder::Function()
{
    return [this](const std::wstring& path, int algorithmId, void* ctx, void** pauseEvent,
                  char* abortFlag, ShredProgressCallback progress, int keepFile) {
        return Shred(path, algorithmId, ctx, pauseEvent, abortFlag, progress, keepFile);
    };
}

int RecordingShredder::Shred(const std::wstring& path, int algorithmId, void* ctx,
                             void** pauseEvent, char* abortFlag, ShredProgressCallback progress,
                             int keepFile)
{
    calls.push_back({path, algorithmId, ctx, pauseEvent, abortFlag, keepFile});
    m_volume.log.push_back("shred " + Narrow(path) + (keepFile ? " keep" : ""));
    std::vector<std::wstring> targets;
    if (m_volume.files.count(path)) {
        targets.push_back(path);
    } else {
        for (const auto& [file, size] : m_volume.files)
            if (Beneath(file, path))
                targets.push_back(file);
    }
    const int count = static_cast<int>(targets.size());
    for (int index = 1; index <= count; ++index) {
        for (int chunk = 1; chunk <= chunksPerFile; ++chunk) {
            m_volume.WaitForRun(pauseEvent);
            if (abortFlag != nullptr && *abortFlag == 1)
                return -6;
            ++progressSteps;
            if (progress != nullptr)
                progress(ctx, chunk * 100 / (chunksPerFile + 1), index, count, 1,
                         static_cast<std::uint64_t>(chunk) << 20, pauseEvent, 0.0f, 0);
        }
        ++progressSteps;
        if (progress != nullptr)
            progress(ctx, 200, index, count, 1, 0, pauseEvent, 0.0f, 0);
        if (!keepFile && removesFolder)
            m_volume.files.erase(targets[index - 1]);
    }
    if (!keepFile && removesFolder && !m_volume.files.count(path))
        std::erase(m_volume.folders, path);
    if (afterCall)
        afterCall(calls.back());
    return result;
}

}  // namespace shred::wipers::testing
