// The wizard pages' system services on Windows: files and folders, the page-owned question and
// folder picker, sounds, programs and shell documents of links, and memo windows watched through
// a subclass for their scroll state.
#pragma once

#include <windows.h>

#include <functional>
#include <map>

#include "setup/wizard/dialog_runtime.h"

namespace setup::wizard {

class Win32PageSystem final : public IPageSystem
{
public:
    Win32PageSystem();
    ~Win32PageSystem() override;

    bool DirectoryExists(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    std::string CurrentDirectory() override;
    void SetCurrentDirectory(const std::string& path) override;
    std::vector<std::string> ReadLines(const std::string& path) override;
    int ScreenWidth() override;
    int ScreenHeight() override;
    int WindowsMajorVersion() override;
    bool AskYesNo(TPoolTemplate& page, const std::string& text,
                  const std::string& caption) override;
    std::optional<std::string> BrowseForFolder(TPoolTemplate& page) override;
    void PlaySoundFile(const std::string& path) override;
    void StartProgram(const std::string& program, const std::string& parameters) override;
    void OpenWithShell(const std::string& target) override;
    void WatchMemo(ui::TCustomMemo& memo, std::function<void(unsigned message)> handled) override;
    void UnwatchMemo(ui::TCustomMemo& memo) override;
    std::optional<ScrollState> VerticalScroll(ui::TCustomMemo& memo) override;
    std::optional<PagePosition> WindowPosition(ui::TCustomForm& form) override;
    bool IsOnNodeIcon(ui::TTreeView& tree, int x, int y) override;
    ui::TPoint CursorPosition() override;
    std::optional<ui::TPoint> NodeTextCorner(ui::TTreeView& tree, ui::TTreeNode& node) override;

private:
    static LRESULT CALLBACK MemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data) noexcept;
    std::map<HWND, std::function<void(unsigned)>> m_watched;
};

}  // namespace setup::wizard
