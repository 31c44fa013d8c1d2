#include "shred/snapshots/tests/snapwipe_dll_support.h"

#include "shred/snapshots/progress_window.h"

#include <objbase.h>

namespace shred::snapshots::testing {

std::vector<Received> DialogWindow::received;
bool DialogWindow::cancel = false;

namespace {

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message >= 0x466 && message <= 0x46B) {
        DialogWindow::received.push_back({message, wParam, lParam});
        return message == kMsgQueryCancel && DialogWindow::cancel ? 0x10000 : 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::wstring BesideTest(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

bool KeyExists(const std::wstring& key)
{
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return false;
    core::UniqueKey owner(raw);
    return true;
}

std::wstring ReadClassesText(const std::wstring& key, const wchar_t* name)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return {};
    return data;
}

DialogWindow::DialogWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SnapwipeTestDialog";
    ::RegisterClassW(&windowClass);
    m_window.Reset(::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, windowClass.hInstance, nullptr));
    received.clear();
    cancel = false;
}

void RegisteredSnapwipe::SetUp()
{
    m_dll = BesideTest(L"Snapwipe.dll");
    ASSERT_EQ(RunRegsvr32(L"\"" + m_dll + L"\""), 0u);
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
}

void RegisteredSnapwipe::TearDown()
{
    ::CoUninitialize();
    RunRegsvr32(L"/u \"" + m_dll + L"\"");
}

}  // namespace shred::snapshots::testing
