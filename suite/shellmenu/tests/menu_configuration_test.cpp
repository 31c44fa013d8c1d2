#include "suite/shellmenu/menu_configuration.h"
#include "suite/shellmenu/tests/fake_registry_key.h"

#include <gtest/gtest.h>

namespace shellmenu {
namespace {

using testing::FakeKey;
using testing::OpenFake;
using testing::StringBytes;

std::vector<std::wstring> Keys(const CommandList& list)
{
    std::vector<std::wstring> keys;
    for (const MenuEntry* entry : list)
        keys.push_back(entry->key + L"=" + entry->commandLine);
    return keys;
}

MenuConfiguration Loaded(const std::shared_ptr<FakeKey>& root,
                         MenuConfiguration::TextSource texts = {})
{
    MenuConfiguration configuration;
    auto key = root ? OpenFake(root) : nullptr;
    configuration.Load(key.get(), texts);
    return configuration;
}

// The commands the setup writes.
std::shared_ptr<FakeKey> SetupCommands()
{
    auto root = std::make_shared<FakeKey>();
    root->Text(L"", L"3.1.0.7")
        .Text(L"menu_bitmap", L"vontar_shield")
        .Text(L"product_name", L"Vontar");
    root->Key(kRecycleBinClassId)
        .Text(L"shell_ext_shred_recycle_bin", L"C:\\P\\Wipestation.exe /r");
    root->Key(L"Drive").Text(L"shell_ext_shred_free_space_wizard", L"C:\\P\\Wipestation.exe /w %1");
    root->Key(L"Vontar").Key(L"*.*").Text(L"shell_ext_3_shred", L"C:\\P\\Wipestation.exe /s %1");
    return root;
}

TEST(MenuConfiguration, MissingKeyOffersNothing)
{
    MenuConfiguration configuration = Loaded(nullptr);
    EXPECT_EQ(configuration.ProductName(), L"Vontar");
    EXPECT_EQ(configuration.ProductVersion(), L"");
    EXPECT_EQ(configuration.DriveCommands(), nullptr);
    EXPECT_TRUE(configuration.FileTypeCommands(L"*.*").empty());
    EXPECT_FALSE(configuration.HasClassId(kRecycleBinClassId));
    EXPECT_TRUE(configuration.Entries().empty());
}

TEST(MenuConfiguration, ReadsTheSetupsCommands)
{
    MenuConfiguration configuration = Loaded(SetupCommands());
    EXPECT_EQ(configuration.ProductVersion(), L"3.1.0.7");
    EXPECT_EQ(configuration.BitmapName(), L"vontar_shield");
    EXPECT_TRUE(configuration.HasFileType(L"*.*"));
    EXPECT_FALSE(configuration.HasFileType(L"*.txt"));
    EXPECT_TRUE(configuration.HasClassId(kRecycleBinClassId));
    EXPECT_FALSE(configuration.HasClassId(L"Vontar"));
    EXPECT_FALSE(configuration.HasClassId(L"Drive"));
    ASSERT_NE(configuration.DriveCommands(), nullptr);
    EXPECT_EQ(Keys(*configuration.DriveCommands()),
              (std::vector<std::wstring>{
                  L"shell_ext_shred_free_space_wizard=C:\\P\\Wipestation.exe /w %1"}));
    EXPECT_EQ(Keys(configuration.FileTypeCommands(L"*.*")),
              (std::vector<std::wstring>{L"shell_ext_3_shred=C:\\P\\Wipestation.exe /s %1"}));
    EXPECT_EQ(
        Keys(configuration.ClassIdCommands(kRecycleBinClassId)),
        (std::vector<std::wstring>{L"shell_ext_shred_recycle_bin=C:\\P\\Wipestation.exe /r"}));
}

TEST(MenuConfiguration, OneEntryPerKeyAndCommandLine)
{
    auto root = std::make_shared<FakeKey>();
    root->Key(L"Drive").Text(L"shred", L"w.exe /s %1").Text(L"wipe", L"w.exe /w %1");
    root->Key(L"Vontar").Key(L"*.*").Text(L"shred", L"w.exe /s %1");
    root->Key(L"Vontar").Key(L"*.txt").Text(L"shred", L"w.exe /x %1");
    MenuConfiguration configuration = Loaded(root);

    const CommandList& drive = *configuration.DriveCommands();
    const CommandList& all = configuration.FileTypeCommands(L"*.*");
    const CommandList& txt = configuration.FileTypeCommands(L"*.txt");
    ASSERT_EQ(drive.size(), 2u);
    ASSERT_EQ(all.size(), 1u);
    ASSERT_EQ(txt.size(), 1u);
    EXPECT_EQ(drive[0], all[0]) << "same key and command: one entry";
    EXPECT_NE(all[0], txt[0]) << "same key, other command: two entries";
    EXPECT_EQ(all[0]->text, txt[0]->text);
    EXPECT_EQ(configuration.Entries().size(), 3u);
}

TEST(MenuConfiguration, KeepsValueOrderAndSkipsWhatCannotBeRead)
{
    auto root = std::make_shared<FakeKey>();
    root->Key(L"Vontar")
        .Key(L"*.*")
        .Text(L"", L"the default value is no command")
        .Text(L"zeta", L"z.exe %1")
        .Data(L"number", RegistryData{4, std::string(4, '\0'), true})
        .Text(L"long", L"l.exe " + std::wstring(994, L'x'))
        .Data(L"odd", RegistryData{kRegString, StringBytes(L"o.exe") + "x", true})
        .Data(L"unterminated", RegistryData{kRegString, StringBytes(L"u.exe", false), true})
        .Data(L"expandable", RegistryData{kRegExpandString, StringBytes(L"%P%\\e.exe"), true})
        .Text(L"just_under", L"j.exe " + std::wstring(993, L'x'))
        .Text(L"alpha", L"a.exe %1");
    MenuConfiguration configuration = Loaded(root);
    std::vector<std::wstring> keys;
    for (const MenuEntry* entry : configuration.FileTypeCommands(L"*.*"))
        keys.push_back(entry->key);
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"zeta", L"expandable", L"just_under", L"alpha"}));
}

