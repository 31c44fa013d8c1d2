#include "setup/ui/shell_namespace_win32.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "core/text_convert.h"
#include "setup/ui/send_to_win32.h"
#include "setup/ui/shell_context_menu_win32.h"
#include "setup/ui/shell_data_object_win32.h"
#include "setup/ui/shell_drop_target_win32.h"
#include "setup/ui/shell_transfer.h"

namespace setup::ui {

namespace {

constexpr DWORD kNameFlags[] = {SHGDN_NORMAL, SHGDN_INFOLDER, SHGDN_FORPARSING,
                                SHGDN_INFOLDER | SHGDN_FOREDITING};

LPCITEMIDLIST AsPidl(const IdList& list)
{
    return reinterpret_cast<LPCITEMIDLIST>(list.data());
}

// Takes the shell's list into bytes and frees it.
IdList Adopt(LPITEMIDLIST pidl)
{
    if (!pidl)
        return {};
    IdList list(reinterpret_cast<const char*>(pidl), ::ILGetSize(pidl));
    ::CoTaskMemFree(pidl);
    return list;
}

template <class T>
void Release(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

bool Usable(const IdList& list)
{
    return IdListSize(list) != 0;
}

constexpr UINT kFirstCommand = 1000;
constexpr UINT kLastCommand = 0x7FFF;

// The offset of the menu's command that carries the verb; -1 when none does.
int FindVerbCommand(IContextMenu& menu, const std::string& verb)
{
    HMENU popup = ::CreatePopupMenu();
    if (!popup)
        return -1;
    int found = -1;
    if (SUCCEEDED(menu.QueryContextMenu(popup, 0, kFirstCommand, kLastCommand, CMF_EXPLORE))) {
        const int count = ::GetMenuItemCount(popup);
        for (int i = 0; i < count && found < 0; ++i) {
            const UINT id = ::GetMenuItemID(popup, i);
            if (id == static_cast<UINT>(-1) || id < kFirstCommand)
                continue;
            char name[MAX_PATH] = {};
            if (FAILED(menu.GetCommandString(id - kFirstCommand, GCS_VERBA, nullptr, name,
                                             sizeof(name))))
                continue;
            name[MAX_PATH - 1] = 0;
            if (::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name, -1, verb.c_str(),
                                 -1) == CSTR_EQUAL)
                found = static_cast<int>(id - kFirstCommand);
        }
    }
    ::DestroyMenu(popup);
    return found;
}

// The offset of the menu's default command; -1 when it has none.
int FindDefaultCommand(IContextMenu& menu)
{
    HMENU popup = ::CreatePopupMenu();
    if (!popup)
        return -1;
    int found = -1;
    if (SUCCEEDED(menu.QueryContextMenu(popup, 0, kFirstCommand, kLastCommand, CMF_DEFAULTONLY))) {
        const UINT id = ::GetMenuDefaultItem(popup, FALSE, 0);
        if (id != static_cast<UINT>(-1) && id >= kFirstCommand)
            found = static_cast<int>(id - kFirstCommand);
    }
    ::DestroyMenu(popup);
    return found;
}

// Runs the verb's command of the menu (its default command for an empty verb); false when no
// command carries it.
bool InvokeMenuVerb(IContextMenu& menu, const std::string& verb)
{
    const int command = verb.empty() ? FindDefaultCommand(menu) : FindVerbCommand(menu, verb);
    if (command < 0)
        return false;
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);
    info.lpVerb = MAKEINTRESOURCEA(command);
    info.nShow = SW_SHOWNORMAL;
    return SUCCEEDED(menu.InvokeCommand(&info));
}

}  // namespace

Win32ShellNamespace::Win32ShellNamespace()
{
    // OLE, not only COM: the clipboard verbs need it.
    m_comJoined = SUCCEEDED(::OleInitialize(nullptr));
    if (FAILED(::SHGetDesktopFolder(&m_desktop)))
        m_desktop = nullptr;
}

Win32ShellNamespace::~Win32ShellNamespace()
{
    Release(m_desktop);
    if (m_comJoined)
        ::OleUninitialize();
}

IShellFolder* Win32ShellNamespace::Bind(const IdList& folder) const
{
    if (!m_desktop)
        return nullptr;
    if (IdListCount(folder).value_or(0) == 0) {
        m_desktop->AddRef();
        return m_desktop;
    }
    IShellFolder* bound = nullptr;
    if (FAILED(m_desktop->BindToObject(AsPidl(folder), nullptr, IID_IShellFolder,
                                       reinterpret_cast<void**>(&bound))))
        return nullptr;
    return bound;
}

