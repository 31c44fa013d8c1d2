#include "setup/wizard/page_system_win32.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/system/file_utils_win32.h"
#include "setup/ui/control_windows_win32.h"
#include "setup/ui/window_peer_win32.h"
#include "setup/wizard/pool_template.h"

namespace setup::wizard {

namespace {

constexpr UINT_PTR kMemoSubclassId = 0x5151;

}  // namespace

Win32PageSystem::Win32PageSystem()
{
    // A missing disk in a drive the pages look at must not stop the setup with a system box.
    ::SetErrorMode(::SetErrorMode(0) | SEM_FAILCRITICALERRORS);
}

Win32PageSystem::~Win32PageSystem()
{
    for (const auto& [window, handled] : m_watched)
        ::RemoveWindowSubclass(window, &MemoProc, kMemoSubclassId);
}

bool Win32PageSystem::DirectoryExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32PageSystem::FileExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32PageSystem::CurrentDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetCurrentDirectoryA(sizeof buffer, buffer);
    return length && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

void Win32PageSystem::SetCurrentDirectory(const std::string& path)
{
    ::SetCurrentDirectoryA(path.c_str());
}

std::vector<std::string> Win32PageSystem::ReadLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw rtl::Exception("Cannot open file \"" + path + "\". The system cannot find the file "
                             "specified");
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

int Win32PageSystem::ScreenWidth()
{
    return ::GetSystemMetrics(SM_CXSCREEN);
}

int Win32PageSystem::ScreenHeight()
{
    return ::GetSystemMetrics(SM_CYSCREEN);
}

int Win32PageSystem::WindowsMajorVersion()
{
    return LOBYTE(LOWORD(::GetVersion()));
}

bool Win32PageSystem::AskYesNo(TPoolTemplate& page, const std::string& text,
                               const std::string& caption)
{
    return ::MessageBoxA(ui::WindowOf(page), text.c_str(), caption.c_str(),
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::optional<std::string> Win32PageSystem::BrowseForFolder(TPoolTemplate& page)
{
    const auto [chosen, folder] = engine::BrowseForFolder("", "", ui::WindowOf(page));
    if (!chosen)
        return std::nullopt;
    return folder;
}

void Win32PageSystem::PlaySoundFile(const std::string& path)
{
    ::sndPlaySoundA(path.c_str(), SND_ASYNC);
}

void Win32PageSystem::StartProgram(const std::string& program, const std::string& parameters)
{
    std::string commandLine = QuotedCommandLine(program, parameters);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &process)) {
        core::UniqueThread thread(process.hThread);
        core::UniqueProcess owned(process.hProcess);
    }
}

void Win32PageSystem::OpenWithShell(const std::string& target)
{
    ::ShellExecuteA(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32PageSystem::WatchMemo(ui::TCustomMemo& memo,
                                std::function<void(unsigned message)> handled)
{
    HWND window = ui::WindowOf(memo);
    if (!window)
        return;
    m_watched[window] = std::move(handled);
    ::SetWindowSubclass(window, &MemoProc, kMemoSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void Win32PageSystem::UnwatchMemo(ui::TCustomMemo& memo)
{
    HWND window = ui::WindowOf(memo);
    if (!window || !m_watched.erase(window))
        return;
    ::RemoveWindowSubclass(window, &MemoProc, kMemoSubclassId);
}

std::optional<ScrollState> Win32PageSystem::VerticalScroll(ui::TCustomMemo& memo)
{
    HWND window = ui::WindowOf(memo);
    if (!window)
        return std::nullopt;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!::GetScrollInfo(window, SB_VERT, &info))
        return ScrollState{};  // no scroll bar: everything is in view
    return ScrollState{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
}

std::optional<PagePosition> Win32PageSystem::WindowPosition(ui::TCustomForm& form)
{
    RECT rect{};
    HWND window = ui::WindowOf(form);
    if (!window || !::GetWindowRect(window, &rect))
        return std::nullopt;
    return PagePosition{rect.left, rect.top};
}

bool Win32PageSystem::IsOnNodeIcon(ui::TTreeView& tree, int x, int y)
{
    HWND window = ui::WindowOf(tree);
    if (!window)
        return false;
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    ::SendMessageA(window, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return hit.hItem && (hit.flags & TVHT_ONITEMICON);
}

ui::TPoint Win32PageSystem::CursorPosition()
{
    POINT point{};
    ::GetCursorPos(&point);
    return {point.x, point.y};
}

std::optional<ui::TPoint> Win32PageSystem::NodeTextCorner(ui::TTreeView& tree,
                                                          ui::TTreeNode& node)
{
    HWND window = ui::WindowOf(tree);
    HTREEITEM item = window ? ui::TreeItemOf(window, &node) : nullptr;
    RECT rect{};
    // TVM_GETITEMRECT takes the item in the rectangle it fills; TRUE asks for the text's.
    std::memcpy(&rect, &item, sizeof item);
    if (!item || !::SendMessageA(window, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)))
        return std::nullopt;
    POINT corner{rect.right, rect.bottom};
    ::ClientToScreen(window, &corner);
    return ui::TPoint{corner.x, corner.y};
}

LRESULT CALLBACK Win32PageSystem::MemoProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept
{
    const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    auto* self = reinterpret_cast<Win32PageSystem*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &MemoProc, kMemoSubclassId);
        self->m_watched.erase(window);
        return result;
    }
    const auto found = self->m_watched.find(window);
    if (found != self->m_watched.end()) {
        try {
            const auto handled = found->second;  // the handler may unwatch the memo
            handled(message);
        } catch (...) {
            // A rule that fails leaves the memo as it was.
        }
    }
    return result;
}

}  // namespace setup::wizard
