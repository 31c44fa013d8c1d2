// The resource archive beside the setup program, unpacked through the archive wrapper.
#pragma once

#include "setup/deployrun/startup_services.h"

namespace setup::deployrun {

class WrapperResourceArchive final : public IResourceArchive
{
public:
    bool ExtractAll(const std::string& archivePath, const std::string& targetFolder,
                    std::string& errorText) override;
};

}  // namespace setup::deployrun
