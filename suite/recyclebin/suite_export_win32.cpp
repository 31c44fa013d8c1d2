#include "suite/recyclebin/suite_export_win32.h"

#include "suite/common/library_path.h"

#include <string>

namespace trashwipe {

std::optional<BoundExport> BindSuiteExport(suite::ISuiteLocator& locator,
                                           suite::IUserMessages& messages, const wchar_t* fileName,
                                           const char* exportName, ExportMessage message)
{
    const std::wstring path =
        suite::JoinLibraryPath(locator.SuiteLibraryFolder(fileName), fileName);
    core::UniqueModule library(::LoadLibraryW(path.c_str()));
    if (!library) {
        messages.Show(suite::MissingLibraryMessage(fileName), L"", suite::MessageIcon::Error);
        return std::nullopt;
    }
    FARPROC function = ::GetProcAddress(library.Get(), exportName);
    if (!function) {
        const std::string name(exportName);
        messages.Show(
            message == ExportMessage::NamesExport
                ? suite::MissingExportMessage(fileName, std::wstring(name.begin(), name.end()))
                : suite::MissingLibraryMessage(fileName),
            L"", suite::MessageIcon::Error);
        return std::nullopt;
    }
    return BoundExport{std::move(library), function};
}

}  // namespace trashwipe
