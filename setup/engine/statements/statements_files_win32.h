// The Windows side of the file statements: attributes, version resources and temporary files
// through the ANSI calls, and the folder search of "Find All Files" on its worker thread.
#pragma once

#include "setup/engine/statements/statements_files.h"

namespace setup::engine {

class Win32FileFacts final : public IFileFacts
{
public:
    std::optional<std::uint32_t> GetAttributes(const std::string& path) override;
    FileVersion GetFileVersionParts(const std::string& path) override;
    std::string CreateTempFile(const std::string& folder, const std::string& prefix) override;
};

// TFindAllFilesThread: the search on a worker thread while the GUI thread handles its messages
// (in silent mode it only waits for the worker).
class Win32FindAllFilesWorker final : public IFindAllFilesWorker
{
public:
    std::vector<std::string> Run(IFileSystemView& fs, const FindAllFilesRequest& request,
                                 const std::function<int()>& checkCancel) override;
};

// GetFileVersionInfoSizeA, GetFileVersionInfoA and the fixed information of "\".
FileVersion GetFileVersionParts(const std::string& path);

// The process's own services, one instance each.
FileStatementServices Win32FileStatementServices(IWow64Services& wow64);

}  // namespace setup::engine
