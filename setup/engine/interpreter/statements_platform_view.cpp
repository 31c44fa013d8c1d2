#include "setup/engine/interpreter/statements_platform_view.h"

#include <string>

namespace setup::engine {

namespace {

bool ReachesOtherHalf(IWow64Services& wow64, std::string_view targetPlatform)
{
    return targetPlatform != "Win32" && wow64.IsWow64();
}

}  // namespace

std::uint32_t TargetRegistryView(IWow64Services& wow64, std::string_view targetPlatform)
{
    if (!wow64.IsWow64())
        return 0;
    return targetPlatform == "Win32" ? kKeyWow64_32Key : kKeyWow64_64Key;
}

std::uint32_t DefaultRegistryView(IWow64Services& wow64)
{
    return wow64.IsWow64() ? kKeyWow64_32Key : 0;
}

void DisableFsRedirection(IWow64Services& wow64, std::string_view targetPlatform, void*& kept)
{
    if (!ReachesOtherHalf(wow64, targetPlatform))
        return;
    void* oldValue = nullptr;
    if (wow64.DisableRedirection(oldValue))
        kept = oldValue;
}

void RevertFsRedirection(IWow64Services& wow64, std::string_view targetPlatform, void* kept)
{
    if (ReachesOtherHalf(wow64, targetPlatform))
        wow64.RevertRedirection(kept);
}

TargetRegistryViewScope::TargetRegistryViewScope(IWow64Services& wow64, EngineState& engine)
    : m_wow64(wow64), m_engine(engine)
{
    engine.RegistryViewFlag = TargetRegistryView(wow64, engine.TargetPlatform);
}

TargetRegistryViewScope::~TargetRegistryViewScope()
{
    m_engine.RegistryViewFlag = DefaultRegistryView(m_wow64);
}

FsRedirectionScope::FsRedirectionScope(IWow64Services& wow64, std::string_view targetPlatform)
    : m_wow64(wow64), m_targetPlatform(targetPlatform)
{
    DisableFsRedirection(wow64, targetPlatform, m_kept);
}

FsRedirectionScope::~FsRedirectionScope()
{
    RevertFsRedirection(m_wow64, m_targetPlatform, m_kept);
}

}  // namespace setup::engine
