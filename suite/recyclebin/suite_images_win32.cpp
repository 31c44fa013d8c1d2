#include "suite/recyclebin/suite_images_win32.h"

#include "suite/recyclebin/suite_export_win32.h"

#include <string>

namespace trashwipe {

HBITMAP LoadSuiteImage(suite::ISuiteLocator& locator, suite::IUserMessages& messages,
                       std::wstring_view name)
{
    const auto bound = BindSuiteExport(locator, messages, kImageLibrary, "GetBitmapId",
                                       ExportMessage::LibraryOnly);
    if (!bound)
        return nullptr;
    using BitmapIdFunction = int(__stdcall*)(const char*);
    // Image names are ASCII; the library takes them as 8-bit text.
    std::string narrow;
    for (wchar_t c : name)
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    const int id = reinterpret_cast<BitmapIdFunction>(bound->function)(narrow.c_str());
    if (id == -1) {
        messages.Show(L"Could not locate image in dll (Glyphstore).", L"",
                      suite::MessageIcon::Error);
        return nullptr;
    }
    return ::LoadBitmapW(bound->library.Get(), MAKEINTRESOURCEW(id & 0xFFFF));
}

}  // namespace trashwipe
