// The Windows Installer property names that belong to Windows Installer itself, which the setup
// program keeps out of what it hands to the package's custom actions.
#pragma once

#include <string_view>

namespace setup::sysconfig::installer {

// True when the name is one of Windows Installer's own properties, letter case ignored.
bool IsMSIStandardProperty(std::string_view name);

}  // namespace setup::sysconfig::installer
