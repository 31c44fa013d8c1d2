#include "setup/engine/interpreter/interpreter.h"

#include <exception>
#include <string>
#include <unordered_map>

#include "setup/engine/interpreter/interpreter_flow.h"
#include "setup/engine/interpreter/interpreter_steps.h"
#include "setup/engine/interpreter/statements_package.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/script_check.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

// "Runtime error in setup script:" unless a language file replaced it.
constexpr int kRuntimeErrorMessage = 20;
// Window messages are handled at least this often so a long run of quick statements keeps the
// wizard responsive.
constexpr int kMessagePumpInterval = 314;

// How the statement about to run was reached.
enum class Arrival
{
    Normal,
    Branch,     // a skip stopped at "Else" or "Else If"
    SkipEnd,    // a skip stopped at the "End" that closes the skipped block
    WizardEnd,  // navigation stopped at the "End" of a Wizard Loop
};

class Interpreter
{
public:
    explicit Interpreter(const ScriptRun& run) : m_run(run), m_script(run.script), m_host(run.host)
    {}

    void Run()
    {
        if (!PrepareRun())
            return;
        m_host.run.Trace("    <tarq>");
        try {
            if (!PrepareStatements() || !RunStatements())
                return;
        } catch (const std::exception& failure) {
            ReportRuntimeError(failure.what());
            return;
        }
        m_host.run.Trace("    </tarq>");
        m_host.run.Trace("    <ExitScript>");
        m_host.resources.CloseInterpreterResources();
        m_host.run.Trace("    </ExitScript>");
        if (m_host.media.IsRemovableMediaGone(Vars().Get("EXEDIR")))
            m_host.media.EndAfterMediaRemoved(m_run.engine.ExitCode);
    }

private:
    int Count() const { return static_cast<int>(m_script.CommandList.Count()); }
    int Index() const { return m_pointer - 1; }
    ScriptVariables& Vars() const { return m_run.engine.Variables; }
    std::string Param(int n) const
    {
        return GetStatementParam(m_script.ParameterPools,
                                 m_script.StatementKeyList.ItemOrEmpty(Index()), n);
    }

    // Resets the engine, checks the script, detects the installation and reads the labels; false
    // when the run ends before its first statement.
    bool PrepareRun()
    {
        EngineState& engine = m_run.engine;
        m_host.run.Trace("    <Variables>");
        engine.TargetPlatform = "Win32";
        engine.StateFileSuppressed = false;
        engine.StateFileFullWrite = false;
        engine.PackagePropertyList.Clear();
        engine.ShortcutTranslationList.Clear();
        engine.ProgIdTranslationList.Clear();
        engine.SourceMarkerName = m_script.ProductCode;
        m_host.run.Trace("    </Variables>");

        m_host.run.Trace("    <CompileScript>");
        std::string message;
        if (CompileScript(engine.Variables, m_script.CommandList, m_script.StatementKeyList,
                          m_script.StatementFlagList, message, m_script.ParameterPools,
                          engine.PerformedStatementList) != -1) {
            m_host.run.ExitProcess(kCompileFailureExitCode);
            return false;
        }
        m_host.run.Trace("    </CompileScript>");

        engine.Variables.Clear();
        m_host.components.ResetComponents(engine);
        StoreThreadProgressDefaults(engine.Variables);
        StorePreInitializationVariables(m_run);
        m_host.run.Trace("    <BootStrap>");
        m_host.detection.DetectInstallation();
        m_host.run.Trace("    </BootStrap>");

        ResetFlow();
        m_pointer = 0;
        engine.ForegroundDialogWindow = 0;
        m_labels = BuildLabelTable(m_script);
        return PackagePresent(m_run);
    }

    // Predefined variables, patch state, language and command-line overrides, under the exception
    // guard; false when the language form was cancelled.
    bool PrepareStatements()
    {
        m_host.components.DefinePredefinedComponent(m_run.engine);
        StorePredefinedVariables(m_run);
        if (PatchBesidePackage(m_run))
            m_host.detection.TakeOverPatchState();
        // The 8 characters after the product code's opening brace name the resume value.
        if (m_script.ProductCode.size() >= 9)
            m_host.records.DeleteRunValue(m_script.ProductCode.substr(1, 8));
        PreScanCommandHeaders(m_run);
        if (!ChooseLanguage(m_run)) {
            m_host.resources.CloseInterpreterResources();
            return false;
        }
        ApplyCommandLineOverrides(Vars());
        return true;
    }

