#include "shred/snapshots/snapwipe_registration.h"

#include "core/unique_handle.h"
#include "shred/snapshots/snapwipe_identity.h"

#include <oleauto.h>

namespace shred::snapshots {

std::vector<RegistryValue> SnapwipeRegistryValues(const std::wstring& modulePath)
{
    const std::wstring appId = std::wstring(L"AppID\\") + kSnapwipeAppIdText;
    const std::wstring clsid = std::wstring(L"CLSID\\") + kSnapwipeoClsidText;
    const std::wstring className = L"Snapwipeo Class";
    return {
        {appId, L"", false, L"Snapwipe"},
        {appId, L"DllSurrogate", false, L""},
        {L"AppID\\Snapwipe.DLL", L"AppID", false, kSnapwipeAppIdText},
        {L"Snapwipe.Snapwipeo.1", L"", false, className},
        {L"Snapwipe.Snapwipeo.1\\CLSID", L"", false, kSnapwipeoClsidText},
        {L"Snapwipe.Snapwipeo", L"", false, className},
        {L"Snapwipe.Snapwipeo\\CLSID", L"", false, kSnapwipeoClsidText},
        {L"Snapwipe.Snapwipeo\\CurVer", L"", false, L"Snapwipe.Snapwipeo.1"},
        {clsid, L"", false, className},
        {clsid, L"AppID", false, kSnapwipeAppIdText},
        {clsid, L"LocalizedString", false, L"@" + modulePath + L",-100"},
        {clsid + L"\\ProgID", L"", false, L"Snapwipe.Snapwipeo.1"},
        {clsid + L"\\VersionIndependentProgID", L"", false, L"Snapwipe.Snapwipeo"},
        {clsid + L"\\InprocServer32", L"", false, modulePath},
        {clsid + L"\\InprocServer32", L"ThreadingModel", false, L"Apartment"},
        {clsid + L"\\TypeLib", L"", false, kSnapwipeTypeLibText},
        {clsid + L"\\Elevation", L"Enabled", true, L"", 1},
    };
}

std::vector<std::wstring> SnapwipeRemovedKeys()
{
    return {std::wstring(L"CLSID\\") + kSnapwipeoClsidText, L"Snapwipe.Snapwipeo.1",
            L"Snapwipe.Snapwipeo", std::wstring(L"AppID\\") + kSnapwipeAppIdText,
            L"AppID\\Snapwipe.DLL"};
}

HRESULT RegisterSnapwipe(HKEY root, const std::wstring& modulePath)
{
    for (const RegistryValue& value : SnapwipeRegistryValues(modulePath)) {
        HKEY raw = nullptr;
        LSTATUS status = ::RegCreateKeyExW(root, value.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                           nullptr, &raw, nullptr);
        if (status != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(status);
        core::UniqueKey key(raw);
        const wchar_t* name = value.name.empty() ? nullptr : value.name.c_str();
        if (value.isDword) {
            const DWORD number = value.number;
            status = ::RegSetValueExW(key.Get(), name, 0, REG_DWORD,
                                      reinterpret_cast<const BYTE*>(&number), sizeof number);
        } else {
            status = ::RegSetValueExW(
                key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
        }
        if (status != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

HRESULT UnregisterSnapwipe(HKEY root)
{
    HRESULT result = S_OK;
    for (const std::wstring& key : SnapwipeRemovedKeys()) {
        const LSTATUS status = ::RegDeleteTreeW(root, key.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            result = HRESULT_FROM_WIN32(status);
        else if (status == ERROR_SUCCESS)
            ::RegDeleteKeyW(root, key.c_str());
    }
    return result;
}

HRESULT RegisterSnapwipeTypeLib(const std::wstring& modulePath)
{
    ITypeLib* library = nullptr;
    const HRESULT result = ::LoadTypeLibEx(modulePath.c_str(), REGKIND_REGISTER, &library);
    if (library)
        library->Release();
    return result;
}

HRESULT UnregisterSnapwipeTypeLib()
{
#if defined(_WIN64)
    constexpr SYSKIND kind = SYS_WIN64;
#else
    constexpr SYSKIND kind = SYS_WIN32;
#endif
    const HRESULT result = ::UnRegisterTypeLib(kSnapwipeLibId, 1, 0, LANG_NEUTRAL, kind);
    // Nothing registered is what unregistration wants.
    return result == TYPE_E_REGISTRYACCESS || result == TYPE_E_LIBNOTREGISTERED ? S_OK : result;
}

}  // namespace shred::snapshots
