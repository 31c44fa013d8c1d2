// The context menu's commands as the setup wrote them under the "Shell Extension" key: the product
// version, title and bitmap name, the command lists for file types, drives and namespace items,
// and one shared entry per distinct command.
#pragma once

#include "suite/shellmenu/registry_text.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shellmenu {

inline constexpr wchar_t kDefaultProductName[] = L"Vontar";
inline constexpr wchar_t kDriveKey[] = L"Drive";
inline constexpr wchar_t kAllFilesKey[] = L"*.*";
// The Recycle Bin's class identifier, the key of its commands.
inline constexpr wchar_t kRecycleBinClassId[] = L"{645FF040-5081-101B-9F08-00AA002F954E}";

struct MenuEntry
{
    std::wstring key;          // the language key, the value's name
    std::wstring text;         // the key's text, or the key itself
    std::wstring commandLine;  // "%1" stands for the quoted paths
};

// Entries in menu order; they belong to the configuration.
using CommandList = std::vector<const MenuEntry*>;

// One open registry key, as far as the configuration reads it.
class IRegistryKey
{
public:
    virtual ~IRegistryKey() = default;
    // Nothing when the subkey cannot be opened for reading.
    virtual std::unique_ptr<IRegistryKey> OpenSubKey(const std::wstring& name) = 0;
    // The names of the subkeys or values in enumeration order; enumeration ends at the first
    // index the registry refuses (a name longer than the name buffer among them).
    virtual std::vector<std::wstring> SubKeyNames() = 0;
    virtual std::vector<std::wstring> ValueNames() = 0;
    // Nothing when the value is missing; an empty name reads the default value.
    virtual std::optional<RegistryData> ReadValue(const std::wstring& name) = 0;
};

class MenuConfiguration
{
public:
    // The text of a language key in the current language; "" when there is none.
    using TextSource = std::function<std::wstring(const std::wstring& key)>;

    // Reads everything from the "Shell Extension" key; no key leaves the configuration empty.
    void Load(IRegistryKey* mainKey, const TextSource& textOf);

    const std::wstring& ProductVersion() const { return m_productVersion; }
    const std::wstring& ProductName() const { return m_productName; }
    const std::wstring& BitmapName() const { return m_bitmapName; }

    bool HasFileType(const std::wstring& name) const;
    // A name without a list gets an empty one.
    const CommandList& FileTypeCommands(const std::wstring& name);
    bool HasClassId(const std::wstring& name) const;
    const CommandList& ClassIdCommands(const std::wstring& name);
    // Nothing when the "Drive" key was missing.
    const CommandList* DriveCommands() const
    {
        return m_driveCommands ? &*m_driveCommands : nullptr;
    }

    const std::vector<std::unique_ptr<MenuEntry>>& Entries() const { return m_entries; }

private:
    CommandList ReadCommandList(IRegistryKey& key, const TextSource& textOf);
    const MenuEntry* FindOrCreateEntry(const std::wstring& key, const std::wstring& commandLine,
                                       const TextSource& textOf);

    std::vector<std::unique_ptr<MenuEntry>> m_entries;
    std::wstring m_productVersion;
    std::wstring m_productName = kDefaultProductName;
    std::wstring m_bitmapName;
    std::vector<std::wstring> m_fileTypeNames;
    std::vector<std::wstring> m_classIdNames;
    std::map<std::wstring, CommandList> m_fileTypeCommands;
    std::optional<CommandList> m_driveCommands;
    std::map<std::wstring, CommandList> m_classIdCommands;
};

}  // namespace shellmenu
