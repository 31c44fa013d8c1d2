// The part of the interpreter host a statement reaches, faked for tests: scripted page results and
// cancel state, the language form and the runtime errors shown; every call that acts is recorded
// as one line of text in `events`.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "setup/engine/interpreter/interpreter_host.h"
#include "setup/engine/interpreter/interpreter_statements.h"

namespace setup::engine::testing {

class FakeStatementHost : public IUserInterface, public ISetupRecords
{
public:
    std::vector<std::string> events;
    std::vector<std::string> errors;     // runtime-error texts shown
    std::deque<PageResult> pageResults;  // answers of ShowDialog; 6 when none is left
    LanguageChoice languageChoice;
    std::vector<std::string> languageEntries;  // as the form was given them
    int languagePreselected = -1;
    int cancelState = 0;
    int messageAnswer = 1;   // the button ShowMessageBox answers with (IDOK)
    bool trayIcon = false;   // without it the tray statements raise, as the setup program's do

    StatementHost Statements() { return {*this, *this}; }

    void DeleteRunValue(const std::string& name) override
    {
        events.push_back("delete run " + name);
    }
    void AddMSIProperty(const std::string& name, const std::string& value) override
    {
        events.push_back("property " + name + "=" + value);
    }
    void LoadLanguageStrings(const std::string& path) override
    {
        events.push_back("language strings " + path);
    }
    LanguageChoice ShowLanguageForm(const std::vector<std::string>& entries,
                                    int preselected) override
    {
        languageEntries = entries;
        languagePreselected = preselected;
        events.push_back("language form");
        return languageChoice;
    }
    void ReleaseDialog(const std::string& key) override { events.push_back("release " + key); }
    void PrepareDialog(const std::string& key, std::uintptr_t ownerWindow) override
    {
        events.push_back("prepare " + key + " owner " + std::to_string(ownerWindow));
    }
    PageResult ShowDialog(const std::string& key, bool modal) override
    {
        events.push_back("page " + key + (modal ? " modal" : " modeless"));
        if (pageResults.empty())
            return {6, "", 0};
        PageResult result = pageResults.front();
        pageResults.pop_front();
        return result;
    }
    void HideDialog(const std::string& key) override { events.push_back("hide " + key); }
    int ShowMessageBox(std::uintptr_t owner, const std::string& title, const std::string& text,
                       std::uint32_t flags) override
    {
        events.push_back("message " + std::to_string(owner) + " " + title + "|" + text + " " +
                         std::to_string(flags));
        return messageAnswer;
    }
    void MinimizeToTray(std::uintptr_t window) override
    {
        events.push_back("minimize " + std::to_string(window));
    }
    void RestoreFromTray(std::uintptr_t window) override
    {
        events.push_back("restore " + std::to_string(window));
    }
    void SetTrayIcon(bool visible, const std::string& hint) override
    {
        if (!trayIcon)
            IUserInterface::SetTrayIcon(visible, hint);
        events.push_back(std::string(visible ? "tray icon " : "no tray icon ") + hint);
    }
    void ShowTrayBalloon(const TrayBalloon& balloon) override
    {
        if (!trayIcon)
            IUserInterface::ShowTrayBalloon(balloon);
        events.push_back("balloon " + balloon.title + "|" + balloon.text + " " +
                         std::to_string(balloon.kind) + " " + std::to_string(balloon.timeoutMs) +
                         " " + balloon.hint);
    }
    void ShowRuntimeError(const std::string& text) override { errors.push_back(text); }
    int CheckCancel() override { return cancelState; }
    void PublishProgress(const std::string& text, int position) override
    {
        events.push_back("progress " + text + " " + std::to_string(position));
    }
};

}  // namespace setup::engine::testing
