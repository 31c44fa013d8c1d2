// State files kept in memory for tests: the replace step can be made to fail, and every write,
// move and removal is recorded.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "setup/engine/components/component_state_file.h"
#include "setup/engine/rtl/exceptions.h"

namespace setup::engine::testing {

class MemoryStateFileStore : public IStateFileStore
{
public:
    std::map<std::string, std::string> files;
    std::vector<std::string> actions;
    bool failReplace = false;

    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    std::string ReadText(const std::string& path) override
    {
        const auto found = files.find(path);
        if (found == files.end())
            throw rtl::EFOpenError(path);
        return found->second;
    }
    void WriteText(const std::string& path, std::string_view text) override
    {
        actions.push_back("write " + path);
        files[path] = std::string(text);
    }
    void Replace(const std::string& source, const std::string& target) override
    {
        actions.push_back("replace " + target + " by " + source);
        if (failReplace)
            throw rtl::EInOutError("Cannot replace file \"" + target + "\"", 5);
        files[target] = files.at(source);
        files.erase(source);
    }
    void Remove(const std::string& path) override
    {
        actions.push_back("remove " + path);
        files.erase(path);
    }
    std::string ShortPath(const std::string& path) override { return "SHORT(" + path + ")"; }
};

}  // namespace setup::engine::testing
