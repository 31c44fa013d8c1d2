#include "setup/ui/file_controls.h"

#include <gtest/gtest.h>

#include <map>

#include "setup/ui/form.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {
namespace {

// A small drive C: with a few folders and files.
class FakeLister final : public IFileLister
{
public:
    std::vector<FolderEntry> List(const std::string& folder, const std::string& pattern) override
    {
        std::vector<FolderEntry> found;
        std::string key = folder;
        if (key.size() > 3 && key.back() == '\\')
            key.pop_back();
        for (const FolderEntry& entry : tree[key])
            if (MatchesWildcard(entry.name, pattern))
                found.push_back(entry);
        return found;
    }
    bool FolderExists(const std::string& folder) override { return tree.count(folder) != 0; }
    std::string Drives() override { return "CD"; }

    std::map<std::string, std::vector<FolderEntry>> tree = {
        {"C:\\", {{"Apps", true}, {"boot.ini", false, false, true, true}}},
        {"C:\\Apps",
         {{"Tools", true}, {"readme.txt"}, {"notes.TXT"}, {"setup.exe"}, {"old.txt", false, true}}},
        {"C:\\Apps\\Tools", {}},
        {"D:\\", {{"data.txt"}}},
    };
};

TEST(FileControls, DriveFolderFileAndFilterFollowEachOther)
{
    FakeLister lister;
    TForm form;
    auto* files = new TFileListBox(&form);
    auto* folders = new TDirectoryListBox(&form);
    auto* drives = new TDriveComboBox(&form);
    auto* filter = new TFilterComboBox(&form);
    auto* edit = new TEdit(&form);
    auto* label = new TLabel(&form);
    files->lister = folders->lister = drives->lister = &lister;
    files->SetFileEdit(edit);
    folders->SetFileList(files);
    folders->SetDirLabel(label);
    drives->SetDirList(folders);
    filter->SetFilter("Text (*.txt)|*.txt|Everything|*.*");
    filter->SetFileList(files);
    // A page's controls list when loaded; these were made by hand.
    drives->Update();

    folders->SetDirectory("C:\\Apps\\");
    EXPECT_EQ(folders->Items()->Items(), (std::vector<std::string>{"C:\\", "Apps", "Tools"}));
    EXPECT_EQ(folders->ItemIndex(), 1);
    EXPECT_EQ(label->Caption(), "C:\\Apps");
    // Read-only files are not normal files: they show only when asked for.
    EXPECT_EQ(files->Items()->Items(), (std::vector<std::string>{"notes.TXT", "readme.txt"}));

    filter->ItemIndexFromWindow(1);
    EXPECT_EQ(files->Mask(), "*.*");
    EXPECT_EQ(files->Items()->Items(),
              (std::vector<std::string>{"notes.TXT", "readme.txt", "setup.exe"}));
    files->ItemIndexFromWindow(2);
    EXPECT_EQ(files->FileName(), "C:\\Apps\\setup.exe");
    EXPECT_EQ(edit->Text(), "setup.exe");

    folders->OpenFromWindow(2);
    EXPECT_EQ(folders->Directory(), "C:\\Apps\\Tools");
    folders->OpenFromWindow(0);
    EXPECT_EQ(folders->Directory(), "C:\\");
    EXPECT_EQ(folders->Items()->Items(), (std::vector<std::string>{"C:\\", "Apps"}));

    EXPECT_EQ(drives->Items()->Items(), (std::vector<std::string>{"c:", "d:"}));
    drives->ItemIndexFromWindow(1);
    EXPECT_EQ(drives->Drive(), 'D');
    EXPECT_EQ(folders->Directory(), "D:\\");
    EXPECT_EQ(files->Items()->Items(), (std::vector<std::string>{"data.txt"}));
}

TEST(FileControls, MatchesWildcardsAsTheSystemDoes)
{
    struct Case
    {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"readme.txt", "*.txt", true},
        {"README.TXT", "*.txt", true},
        {"readme.txt", "*.ini", false},
        {"makefile", "*.*", true},
        {"a.b.c", "*.c", true},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"abc", "*", true},
        {"", "*", true},
        {"x.txt", "x*.t?t", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

}  // namespace
}  // namespace setup::ui
