#include "shred/wipers/slack_wiper.h"

#include "shred/engine/crt_random.h"

namespace shred::wipers {

std::wstring RootOf(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')))
        return path.substr(0, 3);
    if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
        const std::size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2)
            return {};
        const std::size_t share = path.find(L'\\', server + 1);
        if (share == server + 1)
            return {};
        return (share == std::wstring::npos ? path : path.substr(0, share)) + L"\\";
    }
    return {};
}

std::uint32_t SlackWriteLength(std::uint32_t clusterSize, std::uint32_t patternLength)
{
    if (patternLength == 0)
        return clusterSize;
    return (clusterSize + patternLength - 1) / patternLength * patternLength;
}

int WipeSpecifiedFileSlack(const wchar_t* fileName, int algorithmId, ISlackSystem& system,
                           const SlackServices& services)
{
    if (fileName == nullptr)
        return kSlackNotFound;
    const std::wstring path = fileName;
    const SlackFacts facts = system.Facts(path);
    if (!facts.exists)
        return kSlackNotFound;
    if (facts.isFolder)
        return kSlackIsFolder;

    const std::wstring root = RootOf(path);
    if (root.empty())
        return kSlackNoRoot;
    std::uint32_t clusterSize = 0;
    if (!system.ClusterSize(root, clusterSize) || clusterSize == 0)
        return kSlackClusterFailed;

    std::uint32_t attributes = 0;
    if (!system.GetAttributes(path, attributes))
        return kSlackAttributesUnreadable;

    std::unique_ptr<ISlackFile> file = system.OpenForSlack(path);
    if (!file)
        return kSlackOpenFailed;
    SlackFileTimes times;
    if (!file->GetTimes(times))
        return kSlackTimesUnreadable;
    std::uint64_t size = 0;
    if (!file->GetSize(size))
        return kSlackSizeUnreadable;

    const std::optional<PassList> passes =
        services.buildPasses ? services.buildPasses(algorithmId) : std::nullopt;
    // A run without passes would restore the times and report a wipe that never happened.
    if (!passes || passes->empty())
        return kSlackAlgorithmRefused;
    CrtRandom random;
    random.Seed(system.Seconds());
    random.Next();

    std::vector<std::uint8_t> buffer;
    for (const ShredPass& pass : *passes) {
        const auto patternLength = static_cast<std::uint32_t>(pass.pattern.size());
        buffer.resize(SlackWriteLength(clusterSize, patternLength));
        for (std::size_t i = 0; i < buffer.size(); ++i)
            buffer[i] = pass.random || patternLength == 0 ? random.NextByte()
                                                          : pass.pattern[i % patternLength];
        if (!file->Seek(size))
            return kSlackSeekEndFailed;
        if (!file->Write(buffer.data(), static_cast<std::uint32_t>(buffer.size()))) {
            // Whatever part reached the file goes again: the file keeps its size on failure.
            if (file->Seek(size))
                file->SetEndOfFile();
            return kSlackWriteFailed;
        }
        file->Flush();
        if (!file->Seek(size))
            return kSlackSeekBackFailed;
        if (!file->SetEndOfFile())
            return kSlackEndOfFileFailed;
    }

    if (!file->SetTimes(times))
        return kSlackTimesNotRestored;
    file->Flush();
    file.reset();
    if (!system.SetAttributes(path, attributes))
        return kSlackAttributesNotRestored;
    return kSlackDone;
}

}  // namespace shred::wipers
