// The target files of a download on the Windows file system; paths are ANSI text.
#pragma once

#include "core/unique_handle.h"
#include "setup/media/download/download_driver.h"

namespace download {

class DownloadFilesWin32 : public IDownloadFiles
{
public:
    std::optional<std::uint64_t> Size(const std::string& path) override;
    bool OpenAt(const std::string& path, std::uint64_t position) override;
    bool Write(std::string_view bytes) override;
    void Close() override;
    void Delete(const std::string& path) override;
    bool CopyInto(const std::string& from, const std::string& to) override;

private:
    core::UniqueFile m_file;
};

}  // namespace download
