// Time to read and check a compiled script of simple statements, for two script lengths, and the
// ratio of their rates: 1.00 when the time grows linearly with the script. Portable, so the same
// figures come natively and under Wine. Usage: script_read_bench [statements] (default 100000).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "setup/engine/script/script_check.h"
#include "setup/engine/script/setup_script.h"
#include "tests/support/compiled_script_builder.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Timing
{
    double read = 0;
    double check = 0;
};

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The same statements the interpreter benchmark runs.
std::string ScriptText(int statements)
{
    std::string description;
    for (int i = 0; i < statements; ++i)
        description +=
            "Set Variable | V" + std::to_string(i % 64) + " | " + std::to_string(i) + "\n";
    return testsupport::BuildCompiledScript(testsupport::ParseStatements(description), {});
}

// The best of three passes, so a busy machine counts less.
Timing TimeRead(const std::string& text)
{
    Timing best;
    for (int pass = 0; pass < 3; ++pass) {
        auto start = Clock::now();
        const setup::engine::SetupScript script = setup::engine::ReadSetupScript(text);
        const double read = Seconds(start);
        std::string message;
        setup::rtl::TStringList performed;
        setup::engine::ScriptVariables variables;
        start = Clock::now();
        const int result = setup::engine::CompileScript(
            variables, script.CommandList, script.StatementKeyList, script.StatementFlagList,
            message, script.ParameterPools, performed);
        const double check = Seconds(start);
        if (result != -1) {
            std::fprintf(stderr, "the script does not check: %s\n", message.c_str());
            std::exit(1);
        }
        best.read = pass == 0 ? read : std::min(best.read, read);
        best.check = pass == 0 ? check : std::min(best.check, check);
    }
    return best;
}

void Print(int statements, std::size_t bytes, const Timing& timing)
{
    std::printf(
        "%d statements (%.1f MB): read %.3f s (%.0f statements/s), check %.3f s "
        "(%.0f statements/s)\n",
        statements, static_cast<double>(bytes) / 1e6, timing.read, statements / timing.read,
        timing.check, statements / timing.check);
}

}  // namespace

int main(int argc, char** argv)
{
    const int large = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int small = large / 10;
    const std::string smallText = ScriptText(small);
    const std::string largeText = ScriptText(large);
    const Timing smallTiming = TimeRead(smallText);
    const Timing largeTiming = TimeRead(largeText);
    Print(small, smallText.size(), smallTiming);
    Print(large, largeText.size(), largeTiming);
    std::printf("read rate ratio %d/%d: %.2f (1.00 = linear)\n", large, small,
                (smallTiming.read * large / small) / largeTiming.read);
    std::printf("check rate ratio %d/%d: %.2f (1.00 = linear)\n", large, small,
                (smallTiming.check * large / small) / largeTiming.check);
    return 0;
}
