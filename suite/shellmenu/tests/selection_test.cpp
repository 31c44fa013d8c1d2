#include "suite/shellmenu/selection.h"
#include "suite/shellmenu/tests/fake_registry_key.h"

#include <gtest/gtest.h>

#include <map>

namespace shellmenu {
namespace {

using testing::FakeKey;
using testing::OpenFake;

// Folders with their drive type, and files; everything else does not exist.
class FakePathFacts final : public IPathFacts
{
public:
    std::map<std::wstring, DriveType> folders;
    std::vector<std::wstring> files;

    bool IsDirectory(const std::wstring& path) override { return folders.count(path) != 0; }
    bool Exists(const std::wstring& path) override
    {
        return IsDirectory(path) || std::find(files.begin(), files.end(), path) != files.end();
    }
    DriveType DriveTypeOf(const std::wstring& path) override { return folders.at(path); }
};

TEST(ShellObjectFactory, KindByWhatThePathIs)
{
    FakePathFacts facts;
    facts.folders = {{L"C:\\", DriveType::Fixed},        {L"A:\\", DriveType::Removable},
                     {L"R:\\", DriveType::RamDisk},      {L"N:\\", DriveType::Remote},
                     {L"D:\\", DriveType::CdRom},        {L"C:\\data", DriveType::NoRootDir},
                     {L"\\\\?\\odd", DriveType::Unknown}};
    facts.files = {L"C:\\a b\\report.TXT", L"C:\\v1.2\\README", L"C:\\plain"};
    struct Case
    {
        std::wstring path;
        ShellObjectKind kind;
        std::wstring objectPath;
        std::wstring extension;
    };
    const Case cases[] = {
        {L"C:\\", ShellObjectKind::Drive, L"C:\\", L""},
        {L"A:\\", ShellObjectKind::Drive, L"A:\\", L""},
        {L"R:\\", ShellObjectKind::Drive, L"R:\\", L""},
        {L"N:\\", ShellObjectKind::Null, L"", L""},
        {L"D:\\", ShellObjectKind::Null, L"", L""},
        {L"C:\\data", ShellObjectKind::Directory, L"C:\\data", L""},
        {L"\\\\?\\odd", ShellObjectKind::Directory, L"\\\\?\\odd", L""},
        {L"C:\\a b\\report.TXT", ShellObjectKind::File, L"C:\\a b\\report.TXT", L"TXT"},
        {L"C:\\v1.2\\README", ShellObjectKind::File, L"C:\\v1.2\\README", L"2\\README"},
        {L"C:\\plain", ShellObjectKind::File, L"C:\\plain", L""},
        {L"C:\\gone.txt", ShellObjectKind::Null, L"", L""},
    };
    for (const Case& c : cases) {
        const ShellObject object = MakeShellObject(c.path, facts);
        EXPECT_EQ(object.kind, c.kind) << c.path;
        EXPECT_EQ(object.path, c.objectPath) << c.path;
        EXPECT_EQ(object.extension, c.extension) << c.path;
    }
}

class SelectionCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto root = std::make_shared<FakeKey>();
        root->Key(kRecycleBinClassId).Text(L"bin", L"w.exe /r");
        root->Key(L"Drive").Text(L"wipe", L"w.exe /w %1").Text(L"shred", L"w.exe /s %1");
        root->Key(L"Vontar").Key(L"*.*").Text(L"shred", L"w.exe /s %1");
        root->Key(L"Vontar")
            .Key(L"*.txt")
            .Text(L"text", L"w.exe /t %1")
            .Text(L"shred", L"w.exe /s %1");
        root->Key(L"Vontar").Key(L"*.").Text(L"bare", L"w.exe /b %1");
        auto key = OpenFake(root);
        m_configuration.Load(key.get(), {});
    }

    std::vector<std::wstring> Shared(std::vector<ShellObject> selection)
    {
        std::vector<std::wstring> keys;
        for (const MenuEntry* entry : SharedCommands(selection, m_configuration))
            keys.push_back(entry->key);
        return keys;
    }

    MenuConfiguration m_configuration;
};

ShellObject File(const std::wstring& path)
{
    return {ShellObjectKind::File, path, ExtensionOf(path)};
}

TEST_F(SelectionCommands, SharedByEveryItem)
{
    using Keys = std::vector<std::wstring>;
    const ShellObject drive{ShellObjectKind::Drive, L"C:\\", {}};
    const ShellObject folder{ShellObjectKind::Directory, L"C:\\d", {}};
    const ShellObject nothing{};
    struct Case
    {
        const char* name;
        std::vector<ShellObject> selection;
        Keys expected;
    };
    const Case cases[] = {
        {"nothing selected", {}, {}},
        {"file of a configured type", {File(L"C:\\a.txt")}, {L"text", L"shred"}},
        {"type keys compare exactly", {File(L"C:\\a.TXT")}, {L"shred"}},
        {"file without extension uses the bare key", {File(L"C:\\plain")}, {L"bare"}},
        {"folder", {folder}, {L"shred"}},
        {"drive", {drive}, {L"wipe", L"shred"}},
        {"drive and folder share one entry", {drive, folder}, {L"shred"}},
        {"typed file then any file", {File(L"C:\\a.txt"), File(L"C:\\b.doc")}, {L"shred"}},
        {"an item without commands empties the menu", {folder, nothing}, {}},
        {"Recycle Bin", {MakeSpecialObject(kRecycleBinClassId)}, {L"bin"}},
        {"unknown namespace item",
         {MakeSpecialObject(L"{00000000-0000-0000-0000-000000000000}")},
         {}},
        {"Recycle Bin and a file", {MakeSpecialObject(kRecycleBinClassId), File(L"C:\\a.txt")}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Shared(c.selection), c.expected) << c.name;
}

TEST(SelectionCommandsWithSetupDefaults, DriveAndFileShareNothing)
{
    auto root = std::make_shared<FakeKey>();
    root->Key(L"Drive").Text(L"shell_ext_shred_free_space_wizard", L"w.exe /w %1");
    root->Key(L"Vontar").Key(L"*.*").Text(L"shell_ext_3_shred", L"w.exe /s %1");
    MenuConfiguration configuration;
    auto key = OpenFake(root);
    configuration.Load(key.get(), {});
    const std::vector<ShellObject> selection{{ShellObjectKind::Drive, L"C:\\", {}},
                                             File(L"C:\\a.txt")};
    EXPECT_TRUE(SharedCommands(selection, configuration).empty());
}

}  // namespace
}  // namespace shellmenu
