#include "setup/engine/script/condition.h"

#include <gtest/gtest.h>

namespace {

TEST(EvaluateCondition, AnswersTable)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"("abc" = "abc")", "TRUE"},
        {R"("abc" = "ABC")", "FALSE"},  // letter case counts
        {R"("a" <> "b")", "TRUE"},
        {R"("a" < "b")", "TRUE"},
        {R"("b" <= "b")", "TRUE"},
        {R"("b" > "a")", "TRUE"},
        {R"("a" >= "b")", "FALSE"},
        {R"("B" < "a")", "TRUE"},  // ordinal bytes: upper case sorts first
        {R"("say ""hi""" = "say ""hi""")", "TRUE"},
        {R"("""" = """")", "TRUE"},
        {R"("" = "")", "TRUE"},
        {R"("a"="a")", "TRUE"},
        // Connectives apply left to right without precedence.
        {R"("a" = "a" or "a" = "b" and "a" = "b")", "FALSE"},
        {R"("a" = "a" or ("a" = "b" and "a" = "b"))", "TRUE"},
        {R"(("a" = "b") or ("c" = "c"))", "TRUE"},
        {R"("a" = "a" and "b" = "b")", "TRUE"},
        // Malformed expressions.
        {R"("a" = "a" AND "b" = "b")", "ERROR"},
        {R"("a" = "a" Or "b" = "b")", "ERROR"},
        {R"(("a" = "a")", "ERROR"},
        {R"("a" = "a"))", "ERROR"},
        {R"("a" = "a" "b")", "ERROR"},
        {R"("a" == "a")", "ERROR"},
        {R"("a" = b)", "ERROR"},
        {R"("a = "a")", "ERROR"},
        {R"("a" = "a)", "ERROR"},
        {"", "ERROR"},
        {"()", "ERROR"},
        {"   ", "ERROR"},
        {R"("a" = "a" and)", "ERROR"},
    };
    for (const auto& [expression, answer] : cases)
        EXPECT_EQ(setup::engine::EvaluateCondition(expression), answer) << expression;
}

TEST(IsValidCondition, AcceptsDollarReferencesAsOperands)
{
    const std::pair<const char*, bool> cases[] = {
        {"$VERSION$ = \"2.0\"", true},
        {"($A$ <> $B$) or $C$ = \"x\"", true},
        {"$VERSION$ = ", false},
        {"$A$ ~ $B$", false},
    };
    for (const auto& [expression, valid] : cases)
        EXPECT_EQ(setup::engine::IsValidCondition(expression), valid) << expression;
}

}  // namespace
