#include "suite/update/installer_download.h"

#include "suite/update/update_answer.h"

#include <vector>

namespace update {

DownloadResult DownloadInstaller(const std::wstring& url, const std::wstring& localPath,
                                 std::int64_t announcedSize, IDownloadSource& source,
                                 IInstallerFile& file, IDownloadProgress& progress)
{
    const std::optional<int> status = source.Open(url);
    if (progress.CancelRequested())
        return {DownloadOutcome::Cancelled, 0};
    // An error page is not an installer: it is neither saved nor started.
    if (!status || *status != 200 || localPath.empty() || !file.Create(localPath))
        return {DownloadOutcome::NoConnection, 0};

    std::vector<std::uint8_t> buffer(kDownloadPiece);
    std::uint64_t total = 0;
    for (;;) {
        const std::optional<std::size_t> read = source.Read(buffer);
        if (!read) {
            file.Close();
            return {DownloadOutcome::ConnectionLost, total};
        }
        if (*read == 0)
            break;
        if (!file.Write(std::span<const std::uint8_t>(buffer.data(), *read))) {
            file.Close();
            return {DownloadOutcome::ConnectionLost, total};
        }
        total += *read;
        progress.Percent(DownloadPercent(total, announcedSize));
        if (progress.CancelRequested()) {
            file.Close();
            return {DownloadOutcome::Cancelled, total};
        }
    }
    file.Close();
    return {DownloadOutcome::Complete, total};
}

}  // namespace update
