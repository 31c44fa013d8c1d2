// The real message boxes, save dialog and shell start behind the run's UI interface.
#pragma once

#include "suite/common/suite_paths_win32.h"
#include "suite/recyclebin/ui_services.h"

namespace trashwipe {

class Win32UiServices final : public IUiServices
{
public:
    explicit Win32UiServices(std::wstring defaultCaption) : m_boxes(std::move(defaultCaption)) {}
    void Show(std::wstring_view text, std::wstring_view caption, suite::MessageIcon icon) override
    {
        m_boxes.Show(text, caption, icon);
    }
    std::optional<std::wstring> AskSavePath(const std::wstring& proposed,
                                            const std::wstring& filterName) override;
    void OpenDocument(const std::wstring& path) override;

private:
    suite::MessageBoxMessages m_boxes;
};

}  // namespace trashwipe
