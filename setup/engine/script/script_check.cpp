#include "setup/engine/script/script_check.h"

#include <optional>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/condition.h"
#include "setup/engine/script/setup_script.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

constexpr std::string_view kPersistMarker = "$TARQ$TARQ$";
constexpr std::string_view kVariableRequired = "Variable required";
constexpr std::string_view kVariableNotDefined = "Variable not defined: ";

constexpr const char* kPredefinedNames[] = {"TARQ_COMPRESSCACHE",
                                            "TARQ_DISABLEROLLBACK",
                                            "TARQ_DISABLEVISTARESTARTMANAGER",
                                            "IISHOST",
                                            "OVERRIDECACHE",
                                            "TARQLOGO",
                                            "TIME",
                                            "DATE",
                                            "NEWINSTANCE",
                                            "SELECTED",
                                            "WINDOWHANDLE",
                                            "EXEDIR",
                                            "EXEFILE",
                                            "UNINSTALLLINK",
                                            "ENGINECACHE",
                                            "COPYWEBLOCK",
                                            "ABORT",
                                            "SILENT",
                                            "LOGGED",
                                            "CMDLINE",
                                            "REBOOTNOW",
                                            "SFXPATH",
                                            "SFXFILE",
                                            "LASTERROR",
                                            "PROGRESSTEXT",
                                            "PROGRESS",
                                            "LICENSE",
                                            "USERNAME",
                                            "USERCOMPANY",
                                            "REBOOTCOMPUTER",
                                            "RUNAPP",
                                            "WIZARD",
                                            "VERSION",
                                            "TARGETDIR",
                                            "STARTMENU",
                                            "ADVERTISE",
                                            "ALLUSERS",
                                            "COMPLETE",
                                            "MINIMUM",
                                            "PERSONALIZED",
                                            "MODIFY",
                                            "REPAIR",
                                            "REMOVE",
                                            "DATADIR",
                                            "PRODUCTCODE",
                                            "REVISIONCODE",
                                            "ROOTDIR",
                                            "MAINTENANCE",
                                            "NEWLINE",
                                            "NEEDSUPGRADE",
                                            "TITLE",
                                            "COMPANY",
                                            "TEMPDIR",
                                            "SUPPORTDIR",
                                            "MSIFILE",
                                            "LANGUAGE"};

// Names the interpreter and the installation detection define at run time beyond the list above;
// a script may refer to them as well.
constexpr const char* kRunTimeNames[] = {"GPOPATH",
                                         "TARQ_thProgress",
                                         "TARQ_thMax",
                                         "TARQ_thMin",
                                         "TARQ_thProgressText",
                                         "TARQ_thFinished",
                                         "TARQ_thCancelled",
                                         "TARQ_COMPRESS_INSTALLER_CACHE",
                                         "TARQ_DISABLE_ROLLBACK",
                                         "TARQ_DISABLE_VISTA_RESTART_MANAGER",
                                         "LOADOLDDATA"};

// A result variable is named bare or between dollar signs and stored upper-cased.
std::string ResultVariableName(std::string_view parameter)
{
    const std::string name = StripDollars(parameter);
    return rtl::AnsiUpperCase(name.empty() ? parameter : std::string_view(name));
}

// The name before the persist marker when the marker is followed by exactly "TRUE".
std::optional<std::string> PersistedName(const std::string& parameter)
{
    const size_t marker = parameter.find(kPersistMarker);
    if (marker == std::string::npos || parameter.substr(marker + kPersistMarker.size()) != "TRUE")
        return std::nullopt;
    return parameter.substr(0, marker);
}

class ScriptChecker
{
public:
    ScriptChecker(ScriptVariables& variables, const THashedStringList& commands,
                  const THashedStringList& keys, const THashedStringList& flags,
                  const std::vector<THashedStringList>& pools, rtl::TStringList& performed)
        : m_variables(variables),
          m_commands(commands),
          m_keys(keys),
          m_flags(flags),
          m_pools(pools),
          m_performed(performed)
    {}

    int Check(std::string& message)
    {
        Reset();
        if (!CheckNesting() || !CheckLabels())
            return Report(message);
        DefinePersistedVariables();
        if (!MainPass() || !CheckWizardLoops())
            return Report(message);
        message = "Script compiled successfully";
        return -1;
    }

private:
    size_t Count() const { return m_commands.Count(); }
    const std::string& Command(size_t i) const { return m_commands[i]; }
    bool CommentedOut(size_t i) const { return m_flags.ItemOrEmpty(i) == "C"; }
    std::string Param(size_t i, int n) const
    {
        return GetStatementParam(m_pools, m_keys.ItemOrEmpty(i), n);
    }

