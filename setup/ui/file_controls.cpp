#include "setup/ui/file_controls.h"

#include <algorithm>
#include <cctype>

#include "setup/forms/class_builder.h"
#include "setup/ui/application.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

IFileLister* ListerOf(const TControl& control, IFileLister* own)
{
    if (own)
        return own;
    for (const forms::TComponent* owner = control.Owner(); owner; owner = owner->Owner())
        if (const auto* form = dynamic_cast<const TCustomForm*>(owner))
            if (form->Application())
                return form->Application()->fileLister;
    return nullptr;
}

std::string WithBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::vector<std::string> SplitPatterns(const std::string& mask)
{
    std::vector<std::string> patterns;
    std::size_t start = 0;
    while (start <= mask.size()) {
        const std::size_t end = std::min(mask.find(';', start), mask.size());
        if (end > start)
            patterns.push_back(mask.substr(start, end - start));
        start = end + 1;
    }
    if (patterns.empty())
        patterns.push_back("*.*");
    return patterns;
}

template <class T>
void Watch(forms::TComponent& self, T*& field, T* value)
{
    if (field)
        self.RemoveFreeNotification(field);
    field = value;
    if (value)
        self.FreeNotification(value);
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern)
{
    // "*.*" matches names without a dot too, as the system's matching does.
    if (pattern == "*.*")
        return true;
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    const auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

const ClassInfo& TFileListBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TFileListBox>("TFileListBox", &TCustomListBox::StaticClass())
            .Property("Directory", &TFileListBox::Directory, &TFileListBox::SetDirectory)
            .Property("FileEdit", &TFileListBox::FileEdit, &TFileListBox::SetFileEdit)
            .Property("FileType", &TFileListBox::FileType, &TFileListBox::SetFileType)
            .Property("Mask", &TFileListBox::Mask, &TFileListBox::SetMask)
            .Property("ShowGlyphs", &TFileListBox::showGlyphs)
            .Property("OnChange", &TFileListBox::onChange)
            .Build();
    return info;
}

TFileListBox::TFileListBox(forms::TComponent* owner) : TCustomListBox(owner)
{
    m_fileType.Include(ftNormal);
}

void TFileListBox::SetDirectory(const std::string& folder)
{
    m_directory = folder;
    Update();
}

void TFileListBox::SetMask(const std::string& mask)
{
    m_mask = mask.empty() ? "*.*" : mask;
    Update();
}

void TFileListBox::SetFileType(TFileType type)
{
    m_fileType = type;
    Update();
}

void TFileListBox::SetFileEdit(TCustomEdit* edit)
{
    Watch<TCustomEdit>(*this, m_fileEdit, edit);
    if (m_fileEdit && !HasState(forms::csLoading))
        m_fileEdit->SetText(m_mask);
}

std::string TFileListBox::FileName() const
{
    if (ItemIndex() < 0 || static_cast<std::size_t>(ItemIndex()) >= Items()->Count())
        return {};
    return WithBackslash(m_directory) + (*Items())[ItemIndex()];
}

void TFileListBox::Update()
{
    if (HasState(forms::csLoading))
        return;
    IFileLister* files = ListerOf(*this, lister);
    std::vector<std::string> names;
    if (files && !m_directory.empty()) {
        for (const std::string& pattern : SplitPatterns(m_mask)) {
            for (const FolderEntry& entry : files->List(m_directory, pattern)) {
                // The archive flag only says a backup is due: such files are ordinary ones.
                const bool plain =
                    !entry.folder && !entry.readOnly && !entry.hidden && !entry.system;
                const bool wanted =
                    (entry.folder && m_fileType.Has(ftDirectory)) ||
                    (!entry.folder && ((plain && m_fileType.Has(ftNormal)) ||
                                       (entry.readOnly && m_fileType.Has(ftReadOnly)) ||
                                       (entry.archive && m_fileType.Has(ftArchive)) ||
                                       (entry.hidden && m_fileType.Has(ftHidden)) ||
                                       (entry.system && m_fileType.Has(ftSystem))));
                // Hidden and system files show only when asked for.
                const bool excluded = (entry.hidden && !m_fileType.Has(ftHidden)) ||
                                      (entry.system && !m_fileType.Has(ftSystem));
                if (wanted && !excluded &&
                    std::find(names.begin(), names.end(), entry.name) == names.end())
                    names.push_back(entry.folder ? "[" + entry.name + "]" : entry.name);
            }
        }
    }
    std::sort(names.begin(), names.end());
    Items()->SetItems(std::move(names));
    SetItemIndex(-1);
}

void TFileListBox::Loaded()
{
    TCustomListBox::Loaded();
    Update();
}

