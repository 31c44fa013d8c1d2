// Statements per second of Deployrun running a script of simple statements, for two script
// lengths, each less the start-up time (the same setup with an empty script). Equal rates mean the
// time grows linearly with the script. Usage: interpreter_bench [statements] (default 100000).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/compiled_script_builder.h"
#include "tests/support/process_runner_win32.h"
#include "tests/support/setup_image_writer.h"
#include "bench/bench_support_win32.h"

namespace {

using bench::BinDir;
using bench::Now;

// Seconds one silent run of a setup with this many statements takes; negative on failure.
double TimeRun(const std::string& work, int statements)
{
    std::string description;
    for (int i = 0; i < statements; ++i)
        description +=
            "Set Variable | V" + std::to_string(i % 64) + " | " + std::to_string(i) + "\n";
    testsupport::SetupImage image;
    image.script = testsupport::BuildCompiledScript(testsupport::ParseStatements(description), {});
    image.resourceArchiveSource = BinDir() + "deployrun_fixture.res";
    image.packageSource = BinDir() + "deployrun_fixture.res";
    image.archiveLibrarySource = BinDir() + "qbr.lib";
    const std::string folder = work + "run" + std::to_string(statements);
    const std::string program =
        testsupport::WriteSetupImage(folder, BinDir() + "Deployrun.exe", image);
    testsupport::ProcessOptions options;
    options.timeoutMs = 1800000;
    options.environment = {{"TMP", work}, {"TEMP", work}};
    const double start = Now();
    const testsupport::ProcessResult result = testsupport::RunProcess(program, options);
    const double seconds = Now() - start;
    if (!result.started || result.timedOut || result.exitCode != 0) {
        std::fprintf(stderr, "run of %d statements failed: exit code %u\n", statements,
                     result.exitCode);
        return -1;
    }
    return seconds;
}

double BestRun(const std::string& work, int statements)
{
    double best = TimeRun(work, statements);
    for (int run = 0; run < 2 && best >= 0; ++run) {
        const double seconds = TimeRun(work, statements);
        best = seconds < 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const int large = argc > 1 ? std::atoi(argv[1]) : 100000;
    // A quarter, not a tenth: a tenth runs for less than the start-up time varies by.
    const int small = large / 4;
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string work =
        std::string(temp) + "interpreter-bench-" + std::to_string(::GetCurrentProcessId()) + "\\";
    std::filesystem::create_directories(work);

    // The first run also starts Wine's services. Each figure is the best of three runs after it:
    // the short script runs for little longer than the start-up, so one slow start would swamp it.
    TimeRun(work, 0);
    const double empty = BestRun(work, 0);
    const double smallRun = BestRun(work, small);
    const double largeRun = BestRun(work, large);
    std::error_code ignored;
    std::filesystem::remove_all(work, ignored);
    if (empty < 0 || smallRun < 0 || largeRun < 0)
        return 1;
    if (smallRun <= empty || largeRun <= empty) {
        std::printf("a script ran no longer than the empty one; the machine is too busy to tell\n");
        return 1;
    }
    const double smallRate = small / (smallRun - empty);
    const double largeRate = large / (largeRun - empty);
    std::printf("empty script: %.2f s\n", empty);
    std::printf("%d statements: %.2f s, %.0f statements/s\n", small, smallRun, smallRate);
    std::printf("%d statements: %.2f s, %.0f statements/s\n", large, largeRun, largeRate);
    std::printf("rate ratio %d/%d: %.2f (1.00 = linear)\n", large, small, largeRate / smallRate);
    return 0;
}
