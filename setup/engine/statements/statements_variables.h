// The variable and string statements: assignment (with the persist marker and the progress
// redraw), translated assignment, splitting, replacing, case and path conversion, path parts,
// 64-bit arithmetic with its small generator, and condition evaluation into a variable.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/string_list.h"

namespace setup::engine {

// The progress page as "Set Variable" redraws it when PROGRESS or PROGRESSTEXT changes: the
// implementation sets the run's busy flag, redraws the active page (if any) with the text and the
// position of 0 to 100 without touching the cancel state, and clears the busy flag again.
class IProgressRedraw
{
public:
    virtual ~IProgressRedraw() = default;
    virtual void RedrawProgress(const std::string& text, std::int32_t position) = 0;
};

struct VariableStatementServices
{
    IProgressRedraw* progress = nullptr;           // none: nothing is drawn
    const rtl::CodePageFacts* codePage = nullptr;  // none: the process's code page
};

void RegisterVariableStatements(StatementHandlerTable& table,
                                const VariableStatementServices& services);

// "Set Variable"'s marker between the name and the persist flag.
inline constexpr std::string_view kPersistMarker = "$TARQ$TARQ$";

// Statement bodies.
void SetVariableStatement(StatementContext& statement, IProgressRedraw* progress);
void LocalizationVariableStatement(StatementContext& statement);
void ReplaceStringStatement(StatementContext& statement);
void ConvertCaseStatement(StatementContext& statement, const rtl::CodePageFacts& codePage);
void EvaluateExpressionStatement(StatementContext& statement);
void ParseStringStatement(StatementContext& statement, const rtl::CodePageFacts& codePage);
void ExtractPathStatement(StatementContext& statement);
void MathematicsStatement(StatementContext& statement);

// The two parts "Parse String" cuts from a text (search texts already in their compared case).
struct ParsedParts
{
    std::string first;
    std::string second;
};
// Positions are found in the search forms, parts cut from the text (same length).
ParsedParts ParseStringParts(const std::string& text, const std::string& searchText,
                             const std::string& searchDelimiter, std::int32_t mode);

// Path part 0-6 of a normalised path; other numbers give the path unchanged.
std::string ExtractPathPart(const std::string& path, std::int32_t part);

// The script's small linear congruential generator; one per run, all zero at its start.
struct MathematicsGenerator
{
    std::int32_t multiplier = 0;
    std::int32_t increment = 0;
    std::int32_t state = 0;
};

// "Mathematics" on texts: the result text, empty on any failure.
std::string Calculate(MathematicsGenerator& generator, const std::string& operandA,
                      const std::string& operandB, const std::string& operation);

}  // namespace setup::engine
