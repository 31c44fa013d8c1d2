#include "tests/support/program_folder_win32.h"

#include "core/unique_handle.h"

namespace testsupport {

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder;
}

void WriteRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* name,
                       const std::wstring& text)
{
    core::UniqueKey key;
    ::RegCreateKeyExW(root, subKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr);
    ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace testsupport
