#include "setup/engine/interpreter/interpreter_host_win32.h"

#include <windows.h>

#include <algorithm>

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/rtl/stream.h"
#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/system/file_utils_win32.h"

namespace setup::engine {

namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void DeleteValue(HKEY root, const std::string& name)
{
    core::UniqueKey key;
    if (::RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE, key.Put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.Get(), name.c_str());
}

// A missing key or value, or a value that is not text, reads as the empty text: USERNAME is
// read at start, and an odd value there must not end the whole setup.
std::string ReadCurrentVersionValue(const char* valueName)
{
    const std::string path = std::string("SOFTWARE\\Microsoft\\") +
                             (engine::IsWindowsNT() ? "Windows NT" : "Windows") +
                             "\\CurrentVersion\\";
    core::UniqueKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return {};
    std::string value(size, '\0');
    if (size != 0 &&
        ::RegQueryValueExA(key.Get(), valueName, nullptr, &type,
                           reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
        return {};
    value.resize(std::min<size_t>(size, value.size()));
    const size_t end = value.find('\0');
    if (end != std::string::npos)
        value.erase(end);
    return value;
}

std::string FormatNow(bool date)
{
    char buffer[256] = {};
    const int length =
        date ? ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer,
                                sizeof buffer)
             : ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer) : std::string();
}

}  // namespace

void Win32InterpreterHostBase::ExitProcess(int exitCode)
{
    ::ExitProcess(static_cast<UINT>(exitCode));
}

void Win32InterpreterHostBase::ProcessMessages()
{
    rtl::ProcessMessages();
}

void Win32InterpreterHostBase::DeleteRunValue(const std::string& name)
{
    DeleteValue(HKEY_CURRENT_USER, name);
    DeleteValue(HKEY_LOCAL_MACHINE, name);
}

std::string Win32InterpreterHostBase::RegisteredOwner()
{
    return ReadCurrentVersionValue("RegisteredOwner");
}

std::string Win32InterpreterHostBase::RegisteredOrganization()
{
    return ReadCurrentVersionValue("RegisteredOrganization");
}

std::string Win32InterpreterHostBase::ShortDateText()
{
    return FormatNow(true);
}

std::string Win32InterpreterHostBase::LongTimeText()
{
    return FormatNow(false);
}

std::uint64_t Win32InterpreterHostBase::Milliseconds()
{
    // GetTickCount64 is missing before Vista; a wrap only makes the next poll come early.
    return ::GetTickCount();
}

bool Win32InterpreterHostBase::ForceFoldersRecorded(const std::string& path,
                                                    std::vector<std::string>& created)
{
    rtl::TStringList list;
    const bool result = engine::ForceFoldersRecorded(path, list);
    created = list.Items();
    return result;
}

void Win32InterpreterHostBase::RemoveRecordedFolders(const std::vector<std::string>& created)
{
    // Recorded outermost first; only folders left empty go.
    for (auto folder = created.rbegin(); folder != created.rend(); ++folder)
        ::RemoveDirectoryA(folder->c_str());
}

bool Win32InterpreterHostBase::FileExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<std::string> Win32InterpreterHostBase::FindFiles(const std::string& pattern)
{
    return engine::FindFiles(pattern, false);
}

std::vector<std::string> Win32InterpreterHostBase::ReadLines(const std::string& path)
{
    const auto stream = rtl::OpenFileStream(path, rtl::FileStreamMode::OpenReadDenyWrite);
    std::string text;
    char buffer[65536];
    for (std::size_t read; (read = stream->Read(buffer, sizeof buffer)) != 0;)
        text.append(buffer, read);
    return SplitTextLines(text);
}

void Win32InterpreterHostBase::ShowRuntimeError(const std::string& text)
{
    const std::string caption = m_caption ? m_caption() : std::string();
    ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

int Win32InterpreterHostBase::ShowMessageBox(std::uintptr_t owner, const std::string& title,
                                              const std::string& text, std::uint32_t flags)
{
    const int answer = ::MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), title.c_str(),
                                     flags);
    if (answer != 0)
        return answer;
    // An owner window that is gone (or a call the owner's thread cannot take): without owner.
    const DWORD error = ::GetLastError();
    if (error == ERROR_INVALID_WINDOW_HANDLE || error == ERROR_PROC_NOT_FOUND)
        return ::MessageBoxA(nullptr, text.c_str(), title.c_str(), flags);
    return 0;
}

void Win32InterpreterHostBase::MinimizeToTray(std::uintptr_t window)
{
    ::ShowWindow(reinterpret_cast<HWND>(window), SW_HIDE);
}

void Win32InterpreterHostBase::RestoreFromTray(std::uintptr_t window)
{
    const HWND handle = reinterpret_cast<HWND>(window);
    ::ShowWindow(handle, SW_SHOW);
    ::BringWindowToTop(handle);
    ::SendMessageA(handle, WM_SYSCOMMAND, SC_RESTORE, 0);
    ::SetForegroundWindow(handle);
}

}  // namespace setup::engine
