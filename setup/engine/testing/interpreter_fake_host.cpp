#include "setup/engine/testing/interpreter_fake_host.h"

#include "setup/engine/rtl/exceptions.h"

namespace setup::engine::testing {

namespace {

// Only "<prefix>*" patterns are needed.
bool Matches(const std::string& pattern, const std::string& path)
{
    const std::string prefix = pattern.substr(0, pattern.find('*'));
    return path.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::vector<std::string> FakeInterpreterHost::FindFiles(const std::string& pattern)
{
    std::vector<std::string> found;
    for (const std::string& file : files) {
        if (Matches(pattern, file))
            found.push_back(file);
    }
    for (const auto& [file, lines] : fileLines) {
        if (Matches(pattern, file) && files.count(file) == 0)
            found.push_back(file);
    }
    return found;
}

std::vector<std::string> FakeInterpreterHost::ReadLines(const std::string& path)
{
    const auto found = fileLines.find(path);
    if (found == fileLines.end())
        throw rtl::EInOutError("File not found", 2);
    return found->second;
}

}  // namespace setup::engine::testing
