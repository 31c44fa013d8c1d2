// The file system as the file controls list it.
#pragma once

#include "setup/ui/file_controls.h"

namespace setup::ui {

class Win32FileLister final : public IFileLister
{
public:
    std::vector<FolderEntry> List(const std::string& folder, const std::string& pattern) override;
    bool FolderExists(const std::string& folder) override;
    std::string Drives() override;
};

}  // namespace setup::ui