std::optional<std::vector<IdList>> Win32ShellNamespace::Enumerate(const IdList& folder,
                                                                  unsigned flags)
{
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder)
        return std::nullopt;
    IEnumIDList* items = nullptr;
    const UINT previousMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    const HRESULT listed = shellFolder->EnumObjects(nullptr, flags, &items);
    std::optional<std::vector<IdList>> found;
    // S_FALSE with no enumerator is an empty folder.
    if (listed == S_OK && items) {
        found.emplace();
        LPITEMIDLIST item = nullptr;
        while (items->Next(1, &item, nullptr) == S_OK)
            found->push_back(Adopt(item));
    } else if (SUCCEEDED(listed)) {
        found.emplace();
    }
    ::SetErrorMode(previousMode);
    Release(items);
    Release(shellFolder);
    return found;
}

std::uint32_t Win32ShellNamespace::Attributes(const IdList& folder, const IdList& item,
                                              std::uint32_t mask)
{
    if (!Usable(item))
        return 0;
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder)
        return 0;
    SFGAOF attributes = mask;
    LPCITEMIDLIST items[] = {AsPidl(item)};
    if (FAILED(shellFolder->GetAttributesOf(1, items, &attributes)))
        attributes = 0;
    Release(shellFolder);
    return attributes & mask;
}

std::string Win32ShellNamespace::DisplayName(const IdList& folder, const IdList& item,
                                             ShellNameKind kind)
{
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder)
        return {};
    std::string name;
    STRRET text{};
    const IdList& named = Usable(item) ? item : folder;
    IShellFolder* asking = shellFolder;
    if (!Usable(item)) {
        // The folder itself: its name as the desktop gives it.
        asking = m_desktop;
    }
    if (asking &&
        SUCCEEDED(asking->GetDisplayNameOf(AsPidl(named), kNameFlags[int(kind)], &text))) {
        wchar_t buffer[MAX_PATH + 1] = {};
        if (SUCCEEDED(::StrRetToBufW(&text, AsPidl(named), buffer, MAX_PATH)))
            name = core::WideToAnsi(buffer);
    }
    Release(shellFolder);
    return name;
}

int Win32ShellNamespace::Compare(const IdList& folder, const IdList& a, const IdList& b,
                                 int column)
{
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder || !Usable(a) || !Usable(b)) {
        Release(shellFolder);
        return a.compare(b);
    }
    const HRESULT result = shellFolder->CompareIDs(static_cast<LPARAM>(column & 0xFFFF), AsPidl(a), AsPidl(b));
    Release(shellFolder);
    if (FAILED(result))
        return 0;
    return static_cast<short>(HRESULT_CODE(result));
}

ItemDetails Win32ShellNamespace::Details(const IdList& folder, const IdList& item)
{
    ItemDetails details;
    const IdList absolute = ConcatIdLists(folder, item);
    const std::string path = PathOf(absolute);
    if (path.empty()) {
        details.type = "System Folder";
        return details;
    }
    SHFILEINFOW info{};
    if (::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute.data()), 0, &info, sizeof(info),
                         SHGFI_PIDL | SHGFI_TYPENAME))
        details.type = core::WideToAnsi(info.szTypeName);
    if (path.size() <= 3)
        return details;
    WIN32_FIND_DATAW found{};
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    HANDLE search = ::FindFirstFileW(core::AnsiToWide(path).c_str(), &found);
    ::SetErrorMode(oldMode);
    if (search == INVALID_HANDLE_VALUE)
        return details;
    ::FindClose(search);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        details.hasSize = true;
        details.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    }
    FILETIME written = found.ftLastWriteTime;
    if (written.dwLowDateTime == 0 && written.dwHighDateTime == 0)
        written = found.ftCreationTime;
    FILETIME local{};
    SYSTEMTIME time{};
    if (::FileTimeToLocalFileTime(&written, &local) && ::FileTimeToSystemTime(&local, &time)) {
        wchar_t date[80] = {};
        wchar_t clock[80] = {};
        ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 80);
        ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 80);
        details.modified = core::WideToAnsi(date) + " " + core::WideToAnsi(clock);
    }
    return details;
}

std::string Win32ShellNamespace::StoredColumnWidths()
{
    // The value is short; a longer one is not the layout the widths are read from.
    BYTE data[22] = {};
    DWORD size = sizeof(data);
    DWORD type = 0;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", 0,
                        KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    const LONG read = ::RegQueryValueExA(key, "DirectoryCols", nullptr, &type, data, &size);
    ::RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_BINARY)
        return {};
    return std::string(reinterpret_cast<const char*>(data), size);
}

