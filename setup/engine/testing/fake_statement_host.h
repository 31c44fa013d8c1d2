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
    PageResult ShowDialog(const std::string& key, bool modal, bool inWizardLoop) override
    {
        events.push_back("page " + key + (modal ? " modal" : " modeless") +
                         (inWizardLoop ? " loop" : ""));
        if (pageResults.empty())
            return {6, "", 0};
        PageResult result = pageResults.front();
        pageResults.pop_front();
        return result;
    }
    void ShowRuntimeError(const std::string& text) override { errors.push_back(text); }
    int CheckCancel() override { return cancelState; }
    void PublishProgress(const std::string& text, int position) override
    {
        events.push_back("progress " + text + " " + std::to_string(position));
    }
};

}  // namespace setup::engine::testing
