#include "setup/engine/system/system_helpers_win32.h"
#include "setup/engine/system/file_utils_win32.h"

#include <gtest/gtest.h>

namespace {

using namespace setup::engine;

TEST(SystemHelpers, AffinityPinsTheProcessToTheFirstProcessor)
{
    DWORD_PTR processMask = 0;
    DWORD_PTR systemMask = 0;
    ASSERT_TRUE(::GetProcessAffinityMask(::GetCurrentProcess(), &processMask, &systemMask));
    EXPECT_TRUE(SetProcessAffinity(::GetCurrentProcess(), 1));
    DWORD_PTR pinned = 0;
    ASSERT_TRUE(::GetProcessAffinityMask(::GetCurrentProcess(), &pinned, &systemMask));
    EXPECT_EQ(pinned, 1u);
    SetProcessAffinity(::GetCurrentProcess(), processMask);
}

TEST(SystemHelpers, ExistenceChecksTellFilesFromFolders)
{
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "system-helpers-test";
    const std::string file = folder + "\\present.txt";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CloseHandle(::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(FileExistsAnsi(file));
    EXPECT_FALSE(FileExistsAnsi(folder));
    EXPECT_FALSE(FileExistsAnsi(folder + "\\absent.txt"));
    EXPECT_TRUE(DirectoryExistsAnsi(folder));
    EXPECT_FALSE(DirectoryExistsAnsi(file));
    EXPECT_FALSE(DirectoryExistsAnsi(folder + "\\absent"));
    ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
