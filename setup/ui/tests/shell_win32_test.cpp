// The shell controls over the system's namespace, in a scratch folder tree only: no test lists or
// watches anything outside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/text_convert.h"
#include "setup/ui/capture_win32.h"
#include "setup/ui/change_watch_win32.h"
#include "setup/ui/control_windows_win32.h"
#include "setup/ui/folder_watch_win32.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/send_to_win32.h"
#include "setup/ui/shell_controls.h"
#include "setup/ui/shell_data_object_win32.h"
#include "setup/ui/shell_namespace_win32.h"
#include "setup/ui/shell_transfer.h"
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
    EXPECT_EQ(list->Captions(),
              (std::vector<std::string>{".cache", "alpha", "Beta", "hidden.txt", "notes.txt"}));
    list->options &= ~nsloShowHidden;
    list->FillList();
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"alpha", "Beta", "notes.txt"}));

    // A rename through the list reaches the disk.
    ASSERT_TRUE(list->RenameItem(2, "todo.txt"));
    EXPECT_EQ(list->Item(2).caption, "todo.txt");
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

// Pumps the messages until the condition holds; false after five seconds.
bool PumpUntil(TApplication& app, const std::function<bool()>& condition)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > 5000)
            return false;
        app.ProcessMessages();
        ::Sleep(10);
    }
    return true;
}

// A key posted to the window as the user would press it, Ctrl held when asked.
void PressKey(TApplication& app, HWND window, WORD key, bool ctrl = false)
{
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(state);
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    app.ProcessMessages();
    state[VK_CONTROL] = 0;
    ::SetKeyboardState(state);
}

// The system's watches over drive C: alone: Z: maps the host's root, which no test watches.
class PrefixDrivesOnly final : public IFolderWatchService
{
public:
    std::unique_ptr<IFolderWatch> Watch(std::function<void(int slot)> changed) override
    {
        return system.Watch(std::move(changed));
    }
    std::vector<DriveRoot> Drives() override
    {
        std::vector<DriveRoot> drives;
        for (const DriveRoot& drive : system.Drives())
            if (drive.letter == 'C')
                drives.push_back(drive);
        return drives;
    }
    Win32FolderWatchService system;
};

// A shown form whose shell controls watch the prefix's drive.
class WatchedShellTest : public ShellWindowsTest
{
protected:
    WatchedShellTest()
    {
        app.folderWatch = &watches;
        app.AddForm(form);
    }
    ~WatchedShellTest() override
    {
        app.RemoveForm(form);
        app.folderWatch = nullptr;
    }
    template <class T>
    T* Add()
    {
        auto* control = new T(&form);
        control->SetParent(&form);
        return control;
    }
    void Show()
    {
        form.Show();
        app.ProcessMessages();
    }

    PrefixDrivesOnly watches;
    TForm form;
};

TEST_F(WatchedShellTest, AChangeOnDiskReachesTheListThroughTheWatchThread)
{
    auto* list = Add<TNsShellList>();
    list->options &= ~nsloShowHidden;
    list->Folder()->SetPath(root);
    Show();
    EXPECT_EQ(list->Captions(), (std::vector<std::string>{"alpha", "Beta", "notes.txt"}));
    scratch.Write("Work\\arrived.txt", "a");
    EXPECT_TRUE(PumpUntil(app, [&] { return list->Count() == 4; }));
    EXPECT_EQ(list->Captions(),
              (std::vector<std::string>{"alpha", "Beta", "arrived.txt", "notes.txt"}));
}

TEST_F(WatchedShellTest, ADriveArrivingRefreshesTheTreeAtOnce)
{
    auto* tree = Add<TNsShellTree>();
    tree->BaseFolder()->SetPath(root);
    Show();
    TTreeNode* work = tree->Items()->Roots().front().get();
    EXPECT_EQ(ChildTexts(work), (std::vector<std::string>{".cache", "alpha", "Beta"}));
    scratch.Make("Work\\Plugged");
    HWND watchWindow = ::FindWindowW(L"SetupFolderWatch", nullptr);
    ASSERT_NE(watchWindow, nullptr);
    EXPECT_EQ(::SendMessageW(watchWindow, WM_DEVICECHANGE, 0x8000 /* arrival */, 0), TRUE);
    app.ProcessMessages();
    EXPECT_EQ(ChildTexts(work), (std::vector<std::string>{".cache", "alpha", "Beta", "Plugged"}));
}

