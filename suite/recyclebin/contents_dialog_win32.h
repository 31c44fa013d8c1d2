// The Recycle Bin's contents dialog: every entry with its check box, former folder and size, the
// totals of the checked entries and the three shred methods; Shred starts the run. A silent run
// never shows it: it lists the entries, shreds them all and closes.
#pragma once

#include "core/unique_handle.h"
#include "suite/recyclebin/recycled_items.h"
#include "suite/recyclebin/trashwipe_environment_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>

namespace trashwipe {

class ContentsDialog
{
public:
    ContentsDialog(TrashwipeEnvironment& environment, bool interactive)
        : m_environment(environment), m_interactive(interactive)
    {}
    ~ContentsDialog();
    ContentsDialog(const ContentsDialog&) = delete;
    ContentsDialog& operator=(const ContentsDialog&) = delete;

    // Modal, without owner; the dialog's result.
    INT_PTR Run();
    // Modeless, for tests and pictures; the caller destroys the window.
    HWND Create();

    const RecycledItemList& Items() const noexcept { return m_items; }
    int FileCount() const noexcept { return m_fileCount; }
    std::uint64_t SizeTotal() const noexcept { return m_size; }
    ShredAlgorithmId ChosenAlgorithm() const;

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    std::wstring Text(std::wstring_view key);
    void Initialise(HWND dialog);
    void SetTexts(HWND dialog);
    void AddColumns(HWND list, bool folderColumn);
    void InitAlgorithmChoice(HWND dialog);
    void FillList(HWND list, bool folderColumn);
    void UpdateInfo();
    std::vector<ContentsRow> Rows() const;
    void Shred();
    INT_PTR ControlColour(HDC dc, HWND control);

    TrashwipeEnvironment& m_environment;
    const bool m_interactive;
    HWND m_dialog = nullptr;
    HWND m_list = nullptr;
    int m_languageIndex = 0;
    ShredAlgorithmId m_stored = 0;
    RecycledItemList m_items;
    int m_fileCount = 0;
    std::uint64_t m_size = 0;
    bool m_filling = false;
    HIMAGELIST m_icons = nullptr;
    core::UniqueGdiObject m_whiteBrush;
    core::UniqueGdiObject m_greyBrush;
    core::UniqueGdiObject m_background;
    core::UniqueGdiObject m_boldFont;
};

}  // namespace trashwipe
