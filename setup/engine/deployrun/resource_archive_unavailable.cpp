#include "setup/engine/deployrun/resource_archive.h"

namespace setup::deployrun {

// Built when no archive wrapper is part of the build: every archive counts as undecodable.
bool WrapperResourceArchive::ExtractAll(const std::string&, const std::string&,
                                        std::string& errorText)
{
    errorText = "No archive library in this build";
    return false;
}

}  // namespace setup::deployrun
