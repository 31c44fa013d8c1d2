#include "suite/recyclebin/ui_services_win32.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

namespace trashwipe {

std::optional<std::wstring> Win32UiServices::AskSavePath(const std::wstring& proposed,
                                                         const std::wstring& filterName)
{
    // Name, bar, pattern, two closing bars; the bars become the terminators the dialog reads.
    std::wstring filter = filterName + L"|*.*||";
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    std::vector<wchar_t> file(MAX_PATH, L'\0');
    proposed.copy(file.data(), std::min<std::size_t>(proposed.size(), MAX_PATH - 1));
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!::GetSaveFileNameW(&dialog))
        return std::nullopt;
    return std::wstring(file.data());
}

void Win32UiServices::OpenDocument(const std::wstring& path)
{
    ::ShellExecuteW(nullptr, L"open", path.c_str(), L"", L"", SW_SHOWNORMAL);
}

}  // namespace trashwipe
