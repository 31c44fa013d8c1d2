#include "setup/ui/shell_namespace_win32.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "core/text_convert.h"
#include "setup/ui/shell_data_object_win32.h"
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

// Runs the verb's command of the menu; false when no command carries it.
bool InvokeMenuVerb(IContextMenu& menu, const std::string& verb)
{
    const int command = FindVerbCommand(menu, verb);
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

int Win32ShellNamespace::Compare(const IdList& folder, const IdList& a, const IdList& b)
{
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder || !Usable(a) || !Usable(b)) {
        Release(shellFolder);
        return a.compare(b);
    }
    const HRESULT result = shellFolder->CompareIDs(0, AsPidl(a), AsPidl(b));
    Release(shellFolder);
    if (FAILED(result))
        return 0;
    return static_cast<short>(HRESULT_CODE(result));
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

bool Win32ShellNamespace::InvokeVerb(const IdList& folder, const std::vector<IdList>& items,
                                     const std::string& verb)
{
    std::vector<LPCITEMIDLIST> pidls;
    for (const IdList& item : items) {
        if (!Usable(item))
            return false;
        pidls.push_back(AsPidl(item));
    }
    IShellFolder* shellFolder = Bind(folder);
    if (!shellFolder)
        return false;
    IContextMenu* menu = nullptr;
    HRESULT made = E_FAIL;
    if (pidls.empty())
        made = shellFolder->CreateViewObject(nullptr, IID_IContextMenu,
                                             reinterpret_cast<void**>(&menu));
    else
        made =
            shellFolder->GetUIObjectOf(nullptr, static_cast<UINT>(pidls.size()), pidls.data(),
                                       IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu));
    const bool done = SUCCEEDED(made) && menu && InvokeMenuVerb(*menu, verb);
    Release(menu);
    Release(shellFolder);
    // Some shells offer "paste" only in the menu of a folder's open view.
    if (!done && !pidls.empty() && items.size() == 1 &&
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
