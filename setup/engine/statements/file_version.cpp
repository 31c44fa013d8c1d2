#include "setup/engine/statements/file_version.h"

#include <tuple>

#include "setup/engine/script/variables.h"

namespace setup::engine {

FileVersion FileVersionFromWords(std::uint32_t mostSignificant, std::uint32_t leastSignificant)
{
    return {true, mostSignificant >> 16, mostSignificant & 0xFFFF, leastSignificant >> 16,
            leastSignificant & 0xFFFF};
}

std::string FileVersionText(const FileVersion& version)
{
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.release) + "." + std::to_string(version.build);
}

FileVersion ParseFileVersionText(std::string text)
{
    FileVersion version;
    version.found = true;
    version.major = static_cast<std::uint32_t>(NextVersionField(text));
    version.minor = static_cast<std::uint32_t>(NextVersionField(text));
    version.release = static_cast<std::uint32_t>(NextVersionField(text));
    version.build = static_cast<std::uint32_t>(NextVersionField(text));
    return version;
}

bool IsNewerVersion(const FileVersion& a, const FileVersion& b)
{
    return std::tie(a.major, a.minor, a.release, a.build) >
           std::tie(b.major, b.minor, b.release, b.build);
}

}  // namespace setup::engine
