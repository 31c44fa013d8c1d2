// The message statements: "MessageBox", "MessageBalloon" and "System Tray".
#include <algorithm>
#include <cstdint>
#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/exceptions.h"

namespace setup::engine {

namespace {

constexpr const char* kNoTrayIcon =
    "The notification-area icon is not available to this setup program";

// The system's message-box type flags, by the statement's icon and button codes.
constexpr std::uint32_t kIconFlags[] = {0x40, 0x20, 0x30, 0x10};  // information ... stop
constexpr std::uint32_t kButtonFlags[] = {0x2, 0x0, 0x1, 0x5, 0x4, 0x3};

std::uint32_t CodeFlag(std::int32_t code, const std::uint32_t* flags, std::int32_t count)
{
    return code >= 0 && code < count ? flags[code] : 0;
}

// The button the box answered with (IDOK 1 ... IDNO 7) as the statement's word; empty for none.
std::string ButtonWord(int button)
{
    static const char* const kWords[] = {"", "OK", "CANCEL", "ABORT", "RETRY", "IGNORE", "YES",
                                         "NO"};
    return button >= 1 && button <= 7 ? kWords[button] : "";
}

std::string LocalizedParam(StatementContext& statement, int n)
{
    return LocalizeExpanded(statement, ExpandedParam(statement, n), statement.Key(), n);
}

// The icon is cosmetic: a shell that refuses it (no Explorer, a service session) is reported in
// the runtime-error box and the setup goes on. False when it was refused.
template <class Call>
bool TryTrayIcon(StatementContext& statement, Call call)
{
    try {
        call();
        return true;
    } catch (const std::exception& failure) {
        statement.Host().ui.ShowRuntimeError(failure.what());
        return false;
    }
}

}  // namespace

void IUserInterface::SetTrayIcon(bool, const std::string&)
{
    throw rtl::Exception(kNoTrayIcon);
}

void IUserInterface::ShowTrayBalloon(const TrayBalloon&)
{
    throw rtl::Exception(kNoTrayIcon);
}

void MessageBoxStatement(StatementContext& statement)
{
    const ResultVariable resultVariable(statement, statement.Param(5));
    const std::string title = LocalizedParam(statement, 1);
    const std::string text = LocalizedParam(statement, 2);
    const std::uint32_t flags =
        CodeFlag(TextToInt32(statement.Param(3)), kIconFlags, 4) +
        CodeFlag(TextToInt32(statement.Param(4)), kButtonFlags, 6);
    if (statement.Vars().SilentMode)
        return;
    const int button = statement.Host().ui.ShowMessageBox(
        statement.Engine().ForegroundDialogWindow, title, text, flags);
    const std::string word = ButtonWord(button);
    if (!word.empty())
        resultVariable.Assign(word);
}

void MessageBalloonStatement(StatementContext& statement)
{
    const std::string title = LocalizedParam(statement, 1);
    const std::string text = LocalizedParam(statement, 2);
    const std::int32_t icon = TextToInt32(statement.Param(3));
    const std::int32_t seconds = std::clamp(TextToInt32(statement.Param(4)), 10, 30);
    if (statement.Vars().SilentMode)
        return;
    TrayBalloon balloon;
    balloon.title = title;
    balloon.text = text;
    balloon.kind = icon >= 0 && icon <= 2 ? icon + 1 : 0;
    balloon.timeoutMs = static_cast<std::uint32_t>(seconds) * 1000;
    balloon.hint = statement.Vars().Get("TITLE");
    TryTrayIcon(statement, [&] { statement.Host().ui.ShowTrayBalloon(balloon); });
}

void SystemTrayStatement(StatementContext& statement)
{
    IUserInterface& ui = statement.Host().ui;
    const std::uintptr_t window = statement.Engine().ForegroundDialogWindow;
    const bool silent = statement.Vars().SilentMode;
    const std::string hint = statement.Vars().Get("TITLE");
    auto showIcon = [&] { return TryTrayIcon(statement, [&] { ui.SetTrayIcon(true, hint); }); };
    // Without its icon the window would have no way back: it stays on screen.
    if (IsExactlyTrue(statement.Param(1)) && (silent || showIcon()))
        ui.MinimizeToTray(window);
    if (IsExactlyTrue(statement.Param(2)) && !silent)
        showIcon();
    if (IsExactlyTrue(statement.Param(3)))
        ui.RestoreFromTray(window);
    if (IsExactlyTrue(statement.Param(4))) {
        TryTrayIcon(statement, [&] { ui.SetTrayIcon(false, hint); });
        ui.RestoreFromTray(window);
    }
}

void RegisterDialogStatements(StatementHandlerTable& table)
{
    table.Register("Display Dialog", DisplayDialogStatement);
    table.Register("Hide Dialog", HideDialogStatement);
    table.Register("MessageBox", MessageBoxStatement);
    table.Register("MessageBalloon", MessageBalloonStatement);
    table.Register("System Tray", SystemTrayStatement);
}

}  // namespace setup::engine
