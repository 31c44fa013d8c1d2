#include "support/language/tests/lingotext_library.h"
#include "tests/support/counting_string_manager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace language::testing {
namespace {

// Stands for the caller's own string heap: every key the test hands over must come back here.
using CountingManager = testsupport::CountingStringManager;

class LingotextDll : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_lib.Load()) << "Lingotext_DE.dll beside the test"; }

    // Calls GetStringByString the way a caller does: a key of the caller's heap by value.
    std::wstring ByString(int column, std::wstring_view key)
    {
        core::CStringW result = m_lib.getStringByString(column, core::CStringCreate(key, m_keys));
        std::wstring text(core::CStringView(result));
        core::CStringRelease(result);
        return text;
    }

    std::wstring ByInt(int column, int row)
    {
        core::CStringW result = m_lib.getStringByInt(column, row);
        std::wstring text(core::CStringView(result));
        core::CStringRelease(result);
        return text;
    }

    void TearDown() override
    {
        EXPECT_EQ(m_keys.frees, m_keys.allocations) << "the library released every argument";
    }

    LingotextLibrary m_lib;
    CountingManager m_keys;
};

TEST_F(LingotextDll, ExportsEachNameAtItsOrdinalUnderTheGermanLibraryName)
{
    const char* names[] = {"GetStringByInt",     "GetStringByString",  "GetStringByStringW",
                           "GetCurrentLanguage", "GetBitmapId",        "GetAmountLanguages",
                           "SetCurrentLanguage", "GetStringByStringA", "GetLanguageInt"};
    HMODULE module = m_lib.module.Get();
    for (int ordinal = 1; ordinal <= 9; ++ordinal) {
        FARPROC byOrdinal = ::GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
        ASSERT_NE(byOrdinal, nullptr) << ordinal;
        EXPECT_EQ(byOrdinal, ::GetProcAddress(module, names[ordinal - 1])) << names[ordinal - 1];
    }
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    EXPECT_STREQ(reinterpret_cast<const char*>(base + exports->Name), "Lingotext_DE.dll");
    EXPECT_EQ(exports->NumberOfFunctions, 9u);
}

