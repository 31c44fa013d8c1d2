// The linked file controls: a drive combo box drives a folder list, which drives a file list,
// which a filter combo box narrows and whose choice lands in an edit. Listing goes through an
// interface, so the linking logic runs with a fake and the lists stay empty with none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/ui/list_controls.h"

namespace setup::ui {

class TCustomLabel;
class TCustomEdit;

enum TFileAttr
{
    ftReadOnly,
    ftHidden,
    ftSystem,
    ftVolumeID,
    ftDirectory,
    ftArchive,
    ftNormal,
};
using TFileType = TSet<TFileAttr>;
enum TTextCase
{
    tcLowerCase,
    tcUpperCase,
};

struct FolderEntry
{
    std::string name;
    bool folder = false;
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool archive = false;
};

// What the file controls need of the file system.
class IFileLister
{
public:
    virtual ~IFileLister() = default;
    // The entries of the folder matching the wildcard pattern, without "." and "..".
    virtual std::vector<FolderEntry> List(const std::string& folder,
                                          const std::string& pattern) = 0;
    virtual bool FolderExists(const std::string& folder) = 0;
    // Drive letters in upper case, A first.
    virtual std::string Drives() = 0;
};

class TFileListBox;
class TDirectoryListBox;

class TFileListBox : public TCustomListBox
{
public:
    FORMS_CLASS_INFO()
    explicit TFileListBox(forms::TComponent* owner);

    const std::string& Directory() const { return m_directory; }
    void SetDirectory(const std::string& folder);
    const std::string& Mask() const { return m_mask; }
    // Patterns separated by ";", "*.*" when empty.
    void SetMask(const std::string& mask);
    TFileType FileType() const { return m_fileType; }
    void SetFileType(TFileType type);
    TCustomEdit* FileEdit() const { return m_fileEdit; }
    void SetFileEdit(TCustomEdit* edit);
    // The selected file with its folder; empty without a selection.
    std::string FileName() const;
    bool showGlyphs = false;

    void ItemIndexFromWindow(std::int32_t index) override;
    void Update();
    void Loaded() override;
    TNotifyEvent onChange;
    IFileLister* lister = nullptr;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    std::string m_directory;
    std::string m_mask = "*.*";
    TFileType m_fileType;
    TCustomEdit* m_fileEdit = nullptr;
};

class TDirectoryListBox : public TCustomListBox
{
public:
    FORMS_CLASS_INFO()
    explicit TDirectoryListBox(forms::TComponent* owner);

    // Items: the drive root, each folder down to the current one, then its sub-folders.
    const std::string& Directory() const { return m_directory; }
    void SetDirectory(const std::string& folder);
    TCustomLabel* DirLabel() const { return m_dirLabel; }
    void SetDirLabel(TCustomLabel* label);
    TFileListBox* FileList() const { return m_fileList; }
    void SetFileList(TFileListBox* list);
    // The folder an item stands for.
    std::string ItemFolder(std::size_t index) const;
    // A double click on an item opens it.
    void OpenFromWindow(std::int32_t index);
    void Update();
    void Loaded() override;
    TNotifyEvent onChange;
    IFileLister* lister = nullptr;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    std::string m_directory;
    std::size_t m_ancestors = 0;
    TCustomLabel* m_dirLabel = nullptr;
    TFileListBox* m_fileList = nullptr;
};

class TDriveComboBox : public TCustomComboBox
{
public:
    FORMS_CLASS_INFO()
    explicit TDriveComboBox(forms::TComponent* owner);

    char Drive() const { return m_drive; }
    void SetDrive(char drive);
    TDirectoryListBox* DirList() const { return m_dirList; }
    void SetDirList(TDirectoryListBox* list);
    TTextCase textCase = tcLowerCase;

    void ItemIndexFromWindow(std::int32_t index) override;
    void Update();
    void Loaded() override;
    IFileLister* lister = nullptr;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    char m_drive = 'C';
    TDirectoryListBox* m_dirList = nullptr;
};

class TFilterComboBox : public TCustomComboBox
{
public:
    FORMS_CLASS_INFO()
    explicit TFilterComboBox(forms::TComponent* owner);

    // "Description|pattern|Description|pattern...": the items are the descriptions.
    const std::string& Filter() const { return m_filter; }
    void SetFilter(const std::string& filter);
    TFileListBox* FileList() const { return m_fileList; }
    void SetFileList(TFileListBox* list);
    // The pattern of the selected description.
    std::string Mask() const;

    void ItemIndexFromWindow(std::int32_t index) override;
    void Loaded() override;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    std::string m_filter = "All files (*.*)|*.*";
    std::vector<std::string> m_masks;
    TFileListBox* m_fileList = nullptr;
};

// Whether a file name matches a wildcard pattern ('*' and '?'), letter case ignored.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace setup::ui

UI_ENUM_TYPE(TFileAttr, "ftReadOnly", "ftHidden", "ftSystem", "ftVolumeID", "ftDirectory",
             "ftArchive", "ftNormal")
UI_ENUM_TYPE(TTextCase, "tcLowerCase", "tcUpperCase")
