#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

// The word a page's result code gives; codes without a word leave the variable as it was.
bool ResultWord(const PageResult& result, std::string& word)
{
    switch (result.code) {
        case 0:
            word = "NOTMODAL";
            return true;
        case 2:
            word = "CANCEL";
            return true;
        case 6:
            word = "NEXT";
            return true;
        case 7:
            word = "BACK";
            return true;
        case 8:
            word = rtl::AnsiUpperCase(result.controlName);
            return true;
        default:
            return false;
    }
}

}  // namespace

void DisplayDialogStatement(StatementContext& statement)
{
    const std::string conditionVariable = statement.Param(4);
    if (!conditionVariable.empty()) {
        const std::string stripped = StripDollars(conditionVariable);
        const std::string name = stripped.empty() ? conditionVariable : stripped;
        if (TextToBool(statement.Vars().Get(name)) == TextToBool(statement.Param(6)))
            return;
    }
    const std::string context = statement.ResultContext();
    const ResultVariable resultVariable(statement, statement.Param(2));
    const std::string key = std::to_string(statement.Index());
    const bool inLoop = statement.InWizardLoop();
    const bool modal = inLoop || TextToBool(statement.Param(3));
    PageResult result = statement.Host().ui.ShowDialog(key, modal, inLoop);
    if (!inLoop) {
        EngineState& engine = statement.Engine();
        if (modal) {
            engine.ForegroundDialogWindow = 0;
        } else {
            engine.ForegroundDialogWindow = result.window;
            result.code = 0;
        }
        statement.Vars().Set("WINDOWHANDLE", std::to_string(engine.ForegroundDialogWindow),
                             context);
    }
    std::string word;
    if (ResultWord(result, word))
        resultVariable.Assign(word);
    statement.SetPageResult(result.code);
}

}  // namespace setup::engine