void TFileListBox::ItemIndexFromWindow(std::int32_t index)
{
    TCustomListBox::ItemIndexFromWindow(index);
    if (m_fileEdit && index >= 0)
        m_fileEdit->SetText((*Items())[index]);
    onChange(this);
}

void TFileListBox::Notification(forms::TComponent* component, forms::Operation operation)
{
    TCustomListBox::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_fileEdit)
        m_fileEdit = nullptr;
}

const ClassInfo& TDirectoryListBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TDirectoryListBox>("TDirectoryListBox", &TCustomListBox::StaticClass())
            .Property("DirLabel", &TDirectoryListBox::DirLabel, &TDirectoryListBox::SetDirLabel)
            .Property("Directory", &TDirectoryListBox::Directory, &TDirectoryListBox::SetDirectory)
            .Property("FileList", &TDirectoryListBox::FileList, &TDirectoryListBox::SetFileList)
            .Property("OnChange", &TDirectoryListBox::onChange)
            .Build();
    return info;
}

TDirectoryListBox::TDirectoryListBox(forms::TComponent* owner) : TCustomListBox(owner) {}

void TDirectoryListBox::SetDirectory(const std::string& folder)
{
    std::string cleaned = folder;
    // "C:" and "C:\" both mean the root; a trailing backslash elsewhere is dropped.
    if (cleaned.size() > 3 && cleaned.back() == '\\')
        cleaned.pop_back();
    if (cleaned.size() == 2 && cleaned[1] == ':')
        cleaned += '\\';
    m_directory = cleaned;
    Update();
    if (HasState(forms::csLoading))
        return;
    if (m_fileList)
        m_fileList->SetDirectory(m_directory);
    if (m_dirLabel)
        m_dirLabel->SetCaption(m_directory);
    onChange(this);
}

void TDirectoryListBox::SetDirLabel(TCustomLabel* label)
{
    Watch<TCustomLabel>(*this, m_dirLabel, label);
    if (m_dirLabel && !HasState(forms::csLoading))
        m_dirLabel->SetCaption(m_directory);
}

void TDirectoryListBox::SetFileList(TFileListBox* list)
{
    Watch<TFileListBox>(*this, m_fileList, list);
    if (m_fileList && !HasState(forms::csLoading))
        m_fileList->SetDirectory(m_directory);
}

std::string TDirectoryListBox::ItemFolder(std::size_t index) const
{
    if (index >= Items()->Count())
        return {};
    if (index < m_ancestors) {
        // Ancestor items: the path up to that level.
        std::string path;
        std::size_t level = 0, start = 0;
        while (level <= index && start <= m_directory.size()) {
            const std::size_t end = std::min(m_directory.find('\\', start), m_directory.size());
            path = m_directory.substr(0, end);
            start = end + 1;
            ++level;
        }
        return index == 0 ? WithBackslash(path) : path;
    }
    return WithBackslash(m_directory) + (*Items())[index];
}

void TDirectoryListBox::OpenFromWindow(std::int32_t index)
{
    if (index >= 0)
        SetDirectory(ItemFolder(static_cast<std::size_t>(index)));
}

void TDirectoryListBox::Update()
{
    if (HasState(forms::csLoading))
        return;
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < m_directory.size()) {
        std::size_t end = std::min(m_directory.find('\\', start), m_directory.size());
        std::string part = m_directory.substr(start, end - start);
        if (!part.empty())
            items.push_back(items.empty() ? part + "\\" : part);
        start = end + 1;
    }
    m_ancestors = items.size();
    if (IFileLister* files = ListerOf(*this, lister); files && !m_directory.empty()) {
        std::vector<std::string> folders;
        for (const FolderEntry& entry : files->List(m_directory, "*.*"))
            if (entry.folder)
                folders.push_back(entry.name);
        std::sort(folders.begin(), folders.end());
        items.insert(items.end(), folders.begin(), folders.end());
    }
    Items()->SetItems(std::move(items));
    SetItemIndex(m_ancestors > 0 ? static_cast<std::int32_t>(m_ancestors) - 1 : -1);
}

void TDirectoryListBox::Loaded()
{
    TCustomListBox::Loaded();
    Update();
    if (m_fileList)
        m_fileList->SetDirectory(m_directory);
    if (m_dirLabel)
        m_dirLabel->SetCaption(m_directory);
}

void TDirectoryListBox::Notification(forms::TComponent* component, forms::Operation operation)
{
    TCustomListBox::Notification(component, operation);
    if (operation != forms::Operation::Remove)
        return;
    if (component == m_dirLabel)
        m_dirLabel = nullptr;
    if (component == m_fileList)
        m_fileList = nullptr;
}

