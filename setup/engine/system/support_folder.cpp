#include "setup/engine/system/support_folder.h"

namespace setup::engine {
namespace {

// Far more setups than could ever run at once; the bound only keeps a broken folder from
// turning the search into an endless loop.
constexpr int kMaxSupportFolderNumber = 100000;

}  // namespace

std::optional<std::string> ClaimSupportDir(
    const std::string& tempDir, const std::function<CreateFolderResult(const std::string&)>& create)
{
    for (int n = 1; n <= kMaxSupportFolderNumber; ++n) {
        const std::string folder = tempDir + "qbr" + std::to_string(n);
        // Creating the folder is the claim: a folder that exists belongs to someone else.
        switch (create(folder)) {
            case CreateFolderResult::Created:
                return folder + "\\";
            case CreateFolderResult::AlreadyExists:
                continue;
            case CreateFolderResult::Failed:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace setup::engine
