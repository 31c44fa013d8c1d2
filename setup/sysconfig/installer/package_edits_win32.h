// The edits the setup program makes to its product's package before Windows Installer sees it:
// queued properties, new-instance identities, localized shortcuts and ProgIds, platform and
// source type; and the installed product's package-code check.
#pragma once

#include <string>
#include <vector>

#include "setup/sysconfig/property_queue.h"

namespace setup::sysconfig::installer {

// The new-instance data of a run: the statement that makes a new instance sets the mode with a
// new product code and cache id and clears componentsRegenerated.
struct PackageInstanceState
{
    bool newInstanceMode = false;
    bool componentsRegenerated = false;
    std::string productCode;
    std::string cacheId;
    std::string instancePackagePath;  // the package that last received the instance data
};

// Writes the queued properties into the Property table and empties the queue; a new instance's
// identities go in with them. A "'" in a value is written as "$QUOTE$", which the package's
// custom actions turn back.
void WriteMSIProperties(const std::string& packagePath, PackageInstanceState& instance,
                        MsiPropertyQueue& properties);
// Triples (directory key, name, description) and (ProgId, new ProgId, description).
void LocalizeMSIShortcuts(const std::string& packagePath, const std::vector<std::string>& list);
void LocalizeMSIProgIds(const std::string& packagePath, const std::vector<std::string>& list);
// Long file names, uncompressed source, no administrative image, no elevation.
void SetPackageWordCount(const std::string& packagePath);
// "Win32", "x64" or "ia64": the template's platform and the components' 64-bit bit.
void SetPackagePlatform(const std::string& packagePath, const std::string& platform);
void RegenerateComponentIds(const std::string& packagePath);
// The installed product's package code equals packageCode, letter case ignored.
bool PackageCodeMatches(const std::string& productCode, const std::string& packageCode);

}  // namespace setup::sysconfig::installer
