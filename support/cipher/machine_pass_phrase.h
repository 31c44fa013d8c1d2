// The pass phrase derived from the machine: the volume serial number of the drive that holds the
// Windows system folder, in upper-case hexadecimal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace cipher {

// What the machine pass phrase reads from the system.
struct IMachineVolume
{
    virtual std::string SystemFolder() = 0;
    virtual std::optional<uint32_t> VolumeSerialNumber(const std::string& root) = 0;

protected:
    ~IMachineVolume() = default;
};

// "%X" of the serial; "0" when the volume query fails.
std::string MachinePassPhrase(IMachineVolume& volume);

}  // namespace cipher
