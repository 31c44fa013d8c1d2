// The file operations the media workers place files with: the folder view of the walkers plus
// moving and copying single files.
#pragma once

#include <string>

#include "setup/engine/system/file_system_view.h"

namespace setup::engine {

class IMediaFiles : public IFileSystemView
{
public:
    virtual bool FileExists(const std::string& path) = 0;
    // Fails when the target exists.
    virtual bool Move(const std::string& from, const std::string& to) = 0;
    virtual bool Copy(const std::string& from, const std::string& to, bool overwrite) = 0;
    virtual std::uint64_t Size(const std::string& path) = 0;  // 0 when missing
    // NTFS compression of a file or folder; media work goes on when it fails.
    virtual void Compress(const std::string& path, bool compress) = 0;
};

// Creates the folder with its missing parents; false when it still does not exist.
bool ForceMediaFolder(IMediaFiles& files, const std::string& folder);

}  // namespace setup::engine