TEST_F(LingotextDll, LooksTextsUpByKeyIgnoringCaseWithColumnFallback)
{
    struct Case
    {
        int column;
        const wchar_t* key;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {1, L"OK-button", L"OK"},
        {1, L"ok-button", L"OK"},
        {0, L"cancel-button", L"Cancel-button"},  // column 0 is the key as the table spells it
        {1, L"LANGUAGE_CODES", L"DE"},
        {1, L"vnt_desktop", L"Vontar Desktop"},
        {1, L"no_such_key", L""},
        {1, L"", L""},
        {2, L"OK-button", L""},
        {-1, L"OK-button", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ByString(c.column, c.key), c.expected) << c.column;
}

TEST_F(LingotextDll, WideLookupMatchesExactlyAndReturnsNewBuffersOrTheConstantEmptyText)
{
    wchar_t* ok = m_lib.getStringByStringW(1, L"OK-button");
    wchar_t* again = m_lib.getStringByStringW(1, L"OK-button");
    ASSERT_NE(ok, nullptr);
    EXPECT_STREQ(ok, L"OK");
    EXPECT_NE(ok, again);  // each call a new copy
    EXPECT_STREQ(m_lib.getStringByStringW(0, L"OK-button"), L"OK-button");

    wchar_t* missing = m_lib.getStringByStringW(1, L"ok-button");
    ASSERT_NE(missing, nullptr);
    EXPECT_STREQ(missing, L"");
    EXPECT_EQ(missing, m_lib.getStringByStringW(1, L"no_such_key"));  // the one constant text
    EXPECT_STREQ(m_lib.getStringByStringW(1, nullptr), L"");
    // The copies come from the library's heap and callers never free them: nor does the test.
}

TEST_F(LingotextDll, AnsiLookupConvertsKeyAndTextThroughTheCodePage)
{
    struct Case
    {
        const char* key;
        std::wstring expected;
    };
    const Case cases[] = {
        {"Cancel-button", L"Abbrechen"},
        {"cancel-BUTTON", L"Abbrechen"},
        {"recbin_size", L"Größe"},
        {"no_such_key", L""},
    };
    for (const Case& c : cases) {
        char* text = m_lib.getStringByStringA(1, c.key);
        ASSERT_NE(text, nullptr) << c.key;
        wchar_t wide[64] = {};
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
        EXPECT_EQ(std::wstring(wide), c.expected) << c.key;
        if (c.expected.empty()) {
            EXPECT_EQ(text[0], '\0');
        }
    }
}

TEST_F(LingotextDll, ReadsRowsByNumberWithoutSearching)
{
    EXPECT_EQ(ByInt(1, 0), L"Deutsch (German)");
    EXPECT_EQ(ByInt(0, 0), L"Language");
    EXPECT_EQ(ByInt(1, 3), L"OK");
    // vnt_desktop opens the product block at row 9; its second copy starts 17 rows later.
    EXPECT_EQ(ByInt(0, 9), L"vnt_desktop");
    EXPECT_EQ(ByInt(0, 26), L"vnt_desktop");
    EXPECT_EQ(ByInt(1, 26), ByInt(1, 9));
    for (int row : {-1, 100000, 0x7fffffff})
        EXPECT_EQ(ByInt(1, row), L"") << row;
    EXPECT_EQ(ByInt(7, 0), L"");
}

TEST_F(LingotextDll, ResultsShareTheTableCellAndDropTheirReferenceOnRelease)
{
    core::CStringW first = m_lib.getStringByString(1, core::CStringCreate(L"OK-button", m_keys));
    core::CStringW second = m_lib.getStringByInt(1, 3);
    ASSERT_NE(first.chars, nullptr);
    EXPECT_EQ(first.chars, second.chars);
    core::CStringData* header = core::CStringHeader(first);
    EXPECT_NE(header->manager, static_cast<core::IStringManager*>(&m_keys));
    EXPECT_EQ(header->refs, 3);  // the table's own and the two results
    core::CStringRelease(first);
    core::CStringRelease(second);
    EXPECT_EQ(header->refs, 1);

    // An unknown key gives a fresh empty string that the caller alone owns.
    core::CStringW empty = m_lib.getStringByString(1, core::CStringCreate(L"nothing", m_keys));
    EXPECT_TRUE(core::CStringView(empty).empty());
    if (empty.chars) {
        EXPECT_EQ(core::CStringHeader(empty)->refs, 1);
    }
    core::CStringRelease(empty);
}

TEST_F(LingotextDll, NamesTheLanguageAndCountsTwoLanguages)
{
    const std::pair<const wchar_t*, int> cases[] = {{L"Deutsch (German)", 1},
                                                    {L"deutsch (GERMAN)", 1},
                                                    {L"DE", -1},
                                                    {L"Deutsch", -1},
                                                    {L"", -1}};
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(m_lib.getLanguageInt(core::CStringCreate(name, m_keys)), expected);
    EXPECT_EQ(m_lib.getLanguageInt(core::CStringW{nullptr}), -1);
    EXPECT_EQ(m_lib.getAmountLanguages(), 2);
}

TEST_F(LingotextDll, BitmapIdsPointAtTwentyFourBitResourcesOfTheirSize)
{
    const std::pair<const wchar_t*, int> ids[] = {{L"shred_recycle_bin", 109},
                                                  {L"Shred_recycle_bin", -1},
                                                  {L"secure_email", 112},
                                                  {L"shred_files_and_folders", 104},
                                                  {L"no_bitmap", -1}};
    for (const auto& [name, expected] : ids)
        EXPECT_EQ(m_lib.getBitmapId(1, core::CStringCreate(name, m_keys)), expected);
    EXPECT_EQ(m_lib.getBitmapId(2, core::CStringCreate(L"secure_email", m_keys)), 212);

    const std::pair<const wchar_t*, SIZE> bitmaps[] = {
        {L"decrypt_files_and_folders", {695, 62}},
        {L"encrypt_files_and_folders", {695, 62}},
        {L"encryption_main_top", {605, 81}},
        {L"shred_files_and_folders", {695, 62}},
        {L"desktop_main_top", {605, 81}},
        {L"shredding_main_top", {605, 81}},
        {L"shred_free_space", {695, 62}},
        {L"shred_recycle_bin", {695, 62}},
        {L"shred_system_files", {695, 62}},
        {L"encrypt_sfx", {695, 62}},
        {L"secure_email", {695, 62}},
    };
    HMODULE module = m_lib.module.Get();
    for (const auto& [name, size] : bitmaps) {
        const int id = m_lib.getBitmapId(1, core::CStringCreate(name, m_keys));
        HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
        ASSERT_NE(resource, nullptr) << id;
        const auto* info =
            static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(module, resource)));
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->biBitCount, 24) << id;
        EXPECT_EQ(info->biCompression, static_cast<DWORD>(BI_RGB)) << id;
        EXPECT_EQ(info->biWidth, size.cx) << id;
        EXPECT_EQ(info->biHeight, size.cy) << id;  // positive: rows stored bottom-up
        const DWORD stride = (static_cast<DWORD>(size.cx) * 3 + 3) & ~3u;
        EXPECT_EQ(::SizeofResource(module, resource), info->biSize + stride * size.cy) << id;
    }
}

}  // namespace
}  // namespace language::testing