std::optional<IdList> Win32ShellNamespace::ParsePath(const std::string& path)
{
    if (!m_desktop || path.empty() || path.size() > MAX_PATH)
        return std::nullopt;
    std::wstring wide = core::AnsiToWide(path);
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(m_desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &pidl, nullptr)))
        return std::nullopt;
    return Adopt(pidl);
}

std::string Win32ShellNamespace::PathOf(const IdList& absolute)
{
    const IdList list = Usable(absolute) ? absolute : DesktopIdList();
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!::SHGetPathFromIDListW(AsPidl(list), buffer))
        return {};
    return core::WideToAnsi(buffer);
}

std::optional<IdList> Win32ShellNamespace::SpecialFolder(int number)
{
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, number & 0x7F, &pidl)) || !pidl)
        return std::nullopt;
    return Adopt(pidl);
}

int Win32ShellNamespace::IconIndex(const IdList& absolute, bool open)
{
    const IdList list = Usable(absolute) ? absolute : DesktopIdList();
    SHFILEINFOW info{};
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    if (open)
        flags |= SHGFI_OPENICON;
    if (!::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list.data()), 0, &info, sizeof(info), flags))
        return 0;
    return info.iIcon;
}

std::optional<IdList> Win32ShellNamespace::Rename(const IdList& folder, const IdList& item,
                                                  const std::string& name)
{
    if (!Usable(item) || name.empty() || name.size() > MAX_PATH)
        return std::nullopt;
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder)
        return std::nullopt;
    std::wstring wide = core::AnsiToWide(name);
    LPITEMIDLIST renamed = nullptr;
    const HRESULT result =
        shellFolder->SetNameOf(nullptr, AsPidl(item), wide.c_str(), SHGDN_INFOLDER, &renamed);
    Release(shellFolder);
    if (FAILED(result))
        return std::nullopt;
    if (renamed)
        return Adopt(renamed);
    // The shell renamed without handing out the new item: look it up by its new name.
    auto parsed = ParsePath(PathOf(folder) + "\\" + name);
    if (!parsed)
        return std::nullopt;
    return IdListLast(*parsed);
}

IContextMenu* Win32ShellNamespace::MenuOf(const IdList& folder, const std::vector<IdList>& items)
{
    std::vector<LPCITEMIDLIST> pidls;
    for (const IdList& item : items) {
        if (!Usable(item))
            return nullptr;
        pidls.push_back(AsPidl(item));
    }
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder)
        return nullptr;
    IContextMenu* menu = nullptr;
    HRESULT made = E_FAIL;
    if (pidls.empty())
        made = shellFolder->CreateViewObject(nullptr, IID_IContextMenu,
                                             reinterpret_cast<void**>(&menu));
    else
        made =
            shellFolder->GetUIObjectOf(nullptr, static_cast<UINT>(pidls.size()), pidls.data(),
                                       IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu));
    Release(shellFolder);
    if (FAILED(made))
        Release(menu);
    return menu;
}

std::unique_ptr<IShellContextMenu> Win32ShellNamespace::ContextMenu(
    const IdList& folder, const std::vector<IdList>& items, bool canRename)
{
    return MakeShellContextMenu(MenuOf(folder, items), canRename);
}

bool Win32ShellNamespace::InvokeVerb(const IdList& folder, const std::vector<IdList>& items,
                                     const std::string& verb)
{
    IContextMenu* menu = MenuOf(folder, items);
    const bool done = menu && InvokeMenuVerb(*menu, verb);
    Release(menu);
    // Some shells offer "paste" only in the menu of a folder's open view.
    if (!done && items.size() == 1 && Usable(items.front()) &&
        ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, verb.c_str(), -1, "paste", -1) ==
            CSTR_EQUAL)
        return InvokeVerb(ConcatIdLists(folder, items.front()), {}, verb);
    return done;
}

IDataObject* Win32ShellNamespace::DataObjectOf(const IdList& folder,
                                               const std::vector<IdList>& items)
{
    for (const IdList& item : items)
        if (!Usable(item))
            return nullptr;
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder)
        return nullptr;
    IDataObject* data = MakeShellDataObject(*shellFolder, folder, items);
    Release(shellFolder);
    return data;
}

std::uint32_t Win32ShellNamespace::AllowedEffectsOf(IDataObject& data)
{
    return m_desktop ? AllowedEffectsOfData(data, *m_desktop) : kDropAll;
}