    bool Fail(long long index, std::string message)
    {
        m_index = static_cast<int>(index);
        m_message = std::move(message);
        return false;
    }
    int Report(std::string& message) const
    {
        message = m_message;
        return m_index;
    }

    void Define(std::string_view parameter)
    {
        if (!parameter.empty())
            m_variables.Set(ResultVariableName(parameter), "", "Compilation");
    }

    void Reset()
    {
        m_labels.Clear();
        m_performed.Clear();
        m_variables.Clear();
        for (const char* name : kPredefinedNames)
            m_variables.Set(name, "", "Compilation");
        for (const char* name : kRunTimeNames)
            m_variables.Set(name, "", "Compilation");
        m_variables.Set("PROGRESSMODE", "", "Initialization");
    }

    bool CheckNesting()
    {
        int depth = 0;
        int openings = 0;
        int closings = 0;
        for (size_t i = 0; i < Count(); ++i) {
            if (CommentedOut(i))
                continue;
            if (Command(i) == "If" || Command(i) == "Wizard Loop") {
                ++openings;
                ++depth;
            } else if (Command(i) == "End") {
                ++closings;
                --depth;
            } else if (Command(i) == "Label" && depth != 0) {
                return Fail(i, "LABEL statements cannot be nested inside loops/conditionals");
            }
        }
        if (closings < openings)
            return Fail(kEndImbalanceIndex, "Insufficient END statements");
        if (closings > openings)
            return Fail(kEndImbalanceIndex, "Too many END statements");
        return true;
    }

    bool CheckLabels()
    {
        for (size_t i = 0; i < Count(); ++i) {
            if (Command(i) != "Label")
                continue;
            const std::string label = Param(i, 1);
            const std::string upper = rtl::AnsiUpperCase(label);
            if (m_labels.IndexOf(upper) >= 0)
                return Fail(i, "LABEL re-defined: " + label);
            m_labels.Add(upper);
        }
        return true;
    }

    void DefinePersistedVariables()
    {
        for (size_t i = 0; i < Count(); ++i) {
            if (Command(i) != "Set Variable")
                continue;
            if (const auto name = PersistedName(Param(i, 1)); name && !name->empty()) {
                if (!m_variables.Exists(ResultVariableName(*name)))
                    Define(*name);
            }
        }
    }

    bool MainPass()
    {
        for (size_t i = 0; i < Count(); ++i) {
            m_performed.Add("SKIP");
            if (!CommentedOut(i) && !CheckStatement(i))
                return false;
        }
        return true;
    }

    bool RequireVariableReference(size_t i, const std::string& text, bool strict)
    {
        return IsVariableReference(m_variables, text, strict) ||
               Fail(i, std::string(kVariableNotDefined) + text);
    }

    // The rule a command's statements follow and the parameters it reads; a command without a
    // row passes unchecked.
    struct CommandRule
    {
        std::string_view command;
        bool (ScriptChecker::*check)(size_t i, const CommandRule& rule);
        int parameter = 0;
        int secondParameter = 0;
    };

    template <size_t N>
    static constexpr bool EachCommandOnce(const CommandRule (&rules)[N])
    {
        for (size_t a = 0; a < N; ++a) {
            for (size_t b = a + 1; b < N; ++b) {
                if (rules[a].command == rules[b].command)
                    return false;
            }
        }
        return true;
    }

