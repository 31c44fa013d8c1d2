#include "shred/wipers/progress_file_win32.h"

#include "core/unique_handle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace shred::wipers::testing {
namespace {

void SomeFunction() {}

TEST(Win32ProgressSystem, ProbeTellsCodeFromStringsWithoutTouchingUnmappedMemory)
{
    Win32ProgressSystem system;
    EXPECT_TRUE(system.Probe(reinterpret_cast<const void*>(&SomeFunction)).executable);
    const ProgressArgument none = system.Probe(nullptr);
    EXPECT_FALSE(none.executable || none.text);

    const std::wstring path = L"C:\\some\\progress.xml";
    const ProgressArgument string = system.Probe(path.c_str());
    EXPECT_FALSE(string.executable);
    EXPECT_EQ(string.text, path);

    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    const DWORD page = info.dwPageSize;
    auto* block = static_cast<char*>(
        VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(block + page, page, PAGE_NOACCESS, &old));
    // Characters up to the end of the readable page and no terminator before the guard page.
    auto* tail = reinterpret_cast<wchar_t*>(block + page) - 4;
    for (int i = 0; i < 4; ++i)
        tail[i] = L'x';
    EXPECT_FALSE(system.Probe(tail).text.has_value());
    EXPECT_FALSE(system.Probe(block + page).text.has_value());
    VirtualFree(block, 0, MEM_RELEASE);
    const ProgressArgument released = system.Probe(block);
    EXPECT_FALSE(released.executable || released.text);

    // A real callback is never taken for a progress file, and a path never for code.
    EXPECT_EQ(ChooseProgressTarget(system, reinterpret_cast<const void*>(&SomeFunction)).callback,
              reinterpret_cast<void*>(&SomeFunction));
    const ProgressTarget unknownPath = ChooseProgressTarget(system, path.c_str());
    EXPECT_FALSE(unknownPath.FileMode());
    EXPECT_EQ(unknownPath.callback, nullptr);
}

std::wstring TempFile(const wchar_t* name)
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
}

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Win32ProgressSystem, ProgressFileOnDiskKeepsItsLengthAfterAShorterUpdate)
{
    const std::wstring path = TempFile(L"wipers-progress-");
    {
        std::ofstream out(path.c_str(), std::ios::binary);
        out << "<A/>\r\n<B/>\r\n<C/>\r\n";
    }
    Win32ProgressSystem system;
    ProgressTarget target = ChooseProgressTarget(system, path.c_str());
    ASSERT_TRUE(target.FileMode());
    target.file->Rewrite({kSlackOperation, 100, std::nullopt, kStatusInProgress});
    const std::string longText = ReadBytes(path);
    target.file->Rewrite({kSlackOperation, 5, std::nullopt, kStatusAborted});
    const std::string shortText =
        "<A/>\r\n<B/>\r\n<C/>\r\n<OperationName>Shred Slack Space"
        "</OperationName>\r\n<Progress>5</Progress>\r\n<Status>Aborted"
        "</Status>\r\n";
    const std::string onDisk = ReadBytes(path);
    ASSERT_EQ(onDisk.size(), longText.size());
    EXPECT_EQ(onDisk, shortText + std::string(longText.size() - shortText.size(), ' '));
    target.file.reset();
    DeleteFileW(path.c_str());
}

TEST(Win32ProgressSystem, ClientInputIsReadFromTheCurrentFolderAndLeftInPlace)
{
    Win32ProgressSystem system;
    DeleteFileW(L"ClientInput.dat");
    EXPECT_FALSE(system.ReadClientInput().has_value());
    {
        std::ofstream out("ClientInput.dat", std::ios::binary);
        out << "cmd\r\nABORT\r\n";
    }
    const std::optional<std::wstring> text = system.ReadClientInput();
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(ClientInputAbort(*text));
    EXPECT_NE(GetFileAttributesW(L"ClientInput.dat"), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(L"ClientInput.dat");
}

}  // namespace
}  // namespace shred::wipers::testing
