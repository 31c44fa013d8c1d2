#include "suite/recyclebin/trashwipe_settings.h"

namespace trashwipe {

std::wstring TrashwipeSettings::ProductTitle(int selector)
{
    if (!m_override.empty())
        return m_override;
    if (selector == kShredderKeyName)
        return m_texts.Text(L"vnt_recyclebin_ntv", 0);
    if (selector < kShredderKeyName)
        return m_texts.Text(L"vnt_desktop_ntv", 0);
    return m_texts.Text(L"vnt_recyclebin", selector);
}

std::wstring TrashwipeSettings::Company(int languageIndex)
{
    return m_texts.Text(L"company_ntv", languageIndex);
}

std::wstring TrashwipeSettings::SettingsKey(int languageIndex)
{
    return L"Software\\" + Company(languageIndex) + L"\\" + ProductTitle(kShredderKeyName) +
           L"\\Settings";
}

std::wstring TrashwipeSettings::ShreddingKey()
{
    return L"Software\\" + Company() + L"\\" + ProductTitle(kShredderKeyName) + L"\\Shredding";
}

std::wstring TrashwipeSettings::MachineSettingsKey(const std::wstring& productTitle)
{
    return L"Software\\" + Company() + L"\\" + productTitle + L"\\Settings";
}

ShredAlgorithmId TrashwipeSettings::ReadShredAlgo(const std::wstring* product)
{
    const std::wstring name = product ? *product : ProductTitle(kDefaultProductKeyName);
    const std::wstring key = L"Software\\" + Company() + L"\\" + name + L"\\Shredding";
    return static_cast<ShredAlgorithmId>(m_store.ReadDword(SettingsRoot::User, key, L"ShredAlgo"));
}

bool TrashwipeSettings::ReadShredLog()
{
    return m_store.ReadDword(SettingsRoot::User, SettingsKey(0), L"ShredLog") != 0;
}

void TrashwipeSettings::WriteShredLog(bool shred)
{
    m_store.WriteDword(SettingsRoot::User, SettingsKey(0), L"ShredLog", shred ? 1 : 0);
}

bool TrashwipeSettings::ReadHideSummary(int languageIndex)
{
    return m_store.ReadDword(SettingsRoot::User, SettingsKey(languageIndex), L"HideSummary") != 0;
}

bool TrashwipeSettings::ReadLeavePV()
{
    return m_store.ReadDword(SettingsRoot::User, ShreddingKey(), L"LeavePV") != 0;
}

void TrashwipeSettings::WriteLeavePV(bool leave)
{
    m_store.WriteDword(SettingsRoot::User, ShreddingKey(), L"LeavePV", leave ? 1 : 0);
}

std::wstring TrashwipeSettings::TemplateFolder(const std::wstring& productTitle,
                                               const std::wstring& fallbackInstallFolder)
{
    const auto stored =
        m_store.ReadText(SettingsRoot::Machine, MachineSettingsKey(productTitle), L"TemplatePath");
    return NormalizeFolder(stored ? *stored : fallbackInstallFolder + L"\\Template");
}

std::optional<std::wstring> TrashwipeSettings::ReadLogPath(const std::wstring& productTitle)
{
    return m_store.ReadText(SettingsRoot::Machine, MachineSettingsKey(productTitle), L"LogPath");
}

std::wstring NormalizeFolder(std::wstring_view folder)
{
    std::wstring out;
    std::size_t start = 0;
    if (folder.starts_with(L"\\\\") && !folder.starts_with(L"\\\\\\")) {
        out = L"\\\\";
        start = 2;
    }
    for (std::size_t i = start; i < folder.size(); ++i) {
        if (folder[i] == L'\\' && !out.empty() && out.back() == L'\\' && out.size() > start)
            continue;
        out.push_back(folder[i]);
    }
    if (out.empty() || out.back() != L'\\')
        out.push_back(L'\\');
    return out;
}

}  // namespace trashwipe
