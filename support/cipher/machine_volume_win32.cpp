#include "support/cipher/machine_volume_win32.h"

#include <windows.h>

namespace cipher {

std::string Win32MachineVolume::SystemFolder()
{
    char path[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::optional<uint32_t> Win32MachineVolume::VolumeSerialNumber(const std::string& root)
{
    DWORD serial = 0;
    if (!::GetVolumeInformationA(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        return std::nullopt;
    return serial;
}

}  // namespace cipher
