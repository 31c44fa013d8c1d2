// The language client against the base language library and per-language fixture libraries that
// the build lays out in folders beside the test, with the current language in a scratch registry.
#include "suite/common/language_client_win32.h"
#include "suite/common/tests/suite_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace suite {
namespace {

using testing::FixedLocator;
using testing::LanguageFixtureFolder;
using testing::RecordingMessages;
using testing::RedirectedRoot;

constexpr wchar_t kPattern[] = L"LingotextUpdate_*.dll";

class LanguageClient : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_user.Ok()); }

    void SetLanguageNumber(DWORD number)
    {
        ASSERT_TRUE(m_user.Write(L"Software\\Vontar Security\\Common", L"CurrentLanguage",
                                 REG_DWORD, &number, sizeof(number)));
    }

    std::unique_ptr<CVNTLanguageClient> Make(
        std::wstring libraryFolder, std::wstring moduleFolder = L"C:\\nowhere\\",
        LanguageLibraryUse use = LanguageLibraryUse::KeepLoaded)
    {
        m_locator =
            std::make_unique<FixedLocator>(std::move(libraryFolder), std::move(moduleFolder));
        return std::make_unique<CVNTLanguageClient>(*m_locator, m_messages,
                                                    LanguageClientSetup{kPattern, L"7.1.0.0", use});
    }

    RedirectedRoot m_user{HKEY_CURRENT_USER};
    RecordingMessages m_messages;
    std::unique_ptr<FixedLocator> m_locator;
};