    bool CheckStatement(size_t i)
    {
        using C = ScriptChecker;
        static constexpr CommandRule kRules[] = {
            // Parameters that name result variables.
            {"Get Folder Location", &C::DefineResults, 1},
            {"Get INI File Settings", &C::DefineResults, 1},
            {"Check File Version", &C::DefineResults, 1},
            {"Get System Settings", &C::DefineResults, 1},
            {"Get OS or SP Level", &C::DefineResults, 1},
            {"Read Registry", &C::DefineResults, 1},
            {"Check Registry", &C::DefineResults, 1},
            {"Does File/Folder Exist", &C::DefineResults, 1},
            {"Localization Variable", &C::DefineResults, 1},
            {"Get Temporary File", &C::DefineResults, 1},
            {"Get IIS Property", &C::DefineResults, 1},
            {"Get IIS Site List", &C::DefineResults, 1},
            {"Apply Patch", &C::DefineResults, 1},
            {"IIS Anonymous User", &C::DefineResults, 1},
            {"Get File Version", &C::DefineResults, 2},
            {"Get Environment", &C::DefineResults, 2},
            {"Get IIS Site Index", &C::DefineResults, 2},
            {"Run Light Mode Setup", &C::DefineResults, 2},
            {"Check Process", &C::DefineResults, 2},
            {"Apply Changes", &C::DefineResults, 2},
            {"Get Component State", &C::DefineResults, 2},
            {"Get Component Space", &C::DefineResults, 2},
            {"Extract 7Zip Archive", &C::DefineResults, 3},
            {"Check Service", &C::DefineResults, 3},
            {"Register Library", &C::DefineResults, 3},
            {"Mathematics", &C::DefineResults, 4},
            {"MessageBox", &C::DefineResults, 5},
            {"Run Program", &C::DefineResults, 4},
            {"Run Program As", &C::DefineResults, 8},
            {"Read from Text File", &C::DefineResults, 2, 3},
            {"Parse String", &C::DefineResults, 3, 4},
            // A result variable that must be given.
            {"Is MSI Setup Installed", &C::RequireResult, 2},
            {"Find All Files", &C::RequireResult, 4},
            {"Check Disk Space", &C::RequireResult, 1},
            // A variable changed in place, which must exist.
            {"Convert Path", &C::RequireReference, 1},
            {"Convert Case", &C::RequireReference, 1},
            {"Extract Path", &C::RequireReference, 1},
            {"Replace String", &C::RequireReference, 1},
            {"Set Variable", &C::CheckSetVariable},
            {"Web Media Block", &C::CheckWebMediaBlock},
            {"Evaluate Expression", &C::CheckExpression},
            {"If", &C::CheckCondition},
            {"Else If", &C::CheckCondition},
            {"GoTo Label", &C::CheckGoTo},
            {"Display Dialog", &C::CheckDisplayDialog},
            {"Delete Files", &C::CheckDeleteFiles},
            {"Install Files", &C::CheckInstallFiles},
            // Work the package carries out.
            {"Copy/Move Local Files", &C::MarkPackageBacked},
            {"Create Folder", &C::MarkPackageBacked},
            {"Create Shortcut", &C::MarkPackageBacked},
            {"Advertised Shortcut", &C::MarkPackageBacked},
            {"Edit INI File", &C::MarkPackageBacked},
            {"Install Assembly", &C::MarkPackageBacked},
            {"Set Environment", &C::MarkPackageBacked},
            {"Install Service", &C::MarkPackageBacked},
            {"Install ODBC Driver", &C::MarkPackageBacked},
            {"Create ODBC DSN", &C::MarkPackageBacked},
            {"Control Service", &C::MarkPackageBacked},
            {"Write Registry", &C::MarkPackageBacked},
            {"Create File Type", &C::MarkPackageBacked},
            {"Advertised File Type", &C::MarkPackageBacked},
        };
        static_assert(EachCommandOnce(kRules));
        const std::string& command = Command(i);
        for (const CommandRule& rule : kRules) {
            if (command == rule.command)
                return (this->*rule.check)(i, rule);
        }
        return true;
    }

    bool DefineResults(size_t i, const CommandRule& rule)
    {
        Define(Param(i, rule.parameter));
        if (rule.secondParameter != 0)
            Define(Param(i, rule.secondParameter));
        return true;
    }

    bool RequireResult(size_t i, const CommandRule& rule)
    {
        const std::string variable = Param(i, rule.parameter);
        if (variable.empty())
            return Fail(i, std::string(kVariableRequired));
        Define(variable);
        return true;
    }

    bool RequireReference(size_t i, const CommandRule& rule)
    {
        return RequireVariableReference(i, Param(i, rule.parameter), false);
    }

    bool CheckSetVariable(size_t i, const CommandRule&)
    {
        const std::string p1 = Param(i, 1);
        Define(p1.substr(0, p1.find(kPersistMarker)));
        return true;
    }

    bool CheckWebMediaBlock(size_t i, const CommandRule&)
    {
        const std::string name = Param(i, 1);
        std::string failure;
        if (!IsLegalFileName(name))
            failure = "Web Media Block name must be a legal file name";
        if (!name.empty() && Param(i, 2).empty())
            failure = "Web Media Block must have at least one download URL";
        return failure.empty() || Fail(i, failure);
    }

