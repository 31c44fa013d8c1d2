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

void PublishWindowHandle(StatementContext& statement, std::uintptr_t window)
{
    statement.Engine().ForegroundDialogWindow = window;
    statement.Vars().Set("WINDOWHANDLE", std::to_string(window), statement.ResultContext());
}

}  // namespace

void DisplayDialogStatement(StatementContext& statement)
{
    const std::string conditionVariable = statement.Param(4);
    if (!conditionVariable.empty()) {
        const std::string name = NamedVariable(conditionVariable);
        if (TextToBool(statement.Vars().Get(name)) == TextToBool(statement.Param(6)))
            return;
    }
    const ResultVariable resultVariable(statement, statement.Param(2));
    const std::string key = std::to_string(statement.Index());
    EngineState& engine = statement.Engine();
    IUserInterface& ui = statement.Host().ui;
    if (!engine.PendingDialogKey.empty()) {
        const std::string pending = engine.PendingDialogKey;
        engine.PendingDialogKey.clear();
        ui.ReleaseDialog(pending);
    }
    ui.PrepareDialog(key, engine.ForegroundDialogWindow);
    const bool inLoop = statement.InWizardLoop();
    const bool modal = inLoop || TextToBool(statement.Param(3));
    PageResult result = ui.ShowDialog(key, modal);
    if (modal)
        engine.PendingDialogKey = key;
    if (!inLoop) {
        if (modal) {
            PublishWindowHandle(statement, 0);
        } else {
            PublishWindowHandle(statement, result.window);
            result.code = 0;
        }
    }
    std::string word;
    if (ResultWord(result, word))
        resultVariable.Assign(word);
    statement.SetPageResult(result.code);
}

void HideDialogStatement(StatementContext& statement)
{
    // A key that names no page: only the page on screen goes.
    statement.Host().ui.HideDialog("temp");
    PublishWindowHandle(statement, 0);
}

}  // namespace setup::engine