const ClassInfo& TDriveComboBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TDriveComboBox>("TDriveComboBox", &TCustomComboBox::StaticClass())
            .Property("DirList", &TDriveComboBox::DirList, &TDriveComboBox::SetDirList)
            .Property("Drive", &TDriveComboBox::Drive, &TDriveComboBox::SetDrive)
            .Property("TextCase", &TDriveComboBox::textCase)
            .Build();
    return info;
}

TDriveComboBox::TDriveComboBox(forms::TComponent* owner) : TCustomComboBox(owner)
{
    SetStyle(csDropDownList);
}

void TDriveComboBox::SetDrive(char drive)
{
    m_drive = static_cast<char>(std::toupper(static_cast<unsigned char>(drive)));
    Update();
    if (HasState(forms::csLoading))
        return;
    if (m_dirList)
        m_dirList->SetDirectory(std::string(1, m_drive) + ":\\");
    onChange(this);
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list)
{
    Watch<TDirectoryListBox>(*this, m_dirList, list);
}

void TDriveComboBox::Update()
{
    if (HasState(forms::csLoading))
        return;
    std::vector<std::string> items;
    std::int32_t index = -1;
    if (IFileLister* files = ListerOf(*this, lister)) {
        for (char letter : files->Drives()) {
            const char shown =
                textCase == tcLowerCase
                    ? static_cast<char>(std::tolower(static_cast<unsigned char>(letter)))
                    : letter;
            if (letter == m_drive)
                index = static_cast<std::int32_t>(items.size());
            items.push_back(std::string(1, shown) + ":");
        }
    }
    Items()->SetItems(std::move(items));
    SetItemIndex(index);
}

void TDriveComboBox::Loaded()
{
    TCustomComboBox::Loaded();
    Update();
}

void TDriveComboBox::ItemIndexFromWindow(std::int32_t index)
{
    TCustomComboBox::ItemIndexFromWindow(index);
    if (index >= 0 && !Text().empty())
        SetDrive(Text()[0]);
}

void TDriveComboBox::Notification(forms::TComponent* component, forms::Operation operation)
{
    TCustomComboBox::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_dirList)
        m_dirList = nullptr;
}

const ClassInfo& TFilterComboBox::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TFilterComboBox>("TFilterComboBox", &TCustomComboBox::StaticClass())
            .Property("FileList", &TFilterComboBox::FileList, &TFilterComboBox::SetFileList)
            .Property("Filter", &TFilterComboBox::Filter, &TFilterComboBox::SetFilter)
            .Build();
    return info;
}

TFilterComboBox::TFilterComboBox(forms::TComponent* owner) : TCustomComboBox(owner)
{
    SetStyle(csDropDownList);
    SetFilter(m_filter);
}

void TFilterComboBox::SetFilter(const std::string& filter)
{
    m_filter = filter;
    std::vector<std::string> descriptions;
    m_masks.clear();
    std::size_t start = 0;
    while (start < filter.size()) {
        const std::size_t bar = filter.find('|', start);
        if (bar == std::string::npos)
            break;
        const std::size_t end = std::min(filter.find('|', bar + 1), filter.size());
        descriptions.push_back(filter.substr(start, bar - start));
        m_masks.push_back(filter.substr(bar + 1, end - bar - 1));
        start = end + 1;
    }
    Items()->SetItems(std::move(descriptions));
    SetItemIndex(Items()->Count() ? 0 : -1);
}

void TFilterComboBox::SetFileList(TFileListBox* list)
{
    Watch<TFileListBox>(*this, m_fileList, list);
    if (m_fileList && !HasState(forms::csLoading))
        m_fileList->SetMask(Mask());
}

std::string TFilterComboBox::Mask() const
{
    if (ItemIndex() < 0 || static_cast<std::size_t>(ItemIndex()) >= m_masks.size())
        return "*.*";
    return m_masks[ItemIndex()];
}

void TFilterComboBox::ItemIndexFromWindow(std::int32_t index)
{
    TCustomComboBox::ItemIndexFromWindow(index);
    if (m_fileList)
        m_fileList->SetMask(Mask());
}

void TFilterComboBox::Loaded()
{
    TCustomComboBox::Loaded();
    if (m_fileList)
        m_fileList->SetMask(Mask());
}

void TFilterComboBox::Notification(forms::TComponent* component, forms::Operation operation)
{
    TCustomComboBox::Notification(component, operation);
    if (operation == forms::Operation::Remove && component == m_fileList)
        m_fileList = nullptr;
}

}  // namespace setup::ui
