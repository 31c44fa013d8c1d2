// The setup's silent start to exit with a one-statement script against an empty program that
// loads the same libraries, each started from this process.
// Usage: startup_bench write <folder>            writes the setup, prints its program's path
//        startup_bench time <program> <libraries> [rounds]
// <libraries> is a file with one library name a line: what the setup loaded in a trial run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/compiled_script_builder.h"
#include "tests/support/process_runner_win32.h"
#include "tests/support/setup_image_writer.h"
#include "bench/bench_support_win32.h"

namespace {

using bench::BinDir;
using bench::Now;

int Write(const std::string& folder)
{
    testsupport::SetupImage image;
    image.script = testsupport::BuildCompiledScript(
        testsupport::ParseStatements("Set Variable | DONE | 1\n"), {});
    image.resourceArchiveSource = BinDir() + "deployrun_fixture.res";
    image.packageSource = BinDir() + "deployrun_fixture.res";
    image.archiveLibrarySource = BinDir() + "qbr.lib";
    std::printf("%s\n",
                testsupport::WriteSetupImage(folder, BinDir() + "Deployrun.exe", image).c_str());
    return 0;
}

// Seconds from start to exit; negative when the run failed.
double TimeRun(const std::string& program, const std::string& arguments)
{
    testsupport::ProcessOptions options;
    options.arguments = arguments;
    const double start = Now();
    const testsupport::ProcessResult result = testsupport::RunProcess(program, options);
    const double seconds = Now() - start;
    if (!result.started || result.timedOut || result.exitCode != 0) {
        std::fprintf(stderr, "%s failed: exit code %u\n", program.c_str(), result.exitCode);
        return -1;
    }
    return seconds;
}

int Time(const std::string& program, const std::string& libraries, int rounds)
{
    const std::string baseline = BinDir() + "startup_baseline.exe";
    std::vector<double> ratios;
    TimeRun(program, "/qn");  // the first start also warms Wine's caches
    for (int round = 0; round < rounds; ++round) {
        const double setup = TimeRun(program, "/qn");
        const double empty = TimeRun(baseline, "\"" + libraries + "\"");
        if (setup < 0 || empty < 0)
            return 1;
        ratios.push_back(setup / empty);
        std::printf("round %d: setup %.1f ms, empty program %.1f ms, ratio %.2f\n", round + 1,
                    setup * 1000, empty * 1000, setup / empty);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("silent one-statement setup/empty program (goal at most 1.05): min %.2f, median "
                "%.2f, max %.2f\n",
                ratios.front(), ratios[ratios.size() / 2], ratios.back());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "write")
        return Write(argv[2]);
    if ((argc == 4 || argc == 5) && std::string(argv[1]) == "time")
        return Time(argv[2], argv[3], argc == 5 ? std::max(1, std::atoi(argv[4])) : 10);
    std::fprintf(stderr, "usage: startup_bench write <folder> | time <program> <libraries> "
                         "[rounds]\n");
    return 2;
}
