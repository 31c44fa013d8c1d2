// The shell's Recycle Bin under Wine, in the data folder the test run gives it (XDG_DATA_HOME):
// files deleted with undo show up as entries. Wine keeps neither an entry's former path nor its
// stored file, so the names are all that can be checked here.
#include "core/scope_guard.h"
#include "suite/recyclebin/shell_recycle_bin_win32.h"
#include "tests/support/scratch_folder_win32.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <filesystem>

namespace trashwipe {
namespace {

bool MoveToRecycleBin(const std::wstring& path)
{
    std::wstring from = path + L'\0';  // a list of paths ends with an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

TEST(ShellRecycleBin, EnumeratesWhatWasDeletedWithUndo)
{
    wchar_t dataHome[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"XDG_DATA_HOME", dataHome, MAX_PATH) == 0)
        GTEST_SKIP() << "the host's own Recycle Bin is not used by tests";
    // The data folder is a host folder: Wine shows the host's root as drive Z:.
    std::wstring trash = std::wstring(L"Z:") + dataHome + L"/Trash";
    std::replace(trash.begin(), trash.end(), L'/', L'\\');
    std::error_code ignored;
    std::filesystem::remove_all(trash, ignored);
    const auto clean = core::MakeScopeGuard([&] { std::filesystem::remove_all(trash, ignored); });
    testsupport::ScratchFolder scratch;
    scratch.Write("trashwipe-one.txt", "one");
    scratch.Make("trashwipe-folder");
    scratch.Write("trashwipe-folder\\inner.txt", "inner");
    ASSERT_TRUE(MoveToRecycleBin(scratch / L"trashwipe-one.txt"));
    ASSERT_TRUE(MoveToRecycleBin(scratch / L"trashwipe-folder"));

    ShellRecycleBin bin;
    const std::vector<RecycleBinEntry> entries = bin.Enumerate();
    const auto listed = [&](const std::wstring& name) {
        return std::any_of(entries.begin(), entries.end(), [&](const RecycleBinEntry& entry) {
            return entry.displayPath.ends_with(name) && !entry.realPath.empty();
        });
    };
    EXPECT_TRUE(listed(L"trashwipe-one.txt"));
    EXPECT_TRUE(listed(L"trashwipe-folder"));
    EXPECT_FALSE(testsupport::FileExists(scratch / L"trashwipe-one.txt"));
}

}  // namespace
}  // namespace trashwipe