    // False when the per-statement callback ended the run.
    bool RunStatements()
    {
        while (m_pointer < Count()) {
            if (m_pointer % kMessagePumpInterval == 0)
                m_host.run.ProcessMessages();
            RefreshEngineSettings(m_run.engine);
            ApplyCacheOverride(m_run, m_appliedCacheOverride);
            RefreshDateAndTime(Vars(), m_host.environment);
            ApplyLanguageChange(m_run);
            RefreshUninstallLink(m_run, m_uninstallLink);
            const Arrival arrival = Advance();
            if (m_pointer > Count())
                break;
            Vars().Set("ABORT", BoolToText(m_host.ui.CheckCancel() == -1), "Cancel State");
            PublishProgress();
            if (m_run.callback && !m_run.callback(m_pointer)) {
                m_host.resources.CloseInterpreterResources();
                return false;
            }
            Dispatch(arrival);
        }
        return true;
    }

    void ResetFlow()
    {
        m_ifDepth = 0;
        m_skipToBranch = m_skipToEnd = false;
        m_navigating = false;
        m_direction = 1;
    }

    // Moves the pointer to the statement to run next. Past the last statement the pointer is
    // beyond the count.
    Arrival Advance()
    {
        if (m_skipToBranch) {
            m_skipToBranch = false;
            m_pointer = FindBranchOrEnd(m_script, Index(), true) + 1;
            return IsCommand(m_script, Index(), "End") ? Arrival::SkipEnd : Arrival::Branch;
        }
        if (m_skipToEnd) {
            m_skipToEnd = false;
            m_pointer = FindBranchOrEnd(m_script, Index(), false) + 1;
            return Arrival::SkipEnd;
        }
        if (m_navigating)
            return Navigate();
        do {
            ++m_pointer;
        } while (m_pointer <= Count() &&
                 (IsCommentedOut(m_script, Index()) || IsCommand(m_script, Index(), "Ignore")));
        return Arrival::Normal;
    }

    Arrival Navigate()
    {
        if (m_direction != 0) {
            const int stop = FindWizardStop(m_script, Index(), m_direction);
            if (stop < 0 || stop >= Count()) {
                // Cannot happen in a checked script: a loop always has its statement and End.
                m_navigating = false;
                m_pointer = Count() + 1;
                return Arrival::Normal;
            }
            m_pointer = stop + 1;
            if (IsCommand(m_script, stop, "Display Dialog"))
                return Arrival::Normal;
            if (IsCommand(m_script, stop, "End")) {
                m_navigating = false;
                return Arrival::WizardEnd;
            }
        }
        // Leaving the loop (direction 0) or backing out past its first page.
        m_pointer = FindNextEnd(m_script, Index()) + 1;
        m_navigating = false;
        return Arrival::WizardEnd;
    }

    void Dispatch(Arrival arrival)
    {
        const std::string& command = m_script.CommandList[Index()];
        if (m_script.PluginCommandList.IndexOf(command) >= 0) {
            m_host.plugins.ExecutePlugin(Index());
            return;
        }
        if (command == "If") {
            ++m_ifDepth;  // a false If is an open level too: its End closes it
            m_skipToBranch = !EvaluateCondition();
        } else if (command == "Else If") {
            // Reached by a skip it is the chain's next condition; reached by running a branch
            // it ends that branch.
            if (arrival == Arrival::Branch)
                m_skipToBranch = !EvaluateCondition();
            else
                m_skipToEnd = true;
        } else if (command == "Else") {
            if (arrival != Arrival::Branch)
                m_skipToEnd = true;
        } else if (command == "End") {
            // A stray End never drives the depth below zero.
            if (arrival != Arrival::WizardEnd && m_ifDepth > 0)
                --m_ifDepth;
        } else if (command == "GoTo Label") {
            GoToLabel();
        } else if (command == "Wizard Loop") {
            StartWizardLoop();
        } else if (const StatementHandler* handler = m_run.handlers.Find(command)) {
            StatementContext statement(m_script, m_run.engine, {m_host.ui, m_host.records}, Index(),
                                       m_navigating);
            (*handler)(statement);
            if (statement.ScriptEnded()) {
                m_navigating = false;
                m_pointer = Count();
                return;
            }
            if (m_navigating)
                SteerWizard(statement.PageResult());
        }
    }

