#include "setup/ui/inspector/inspector_system_win32.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "setup/ui/form.h"
#include "setup/ui/gdi_canvas_win32.h"

namespace setup::ui {
namespace {

// "Text|*.ext|..." as the dialogs want it: pairs separated by zero characters.
std::string DialogFilter(const std::string& filter)
{
    std::string result = filter;
    std::replace(result.begin(), result.end(), '|', '\0');
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

bool FileDialog(const std::string& filter, std::string& path, bool save)
{
    char buffer[MAX_PATH] = {};
    const std::string filters = DialogFilter(filter);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = ::GetActiveWindow();
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    if (!(save ? ::GetSaveFileNameA(&dialog) : ::GetOpenFileNameA(&dialog)))
        return false;
    path = buffer;
    return true;
}

}  // namespace

void Win32InspectorSystem::Beep()
{
    ::MessageBeep(MB_OK);
}

bool Win32InspectorSystem::PickFont(TFont& font)
{
    LOGFONTA log{};
    log.lfHeight = font.Height();
    log.lfCharSet = static_cast<BYTE>(font.Charset());
    log.lfWeight = font.Style().Has(fsBold) ? FW_BOLD : FW_NORMAL;
    log.lfItalic = font.Style().Has(fsItalic);
    log.lfUnderline = font.Style().Has(fsUnderline);
    log.lfStrikeOut = font.Style().Has(fsStrikeOut);
    std::strncpy(log.lfFaceName, font.Name().c_str(), LF_FACESIZE - 1);
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = ::GetActiveWindow();
    dialog.lpLogFont = &log;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    dialog.rgbColors = ToColorRef(font.Color());
    if (!::ChooseFontA(&dialog))
        return false;
    font.SetName(log.lfFaceName);
    font.SetHeight(log.lfHeight);
    font.SetCharset(TFontCharset(log.lfCharSet));
    TFontStyles style;
    if (log.lfWeight >= FW_BOLD)
        style.Include(fsBold);
    if (log.lfItalic)
        style.Include(fsItalic);
    if (log.lfUnderline)
        style.Include(fsUnderline);
    if (log.lfStrikeOut)
        style.Include(fsStrikeOut);
    font.SetStyle(style);
    font.SetColor(TColor(static_cast<std::int32_t>(dialog.rgbColors)));
    return true;
}

bool Win32InspectorSystem::PickColor(TColor& color)
{
    static COLORREF custom[16] = {};
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = ::GetActiveWindow();
    dialog.rgbResult = ToColorRef(color);
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!::ChooseColorA(&dialog))
        return false;
    color = TColor(static_cast<std::int32_t>(dialog.rgbResult));
    return true;
}

bool Win32InspectorSystem::OpenPictureFile(const std::string& filter, std::string& path)
{
    return FileDialog(filter, path, false);
}

bool Win32InspectorSystem::SavePictureFile(const std::string& filter, std::string& path)
{
    return FileDialog(filter, path, true);
}

int Win32InspectorSystem::RunModal(TCustomForm& form)
{
    return form.ShowModal();
}

int Win32InspectorSystem::ScrollBarWidth() const
{
    return ::GetSystemMetrics(SM_CXVSCROLL);
}

}  // namespace setup::ui
