// The setup program's support folder: "qbr" + N under the temporary folder, for the first N whose
// folder this run creates itself, so that two setups running at once never share one.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace setup::engine {

enum class CreateFolderResult
{
    Created,
    AlreadyExists,
    Failed,
};

// tempDir ends with '\'. Returns the claimed folder with a trailing '\', or nothing when a folder
// cannot be created for another reason or no number is free.
std::optional<std::string> ClaimSupportDir(
    const std::string& tempDir,
    const std::function<CreateFolderResult(const std::string&)>& create);

// The same with the real file system.
std::optional<std::string> ClaimSupportDir(const std::string& tempDir);

}  // namespace setup::engine