TEST(MenuConfiguration, ProductNameNamesTheFileTypeContainer)
{
    struct Case
    {
        const char* name;
        std::optional<std::wstring> productName;
        std::wstring expectedName;
        bool vontarIsClassId;
    };
    const Case cases[] = {
        {"missing", std::nullopt, L"Vontar", false},
        {"empty", L"", L"Vontar", false},
        {"own name", L"Acme", L"Acme", true},
    };
    for (const Case& c : cases) {
        auto root = std::make_shared<FakeKey>();
        if (c.productName)
            root->Text(L"product_name", *c.productName);
        root->Key(L"Vontar").Key(L"*.txt").Text(L"v", L"v.exe %1");
        root->Key(L"Acme").Key(L"*.txt").Text(L"a", L"a.exe %1");
        MenuConfiguration configuration = Loaded(root);
        EXPECT_EQ(configuration.ProductName(), c.expectedName) << c.name;
        EXPECT_EQ(configuration.HasClassId(L"Vontar"), c.vontarIsClassId) << c.name;
        EXPECT_EQ(configuration.HasClassId(L"Acme"), !c.vontarIsClassId) << c.name;
        const CommandList& txt = configuration.FileTypeCommands(L"*.txt");
        ASSERT_EQ(txt.size(), 1u) << c.name;
        EXPECT_EQ(txt[0]->key, c.vontarIsClassId ? L"a" : L"v") << c.name;
    }
}

TEST(MenuConfiguration, TextIsTheLanguageTextOrTheKey)
{
    auto root = std::make_shared<FakeKey>();
    root->Key(L"Drive").Text(L"known", L"k.exe").Text(L"unknown", L"u.exe");
    std::vector<std::wstring> asked;
    MenuConfiguration configuration = Loaded(root, [&asked](const std::wstring& key) {
        asked.push_back(key);
        return key == L"known" ? std::wstring(L"Shred now") : std::wstring();
    });
    const CommandList& drive = *configuration.DriveCommands();
    ASSERT_EQ(drive.size(), 2u);
    EXPECT_EQ(drive[0]->text, L"Shred now");
    EXPECT_EQ(drive[1]->text, L"unknown");
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"known", L"unknown"}));
}

}  // namespace
}  // namespace shellmenu
