#include "suite/recyclebin/trashwipe_settings.h"

#include "suite/recyclebin/tests/fake_texts.h"

#include <gtest/gtest.h>

namespace trashwipe {
namespace {

using testing::FakeStore;
using testing::FakeTexts;

TEST(TrashwipeSettings, ProductTitleSelectorsWithAndWithoutTheCallersName)
{
    FakeTexts texts;
    FakeStore store;
    struct Case
    {
        const wchar_t* override;
        int selector;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"", -1, L"vnt_recyclebin_ntv@0"},
        {L"", -2, L"vnt_desktop_ntv@0"},
        {L"", -7, L"vnt_desktop_ntv@0"},
        {L"", 3, L"vnt_recyclebin@3"},
        {L"Given", -1, L"Given"},
        {L"Given", -2, L"Given"},
        {L"Given", 3, L"Given"},
    };
    for (const Case& c : cases) {
        TrashwipeSettings settings(c.override, texts, store);
        EXPECT_EQ(settings.ProductTitle(c.selector), c.expected) << c.override << c.selector;
    }
}

TEST(TrashwipeSettings, EachValueIsReadFromItsOwnRootAndKey)
{
    FakeTexts texts;
    texts.texts[{L"company_ntv", 0}] = L"Co";
    texts.texts[{L"company_ntv", 2}] = L"Co2";
    texts.texts[{L"vnt_recyclebin_ntv", 0}] = L"Bin";
    texts.texts[{L"vnt_desktop_ntv", 0}] = L"Desk";
    struct Case
    {
        const char* what;
        std::function<void(TrashwipeSettings&)> call;
        SettingsRoot root;
        const wchar_t* key;
        const wchar_t* value;
    };
    const std::wstring empty;
    const Case cases[] = {
        {"algo of the dialog, no product given", [&](auto& s) { s.ReadShredAlgo(&empty); },
         SettingsRoot::User, L"Software\\Co\\\\Shredding", L"ShredAlgo"},
        {"algo of the summary", [](auto& s) { s.ReadShredAlgo(nullptr); }, SettingsRoot::User,
         L"Software\\Co\\Desk\\Shredding", L"ShredAlgo"},
        {"shred log", [](auto& s) { s.ReadShredLog(); }, SettingsRoot::User,
         L"Software\\Co\\Bin\\Settings", L"ShredLog"},
        {"hide summary in the run's language", [](auto& s) { s.ReadHideSummary(2); },
         SettingsRoot::User, L"Software\\Co2\\Bin\\Settings", L"HideSummary"},
        {"leave previous versions", [](auto& s) { s.ReadLeavePV(); }, SettingsRoot::User,
         L"Software\\Co\\Bin\\Shredding", L"LeavePV"},
        {"log folder", [](auto& s) { s.ReadLogPath(L"Title"); }, SettingsRoot::Machine,
         L"Software\\Co\\Title\\Settings", L"LogPath"},
        {"template folder", [](auto& s) { s.TemplateFolder(L"Title", L"C:\\P"); },
         SettingsRoot::Machine, L"Software\\Co\\Title\\Settings", L"TemplatePath"},
    };
    for (const Case& c : cases) {
        FakeStore store;
        TrashwipeSettings settings(L"", texts, store);
        c.call(settings);
        ASSERT_EQ(store.reads.size(), 1u) << c.what;
        EXPECT_EQ(store.reads[0].root, c.root) << c.what;
        EXPECT_EQ(store.reads[0].key, c.key) << c.what;
        EXPECT_EQ(store.reads[0].value, c.value) << c.what;
    }
}

TEST(TrashwipeSettings, ShredLogIsWrittenWhereItIsReadWhateverTheLanguage)
{
    FakeTexts texts;
    texts.texts[{L"company_ntv", 0}] = L"Co";
    texts.texts[{L"company_ntv", 1}] = L"Firma";
    FakeStore store;
    TrashwipeSettings settings(L"P", texts, store);
    settings.WriteShredLog(true);
    EXPECT_TRUE(settings.ReadShredLog());
    ASSERT_EQ(store.writes.size(), 1u);
    EXPECT_EQ(store.writes[0].key, L"Software\\Co\\P\\Settings");
    settings.WriteLeavePV(true);
    EXPECT_TRUE(settings.ReadLeavePV());
}

TEST(TrashwipeSettings, FoldersEndInExactlyOneBackslash)
{
    struct Case
    {
        const wchar_t* folder;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\Logs", L"C:\\Logs\\"},
        {L"C:\\Logs\\", L"C:\\Logs\\"},
        {L"C:\\Logs\\\\", L"C:\\Logs\\"},
        {L"C:\\\\\\Logs", L"C:\\Logs\\"},
        {L"\\\\server\\share\\\\t", L"\\\\server\\share\\t\\"},  // a network path keeps its pair
        {L"", L"\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeFolder(c.folder), c.expected) << c.folder;
}

TEST(TrashwipeSettings, TemplateFolderFallsBackToTheInstallFolder)
{
    FakeTexts texts;
    texts.texts[{L"company_ntv", 0}] = L"Co";
    FakeStore store;
    TrashwipeSettings settings(L"", texts, store);
    EXPECT_EQ(settings.TemplateFolder(L"T", L"C:\\Prog\\"), L"C:\\Prog\\Template\\");
    store.strings[L"Software\\Co\\T\\Settings|TemplatePath"] = L"D:\\Tpl\\\\";
    EXPECT_EQ(settings.TemplateFolder(L"T", L"C:\\Prog"), L"D:\\Tpl\\");
}

}  // namespace
}  // namespace trashwipe
