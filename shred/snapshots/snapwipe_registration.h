// Snapwipe's self-registration as plain data: the keys and values under HKEY_CLASSES_ROOT that
// registration writes and unregistration removes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace shred::snapshots {

struct RegistryValue
{
    std::wstring key;   // under the root
    std::wstring name;  // empty: the default value
    bool isDword = false;
    std::wstring text;
    std::uint32_t number = 0;
};

// Every value registration writes; modulePath replaces %MODULE%.
std::vector<RegistryValue> SnapwipeRegistryValues(const std::wstring& modulePath);
// The keys unregistration removes with everything below them; their parents stay.
std::vector<std::wstring> SnapwipeRemovedKeys();

// Writes the values under root (HKEY_CLASSES_ROOT for the real registration); a failed write
// is reported as the system error.
HRESULT RegisterSnapwipe(HKEY root, const std::wstring& modulePath);
HRESULT UnregisterSnapwipe(HKEY root);

// The type library bound into the module (resource TYPELIB 1), registered with the system.
HRESULT RegisterSnapwipeTypeLib(const std::wstring& modulePath);
HRESULT UnregisterSnapwipeTypeLib();

}  // namespace shred::snapshots
