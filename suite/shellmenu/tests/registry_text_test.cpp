#include "suite/shellmenu/registry_text.h"
#include "suite/shellmenu/tests/fake_registry_key.h"

#include <gtest/gtest.h>

namespace shellmenu {
namespace {

using testing::StringBytes;

TEST(RegistryText, AcceptsOnlyTerminatedStringDataThatFits)
{
    const std::wstring longest(kStringValueBytes / 2 - 1, L'x');
    struct Case
    {
        const char* name;
        RegistryData data;
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {"plain string", {kRegString, StringBytes(L"a b"), true}, L"a b"},
        {"expandable, not expanded",
         {kRegExpandString, StringBytes(L"%TEMP%\\x"), true},
         L"%TEMP%\\x"},
        {"no data", {kRegString, "", true}, L""},
        {"just the terminator", {kRegString, StringBytes(L""), true}, L""},
        {"fills the buffer", {kRegString, StringBytes(longest), true}, longest},
        {"text stops at an inner terminator",
         {kRegString, StringBytes(std::wstring(L"ab\0cd", 5)), true},
         L"ab"},
        {"unterminated", {kRegString, StringBytes(L"abc", false), true}, std::nullopt},
        {"odd length", {kRegString, StringBytes(L"abc") + "x", true}, std::nullopt},
        {"longer than the buffer", {kRegString, {}, false}, std::nullopt},
        {"over the buffer size", {kRegString, StringBytes(longest + L"y"), true}, std::nullopt},
        {"number", {4, std::string(4, '\1'), true}, std::nullopt},
        {"binary", {3, StringBytes(L"abc"), true}, std::nullopt},
        {"multi-string", {7, StringBytes(L"abc") + std::string(2, '\0'), true}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextFromRegistryData(c.data), c.expected) << c.name;
}

}  // namespace
}  // namespace shellmenu
