// Writes a setup as it ships, for tests and the demo: the program with its compiled script
// appended, and beside it the resource archive, the package and the archive library with the
// language strings appended.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct SetupImage
{
    std::string programName = "setup";  // file name without ".exe"
    // Appended to the program; nothing appended when empty.
    std::string script;
    // Files copied beside the program under the program's name: ".res", ".msi", ".msp". A
    // missing source leaves the file out.
    std::optional<std::string> resourceArchiveSource;
    std::optional<std::string> packageSource;
    std::optional<std::string> patchSource;
    // The archive library copied in as "qbr.lib", the language strings file appended to it.
    std::optional<std::string> archiveLibrarySource;
    std::string languageStrings;
    // Further files: name beside the program, source path.
    std::vector<std::pair<std::string, std::string>> extraFiles;
};

// Creates the folder when needed and returns the program's path. Raises std::runtime_error when
// a file cannot be read or written.
std::string WriteSetupImage(const std::string& folder, const std::string& programSource,
                            const SetupImage& image);

// A language strings file: the default block, then one section per (language, block); each
// block is filled up to the 115 lines with the texts given first.
std::string BuildLanguageStrings(
    const std::vector<std::string>& defaultBlock,
    const std::vector<std::pair<std::string, std::vector<std::string>>>& sections);

}  // namespace testsupport
