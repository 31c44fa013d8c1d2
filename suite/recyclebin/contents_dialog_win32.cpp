#include "suite/recyclebin/contents_dialog_win32.h"

#include "suite/common/dialog_helpers_win32.h"
#include "suite/recyclebin/count_path_win32.h"
#include "suite/recyclebin/dialog_painting_win32.h"
#include "suite/recyclebin/resource_ids.h"
#include "suite/recyclebin/shred_run_win32.h"
#include "suite/recyclebin/suite_images_win32.h"
#include "suite/recyclebin/text_format.h"

#include <shellapi.h>

namespace trashwipe {
namespace {

constexpr COLORREF kDarkGrey = RGB(40, 40, 40);
constexpr COLORREF kLightGrey = RGB(230, 230, 230);

HICON SmallIconFor(const RecycledItem& item)
{
    SHFILEINFOW info{};
    if (item.isFolder) {
        wchar_t windows[MAX_PATH] = {};
        ::GetWindowsDirectoryW(windows, MAX_PATH);
        ::SHGetFileInfoW(windows, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                         SHGFI_ICON | SHGFI_SMALLICON);
    } else {
        ::SHGetFileInfoW(item.realPath.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                         SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    }
    return info.hIcon;
}

}  // namespace

ContentsDialog::~ContentsDialog()
{
    if (m_icons)
        ::ImageList_Destroy(m_icons);
}

std::wstring ContentsDialog::Text(std::wstring_view key)
{
    return m_environment.texts.Text(key, m_languageIndex);
}

INT_PTR ContentsDialog::Run()
{
    return ::DialogBoxParamW(m_environment.module, MAKEINTRESOURCEW(IDD_RB_CONTENTS), nullptr,
                             &suite::DialogProcedure<ContentsDialog>,
                             reinterpret_cast<LPARAM>(this));
}

HWND ContentsDialog::Create()
{
    return ::CreateDialogParamW(m_environment.module, MAKEINTRESOURCEW(IDD_RB_CONTENTS), nullptr,
                                &suite::DialogProcedure<ContentsDialog>,
                                reinterpret_cast<LPARAM>(this));
}

ShredAlgorithmId ContentsDialog::ChosenAlgorithm() const
{
    MethodButton checked = MethodButton::Middle;
    if (::IsDlgButtonChecked(m_dialog, IDC_RB_METHOD_FIRST) == BST_CHECKED)
        checked = MethodButton::First;
    else if (::IsDlgButtonChecked(m_dialog, IDC_RB_METHOD_LAST) == BST_CHECKED)
        checked = MethodButton::Last;
    return trashwipe::ChosenAlgorithm(checked, m_stored);
}

void ContentsDialog::SetTexts(HWND dialog)
{
    ::SetDlgItemTextW(dialog, IDC_RB_HEADER_TEXT, Text(L"recbin_header").c_str());
    ::SetDlgItemTextW(dialog, IDC_RB_INFORMATION_TITLE, Text(L"txt_information").c_str());
    m_boldFont.Reset(suite::CreateBoldDialogFont(12));
    ::SendDlgItemMessageW(dialog, IDC_RB_INFORMATION_TITLE, WM_SETFONT,
                          reinterpret_cast<WPARAM>(m_boldFont.Get()), TRUE);
    ::SetDlgItemTextW(dialog, IDC_RB_TOTALS,
                      FormatNumbers(Text(L"recbin_information"), {0, 0}).c_str());
    ::SetDlgItemTextW(dialog, IDOK, Text(L"shred").c_str());
    ::SetDlgItemTextW(dialog, IDCANCEL, Text(L"Cancel-button").c_str());
    ::SetDlgItemTextW(dialog, IDC_RB_METHOD_QUESTION,
                      Text(L"img_question_which_shred_algo").c_str());
    ::SendDlgItemMessageW(dialog, IDC_RB_METHOD_QUESTION, WM_SETFONT,
                          reinterpret_cast<WPARAM>(m_boldFont.Get()), TRUE);
}

void ContentsDialog::AddColumns(HWND list, bool folderColumn)
{
    struct Column
    {
        const wchar_t* key;
        int width;
    };
    static constexpr Column kThree[] = {
        {L"recbin_file_name", 200}, {L"recbin_org_path", 250}, {L"recbin_size", 68}};
    static constexpr Column kOne[] = {{L"recbin_file_name", 518}};
    const Column* columns = folderColumn ? kThree : kOne;
    const int count = folderColumn ? 3 : 1;
    for (int i = 0; i < count; ++i) {
        std::wstring title = Text(columns[i].key);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = title.data();
        ListView_InsertColumn(list, i, &column);
    }
}

void ContentsDialog::InitAlgorithmChoice(HWND dialog)
{
    const std::wstring& product = m_environment.settings.ProductOverride();
    m_stored = m_environment.settings.ReadShredAlgo(&product);
    const auto methodText = [this](int number) {
        return Text(L"shred_algo_short_" + std::to_wstring(number));
    };
    ::SetDlgItemTextW(dialog, IDC_RB_METHOD_FIRST, methodText(kFirstButtonAlgorithm).c_str());
    ::SetDlgItemTextW(dialog, IDC_RB_METHOD_MIDDLE,
                      methodText(MiddleButtonAlgorithm(m_stored)).c_str());
    ::SetDlgItemTextW(dialog, IDC_RB_METHOD_LAST, methodText(kLastButtonAlgorithm).c_str());
    static constexpr int kButtons[] = {IDC_RB_METHOD_FIRST, IDC_RB_METHOD_MIDDLE,
                                       IDC_RB_METHOD_LAST};
    ::CheckRadioButton(dialog, IDC_RB_METHOD_FIRST, IDC_RB_METHOD_LAST,
                       kButtons[static_cast<int>(InitialMethodButton(m_stored))]);
}

void ContentsDialog::FillList(HWND list, bool folderColumn)
{
    m_items = ReadRecycleBin(m_environment.source);
    m_filling = true;
    for (std::size_t record = 0; record < m_items.Size(); ++record) {
        const RecycledItem& item = m_items[record];
        int icon = -1;
        if (HICON handle = SmallIconFor(item)) {
            icon = ::ImageList_ReplaceIcon(m_icons, -1, handle);
            ::DestroyIcon(handle);
        }
        const SplitPath split = SplitItemPath(item.displayPath);
        const std::wstring sizeText = FormatNumbers(Text(L"recbin_dyn_file_size"),
                                                    {static_cast<std::int64_t>(item.size / 1024)});
        std::wstring name = split.name;
        LVITEMW row{};
        row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        row.iItem = 0;  // the last entry enumerated is the first row
        row.pszText = name.data();
        row.iImage = icon;
        // Each row names its own record: two entries from one former path stay two entries.
        row.lParam = static_cast<LPARAM>(record);
        const int index = ListView_InsertItem(list, &row);
        if (folderColumn) {
            std::wstring folder = split.folder.value_or(L"");
            ListView_SetItemText(list, index, 1, folder.data());
            ListView_SetItemText(list, index, 2, const_cast<wchar_t*>(sizeText.c_str()));
        }
        ListView_SetCheckState(list, index, TRUE);
    }
    m_filling = false;
}

std::vector<ContentsRow> ContentsDialog::Rows() const
{
    std::vector<ContentsRow> rows;
    const int count = ListView_GetItemCount(m_list);
    for (int i = 0; i < count; ++i) {
        LVITEMW row{};
        row.mask = LVIF_PARAM;
        row.iItem = i;
        ListView_GetItem(m_list, &row);
        // Without check boxes (the old bin) the state reads as -1: every row counts as chosen.
        const BOOL state = static_cast<BOOL>(ListView_GetCheckState(m_list, i));
        rows.push_back({static_cast<std::size_t>(row.lParam), state != 0});
    }
    return rows;
}

void ContentsDialog::UpdateInfo()
{
    if (m_items.Size() == 0 || m_filling)
        return;
    int count = 0;
    std::uint64_t size = 0;
    if (IsNewRecycleBin(m_environment.version)) {
        for (const ContentsRow& row : Rows())
            if (row.checked && row.record < m_items.Size()) {
                count += m_items[row.record].fileCount;
                size += m_items[row.record].size;
            }
    } else {
        // The housekeeping files INFO2 and desktop.ini are not entries.
        const std::vector<OldBinFile> files =
            m_environment.oldBinFiles ? m_environment.oldBinFiles() : std::vector<OldBinFile>{};
        for (const OldBinFile& file : files) {
            if (IsOldBinEntryShred(file.name) && !IsOldBinIndexFile(file.name))
                count += VNTCountPath(file.path, size);
        }
    }
    m_fileCount = count;
    m_size = size;
    HWND totals = ::GetDlgItem(m_dialog, IDC_RB_TOTALS);
    ::SetWindowTextW(totals, FormatNumbers(Text(L"recbin_information"),
                                           {count, static_cast<std::int64_t>(size / 1048576)})
                                 .c_str());
    ::ShowWindow(totals, SW_HIDE);
    ::ShowWindow(totals, SW_SHOW);
}

void ContentsDialog::Initialise(HWND dialog)
{
    m_dialog = dialog;
    m_list = ::GetDlgItem(dialog, IDC_RB_LIST);
    m_languageIndex = m_environment.texts.CurrentLanguage();
    ListView_SetExtendedListViewStyle(m_list, LVS_EX_FULLROWSELECT);
    m_icons = ::ImageList_Create(16, 16, ILC_COLOR8 | ILC_MASK, 8, 8);
    ::ImageList_SetBkColor(m_icons, ::GetSysColor(COLOR_WINDOW));
    ListView_SetImageList(m_list, m_icons, LVSIL_SMALL);
    if (m_environment.languages)
        suite::SetPicture(
            dialog, IDC_RB_HEADER_PICTURE,
            m_environment.languages->LoadBitmap(L"shred_recycle_bin", m_languageIndex));
    const struct
    {
        int id;
        const wchar_t* name;
    } pictures[] = {{IDC_RB_BOTTOM_PICTURE, L"recbin_bottom_shred"},
                    {IDC_RB_SHREDDING_PICTURE, L"shredding_recycle_bin"},
                    {IDC_RB_BLUE_BOX, L"blue_box_small"}};
    for (const auto& picture : pictures)
        if (HBITMAP bitmap = LoadSuiteImage(m_environment.locator, m_environment.ui, picture.name))
            suite::SetPicture(dialog, picture.id, bitmap);
    SetTexts(dialog);
    const bool newBin = IsNewRecycleBin(m_environment.version);
    ListView_SetExtendedListViewStyle(
        m_list, newBin ? LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT
                       : LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const bool folderColumn = HasFolderColumn(m_environment.version);
    AddColumns(m_list, folderColumn);
    m_whiteBrush.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
    m_greyBrush.Reset(::CreateSolidBrush(kLightGrey));
    m_background.Reset(
        LoadSuiteImage(m_environment.locator, m_environment.ui, L"encryption_files_box"));
    InitAlgorithmChoice(dialog);
    ::SetWindowTextW(dialog, m_environment.settings.ProductTitle(m_languageIndex).c_str());
    FillList(m_list, folderColumn);
    UpdateInfo();
    if (!m_interactive) {
        ::ShowWindow(dialog, SW_HIDE);
        Shred();
        ::EndDialog(dialog, IDOK);
    }
}

void ContentsDialog::Shred()
{
    ShredRunRequest request;
    request.contents = m_dialog;
    request.interactive = m_interactive;
    request.languageIndex = m_languageIndex;
    request.items = &m_items;
    request.rows = Rows();
    request.algorithm = ChosenAlgorithm();
    request.fileCount = m_fileCount;
    if (StartShredRun(m_environment, request))
        ::EndDialog(m_dialog, IDOK);
}

INT_PTR ContentsDialog::ControlColour(HDC dc, HWND control)
{
    const int id = ::GetDlgCtrlID(control);
    switch (id) {
        case IDC_RB_METHOD_FIRST:
        case IDC_RB_METHOD_MIDDLE:
        case IDC_RB_METHOD_LAST:
            ::SetTextColor(dc, kDarkGrey);
            ::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(m_greyBrush.Get());
        case IDC_RB_TOTALS:
            ::SetTextColor(dc, kDarkGrey);
            ::SetBkMode(dc, OPAQUE);
            ::SetBkColor(dc, kLightGrey);
            return reinterpret_cast<INT_PTR>(::GetStockObject(HOLLOW_BRUSH));
        case IDC_RB_INFORMATION_TITLE:
            ::SetTextColor(dc, kDarkGrey);
            ::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(::GetStockObject(HOLLOW_BRUSH));
        default:
            break;
    }
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    if (::lstrcmpiW(className, L"Static") == 0) {
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(::GetStockObject(HOLLOW_BRUSH));
    }
    return reinterpret_cast<INT_PTR>(m_whiteBrush.Get());
}

INT_PTR ContentsDialog::Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_INITDIALOG:
            Initialise(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK)
                Shred();
            else if (LOWORD(wParam) == IDCANCEL)
                ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_RB_LIST && header->code == LVN_ITEMCHANGED)
                UpdateInfo();
            return FALSE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ERASEBKGND:
            return PaintDialogBackground(dialog, reinterpret_cast<HDC>(wParam),
                                         static_cast<HBRUSH>(m_whiteBrush.Get()),
                                         static_cast<HBITMAP>(m_background.Get()), [](SIZE, SIZE) {
                                             return POINT{140, 359};
                                         });
        default:
            return FALSE;
    }
}

}  // namespace trashwipe
