// Which half of a 64-bit Windows the system-side statements reach: the registry view their
// registry opens use and the file-system redirection switched off while they work, both chosen
// from WOW64 and the target platform. The view is the run's (EngineState::RegistryViewFlag); the
// redirection is the interpreter thread's own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/engine/interpreter/interpreter_state.h"

namespace setup::engine {

inline constexpr std::uint32_t kKeyWow64_64Key = 0x100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x200;

// The WOW64 facts and switches of the process; Windows answers them, tests fake them.
class IWow64Services
{
public:
    virtual ~IWow64Services() = default;
    // False when the query is unavailable or fails.
    virtual bool IsWow64() = 0;
    // False when the function is unavailable.
    virtual bool DisableRedirection(void*& oldValue) = 0;
    virtual bool RevertRedirection(void* oldValue) = 0;
};

// 0, kKeyWow64_64Key or kKeyWow64_32Key: what the statements OR into every registry open.
std::uint32_t TargetRegistryView(IWow64Services& wow64, std::string_view targetPlatform);
std::uint32_t DefaultRegistryView(IWow64Services& wow64);
// Only under WOW64 with a target other than "Win32"; the disable keeps the state it replaced in
// kept, and the revert hands it back.
void DisableFsRedirection(IWow64Services& wow64, std::string_view targetPlatform, void*& kept);
void RevertFsRedirection(IWow64Services& wow64, std::string_view targetPlatform, void* kept);

// The run's target view for a statement's lifetime; the default view again when it ends or fails.
class TargetRegistryViewScope
{
public:
    TargetRegistryViewScope(IWow64Services& wow64, EngineState& engine);
    ~TargetRegistryViewScope();
    TargetRegistryViewScope(const TargetRegistryViewScope&) = delete;
    TargetRegistryViewScope& operator=(const TargetRegistryViewScope&) = delete;

private:
    IWow64Services& m_wow64;
    EngineState& m_engine;
};

// Redirection off for a statement's lifetime, back on when it ends or fails.
class FsRedirectionScope
{
public:
    FsRedirectionScope(IWow64Services& wow64, std::string_view targetPlatform);
    ~FsRedirectionScope();
    FsRedirectionScope(const FsRedirectionScope&) = delete;
    FsRedirectionScope& operator=(const FsRedirectionScope&) = delete;

private:
    IWow64Services& m_wow64;
    std::string m_targetPlatform;
    void* m_kept = nullptr;  // this scope's own, so nested scopes restore in order
};

// The same for a statement family whose WOW64 services may be left out: none, no change.
class OptionalFsRedirectionScope
{
public:
    OptionalFsRedirectionScope(IWow64Services* wow64, std::string_view targetPlatform)
    {
        if (wow64 != nullptr)
            m_scope.emplace(*wow64, targetPlatform);
    }

private:
    std::optional<FsRedirectionScope> m_scope;
};

}  // namespace setup::engine
