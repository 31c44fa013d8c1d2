// The suite at work under Wine: each section drives a deliverable through its exports. Without an
// argument every section runs; with one, only the section of that name.
#include <cstring>

#include "demo/demo_library.h"

namespace {

struct Section
{
    const char* name;
    const char* heading;
    bool (*run)();
};

constexpr Section kSections[] = {
    {"cipher", "Cipherkit: digests and pass-phrase encryption of a sample text",
     demo::RunCipherDemo},
    {"language", "Lingotext: texts and a bitmap of the German language library",
     demo::RunLanguageDemo},
    {"process", "Setupaid: running programs counted by name", demo::RunProcessDemo},
    {"shred", "Volumewipe and Filewipe: a folder tree's slack wiped, then the tree shredded",
     demo::RunShredDemo},
    {"update", "Refreshkit: a silent update check against a loopback update server",
     demo::RunUpdateDemo},
};

}  // namespace

int main(int argc, char** argv)
{
    const char* only = argc > 1 ? argv[1] : nullptr;
    bool ok = true;
    bool ran = false;
    for (const Section& section : kSections) {
        if (only && std::strcmp(only, section.name) != 0)
            continue;
        std::printf("== %s\n", section.heading);
        const bool worked = section.run();
        if (!worked)
            std::printf("  this section FAILED\n");
        ok = ok && worked;
        ran = true;
    }
    if (!ran) {
        std::printf("no section named %s\n", only);
        return 2;
    }
    std::fflush(stdout);
    return ok ? 0 : 1;
}
