#include "setup/engine/interpreter/interpreter_flow.h"

#include <string>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/int_text.h"

namespace setup::engine {

namespace {

int Count(const SetupScript& script)
{
    return static_cast<int>(script.CommandList.Count());
}

bool CompareNumbers(std::string_view code, std::int32_t left, std::int32_t right)
{
    if (code == "2")
        return left > right;
    return code == "0" || code == "1" || code == "3" || code == "4" ? left == right : false;
}

bool CompareTexts(std::string_view code, std::string_view left, std::string_view right)
{
    if (code == "0")
        return left == right;
    if (code == "1")
        return left.find(right) != std::string_view::npos;
    if (code == "2")
        return left.compare(right) > 0;  // ordinal: bytes as unsigned chars
    if (code == "3")
        return rtl::AnsiUpperCase(left).find(rtl::AnsiUpperCase(right)) != std::string::npos;
    if (code == "4")
        return rtl::AnsiUpperCase(left) == rtl::AnsiUpperCase(right);
    return false;
}

}  // namespace

bool CompareIfOperands(std::string_view operatorCode, std::string_view left, std::string_view right)
{
    const auto leftNumber = rtl::TryStrToInt(left);
    const auto rightNumber = rtl::TryStrToInt(right);
    if (leftNumber && rightNumber)
        return CompareNumbers(operatorCode, *leftNumber, *rightNumber);
    return CompareTexts(operatorCode, left, right);
}

bool IsCommentedOut(const SetupScript& script, int index)
{
    return script.StatementFlagList.ItemOrEmpty(index) == "C";
}

bool IsCommand(const SetupScript& script, int index, std::string_view command)
{
    return index >= 0 && index < Count(script) && script.CommandList[index] == command;
}

int FindBranchOrEnd(const SetupScript& script, int from, bool stopAtElse)
{
    int nesting = 0;
    for (int i = from + 1; i < Count(script); ++i) {
        if (IsCommentedOut(script, i))
            continue;
        const std::string& command = script.CommandList[i];
        if (nesting == 0 &&
            (command == "End" || (stopAtElse && (command == "Else" || command == "Else If"))))
            return i;
        if (command == "If" || command == "Wizard Loop")
            ++nesting;
        else if (command == "End")
            --nesting;
    }
    return Count(script);
}

int FindNextEnd(const SetupScript& script, int from)
{
    for (int i = from + 1; i < Count(script); ++i) {
        if (!IsCommentedOut(script, i) && script.CommandList[i] == "End")
            return i;
    }
    return Count(script);
}

int FindWizardStop(const SetupScript& script, int from, int direction)
{
    for (int i = from + direction; i >= 0 && i < Count(script); i += direction) {
        if (IsCommentedOut(script, i))
            continue;
        const std::string& command = script.CommandList[i];
        if (command == "Display Dialog" || command == "Wizard Loop" || command == "End")
            return i;
    }
    return direction < 0 ? -1 : Count(script);
}

}  // namespace setup::engine
