#include "setup/deployrun/startup_system_win32.h"

#include <windows.h>

#include <algorithm>

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/script/image_overlay.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/system/file_utils_win32.h"
#include "setup/engine/system/setup_messages_win32.h"
#include "setup/engine/system/support_folder.h"
#include "setup/engine/system/system_helpers_win32.h"
#include "setup/sysconfig/trace_log.h"

namespace setup::deployrun {

namespace {

// The headers of a loaded image lie in its first page; the section table never reaches past it
// in an image the linker wrote.
constexpr std::size_t kHeaderBytes = 4096;

std::optional<std::uint64_t> ModuleImageEnd(HMODULE module)
{
    return engine::ImageEndFromHeaders(reinterpret_cast<const std::uint8_t*>(module), kHeaderBytes);
}

// The bytes of a file after imageEnd; nothing when it holds no more than its image.
std::optional<std::string> ReadFileTail(const std::string& path, std::uint64_t imageEnd)
{
    core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw rtl::EFOpenError(path);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        throw rtl::EReadError();
    const auto length = static_cast<std::uint64_t>(size.QuadPart);
    if (length <= imageEnd)
        return std::nullopt;
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(imageEnd);
    if (!::SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN))
        throw rtl::EReadError();
    std::string data(static_cast<std::size_t>(length - imageEnd), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1 << 20));
        DWORD read = 0;
        if (!::ReadFile(file.Get(), data.data() + done, chunk, &read, nullptr) || read == 0)
            throw rtl::EReadError();
        done += read;
    }
    return data;
}

}  // namespace

void Win32StartupSystem::SetProcessAffinity()
{
    engine::SetProcessAffinity(::GetCurrentProcess(), 1);
}

std::string Win32StartupSystem::ProgramFile()
{
    char buffer[MAX_PATH] = {};
    const DWORD length = engine::GetModuleFileNameSafe(nullptr, buffer, MAX_PATH);
    return length == ERROR_INSUFFICIENT_BUFFER ? std::string(buffer) : std::string(buffer, length);
}

std::string Win32StartupSystem::TempDir()
{
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, buffer);
    const std::string folder =
        length == 0 || length >= MAX_PATH ? std::string() : std::string(buffer, length);
    const std::string withBackslash = engine::IncludeBackslash(folder);
    engine::ForceDirectoriesAnsi(withBackslash);
    return withBackslash;
}

std::string Win32StartupSystem::WindowsDir()
{
    return engine::GetWindowsDir();
}

std::vector<std::string> Win32StartupSystem::Arguments()
{
    std::vector<std::string> arguments;
    const std::string commandLine = ::GetCommandLineA();
    for (int i = 1;; ++i) {
        std::string argument = engine::ParamStrOf(commandLine, i);
        if (argument.empty())
            break;
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string Win32StartupSystem::RawCommandLine()
{
    return ::GetCommandLineA();
}

std::optional<std::string> Win32StartupSystem::LibraryOverlay(const std::string& libraryPath)
{
    // Loading it proves it is the archive library and gives its image's headers.
    core::UniqueModule library(::LoadLibraryA(libraryPath.c_str()));
    if (!library)
        return std::nullopt;
    const auto imageEnd = ModuleImageEnd(library.Get());
    if (!imageEnd)
        return std::nullopt;
    try {
        return ReadFileTail(libraryPath, *imageEnd);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string Win32StartupSystem::UserLanguageName()
{
    return engine::UserLanguageName();
}

std::optional<std::string> Win32StartupSystem::ProgramOverlay()
{
    const auto imageEnd = ModuleImageEnd(::GetModuleHandleA(nullptr));
    if (!imageEnd)
        throw rtl::Exception("The setup program's image headers cannot be read");
    return ReadFileTail(ProgramFile(), *imageEnd);
}

std::optional<std::string> Win32StartupSystem::ClaimSupportDir(const std::string& tempDir)
{
    return engine::ClaimSupportDir(tempDir);
}

bool Win32StartupSystem::FileExists(const std::string& path)
{
    return engine::FileExistsAnsi(path);
}

bool Win32StartupSystem::DirectoryExists(const std::string& path)
{
    return engine::DirectoryExistsAnsi(engine::ExcludeBackslash(path));
}

void Win32StartupSystem::CopyPackage(const std::string& source, const std::string& target)
{
    if (!::CopyFileA(source.c_str(), target.c_str(), FALSE))
        throw rtl::EFCreateError(target);
    ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

void Win32StartupSystem::RemoveSupportDir(const std::string& folder)
{
    // Files still held open by a scanner or a slow plug-in are often free on the next pass.
    for (int pass = 0; pass < 3; ++pass)
        engine::DeleteFolderTree(folder, true);
    ::RemoveDirectoryA(engine::ExcludeBackslash(folder).c_str());
}

void Win32StartupSystem::Trace(const std::string& path, const std::string& line)
{
    sysconfig::WriteTraceLog(path, line);
}

}  // namespace setup::deployrun
