#include "support/process/process_helpers.h"

#include "core/unique_handle.h"

#include <vector>

namespace process {
namespace {

constexpr wchar_t kOutlookAppPath[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";
constexpr DWORD kPathBytes = 520;

}  // namespace

int OutlookMajorVersion()
{
    core::UniqueKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kOutlookAppPath, 0, KEY_READ, key.Put()) !=
        ERROR_SUCCESS)
        return kFailure;
    // One character beyond the 520 bytes, so a value stored without a terminator still ends.
    wchar_t path[kPathBytes / sizeof(wchar_t) + 1] = {};
    DWORD size = kPathBytes;
    if (::RegQueryValueExW(key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path),
                           &size) != ERROR_SUCCESS)
        return kFailure;
    key.Reset();

    DWORD ignored = 0;
    const DWORD infoSize = ::GetFileVersionInfoSizeW(path, &ignored);
    if (infoSize == 0)
        return kFailure;
    std::vector<BYTE> info(infoSize);
    if (!::GetFileVersionInfoW(path, 0, infoSize, info.data()))
        return kFailure;
    void* root = nullptr;
    UINT rootLength = 0;
    if (!::VerQueryValueW(info.data(), L"\\", &root, &rootLength) || !root || rootLength == 0)
        return kFailure;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(root);
    return static_cast<int>(HIWORD(fixed->dwFileVersionMS));
}

}  // namespace process
