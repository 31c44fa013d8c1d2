#include "setup/engine/workers/plugin_call_win32.h"

#include <gtest/gtest.h>

#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/testing/variable_names.h"
#include "setup/engine/workers/worker_protocol.h"

namespace {

using namespace setup::engine;

class PluginCallTest : public ::testing::Test, protected setup::engine::testing::VariableNames
{
protected:
    void SetUp() override { ASSERT_TRUE(setup::rtl::InitGuiThread()); }
    void TearDown() override { setup::rtl::DoneGuiThread(); }
    ScriptVariables& RunVariables() override { return m_variables; }

    std::string Run(const std::string& parameters, bool silent, std::function<int()> cancel = {})
    {
        PluginRequest request;
        request.libraryPath = "setup_probe_plugin.dll";
        request.variables = "A,1,B,two";
        request.parameters = parameters;
        request.report = &m_report;
        return RunPluginCommand(request, flags, PluginWait{silent, std::move(cancel)});
    }

    WorkerFlags flags;
    ScriptVariables m_variables;
    VariableWorkerReport m_report{m_variables.Store()};
};

TEST_F(PluginCallTest, ResultsComeBackAsCommaText)
{
    struct Case
    {
        std::string parameters;
        std::string result;
    };
    const Case cases[] = {
        {"echo", "A,1,B,two,PROBE,seen"},
        {"remove:A", "B,two"},
        {"fail", "A,1,B,two"},  // the variables stay as they were
        {"empty", ""},          // nothing: the statement reports a general failure
        {"overrun", "0123456789012345678901234567890123456789"},
    };
    for (bool silent : {false, true})
        for (const auto& c : cases)
            EXPECT_EQ(Run(c.parameters, silent), c.result) << c.parameters << " silent " << silent;
}

TEST_F(PluginCallTest, MissingLibraryOrExportGivesMinusOne)
{
    std::string result = "untouched";
    EXPECT_EQ(CallPluginLibrary(nullptr, "no-such-plugin.dll", "A,1", result, nullptr, nullptr, ""),
              -1);
    EXPECT_EQ(CallPluginLibrary(nullptr, "kernel32.dll", "A,1", result, nullptr, nullptr, ""), -1);
    EXPECT_EQ(result, "untouched");
}

TEST_F(PluginCallTest, ProgressLandsInTheThreadVariables)
{
    EXPECT_EQ(Run("progress", false), "A,1,B,two,PROBE,seen");
    EXPECT_EQ(GetVariable("TARQ_thProgress"), "50");
    EXPECT_EQ(GetVariable("TARQ_thProgressText"), "half way");
    EXPECT_EQ(GetVariable("TARQ_thMax"), "100");
    EXPECT_EQ(GetVariable("TARQ_thMin"), "1");
}

TEST_F(PluginCallTest, CancelMakesTheProgressCallbackSayStop)
{
    // A page's poll timer keeps messages coming while the plug-in runs, so cancel is noticed.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, nullptr);
    int polls = 0;
    // Cancelled from the third poll on: the plug-in sees false, returns, and its answer counts.
    EXPECT_EQ(Run("until-cancel", false, [&] { return ++polls >= 3 ? -1 : 0; }),
              "A,1,B,two,PROBE,seen");
    ::KillTimer(nullptr, timer);
    EXPECT_GE(polls, 3);
    EXPECT_EQ(GetVariable("TARQ_thProgressText"), "waiting");
}

}  // namespace
