#include "suite/update/contact_view.h"

#include <gtest/gtest.h>

#include <string>

namespace update {
namespace {

std::wstring KeyText(std::wstring_view key)
{
    if (key == L"contact_ex_info")
        return L"Released %s; you have %s, new is %s.\nSecond line %s";
    return L"<" + std::wstring(key) + L">";
}

TEST(ContactView, RowCasesInOrder)
{
    struct Case
    {
        const char* name;
        int status;
        const wchar_t* message;
        const wchar_t* version;
        const wchar_t* updateStatus;
        int icon;
        bool checked;
        const wchar_t* statusText;
        const wchar_t* information;
        bool ok;
    };
    const wchar_t* info = L"Released 2026-12-01; you have 7.1, new is 7.2.\n";
    const Case cases[] = {
        {"unreachable", -1, L"", L"", L"", kIconInformation, false, L"<err_status_no_internet>",
         L"", false},
        {"script failed", 500, L"", L"7.2", L"1", kIconInformation, false,
         L"<err_status_script_failed>", L"", false},
        {"server message", 200, L"No such product", L"", L"", kIconInformation, false, L"info text",
         L"No such product", false},
        {"no version", 200, L"", L"", L"1", kIconInformation, false, L"info text", L"", false},
        {"not offered", 200, L"", L"7.2", L"0", kIconInformation, false, L"info text", info, false},
        {"newer", 200, L"", L"7.2", L"1", kIconUpdateAvailable, true, L"<contact_update_available>",
         info, true},
        {"up to date", 200, L"", L"7.1", L"1", kIconUpToDate, false, L"<contact_uptodate>",
         L"Released 2026-12-01; you have 7.1, new is 7.1.\n", false},
    };
    for (const Case& c : cases) {
        CRefreshkitSettings settings;
        settings.installedVersion = L"7.1";
        settings.httpStatus = c.status;
        settings.serverMessage = c.message;
        settings.version = c.version;
        settings.updateStatus = c.updateStatus;
        settings.updateInfo = L"info text";
        settings.releaseDate = L"2026-12-01";
        const ContactView view = BuildContactView(settings, KeyText);
        EXPECT_EQ(view.icon, c.icon) << c.name;
        EXPECT_EQ(view.checked, c.checked) << c.name;
        EXPECT_EQ(view.status, c.statusText) << c.name;
        EXPECT_EQ(view.information, c.information) << c.name;
        EXPECT_EQ(view.okEnabled, c.ok) << c.name;
    }
}

TEST(ContactView, OnlyStringPlacesAreFilled)
{
    struct Case
    {
        const wchar_t* format;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"%s-%s-%s", L"a-b-c"},
        {L"%s %s %s %s", L"a b c "},  // no fourth value: nothing is read for it
        {L"%d %n %ls %x", L"%d %n %ls %x"},
        {L"100%% %s", L"100% a"},
        {L"end %", L"end %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatStringsOnly(c.format, {L"a", L"b", L"c"}), c.expected) << c.format;
}

TEST(ContactView, SizeInMegabytesWithTwoDecimals)
{
    const std::pair<int, const wchar_t*> cases[] = {
        {0, L"0.00"},       {1048576, L"1.00"},   {22020096, L"21.00"},
        {1572864, L"1.50"}, {-1048576, L"-1.00"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(SizeInMegabytes(bytes), text) << bytes;
}

TEST(ContactView, OkCountsACheckedNewerRowAfterAYes)
{
    struct Case
    {
        const char* name;
        bool checked;
        const wchar_t* version;
        const wchar_t* question;
        bool answer;
        bool accepted;
        int asked;
    };
    const Case cases[] = {
        {"no question", true, L"7.2", L"", false, true, 0},
        {"answered yes", true, L"7.2", L"Sure?", true, true, 1},
        {"answered no", true, L"7.2", L"Sure?", false, false, 1},
        {"unchecked", false, L"7.2", L"Sure?", true, false, 0},
        {"not newer", true, L"7.1", L"", true, false, 0},
    };
    for (const Case& c : cases) {
        CRefreshkitSettings settings;
        settings.installedVersion = L"7.1";
        settings.version = c.version;
        settings.postOkText = c.question;
        int asked = 0;
        EXPECT_EQ(AcceptsRow(c.checked, settings,
                             [&] {
                                 ++asked;
                                 return c.answer;
                             }),
                  c.accepted)
            << c.name;
        EXPECT_EQ(asked, c.asked) << c.name;
    }
}

}  // namespace
}  // namespace update