TEST_F(LanguageClient, CurrentLanguageFromTheSettingWithNeutralFallback)
{
    struct Case
    {
        const wchar_t* scenario;
        DWORD number;
        int expectedIndex;
        const wchar_t* expectedText;
    };
    // Libraries are listed in name order: three = DE, FR, NTV; two = DE, FR.
    const Case cases[] = {
        {L"three", 3, 0, L"update_name@DE"},
        {L"three", 2, 2, L"update_name@NTV"},  // SVE is not there: the neutral language
        {L"three", 1, 2, L"update_name@NTV"},
        {L"two", 4, 0, L"update_name@DE"},  // neither PLK nor NTV: the first
    };
    for (const Case& c : cases) {
        SetLanguageNumber(c.number);
        auto client = Make(LanguageFixtureFolder(c.scenario));
        EXPECT_TRUE(client->HasLanguages());
        EXPECT_EQ(client->CurrentIndex(), c.expectedIndex) << c.scenario << c.number;
        EXPECT_EQ(client->GetString(L"update_name"), c.expectedText);
    }
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(LanguageClient, TextsByIndexWithIndexesOutsideTheTableReadingEntryZero)
{
    SetLanguageNumber(1);
    auto client = Make(LanguageFixtureFolder(L"three"));
    ASSERT_EQ(client->Count(), 3);
    const std::pair<int, const wchar_t*> cases[] = {
        {0, L"key@DE"}, {1, L"key@FR"},  {2, L"key@NTV"},
        {7, L"key@DE"}, {-1, L"key@DE"}, {-100000, L"key@DE"},
    };
    for (const auto& [index, expected] : cases)
        EXPECT_EQ(client->GetString(L"key", index), expected) << index;
    EXPECT_EQ(client->GetString(L"missing_text"), L"");
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(LanguageClient, FolderValueWithOrWithoutBackslashOrEmpty)
{
    SetLanguageNumber(3);
    std::wstring folder = LanguageFixtureFolder(L"three");
    std::wstring bare = folder.substr(0, folder.size() - 1);
    const std::pair<std::wstring, std::wstring> cases[] = {
        {folder, L"C:\\nowhere\\"},
        {bare, L"C:\\nowhere\\"},
        {L"", folder},  // nothing recorded: beside the running program
    };
    for (const auto& [libraryFolder, moduleFolder] : cases) {
        auto client = Make(libraryFolder, moduleFolder);
        EXPECT_EQ(client->GetString(L"update_name"), L"update_name@DE") << libraryFolder;
    }
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(LanguageClient, WhatIsMissingIsReportedAndDegradesToNoLanguages)
{
    struct Case
    {
        const wchar_t* scenario;
        const wchar_t* message;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {L"none", L"Could not locate necessary dll 'Lingotext.dll'", L""},
        {L"empty", L"No language files were found! Please reinstall your product.",
         L"Resource not found"},
    };
    for (const Case& c : cases) {
        m_messages.shown.clear();
        m_messages.captions.clear();
        auto client = Make(LanguageFixtureFolder(c.scenario));
        EXPECT_FALSE(client->HasLanguages()) << c.scenario;
        EXPECT_EQ(client->GetString(L"update_name"), L"");
        EXPECT_EQ(client->LoadBitmap(L"banner"), nullptr);
        EXPECT_EQ(client->GetStringW(L"update_name"), nullptr);
        EXPECT_EQ(m_messages.shown, std::vector<std::wstring>{c.message}) << c.scenario;
        EXPECT_EQ(m_messages.captions, std::vector<std::wstring>{c.caption});
    }
}

TEST_F(LanguageClient, LibraryWithoutBitmapExportStopsLoadingButTextsStillWork)
{
    SetLanguageNumber(4);  // FR is listed second; the choice is never made
    auto client = Make(LanguageFixtureFolder(L"nobitmap"));
    EXPECT_EQ(
        m_messages.shown,
        std::vector<std::wstring>{L"Could not locate necessary dll 'Lingotext.dll' (GetBitmapId)"});
    EXPECT_EQ(client->CurrentIndex(), 0);
    EXPECT_EQ(client->GetString(L"update_name"), L"update_name@DE");
    // The second library was never loaded.
    m_messages.shown.clear();
    EXPECT_EQ(client->GetString(L"update_name", 1), L"");
    EXPECT_EQ(m_messages.shown, std::vector<std::wstring>{L"Could not locate necessary dll " +
                                                          LanguageFixtureFolder(L"nobitmap") +
                                                          L"LingotextUpdate_FR.dll"});
}

TEST_F(LanguageClient, BitmapsByName)
{
    SetLanguageNumber(3);
    for (LanguageLibraryUse use :
         {LanguageLibraryUse::KeepLoaded, LanguageLibraryUse::LoadPerCall}) {
        m_messages.shown.clear();
        auto client = Make(LanguageFixtureFolder(L"three"), L"C:\\nowhere\\", use);
        HBITMAP banner = client->LoadBitmap(L"banner", 0);
        ASSERT_NE(banner, nullptr);
        BITMAP info = {};
        ASSERT_NE(::GetObjectW(banner, sizeof(info), &info), 0);
        EXPECT_EQ(info.bmWidth, 3);
        EXPECT_EQ(info.bmHeight, 2);
        ::DeleteObject(banner);
        EXPECT_EQ(client->LoadBitmap(L"Banner", 0), nullptr);
        EXPECT_EQ(m_messages.shown, std::vector<std::wstring>{L"Could not locate image in dll."});
    }
    auto client = Make(LanguageFixtureFolder(L"three"));
    const auto image = client->FindImage(L"banner");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->resourceId, 101);
}

TEST_F(LanguageClient, LoadingPerCallServesTheSameTexts)
{
    SetLanguageNumber(1);
    auto client =
        Make(LanguageFixtureFolder(L"nobitmap"), L"C:\\nowhere\\", LanguageLibraryUse::LoadPerCall);
    EXPECT_TRUE(m_messages.shown.empty());  // no bitmap export is needed up front
    EXPECT_EQ(client->GetString(L"key", 0), L"key@DE");
    EXPECT_EQ(client->GetString(L"key", 1), L"key@FR");
    EXPECT_EQ(::GetModuleHandleW(
                  (LanguageFixtureFolder(L"nobitmap") + L"LingotextUpdate_FR.dll").c_str()),
              nullptr);
}

TEST_F(LanguageClient, CodeAndHeapCopyOfTheCurrentLanguage)
{
    SetLanguageNumber(3);
    auto client = Make(LanguageFixtureFolder(L"three"));
    EXPECT_EQ(client->GetCurrentLanguageCode(), L"DE");
    wchar_t* text = client->GetStringW(L"update_name");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wstring(text), L"update_name@DE");
    std::free(text);
    text = client->GetStringW(L"missing");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wstring(text), L"");
    std::free(text);
    std::wstring codes;
    client->ApplyLanguageCodes([&](std::wstring_view received) { codes = received; }, 2);
    EXPECT_EQ(codes, L"NTV");
}

TEST_F(LanguageClient, NoStoredLanguageStoresTheLocaleDefault)
{
    auto client = Make(LanguageFixtureFolder(L"three"));
    EXPECT_TRUE(client->HasLanguages());
    core::UniqueKey common;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Vontar Security\\Common", 0, KEY_READ,
                              common.Put()),
              ERROR_SUCCESS);
    DWORD number = 0;
    DWORD size = sizeof(number);
    ASSERT_EQ(::RegQueryValueExW(common.Get(), L"CurrentLanguage", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(&number), &size),
              ERROR_SUCCESS);
    EXPECT_NE(number, 0u);
}

}  // namespace
}  // namespace suite
