// The system facts as Windows reports them for the running process: version records, the token's
// groups and elevation, memory, the screen and the native architecture.
#pragma once

#include <windows.h>

#include "setup/engine/system/system_facts.h"

namespace setup::engine {

class Win32SystemFacts final : public ISystemFacts
{
public:
    OsVersionRecord VersionRecord() override;
    bool IsServerSystem() override;
    bool TokenHasBuiltinGroup(std::uint32_t rid) override;
    bool IsProcessElevated() override;
    MemoryStatus GetMemoryStatus() override;
    ScreenFacts Screen() override;
    std::optional<std::uint16_t> NativeProcessorArchitecture() override;
    bool IsWow64() override;
};

// The process's own facts, one instance.
ISystemFacts& ProcessSystemFacts();

}  // namespace setup::engine
