// File versions as the file statements read and compare them: the four 16-bit numbers of a
// version resource's fixed information, their dotted text and the dotted text a script gives.
#pragma once

#include <cstdint>
#include <string>

namespace setup::engine {

struct FileVersion
{
    bool found = false;  // the file has a version resource
    // 16-bit numbers from a resource; a script's text may give larger ones, compared unsigned.
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t release = 0;
    std::uint32_t build = 0;
};

// The fixed information's two version double words split into their halves.
FileVersion FileVersionFromWords(std::uint32_t mostSignificant, std::uint32_t leastSignificant);
// "major.minor.release.build"; "0.0.0.0" for a file without a version.
std::string FileVersionText(const FileVersion& version);
// Four fields of a dotted text: missing ones are 0, further ones ignored. A field before a '.'
// that is not a number raises EConvertError; the last one counts as 0.
FileVersion ParseFileVersionText(std::string text);
// Major, then minor, release and build, as unsigned numbers.
bool IsNewerVersion(const FileVersion& a, const FileVersion& b);

}  // namespace setup::engine
