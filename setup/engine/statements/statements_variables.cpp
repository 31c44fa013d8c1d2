#include "setup/engine/statements/statements_variables.h"

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/condition.h"
#include "setup/engine/script/fast_strings.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

bool IsListed(const rtl::TStringList& list, std::string_view name)
{
    for (std::size_t i = 0; i < list.Count(); ++i) {
        if (rtl::AnsiSameText(list[i], name))
            return true;
    }
    return false;
}

void RedrawProgress(const ScriptVariables& variables, IProgressRedraw* progress)
{
    // A display value that is not a number shows as 0 rather than ending the setup.
    const std::int32_t position = rtl::StrToIntDef(variables.Get("PROGRESS"), 0);
    if (progress != nullptr)
        progress->RedrawProgress(variables.Get("PROGRESSTEXT"), position);
}

const rtl::CodePageFacts& CodePageOf(const VariableStatementServices& services)
{
    return services.codePage != nullptr ? *services.codePage : rtl::SystemCodePage();
}

}  // namespace

void SetVariableStatement(StatementContext& statement, IProgressRedraw* progress)
{
    std::string value = ExpandedParam(statement, 2);
    value = LocalizeExpanded(statement, value, statement.Key(), 1);

    const std::string first = RawParam(statement, 1);
    std::string namePart = first;
    bool persist = false;
    if (const std::size_t marker = first.find(kPersistMarker); marker != std::string::npos) {
        namePart = first.substr(0, marker);
        persist = IsExactlyTrue(std::string_view(first).substr(marker + kPersistMarker.size()));
    }
    const ResultVariable result(statement, namePart);
    result.Assign(value);
    rtl::TStringList& persisted = statement.Vars().PersistedVariables;
    if (persist && !result.Name().empty() && !IsListed(persisted, result.Name()))
        persisted.Add(result.Name());
    if (result.Name() == "PROGRESS" || result.Name() == "PROGRESSTEXT")
        RedrawProgress(statement.Vars(), progress);
}

void LocalizationVariableStatement(StatementContext& statement)
{
    const ResultVariable result(statement, RawParam(statement, 1));
    std::string value = ExpandedParam(statement, 2);
    value = LocalizeExpanded(statement, value, "TOOLWORK$" + result.Name() + "$TOOLWORK", 1);
    result.Assign(value);
}

void ReplaceStringStatement(StatementContext& statement)
{
    const ResultVariable result(statement, RawParam(statement, 1));
    const std::string find = EncodeNewlines(ExpandedParam(statement, 2));
    const std::string replacement = EncodeNewlines(ExpandedParam(statement, 3));
    int flags = 0;
    if (TextToBool(RawParam(statement, 4)))
        flags |= kReplaceIgnoreCase;
    if (TextToBool(RawParam(statement, 5)))
        flags |= kReplaceAll;
    if (result.Name().empty())
        return;
    // An empty pattern finds nothing; the value stays as it is.
    const std::string value = statement.Vars().Get(result.Name());
    result.Assign(find.empty() ? value : StrReplace(value, find, replacement, flags));
}

void ConvertCaseStatement(StatementContext& statement, const rtl::CodePageFacts& codePage)
{
    const ResultVariable result(statement, RawParam(statement, 1));
    const std::string value = statement.Vars().NormalizePath(statement.Vars().Get(result.Name()));
    result.Assign(TextToBool(RawParam(statement, 2)) ? UpperCaseWith(codePage, value)
                                                     : LowerCaseWith(codePage, value));
}

void EvaluateExpressionStatement(StatementContext& statement)
{
    const ResultVariable result(statement, RawParam(statement, 2));
    result.Assign(EvaluateCondition(statement.Vars().ExpandQuoted(RawParam(statement, 1))));
}

void ExtractPathStatement(StatementContext& statement)
{
    const ResultVariable result(statement, RawParam(statement, 1));
    const std::string value = statement.Vars().NormalizePath(statement.Vars().Get(result.Name()));
    result.Assign(ExtractPathPart(value, TextToInt32(RawParam(statement, 2))));
}

void RegisterVariableStatements(StatementHandlerTable& table,
                                const VariableStatementServices& services)
{
    IProgressRedraw* progress = services.progress;
    const rtl::CodePageFacts* codePage = &CodePageOf(services);
    table.Register("Set Variable",
                   [progress](StatementContext& s) { SetVariableStatement(s, progress); });
    table.Register("Localization Variable", LocalizationVariableStatement);
    table.Register("Replace String", ReplaceStringStatement);
    table.Register("Convert Case",
                   [codePage](StatementContext& s) { ConvertCaseStatement(s, *codePage); });
    table.Register("Evaluate Expression", EvaluateExpressionStatement);
    table.Register("Parse String",
                   [codePage](StatementContext& s) { ParseStringStatement(s, *codePage); });
    table.Register("Extract Path", ExtractPathStatement);
    table.Register("Mathematics", MathematicsStatement);
}

}  // namespace setup::engine
