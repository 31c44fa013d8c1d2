// What the suite's library tests share: a recording of the message boxes a library would show, a
// locator that points at a folder of fixture libraries, and a registry root redirected to a
// scratch key for one test.
#pragma once

#include "core/unique_handle.h"
#include "suite/common/user_messages.h"
#include "tests/support/program_folder_win32.h"

#include <windows.h>

#include <string>
#include <vector>

namespace suite::testing {

class RecordingMessages final : public IUserMessages
{
public:
    void Show(std::wstring_view text, std::wstring_view caption, MessageIcon icon) override
    {
        shown.emplace_back(text);
        captions.emplace_back(caption);
    }
    std::vector<std::wstring> shown;
    std::vector<std::wstring> captions;
};

class FixedLocator final : public ISuiteLocator
{
public:
    FixedLocator(std::wstring libraryFolder, std::wstring moduleFolder)
        : m_libraryFolder(std::move(libraryFolder)), m_moduleFolder(std::move(moduleFolder))
    {}
    std::wstring SuiteLibraryFolder(std::wstring_view) override { return m_libraryFolder; }
    std::wstring ModuleFolder() override { return m_moduleFolder; }

private:
    std::wstring m_libraryFolder;
    std::wstring m_moduleFolder;
};

using testsupport::ProgramFolder;

// A folder of language libraries the build made for the tests, with its trailing backslash.
inline std::wstring LanguageFixtureFolder(const wchar_t* scenario)
{
    return ProgramFolder() + L"language_fixtures\\" + scenario + L"\\";
}

// Points a predefined registry root at a fresh key of its own while it lives.
class RedirectedRoot
{
public:
    explicit RedirectedRoot(HKEY root) : m_root(root)
    {
        m_name = L"Software\\SuiteTests\\" + std::to_wstring(::GetCurrentProcessId()) + L"\\" +
                 std::to_wstring(reinterpret_cast<ULONG_PTR>(root) & 0xFF);
        ::RegCreateKeyExW(HKEY_CURRENT_USER, m_name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          m_key.Put(), nullptr);
        ::RegOverridePredefKey(m_root, m_key.Get());
    }
    ~RedirectedRoot()
    {
        ::RegOverridePredefKey(m_root, nullptr);
        m_key.Reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_name.c_str());
    }
    RedirectedRoot(const RedirectedRoot&) = delete;
    RedirectedRoot& operator=(const RedirectedRoot&) = delete;

    bool Ok() const { return m_key.IsValid(); }

    // Writes raw data (no terminator added) under the redirected root.
    bool Write(const wchar_t* subKey, const wchar_t* value, DWORD type, const void* data,
               DWORD bytes) const
    {
        core::UniqueKey key;
        if (::RegCreateKeyExW(m_root, subKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(),
                              nullptr) != ERROR_SUCCESS)
            return false;
        return ::RegSetValueExW(key.Get(), value, 0, type, static_cast<const BYTE*>(data), bytes) ==
               ERROR_SUCCESS;
    }
    bool WriteText(const wchar_t* subKey, const wchar_t* value, const std::wstring& text) const
    {
        return Write(subKey, value, REG_SZ, text.c_str(),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

private:
    HKEY m_root;
    std::wstring m_name;
    core::UniqueKey m_key;
};

}  // namespace suite::testing