    bool EvaluateCondition() const
    {
        std::string variable = Param(1);
        const std::string operatorCode = Param(2);
        std::string value = Param(3);
        const bool negate = TextToBool(Param(4));
        bool result;
        if (operatorCode == "5") {
            result = Vars().Exists(variable);
        } else {
            const EngineState& engine = m_run.engine;
            if (!engine.SelectedLanguage.empty()) {
                const std::string key = m_script.StatementKeyList.ItemOrEmpty(Index());
                variable = LocalizeParameter(m_script, engine.Translations, variable, key, 1);
                value = LocalizeParameter(m_script, engine.Translations, value, key, 2);
            }
            result =
                CompareIfOperands(operatorCode, Vars().ValueOf(variable), Vars().Expand(value));
        }
        return result != negate;
    }

    void GoToLabel()
    {
        const std::string label = Param(1);
        const auto found = m_labels.find(rtl::AnsiUpperCase(label));
        if (found == m_labels.end())
            throw rtl::Exception("LABEL undefined: " + label);
        // The Label itself comes next (a no-op), then the statement after it.
        m_pointer = found->second;
        ResetFlow();
    }

    void StartWizardLoop()
    {
        m_navigating = true;
        m_direction = 1;
        m_loopPageCount = 0;
        const int end = FindNextEnd(m_script, Index());
        for (int i = Index() + 1; i < end; ++i) {
            if (!IsCommentedOut(m_script, i) && !IsCommand(m_script, i, "Comment"))
                ++m_loopPageCount;
        }
    }

    void SteerWizard(int pageResult)
    {
        if (pageResult == 6)
            m_direction = 1;
        else if (pageResult == 7)
            m_direction = -1;
        else if (pageResult == 2)
            m_direction = 0;
    }

    void PublishProgress()
    {
        if (m_run.engine.ForegroundDialogWindow == 0)
            return;
        const std::string text = Vars().Get("PROGRESSTEXT");
        const int position = rtl::StrToIntDef(Vars().Get("PROGRESS"), 0);
        if (text == m_lastProgressText && position == m_lastProgress)
            return;
        m_lastProgressText = text;
        m_lastProgress = position;
        m_host.ui.PublishProgress(text, position);
    }

    void ReportRuntimeError(const std::string& message)
    {
        if (!Vars().SilentMode) {
            m_host.ui.ShowRuntimeError(m_run.engine.Messages->Text(kRuntimeErrorMessage) +
                                       "\r\rLine " + std::to_string(m_pointer) + ": " + message);
        }
        // A failed run must not report success to whoever started a silent setup.
        if (m_run.engine.ExitCode == 0)
            m_run.engine.ExitCode = kRuntimeFailureExitCode;
        m_host.resources.CloseInterpreterResources();
    }

    const ScriptRun& m_run;
    SetupScript& m_script;
    const InterpreterHost& m_host;
    int m_pointer = 0;  // StatementPointer: 1-based, 0 before the first statement
    int m_ifDepth = 0;
    bool m_skipToBranch = false;
    bool m_skipToEnd = false;
    bool m_navigating = false;
    int m_direction = 1;
    int m_loopPageCount = 0;
    std::unordered_map<std::string, int> m_labels;
    std::string m_appliedCacheOverride;
    UninstallLinkPoll m_uninstallLink;
    std::string m_lastProgressText;
    int m_lastProgress = 0;
};

}  // namespace

void ExecuteScript(const ScriptRun& run)
{
    Interpreter(run).Run();
}

}  // namespace setup::engine
