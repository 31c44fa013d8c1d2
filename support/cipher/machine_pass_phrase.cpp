#include "support/cipher/machine_pass_phrase.h"

#include <cstdio>

namespace cipher {

std::string MachinePassPhrase(IMachineVolume& volume)
{
    const std::string folder = volume.SystemFolder();
    // The root is the folder's first character followed by ":\", as for "C:\Windows\system32".
    const std::string root = folder.empty() ? std::string() : folder.substr(0, 1) + ":\\";
    uint32_t serial = 0;
    if (!root.empty())
        serial = volume.VolumeSerialNumber(root).value_or(0);
    char text[9];
    std::snprintf(text, sizeof(text), "%X", static_cast<unsigned>(serial));
    return text;
}

}  // namespace cipher