    bool CheckExpression(size_t i, const CommandRule&)
    {
        Define(Param(i, 2));
        return IsValidCondition(Param(i, 1)) ||
               Fail(i,
                    "Syntax error in expression. Please review the help topic \"Evaluate "
                    "Expression\" for the correct syntax.");
    }

    bool CheckCondition(size_t i, const CommandRule&)
    {
        const std::string p1 = Param(i, 1);
        const std::string p3 = Param(i, 3);
        if (p1.empty())
            return Fail(i, std::string(kVariableRequired));
        // When both fail, the message names the third parameter.
        return RequireVariableReference(i, p3, true) && RequireVariableReference(i, p1, false);
    }

    bool CheckGoTo(size_t i, const CommandRule&)
    {
        const std::string label = Param(i, 1);
        return m_labels.IndexOf(rtl::AnsiUpperCase(label)) >= 0 ||
               Fail(i, "LABEL undefined: " + label);
    }

    bool CheckDisplayDialog(size_t i, const CommandRule&)
    {
        if (Param(i, 1).empty())
            return Fail(i, "Dialog name not specified");
        Define(Param(i, 2));
        const std::string p4 = Param(i, 4);
        return p4.empty() || RequireVariableReference(i, p4, false);
    }

    bool CheckDeleteFiles(size_t i, const CommandRule& rule)
    {
        if (!TextToBool(Param(i, 3)) && !TextToBool(Param(i, 4)))
            return Fail(i, "At least one delete mode must be selected");
        return MarkPackageBacked(i, rule);
    }

    bool CheckInstallFiles(size_t i, const CommandRule& rule)
    {
        if (Param(i, 3).empty())
            return Fail(i,
                        "A target folder must be specified for files that are being "
                        "installed.\rThe value $TARGETDIR$ represents the destination folder "
                        "chosen by the user.");
        return MarkPackageBacked(i, rule);
    }

    bool MarkPackageBacked(size_t i, const CommandRule&)
    {
        m_performed[i] = "FALSE";
        return true;
    }

    // Only pages may stand between a Wizard Loop and its End. A commented-out End, like every
    // commented-out statement, is not part of the structure.
    bool CheckWizardLoops()
    {
        bool inLoop = false;
        for (size_t i = 0; i < Count(); ++i) {
            const std::string& command = Command(i);
            if (CommentedOut(i))
                continue;
            if (!inLoop) {
                inLoop = command == "Wizard Loop";
                continue;
            }
            if (command == "End")
                inLoop = false;
            else if (command != "Display Dialog" && command != "Comment" && command != "Ignore")
                return Fail(i,
                            "Statements other than DISPLAY DIALOG not allowed inside WIZARD LOOP");
        }
        return true;
    }

    ScriptVariables& m_variables;
    const THashedStringList& m_commands;
    const THashedStringList& m_keys;
    const THashedStringList& m_flags;
    const std::vector<THashedStringList>& m_pools;
    rtl::TStringList& m_performed;
    THashedStringList m_labels;
    int m_index = -1;
    std::string m_message;
};

}  // namespace

int CheckScript(ScriptVariables& variables, const THashedStringList& commands,
                const THashedStringList& keys, const THashedStringList& flags, std::string& message,
                const std::vector<THashedStringList>& pools)
{
    rtl::TStringList performed;
    return ScriptChecker(variables, commands, keys, flags, pools, performed).Check(message);
}

int CompileScript(ScriptVariables& variables, const THashedStringList& commands,
                  const THashedStringList& keys, const THashedStringList& flags,
                  std::string& message, const std::vector<THashedStringList>& pools,
                  rtl::TStringList& performed)
{
    return ScriptChecker(variables, commands, keys, flags, pools, performed).Check(message);
}

bool IsVariableReference(const ScriptVariables& variables, std::string_view text, bool strict)
{
    const std::string name = StripDollars(text);
    if (name.empty())
        return strict || variables.Exists(rtl::AnsiUpperCase(text));
    return variables.Exists(rtl::AnsiUpperCase(name));
}

bool IsLegalFileName(std::string_view text)
{
    const size_t separator = text.find_last_of("\\:");
    const std::string_view fileName =
        separator == std::string_view::npos ? text : text.substr(separator + 1);
    return fileName.find_first_of("\\/:*?\"<>|") == std::string_view::npos;
}

}  // namespace setup::engine
