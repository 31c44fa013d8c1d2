#include "suite/shellmenu/menu_configuration.h"

#include <algorithm>

namespace shellmenu {
namespace {

std::wstring ReadText(IRegistryKey& key, const std::wstring& name)
{
    const std::optional<RegistryData> data = key.ReadValue(name);
    if (!data)
        return {};
    return TextFromRegistryData(*data).value_or(L"");
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

void RemoveOnce(std::vector<std::wstring>& names, const std::wstring& name)
{
    const auto found = std::find(names.begin(), names.end(), name);
    if (found != names.end())
        names.erase(found);
}

}  // namespace

void MenuConfiguration::Load(IRegistryKey* mainKey, const TextSource& textOf)
{
    *this = MenuConfiguration();
    if (!mainKey)
        return;

    m_productVersion = ReadText(*mainKey, L"");
    m_bitmapName = ReadText(*mainKey, L"menu_bitmap");
    m_productName = ReadText(*mainKey, L"product_name");
    if (m_productName.empty())
        m_productName = kDefaultProductName;

    m_classIdNames = mainKey->SubKeyNames();
    RemoveOnce(m_classIdNames, kDriveKey);
    RemoveOnce(m_classIdNames, m_productName);
    for (const std::wstring& name : m_classIdNames) {
        if (auto key = mainKey->OpenSubKey(name))
            m_classIdCommands[name] = ReadCommandList(*key, textOf);
    }

    if (auto drive = mainKey->OpenSubKey(kDriveKey))
        m_driveCommands = ReadCommandList(*drive, textOf);

    if (auto product = mainKey->OpenSubKey(m_productName)) {
        m_fileTypeNames = product->SubKeyNames();
        for (const std::wstring& name : m_fileTypeNames) {
            if (auto key = product->OpenSubKey(name))
                m_fileTypeCommands[name] = ReadCommandList(*key, textOf);
        }
    }
}

CommandList MenuConfiguration::ReadCommandList(IRegistryKey& key, const TextSource& textOf)
{
    CommandList list;
    for (const std::wstring& name : key.ValueNames()) {
        if (name.empty())
            continue;  // the key's default value is no command
        const std::optional<RegistryData> data = key.ReadValue(name);
        if (!data)
            continue;
        const std::optional<std::wstring> commandLine = TextFromRegistryData(*data);
        if (!commandLine)
            continue;
        list.push_back(FindOrCreateEntry(name, *commandLine, textOf));
    }
    return list;
}

const MenuEntry* MenuConfiguration::FindOrCreateEntry(const std::wstring& key,
                                                      const std::wstring& commandLine,
                                                      const TextSource& textOf)
{
    for (const auto& entry : m_entries) {
        if (entry->key == key && entry->commandLine == commandLine)
            return entry.get();
    }
    std::wstring text = textOf ? textOf(key) : std::wstring();
    if (text.empty())
        text = key;
    m_entries.push_back(std::make_unique<MenuEntry>(MenuEntry{key, std::move(text), commandLine}));
    return m_entries.back().get();
}

bool MenuConfiguration::HasFileType(const std::wstring& name) const
{
    return Contains(m_fileTypeNames, name);
}

const CommandList& MenuConfiguration::FileTypeCommands(const std::wstring& name)
{
    return m_fileTypeCommands[name];
}

bool MenuConfiguration::HasClassId(const std::wstring& name) const
{
    return Contains(m_classIdNames, name);
}

const CommandList& MenuConfiguration::ClassIdCommands(const std::wstring& name)
{
    return m_classIdCommands[name];
}

}  // namespace shellmenu
