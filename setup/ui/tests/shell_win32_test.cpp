// The shell controls over the system's namespace, in a scratch folder tree only: no test lists or
// watches anything outside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "setup/ui/capture_win32.h"
#include "setup/ui/change_watch_win32.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/shell_controls.h"
#include "setup/ui/shell_namespace_win32.h"
#include "setup/ui/tests/shell_test_texts.h"
#include "setup/ui/tests/test_page.h"
#include "setup/ui/timer.h"
#include "setup/ui/window_peer_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace setup::ui::testing {
namespace {

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

class ShellWindowsTest : public ::testing::Test
{
protected:
    ShellWindowsTest() : app(loop, &factory, &timers)
    {
        loop.SetApplication(&app);
        app.shellNamespace = &shell;
        root = scratch.Make("Work");
        scratch.Make("Work\\Beta\\Deep");
        scratch.Make("Work\\alpha");
        scratch.Make("Work\\.cache");
        scratch.Write("Work\\notes.txt", "n");
        scratch.Write("Work\\hidden.txt", "h");
        ::SetFileAttributesA((root + "\\.cache").c_str(), FILE_ATTRIBUTE_HIDDEN);
        ::SetFileAttributesA((root + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }

    testsupport::ScratchFolder scratch;
    std::string root;
    Win32ShellNamespace shell;
    Win32PeerFactory factory;
    Win32MessageLoop loop;
    Win32TimerService timers;
    TApplication app;
};

TEST_F(ShellWindowsTest, TreeAndListShowTheScratchFolderInTheShellsOrder)
{
    TForm form;
    app.AddForm(form);
    auto* tree = new TNsShellTree(&form);
    auto* list = new TNsShellList(&form);
    tree->SetParent(&form);
    list->SetParent(&form);
    tree->BaseFolder()->SetPath(root);
    ASSERT_EQ(tree->Items()->Roots().size(), 1u);
    TTreeNode* work = tree->Items()->Roots().front().get();
    EXPECT_EQ(work->Text(), "Work");
    EXPECT_EQ(ChildTexts(work), (std::vector<std::string>{".cache", "alpha", "Beta"}));
    tree->options &= ~nstoShowHidden;
    tree->FillTree();
    work = tree->Items()->Roots().front().get();
    EXPECT_EQ(ChildTexts(work), (std::vector<std::string>{"alpha", "Beta"}));

    tree->SetSelectedPath(root + "\\Beta\\Deep");
    EXPECT_EQ(tree->GetSelectedPath(), root + "\\Beta\\Deep");

    list->Folder()->SetPath(root);
    EXPECT_EQ(Texts(*list->Items()),
              (std::vector<std::string>{".cache", "alpha", "Beta", "hidden.txt", "notes.txt"}));
    list->options &= ~nsloShowHidden;
    list->FillList();
    EXPECT_EQ(Texts(*list->Items()), (std::vector<std::string>{"alpha", "Beta", "notes.txt"}));

    // A rename through the list reaches the disk.
    ASSERT_TRUE(list->RenameItem(2, "todo.txt"));
    EXPECT_EQ((*list->Items())[2], "todo.txt");
    EXPECT_EQ(list->ItemPath(2), root + "\\todo.txt");
    EXPECT_NE(::GetFileAttributesA((root + "\\todo.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    // A folder made on disk below an expanded node shows when the node is expanded again.
    tree->SetSelectedPath(root + "\\Beta");
    ::CreateDirectoryA((root + "\\Beta\\Late").c_str(), nullptr);
    tree->ExpandNode(tree->Selected());
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{"Deep", "Late"}));
    app.RemoveForm(form);
}

TEST_F(ShellWindowsTest, APageHoldsTheThreeControlsLinked)
{
    TNsShellLocator base([this] { return &shell; });
    base.SetPath(root);
    const std::string text =
        "object ShellPage: TForm\n"
        "  Left = 120\n  Top = 90\n  BorderStyle = bsDialog\n"
        "  Caption = 'Shell controls'\n  ClientHeight = 300\n"
        "  ClientWidth = 480\n  Color = clBtnFace\n"
        "  object NsShellCombo1: TNsShellCombo\n"
        "    Left = 8\n    Top = 8\n    Width = 464\n    Height = 21\n"
        "    ShellTree = NsShellTree1\n  end\n"
        "  object NsShellTree1: TNsShellTree\n"
        "    Left = 8\n    Top = 40\n    Width = 200\n    Height = 250\n"
        "    BaseFolder.Pidl = {" +
        Hex(base.Stored()) +
        "}\n    ShellList = NsShellList1\n  end\n"
        "  object NsShellList1: TNsShellList\n"
        "    Left = 216\n    Top = 40\n    Width = 256\n    Height = 250\n"
        "  end\n"
        "end\n";
    TForm page;
    app.AddForm(page);
    std::vector<std::string> errors;
    LoadPage(text, page, &errors);
    EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.front());
    auto& tree = dynamic_cast<TNsShellTree&>(*page.FindComponent("NsShellTree1"));
    auto& list = dynamic_cast<TNsShellList&>(*page.FindComponent("NsShellList1"));
    auto& combo = dynamic_cast<TNsShellCombo&>(*page.FindComponent("NsShellCombo1"));
    EXPECT_EQ(combo.ShellTree(), &tree);
    EXPECT_EQ(tree.ShellList(), &list);
    ASSERT_EQ(tree.Items()->Roots().size(), 1u);
    EXPECT_EQ(tree.GetSelectedPath(), root);
    EXPECT_EQ(list.Folder()->GetPath(), root);
    EXPECT_EQ(combo.GetFolder()->GetPath(), root);
    EXPECT_EQ((*combo.Items())[combo.ItemIndex()].find("Work") != std::string::npos, true);

    page.Show();
    app.ProcessMessages();
    tree.SetSelectedPath(root + "\\Beta");
    app.ProcessMessages();
    EXPECT_EQ(list.Folder()->GetPath(), root + "\\Beta");
    const htmlview::PixelImage image = CaptureForm(page);
    EXPECT_GT(image.width, 400);
    const std::filesystem::path folder = std::filesystem::path(IMAGE_FIXTURE_DIR).parent_path();
    SavePngFile(image, (folder / "shell_controls.png").string());
    app.RemoveForm(page);
}

// Waits up to two seconds for the watcher's message; the slot it names, or -1.
int NextChangeSlot(HWND window, UINT message)
{
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < 2000) {
        if (::PeekMessageW(&msg, window, message, message, PM_REMOVE))
            return static_cast<int>(msg.wParam);
        ::Sleep(10);
    }
    return -1;
}

TEST_F(ShellWindowsTest, AChangeOnDiskReachesTheOwnerWindowWithItsSlot)
{
    constexpr UINT kChanged = WM_USER + 101;
    HWND window =
        ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    {
        ChangeWatchThread watcher(window, kChanged);
        EXPECT_EQ(watcher.AddWatch(root + "\\Missing", 3, false), -1);
        EXPECT_EQ(watcher.AddWatch(root + "\\alpha", 3, false), 0);
        EXPECT_EQ(watcher.AddWatch(root, 3, false), 1);
        ::CreateDirectoryA((root + "\\Made").c_str(), nullptr);
        EXPECT_EQ(NextChangeSlot(window, kChanged), 1);
        // The watch is armed again: a second change is told too.
        scratch.Write("Work\\second.txt", "s");
        EXPECT_EQ(NextChangeSlot(window, kChanged), 1);

        watcher.RemoveAllWatches();
        EXPECT_EQ(watcher.AddWatch(root, 3, false), 0);
        for (int slot = 1; slot < ChangeWatchThread::kSlots; ++slot)
            ASSERT_EQ(watcher.AddWatch(root, 3, false), slot);
        EXPECT_EQ(watcher.AddWatch(root, 3, false), -1);
    }
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace setup::ui::testing
