#include "setup/engine/system/support_folder.h"

#include <gtest/gtest.h>

#include <set>

#ifdef _WIN32
#include <windows.h>

#include <mutex>
#include <thread>
#include <vector>
#endif

namespace {

using namespace setup::engine;

TEST(ClaimSupportDir, TakesTheFirstFolderItCreates)
{
    std::set<std::string> existing = {"C:\\Temp\\qbr1", "C:\\Temp\\qbr2", "C:\\Temp\\qbr4"};
    auto create = [&](const std::string& folder) {
        return existing.insert(folder).second ? CreateFolderResult::Created
                                              : CreateFolderResult::AlreadyExists;
    };
    EXPECT_EQ(ClaimSupportDir("C:\\Temp\\", create), "C:\\Temp\\qbr3\\");
    EXPECT_EQ(ClaimSupportDir("C:\\Temp\\", create), "C:\\Temp\\qbr5\\");

    EXPECT_EQ(ClaimSupportDir("C:\\Temp\\",
                              [](const std::string&) { return CreateFolderResult::Failed; }),
              std::nullopt);
    EXPECT_EQ(ClaimSupportDir("C:\\Temp\\",
                              [](const std::string&) { return CreateFolderResult::AlreadyExists; }),
              std::nullopt);
}

#ifdef _WIN32
TEST(ClaimSupportDir, ConcurrentSetupsGetFoldersOfTheirOwn)
{
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "support-folder-test\\";
    ::CreateDirectoryA(root.c_str(), nullptr);

    std::mutex lock;
    std::vector<std::string> claimed;
    std::vector<std::thread> setups;
    for (int i = 0; i < 8; ++i)
        setups.emplace_back([&] {
            const auto folder = ClaimSupportDir(root);
            std::lock_guard guard(lock);
            claimed.push_back(folder.value_or(""));
        });
    for (auto& setup : setups)
        setup.join();

    const std::set<std::string> distinct(claimed.begin(), claimed.end());
    EXPECT_EQ(distinct.size(), 8u);
    EXPECT_EQ(distinct.count(""), 0u);
    for (const auto& folder : claimed)
        ::RemoveDirectoryA(folder.c_str());
    ::RemoveDirectoryA(root.c_str());
}
#endif

}  // namespace