std::uint32_t Win32ShellNamespace::AllowedEffects(IDragData& data)
{
    auto* dragged = dynamic_cast<Win32DragData*>(&data);
    return dragged ? AllowedEffectsOf(dragged->object) : kDropAll;
}

bool Win32ShellNamespace::Drag(const IdList& folder, const std::vector<IdList>& items,
                               std::uint32_t allowedEffects, std::uint32_t button)
{
    IDataObject* data = DataObjectOf(folder, items);
    if (!data)
        return false;
    IDropSource* source = MakeDropSource(button);
    DWORD effect = 0;
    const HRESULT result = ::DoDragDrop(data, source, allowedEffects, &effect);
    source->Release();
    data->Release();
    return result == DRAGDROP_S_DROP;
}

namespace {

class ShellFolderDropTarget final : public IShellDropTarget
{
public:
    explicit ShellFolderDropTarget(IDropTarget* target) : m_target(target) {}
    ~ShellFolderDropTarget() override { m_target->Release(); }
    ShellFolderDropTarget(const ShellFolderDropTarget&) = delete;
    ShellFolderDropTarget& operator=(const ShellFolderDropTarget&) = delete;

    std::uint32_t DragEnter(IDragData& data, std::uint32_t keyState, int x, int y,
                            std::uint32_t effect) override
    {
        auto* dragged = dynamic_cast<Win32DragData*>(&data);
        DWORD answer = effect;
        if (!dragged || FAILED(m_target->DragEnter(&dragged->object, keyState, {x, y}, &answer)))
            return 0;
        return answer;
    }
    std::uint32_t DragOver(std::uint32_t keyState, int x, int y, std::uint32_t effect) override
    {
        DWORD answer = effect;
        return SUCCEEDED(m_target->DragOver(keyState, {x, y}, &answer)) ? answer : 0;
    }
    void DragLeave() override { m_target->DragLeave(); }
    std::uint32_t Drop(IDragData& data, std::uint32_t keyState, int x, int y,
                       std::uint32_t effect) override
    {
        auto* dragged = dynamic_cast<Win32DragData*>(&data);
        DWORD answer = effect;
        if (!dragged || FAILED(m_target->Drop(&dragged->object, keyState, {x, y}, &answer)))
            return 0;
        return answer;
    }

private:
    IDropTarget* m_target;
};

}  // namespace

std::unique_ptr<IShellDropTarget> Win32ShellNamespace::DropTarget(const IdList& folder,
                                                                  const IdList& item)
{
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder)
        return nullptr;
    IDropTarget* target = nullptr;
    HRESULT made = E_FAIL;
    if (Usable(item)) {
        LPCITEMIDLIST pidl = AsPidl(item);
        made = shellFolder->GetUIObjectOf(nullptr, 1, &pidl, IID_IDropTarget, nullptr,
                                          reinterpret_cast<void**>(&target));
    } else {
        made = shellFolder->CreateViewObject(nullptr, IID_IDropTarget,
                                             reinterpret_cast<void**>(&target));
    }
    Release(shellFolder);
    if (FAILED(made) || !target)
        return nullptr;
    return std::make_unique<ShellFolderDropTarget>(target);
}

bool Win32ShellNamespace::SendTo(int id, const IdList& folder, const std::vector<IdList>& items)
{
    const int index = SendToIndexOfCommand(id, SendToList().size());
    if (index < 0)
        return false;
    IDataObject* data = DataObjectOf(folder, items);
    if (!data)
        return false;
    const bool done =
        RunSendTo(SendToFolderPath(), SendToList()[static_cast<std::size_t>(index)].name, *data);
    data->Release();
    return done;
}

std::string Win32ShellNamespace::LinkTarget(const std::string& path)
{
    if (path.empty() || path.size() > MAX_PATH)
        return {};
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link))))
        return {};
    std::string target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(core::AnsiToWide(path).c_str(), STGM_READ)) &&
        // No window and no search dialog: a moved target is looked for at most a millisecond.
        SUCCEEDED(link->Resolve(nullptr, SLR_NO_UI | (1u << 16)))) {
        wchar_t buffer[MAX_PATH + 1] = {};
        WIN32_FIND_DATAW found{};
        if (link->GetPath(buffer, MAX_PATH, &found, 0) == S_OK)
            target = core::WideToAnsi(buffer);
    }
    Release(file);
    Release(link);
    return target;
}

}  // namespace setup::ui
