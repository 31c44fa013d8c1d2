// The Windows side of the system statements: the registry through the advapi32 calls, the
// WOW64 queries and switches looked up by name, and the process environment.
#pragma once

#include <windows.h>

#include <string>

#include "setup/engine/statements/statements_registry.h"

namespace setup::engine {

class Win32Registry final : public IRegistry
{
public:
    RegistryReadStatus ReadValue(int root, const std::string& keyPath, const std::string& valueName,
                                 std::uint32_t view, RegistryValue& value) override;
    void DeleteValue(int root, const std::string& keyPath, const std::string& valueName,
                     std::uint32_t view) override;
    void DeleteKeyTree(int root, const std::string& keyPath, std::uint32_t view) override;
    void DeleteKeyTree64(int root, const std::string& keyPath) override;
};

class Win32Wow64Services final : public IWow64Services
{
public:
    bool IsWow64() override;
    bool DisableRedirection(void*& oldValue) override;
    bool RevertRedirection(void* oldValue) override;
};

class Win32ProcessEnvironment final : public IProcessEnvironment
{
public:
    std::string Expand(const std::string& text) override;
    std::string BlockText() override;
};

// The root handle of a root number 0-4; 0 for any other number.
HKEY RegistryRootKey(int root);

// Deletes the last key of the path, with its sub-keys, in the 64-bit view; false without a
// parent key in the path or when the key stays.
bool DeleteRegistryKey64(HKEY root, const std::string& keyPath);

std::string GetEnvironmentBlockText();

// The process's own services, one instance each.
SystemStatementServices Win32SystemStatementServices();

}  // namespace setup::engine
