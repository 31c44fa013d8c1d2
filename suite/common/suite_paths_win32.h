// The suite's library folders in the registry, the program's own folder, the product's
// installation folder, shell folders and version texts, as the suite's libraries read them.
#pragma once

#include "suite/common/user_messages.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace suite {

inline constexpr wchar_t kLibraryFoldersKey[] = L"Software\\Vontar Security\\Paths\\DLLs";

// A string value read into the 520-byte buffer; nothing when the key or value is missing or longer.
// A null value name reads the key's default value.
std::optional<std::wstring> ReadRegistryText(HKEY root, const wchar_t* subKey,
                                             const wchar_t* valueName);

std::wstring GetSuiteLibraryFolder(std::wstring_view fileName);
// The folder of the process's executable, with its trailing backslash.
std::wstring GetModuleFolder();
// The installation folder recorded under the company's "App Paths" key for the product title (the
// default value when there is none), else the program's folder.
std::wstring GetInstallFolder(std::wstring_view companyName, const wchar_t* productTitle);
// The shell folder, created when missing; "" on failure.
std::wstring GetSpecialFolder(int folderId);

enum class VersionOf
{
    Program,
    Library
};
// The "%d.%d.%d.%d" file version of `path`, or "none" after a message box saying why.
std::wstring ReadVersionText(const std::wstring& path, VersionOf kind, IUserMessages& messages);
// The version of the running program's executable.
std::wstring GetFileVersionText(IUserMessages& messages);

// The registry and the process, as the suite's libraries find each other for real.
class RegistrySuiteLocator final : public ISuiteLocator
{
public:
    std::wstring SuiteLibraryFolder(std::wstring_view fileName) override
    {
        return GetSuiteLibraryFolder(fileName);
    }
    std::wstring ModuleFolder() override { return GetModuleFolder(); }
};

// Message boxes owned by the calling thread's active window, with the library's title.
class MessageBoxMessages final : public IUserMessages
{
public:
    explicit MessageBoxMessages(std::wstring title) : m_title(std::move(title)) {}
    void Show(std::wstring_view text, std::wstring_view caption, MessageIcon icon) override;

private:
    std::wstring m_title;
};

}  // namespace suite
