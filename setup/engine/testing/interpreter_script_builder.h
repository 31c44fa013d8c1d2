// Builds compiled scripts for interpreter tests in memory: one statement per line in the form
// "Command|param 1|param 2", a leading '#' marking a commented-out statement.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "setup/engine/script/setup_script.h"

namespace setup::engine::testing {

class ScriptBuilder
{
public:
    ScriptBuilder& Add(const std::string& line);
    ScriptBuilder& Lines(std::initializer_list<std::string> lines);
    ScriptBuilder& Plugin(std::string command);
    // Records a command header for the statement (0-based index).
    ScriptBuilder& Header(int index, std::string header);
    ScriptBuilder& Title(std::string title);
    ScriptBuilder& ProductCode(std::string code);
    SetupScript Build() const;

    static std::string KeyOf(int index);

private:
    struct Statement
    {
        std::string command;
        std::vector<std::string> params;
        bool commentedOut = false;
    };
    std::vector<Statement> m_statements;
    std::vector<std::string> m_plugins;
    std::vector<std::pair<int, std::string>> m_headers;
    std::string m_title = "Test Product";
    std::string m_productCode = "{1A2B3C4D-0000-0000-0000-000000000000}";
};

SetupScript BuildScript(std::initializer_list<std::string> lines);

}  // namespace setup::engine::testing
