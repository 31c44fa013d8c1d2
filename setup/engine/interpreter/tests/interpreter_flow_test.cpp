#include "setup/engine/interpreter/interpreter_flow.h"

#include <gtest/gtest.h>

#include "setup/engine/testing/interpreter_script_builder.h"

namespace {

using namespace setup::engine;

TEST(CompareIfOperands, ComparesNumbersAsNumbersAndTextsAsTexts)
{
    struct Case
    {
        const char* code;
        const char* left;
        const char* right;
        bool result;
    };
    const Case cases[] = {
        {"0", "10", "010", true},  // numbers
        {"0", "$1F", "31", true},  // hexadecimal with '$'
        {"0", "abc", "abc", true},
        {"0", "abc", "ABC", false},
        {"1", "15", "5", false},  // numbers: "1" means equal, not contains
        {"1", "5", "+5", true},
        {"1", "hello world", "lo w", true},
        {"1", "Hello", "hello", false},
        {"2", "10", "9", true},  // numbers
        {"2", "-1", "0", false},
        {"2", "10a", "9a", false},  // texts sort byte by byte
        {"2", "b", "a", true},
        {"2", "a", "b", false},
        {"2", "\xE4", "z", true},         // bytes compare unsigned
        {"2", "2147483648", "9", false},  // beyond 32 bits: a text
        {"3", "Hello World", "WORLD", true},
        {"3", "12", "2", false},  // numbers: equal
        {"4", "ABC", "abc", true},
        {"4", "$a", "10", true},
        {"4", "ab", "abc", false},
        {"5", "1", "1", false},  // "defined" is decided by the caller
        {"9", "1", "1", false},
        {"", "x", "x", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareIfOperands(c.code, c.left, c.right), c.result)
            << c.code << " '" << c.left << "' '" << c.right << "'";
}

TEST(InterpreterFlow, WalksStepOverNestedBlocksAndCommentedStatements)
{
    const SetupScript script = setup::engine::testing::BuildScript({
        "If|A|0|1",       // 0
        "If|A|0|2",       // 1
        "#End",           // 2
        "Wizard Loop",    // 3
        "End",            // 4
        "Else",           // 5
        "End",            // 6
        "#Else",          // 7
        "Else If|A|0|3",  // 8
        "End",            // 9
    });
    EXPECT_EQ(FindBranchOrEnd(script, 0, true), 8);  // past the inner block
    EXPECT_EQ(FindBranchOrEnd(script, 1, true), 5);
    EXPECT_EQ(FindBranchOrEnd(script, 6, true), 8);
    EXPECT_EQ(FindBranchOrEnd(script, 6, false), 9);
    EXPECT_EQ(FindBranchOrEnd(script, 9, false), 10);  // none: the count
    EXPECT_EQ(FindNextEnd(script, 1), 4);
    EXPECT_EQ(FindWizardStop(script, 5, -1), 4);
    EXPECT_EQ(FindWizardStop(script, 2, -1), -1);
    EXPECT_EQ(FindWizardStop(script, 2, 1), 3);
}

}  // namespace
