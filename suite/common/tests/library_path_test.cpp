#include "suite/common/library_path.h"

#include <gtest/gtest.h>

#include <string>

namespace suite {
namespace {

TEST(LibraryPath, FolderWithOrWithoutTrailingBackslashGivesOnePath)
{
    struct Case
    {
        const wchar_t* folder;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\Suite", L"C:\\Suite\\Lingotext.dll"},
        {L"C:\\Suite\\", L"C:\\Suite\\Lingotext.dll"},
        {L"C:\\\\Suite\\\\\\", L"C:\\Suite\\\\Lingotext.dll"},  // pairs collapse without overlap
        {L"\\\\server\\share", L"\\server\\share\\Lingotext.dll"},
        {L"", L"Lingotext.dll"},  // the system's search order finds it
    };
    for (const Case& c : cases)
        EXPECT_EQ(JoinLibraryPath(c.folder, L"Lingotext.dll"), c.expected) << c.folder;
}

TEST(LibraryPath, RegistryDataTakesWhatFitsAndEndsItself)
{
    std::wstring full(kRegistryTextBytes / sizeof(wchar_t), L'x');  // no room for a terminator
    struct Case
    {
        const wchar_t* data;
        std::size_t bytes;
        std::wstring expected;
    };
    const Case cases[] = {
        {full.c_str(), kRegistryTextBytes, full},     // stored without a terminator
        {full.c_str(), kRegistryTextBytes + 1, L""},  // longer than the buffer: missing
        {L"C:\\Suite\0junk", 14 * sizeof(wchar_t), L"C:\\Suite"},  // stops at the terminator
        {L"C:\\Suite", 8 * sizeof(wchar_t), L"C:\\Suite"},         // terminator not counted
        {L"C:\\Suite", 7 * sizeof(wchar_t) + 1, L"C:\\Suit"},      // a partial character is dropped
        {L"", 0, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextFromRegistryData(c.data, c.bytes), c.expected) << c.bytes;
}

TEST(LibraryPath, FolderOfPathKeepsTheLastBackslash)
{
    EXPECT_EQ(FolderOfPath(L"C:\\Program Files\\Suite\\main.exe"), L"C:\\Program Files\\Suite\\");
    EXPECT_EQ(FolderOfPath(L"main.exe"), L"");
    EXPECT_EQ(FolderOfPath(L"C:\\"), L"C:\\");
}

TEST(LibraryPath, MessagesNameTheLibraryAndExport)
{
    EXPECT_EQ(MissingLibraryMessage(L"Lingotext.dll"),
              L"Could not locate necessary dll 'Lingotext.dll'");
    EXPECT_EQ(MissingExportMessage(L"Lingotext.dll", L"GetAmountLanguages"),
              L"Could not locate necessary dll 'Lingotext.dll' (GetAmountLanguages)");
    EXPECT_EQ(MissingLanguageLibraryMessage(L"C:\\S\\LingotextUpdate_DE.dll"),
              L"Could not locate necessary dll C:\\S\\LingotextUpdate_DE.dll");
}

TEST(LibraryPath, VersionTextSplitsBothWords)
{
    EXPECT_EQ(FormatVersionText(0x00070002, 0x0003000A), L"7.2.3.10");
    EXPECT_EQ(FormatVersionText(0xFFFFFFFF, 0), L"65535.65535.0.0");
}

}  // namespace
}  // namespace suite
