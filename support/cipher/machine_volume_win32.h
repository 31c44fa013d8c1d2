// The machine volume as Windows reports it.
#pragma once

#include "support/cipher/machine_pass_phrase.h"

namespace cipher {

class Win32MachineVolume final : public IMachineVolume
{
public:
    std::string SystemFolder() override;
    std::optional<uint32_t> VolumeSerialNumber(const std::string& root) override;
};

}  // namespace cipher
