#include "suite/recyclebin/shell_recycle_bin_win32.h"

#include "core/scope_guard.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wrl/client.h>

namespace trashwipe {
namespace {

using Microsoft::WRL::ComPtr;

std::wstring DisplayName(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF kind)
{
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(item, kind, &name)))
        return {};
    wchar_t text[MAX_PATH] = {};
    if (FAILED(::StrRetToBufW(&name, item, text, MAX_PATH)))
        return {};
    return text;
}

}  // namespace

std::vector<RecycleBinEntry> ShellRecycleBin::Enumerate()
{
    std::vector<RecycleBinEntry> entries;
    // A failed shell call leaves the list shorter; nothing is reported.
    const HRESULT initialised = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const auto uninitialise = core::MakeScopeGuard([initialised] {
        if (SUCCEEDED(initialised))
            ::CoUninitialize();
    });
    {
        ComPtr<IShellFolder> desktop;
        if (FAILED(::SHGetDesktopFolder(desktop.GetAddressOf())))
            return entries;
        LPITEMIDLIST binItem = nullptr;
        if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &binItem)))
            return entries;
        ComPtr<IShellFolder> bin;
        const HRESULT bound = desktop->BindToObject(binItem, nullptr, IID_IShellFolder,
                                                    reinterpret_cast<void**>(bin.GetAddressOf()));
        ::CoTaskMemFree(binItem);
        if (FAILED(bound))
            return entries;
        ComPtr<IEnumIDList> items;
        if (bin->EnumObjects(m_owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                             items.GetAddressOf()) != S_OK ||
            !items.Get())
            return entries;
        LPITEMIDLIST item = nullptr;
        while (items->Next(1, &item, nullptr) == S_OK) {
            RecycleBinEntry entry;
            entry.displayPath = DisplayName(bin.Get(), item, SHGDN_NORMAL);
            entry.realPath = DisplayName(bin.Get(), item, SHGDN_FORPARSING);
            ::CoTaskMemFree(item);
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

void ShellRecycleBin::EmptyAll()
{
    ::SHEmptyRecycleBinW(nullptr, nullptr,
                         SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

}  // namespace trashwipe