TEST_F(WatchedShellTest, PostedKeysRenameANodeAndCopyAFileThroughTheShell)
{
    auto* tree = Add<TNsShellTree>();
    auto* list = Add<TNsShellList>();
    tree->SetBounds(0, 0, 200, 200);
    list->SetBounds(200, 0, 200, 200);
    tree->BaseFolder()->SetPath(root);
    tree->SetShellList(list);
    Show();

    // F2 on a node, a new name typed, Enter: the folder is renamed on disk.
    tree->SetSelectedPath(root + "\\alpha");
    app.ProcessMessages();
    HWND treeWindow = WindowOf(*tree);
    PressKey(app, treeWindow, VK_F2);
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(treeWindow, TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextA(edit, "Omega");
    PressKey(app, edit, VK_RETURN);
    EXPECT_TRUE(PumpUntil(app, [&] { return tree->Selected()->Text() == "Omega"; }));
    EXPECT_TRUE(testsupport::FolderExists(scratch / L"Work\\Omega"));
    EXPECT_FALSE(testsupport::FolderExists(scratch / L"Work\\alpha"));
    EXPECT_EQ(list->Folder()->GetPath(), root + "\\Omega");

    // Ctrl+C on a file of the list puts it on the clipboard as the shell does. Wine's "paste"
    // reports success and copies nothing, so pasting is left to the in-memory tests.
    tree->SetSelectedPath(root);
    app.ProcessMessages();
    const auto names = list->Captions();
    const auto notes = std::find(names.begin(), names.end(), "notes.txt");
    ASSERT_NE(notes, names.end());
    list->SetItemIndex(static_cast<std::int32_t>(notes - names.begin()));
    PressKey(app, WindowOf(*list), 'C', true);
    EXPECT_TRUE(::IsClipboardFormatAvailable(IdListArrayFormat()));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    auto drop = static_cast<HDROP>(::GetClipboardData(CF_HDROP));
    wchar_t copied[MAX_PATH] = {};
    if (drop)
        ::DragQueryFileW(drop, 0, copied, MAX_PATH);
    ::CloseClipboard();
    EXPECT_EQ(std::wstring(copied), scratch / L"Work\\notes.txt");
}

TEST_F(WatchedShellTest, TheListViewRenamesByKeysAndSortsByItsHeader)
{
    scratch.Write("Work\\big.txt", std::string(3000, 'b'));
    auto* list = Add<TNsShellList>();
    list->SetBounds(0, 0, 400, 200);
    list->SetViewStyle(vsReport);
    list->options &= ~nsloShowHidden;
    list->Folder()->SetPath(root);
    Show();
    HWND window = WindowOf(*list);
    EXPECT_EQ(::SendMessageW(window, LVM_GETITEMCOUNT, 0, 0), 4);
    HWND header = reinterpret_cast<HWND>(::SendMessageW(window, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 4);

    // F2 on a file, a new name typed, Enter: the file is renamed on disk.
    list->SetItemIndex(3);  // notes.txt
    PressKey(app, window, VK_F2);
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(window, LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextA(edit, "zeta.txt");
    PressKey(app, edit, VK_RETURN);
    EXPECT_TRUE(PumpUntil(app, [&] { return list->Item(3).caption == "zeta.txt"; }));
    EXPECT_TRUE(testsupport::FileExists(scratch / L"Work\\zeta.txt"));
    wchar_t shown[MAX_PATH] = {};
    LVITEMW item{};
    item.pszText = shown;
    item.cchTextMax = MAX_PATH;
    ::SendMessageW(window, LVM_GETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(shown), L"zeta.txt");

    // A click on the Size header sorts by size; the header item is drawn by the list.
    RECT size{};
    ::SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&size));
    const LPARAM at = MAKELPARAM((size.left + size.right) / 2, (size.top + size.bottom) / 2);
    ::PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(header, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(PumpUntil(app, [&] { return list->SortKey() == 2; }));
    // The order is the folder's own: Wine's folders order every column by name.
    const auto sorted = list->Captions();
    EXPECT_EQ(std::vector<std::string>(sorted.begin(), sorted.begin() + 2),
              (std::vector<std::string>{"alpha", "Beta"}));
    EXPECT_EQ(sorted.size(), 4u);
    HDITEMW format{};
    format.mask = HDI_FORMAT;
    ::SendMessageW(header, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE(format.fmt & HDF_OWNERDRAW);
    EXPECT_TRUE(format.fmt & HDF_RIGHT);
}

// Ends the menu the test opened once it is up; true when one was up.
bool g_menuWasUp = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_menuWasUp = ::FindWindowW(L"#32768", nullptr) != nullptr;
    ::EndMenu();
}

TEST_F(WatchedShellTest, TheShellsOwnMenuOpensForTheSelectionAndCloses)
{
    auto* list = Add<TNsShellList>();
    list->SetViewStyle(vsReport);
    list->Folder()->SetPath(root);
    Show();
    const auto names = list->Captions();
    const auto notes = std::find(names.begin(), names.end(), "notes.txt");
    ASSERT_NE(notes, names.end());
    list->SetItemIndex(static_cast<std::int32_t>(notes - names.begin()));

    auto menu = shell.ContextMenu(list->Folder()->GetIdList(),
                                  {list->ItemIdList(list->ItemIndex())}, true);
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->Commands().empty());
    g_menuWasUp = false;
    ::SetTimer(nullptr, 0, 300, &CloseMenu);
    EXPECT_EQ(menu->Track(reinterpret_cast<std::uintptr_t>(WindowOf(*list)), 20, 20, nullptr), 0);
    EXPECT_TRUE(g_menuWasUp);

    // The menu key asks the list for it; nothing is chosen, so the file stays.
    g_menuWasUp = false;
    ::SetTimer(nullptr, 0, 300, &CloseMenu);
    ::SendMessageW(WindowOf(*list), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(WindowOf(*list)), -1);
    EXPECT_TRUE(g_menuWasUp);
    EXPECT_TRUE(testsupport::FileExists(scratch / L"Work\\notes.txt"));
}

TEST_F(ShellWindowsTest, ADataObjectCarriesTheItemsInTheShellsFormats)
{
    ::CloseHandle(::CreateFileW((scratch / L"Work\\\u03A9mega.txt").c_str(), GENERIC_WRITE, 0,
                                nullptr, CREATE_NEW, 0, nullptr));
    const IdList folder = *shell.ParsePath(root);
    auto items = shell.Enumerate(folder, kEnumFolders | kEnumNonFolders);
    ASSERT_TRUE(items.has_value());
    std::vector<IdList> chosen;
    std::vector<std::wstring> expected;
    for (const IdList& item : *items) {
        const std::string name = shell.DisplayName(folder, item, ShellNameKind::InFolder);
        if (name == "notes.txt" || name == "Beta" || name.find("mega") != std::string::npos) {
            chosen.push_back(item);
            expected.push_back(core::AnsiToWide(root) + L"\\" +
                               (name.find("mega") != std::string::npos ? L"\u03A9mega.txt"
                                                                       : core::AnsiToWide(name)));
        }
    }
    ASSERT_EQ(chosen.size(), 3u);
    IDataObject* data = shell.DataObjectOf(folder, chosen);
    ASSERT_NE(data, nullptr);

    // The ID-list array first, then the file-drop list.
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
    FORMATETC offered[3] = {};
    ULONG count = 0;
    EXPECT_EQ(formats->Next(3, offered, &count), S_FALSE);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(offered[0].cfFormat, IdListArrayFormat());
    EXPECT_EQ(offered[1].cfFormat, CF_HDROP);
    EXPECT_EQ(formats->Skip(5), S_FALSE);
    formats->Release();
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);

    struct Query
    {
        CLIPFORMAT format;
        DWORD aspect;
        DWORD tymed;
        HRESULT answer;
    };
    const Query queries[] = {
        {CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL, S_OK},
        {IdListArrayFormat(), DVASPECT_CONTENT, TYMED_HGLOBAL | TYMED_ISTREAM, S_OK},
        {CF_HDROP, DVASPECT_CONTENT, TYMED_ISTREAM, DV_E_TYMED},
        {CF_HDROP, DVASPECT_ICON, TYMED_HGLOBAL, DV_E_FORMATETC},
        {CF_TEXT, DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
    };
    for (const Query& query : queries) {
        FORMATETC format{query.format, nullptr, query.aspect, -1, query.tymed};
        EXPECT_EQ(data->QueryGetData(&format), query.answer) << query.format;
    }

    FORMATETC arrayFormat{IdListArrayFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    ASSERT_EQ(data->GetData(&arrayFormat, &medium), S_OK);
    const auto* bytes = static_cast<const char*>(::GlobalLock(medium.hGlobal));
    const auto array = ParseIdListArray(std::string_view(bytes, ::GlobalSize(medium.hGlobal)));
    ::GlobalUnlock(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    ASSERT_TRUE(array.has_value());
    EXPECT_EQ(array->parent, folder);
    EXPECT_EQ(array->items, chosen);

    // Every name arrives whole, in the shell's own wide form.
    FORMATETC dropFormat{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    ASSERT_EQ(data->GetData(&dropFormat, &medium), S_OK);
    auto drop = static_cast<HDROP>(medium.hGlobal);
    std::vector<std::wstring> paths;
    for (UINT i = 0; i < ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0); ++i) {
        wchar_t path[MAX_PATH] = {};
        ::DragQueryFileW(drop, i, path, MAX_PATH);
        paths.push_back(path);
    }
    ::ReleaseStgMedium(&medium);
    EXPECT_EQ(paths, expected);

    // File-system items may be copied, moved and linked; a foreign object without the array
    // allows everything.
    EXPECT_EQ(shell.AllowedEffectsOf(*data) & kDropAll, kDropAll);
    data->Release();

    IDropSource* source = MakeDropSource(kKeyRightButton);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_RBUTTON), S_OK);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_RBUTTON | MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
    source->Release();
}


// The item of the tree window that shows the node.
TVITEMA ShownItem(HWND window, const TTreeNode* node)
{
    TVITEMA item{};
    item.hItem = TreeItemOf(window, node);
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
    item.stateMask = TVIS_CUT | TVIS_OVERLAYMASK | TVIS_EXPANDED;
    ::SendMessageA(window, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item;
}

TTreeNode* ChildNamed(const TTreeNode* node, const std::string& text)
{
    for (const auto& child : node->Children())
        if (child->Text() == text)
            return child.get();
    return nullptr;
}

TEST_F(WatchedShellTest, TheTreeWindowShowsTheShellsIconsAndOpensNodesByPostedKeys)
{
    auto* tree = Add<TNsShellTree>();
    tree->SetBounds(0, 0, 240, 240);
    tree->BaseFolder()->SetPath(root);
    Show();
    HWND window = WindowOf(*tree);
    SHFILEINFOW info{};
    const auto system = reinterpret_cast<HIMAGELIST>(::SHGetFileInfoW(
        L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(::SendMessageA(window, TVM_GETIMAGELIST, TVSIL_NORMAL, 0),
              reinterpret_cast<LRESULT>(system));
    // The shell's lists of every size hold the same icons at the same places.
    const auto large = reinterpret_cast<HIMAGELIST>(::SHGetFileInfoW(
        L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    // The image list interface's id, which the import libraries lack.
    constexpr GUID kImageList = {0x46eb5926, 0x582e, 0x4017,
                                 {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};
    IUnknown* extraLarge = nullptr;
    ASSERT_EQ(::SHGetImageList(SHIL_EXTRALARGE, kImageList,
                               reinterpret_cast<void**>(&extraLarge)),
              S_OK);
    EXPECT_EQ(::ImageList_GetImageCount(system), ::ImageList_GetImageCount(large));
    EXPECT_EQ(::ImageList_GetImageCount(system),
              ::ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(extraLarge)));
    extraLarge->Release();

    TTreeNode* work = tree->Items()->Roots().front().get();
    const IdList base = tree->BaseFolder()->GetIdList();
    const TVITEMA shownWork = ShownItem(window, work);
    EXPECT_EQ(shownWork.iImage, shell.IconIndex(base, false));
    EXPECT_EQ(shownWork.iSelectedImage, shell.IconIndex(base, true));
    EXPECT_TRUE(shownWork.state & TVIS_EXPANDED);
    EXPECT_TRUE(ShownItem(window, ChildNamed(work, ".cache")).state & TVIS_CUT);
    EXPECT_FALSE(ShownItem(window, ChildNamed(work, "alpha")).state & TVIS_CUT);

    // Beta's folder is not listed yet, but the window offers to open it.
    TTreeNode* beta = ChildNamed(work, "Beta");
    ASSERT_NE(beta, nullptr);
    EXPECT_TRUE(beta->Children().empty());
    EXPECT_EQ(ShownItem(window, beta).cChildren, 1);

    // The right arrow opens the selected node, which lists its folder.
    tree->SetSelectedPath(root + "\\Beta");
    app.ProcessMessages();
    ASSERT_EQ(tree->Selected(), beta);
    ::SetFocus(window);
    PressKey(app, window, VK_RIGHT);
    EXPECT_TRUE(PumpUntil(app, [&] { return ChildTexts(beta).size() == 1; }));
    EXPECT_EQ(ChildTexts(beta), (std::vector<std::string>{"Deep"}));

    // Wine tells nothing of a change this deep below the watched drive: closing and opening the
    // node again brings it up to date.
    scratch.Make("Work\\Beta\\Late");
    PressKey(app, window, VK_LEFT);
    PressKey(app, window, VK_RIGHT);
    EXPECT_TRUE(PumpUntil(app, [&] { return ChildTexts(beta).size() == 2; }));
    EXPECT_EQ(ChildTexts(beta), (std::vector<std::string>{"Deep", "Late"}));
    EXPECT_TRUE(ShownItem(window, beta).state & TVIS_EXPANDED);
}

// The process's Explorer instance of a test: it answers only for its browser.
class FakeExplorer final : public IUnknown
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (id == IID_IUnknown || id == IID_IShellBrowser) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    ULONG references = 1;
};

TEST_F(WatchedShellTest, TheListAnswersTheShellsQuestionForItsBrowser)
{
    constexpr UINT kGetShellBrowser = WM_USER + 7;
    auto* list = Add<TNsShellList>();
    list->Folder()->SetPath(root);
    Show();
    HWND window = WindowOf(*list);
    EXPECT_EQ(::SendMessageW(window, kGetShellBrowser, 0, 0), 0);

    using SetInstance = void(WINAPI*)(IUnknown*);
    auto set = reinterpret_cast<SetInstance>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("shell32.dll"), "SHSetInstanceExplorer")));
    ASSERT_NE(set, nullptr);
    FakeExplorer explorer;
    set(&explorer);
    EXPECT_EQ(::SendMessageW(window, kGetShellBrowser, 0, 0),
              reinterpret_cast<LRESULT>(static_cast<IUnknown*>(&explorer)));
    set(nullptr);
    // The answer hands out no reference of its own.
    EXPECT_EQ(explorer.references, 1u);
}

TEST_F(ShellWindowsTest, SendToDropsTheItemsOntoTheChosenEntryOnly)
{
    const std::string sendTo = scratch.Make("SendTo");
    scratch.Make("SendTo\\Archive");
    const IdList folder = *shell.ParsePath(root);
    const IdList notes = IdListLast(*shell.ParsePath(root + "\\notes.txt"));
    IDataObject* data = shell.DataObjectOf(folder, {notes});
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(RunSendTo(sendTo, "Missing", *data));
    EXPECT_TRUE(RunSendTo(sendTo, "Archive", *data));
    data->Release();
    // Wine's folders take the drop and copy nothing; what was sent is never moved away.
    EXPECT_TRUE(testsupport::FileExists(scratch / L"Work\\notes.txt"));
}

}  // namespace
}  // namespace setup::ui::testing
