// Plays Explorer for the context-menu handler in a process of its own, so that each run meets a
// fresh configuration: creates the registered handler, initialises it with a data object for the
// selection, builds the menu, asks for the command strings and invokes a command. The machine
// registry root is redirected to a scratch key under HKEY_CURRENT_USER that holds the test's
// "Shell Extension" fixture, and the user root to its subkey "user", once the class factory is
// there.
//
//   explorer_host <result file> <scratch key> <shell|hdrop|bin|none> <offset to invoke|-> [path...]
//
// A path "@<file>" stands for the paths in that file, one per line (UTF-16, no byte-order mark).
//
// shell: the shell's own data object for paths in one folder; hdrop: a hand-made one carrying the
// paths as dropped files; bin: a hand-made one without dropped files, with the Recycle Bin's class
// key; none: no data object at all.
//
// The result file gets UTF-16 lines: "init <hr>", "query <code>", the menu ("item <id> <text>
// <bitmap 0|1>", "submenu <id> <text> <bitmap 0|1>", its items indented by two blanks),
// "defaultonly <code>", "string <type> <hr> <text>", "verb <hr>", "unknown <hr>", "invoke <hr>",
// "aggregate ..." (see Aggregate), and DllCanUnloadNow's answer while the handler lives and after
// everything is released
// ("canunload <hr>").
#include "core/text_convert.h"
#include "core/unique_handle.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// {167A4A27-28EA-4861-8173-963F9900D44C}
constexpr CLSID kHandlerClsid = {
    0x167A4A27, 0x28EA, 0x4861, {0x81, 0x73, 0x96, 0x3F, 0x99, 0x00, 0xD4, 0x4C}};

// A data object that offers the given paths as dropped files, or nothing at all.
class HandMadeDataObject final : public IDataObject
{
public:
    explicit HandMadeDataObject(std::vector<std::wstring> paths, bool offersDrop)
        : m_paths(std::move(paths)), m_offersDrop(offersDrop)
    {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (!m_offersDrop || format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        std::wstring names;
        for (const std::wstring& path : m_paths)
            names += path + L'\0';
        names += L'\0';
        const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
        ::GlobalUnlock(block);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return m_offersDrop && format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::vector<std::wstring> m_paths;
    bool m_offersDrop;
    ULONG m_references = 1;
};

// The shell's data object for items of one folder.
IDataObject* ShellDataObject(const std::vector<std::wstring>& paths)
{
    if (paths.empty())
        return nullptr;
    std::wstring folderPath = paths.front();
    ::PathRemoveFileSpecW(folderPath.data());
    folderPath.resize(std::wcslen(folderPath.c_str()));
    PIDLIST_ABSOLUTE folderList = nullptr;
    if (FAILED(::SHParseDisplayName(folderPath.c_str(), nullptr, &folderList, 0, nullptr)))
        return nullptr;
    IShellFolder* folder = nullptr;
    ::SHBindToObject(nullptr, folderList, nullptr, IID_IShellFolder,
                     reinterpret_cast<void**>(&folder));
    ::CoTaskMemFree(folderList);
    if (!folder)
        return nullptr;
    std::vector<PITEMID_CHILD> children;
    for (const std::wstring& path : paths) {
        std::wstring name = ::PathFindFileNameW(path.c_str());
        PIDLIST_RELATIVE child = nullptr;
        if (SUCCEEDED(
                folder->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &child, nullptr)))
            children.push_back(reinterpret_cast<PITEMID_CHILD>(child));
    }
    IDataObject* data = nullptr;
    folder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()),
                          const_cast<PCUITEMID_CHILD_ARRAY>(children.data()), IID_IDataObject,
                          nullptr, reinterpret_cast<void**>(&data));
    for (PITEMID_CHILD child : children)
        ::CoTaskMemFree(child);
    folder->Release();
    return data;
}

void DumpMenu(HMENU menu, const std::wstring& indent, std::vector<std::wstring>& lines)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_CHECKMARKS;
        info.dwTypeData = text;
        info.cch = 511;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        const std::wstring bitmap = info.hbmpUnchecked ? L"1" : L"0";
        lines.push_back(indent + (info.hSubMenu ? L"submenu " : L"item ") +
                        std::to_wstring(info.wID) + L" " + text + L" " + bitmap);
        if (info.hSubMenu)
            DumpMenu(info.hSubMenu, indent + L"  ", lines);
    }
}

std::wstring Hex(HRESULT result)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"%08lX", static_cast<unsigned long>(result));
    return text;
}

// An outer object that only counts its references.
class CountingOuter final : public IUnknown
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    ULONG references = 1;
};

// "<create> <query> <outer references gained by the query> <create asking for another interface>"
// for the handler aggregated by an outer object.
std::wstring Aggregate(IClassFactory& factory)
{
    CountingOuter outer;
    IUnknown* inner = nullptr;
    const HRESULT created =
        factory.CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner));
    HRESULT queried = E_FAIL;
    ULONG gained = 0;
    if (inner) {
        IContextMenu* menu = nullptr;
        const ULONG before = outer.references;
        queried = inner->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu));
        gained = outer.references - before;
        if (menu)
            menu->Release();
        inner->Release();
    }
    void* refused = nullptr;
    const HRESULT wrong = factory.CreateInstance(&outer, IID_IContextMenu, &refused);
    return Hex(created) + L" " + Hex(queried) + L" " + std::to_wstring(gained) + L" " + Hex(wrong);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 5)
        return 90;
    const std::wstring resultFile = argv[1];
    const std::wstring scratch = argv[2];
    const std::wstring mode = argv[3];
    const std::wstring invoke = argv[4];
    std::vector<std::wstring> paths;
    for (int i = 5; i < argc; ++i) {
        if (argv[i][0] != L'@') {
            paths.emplace_back(argv[i]);
            continue;
        }
        // "@file": one path per line of a UTF-16 file, for selections longer than a command line.
        core::UniqueFile list(::CreateFileW(argv[i] + 1, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        std::wstring text(::GetFileSize(list.Get(), nullptr) / sizeof(wchar_t), L'\0');
        DWORD read = 0;
        ::ReadFile(list.Get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                   &read, nullptr);
        std::size_t start = 0;
        for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos;
             start = end + 1)
            paths.push_back(text.substr(start, end - start));
    }

    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<std::wstring> lines;
    int exitCode = 0;
    {
        IClassFactory* factory = nullptr;
        HRESULT result = ::CoGetClassObject(kHandlerClsid, CLSCTX_INPROC_SERVER, nullptr,
                                            IID_IClassFactory, reinterpret_cast<void**>(&factory));
        if (FAILED(result)) {
            lines.push_back(L"factory " + Hex(result));
            exitCode = 91;
        }
        core::UniqueKey classKey;
        ::RegOpenKeyExW(HKEY_CLASSES_ROOT,
                        mode == L"bin" ? L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}" : L"*", 0,
                        KEY_READ, classKey.Put());
        HandMadeDataObject handMade(paths, mode == L"hdrop");
        IDataObject* data = nullptr;
        if (mode == L"shell")
            data = ShellDataObject(paths);
        else if (mode != L"none")
            data = &handMade;

        core::UniqueKey machine, user;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, machine.Put(), nullptr);
        ::RegCreateKeyExW(HKEY_CURRENT_USER, (scratch + L"\\user").c_str(), 0, nullptr, 0,
                          KEY_ALL_ACCESS, nullptr, user.Put(), nullptr);
        ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine.Get());
        ::RegOverridePredefKey(HKEY_CURRENT_USER, user.Get());

        IShellExtInit* init = nullptr;
        IContextMenu* menu = nullptr;
        if (factory && SUCCEEDED(factory->CreateInstance(nullptr, IID_IShellExtInit,
                                                         reinterpret_cast<void**>(&init)))) {
            lines.push_back(L"init " + Hex(init->Initialize(nullptr, data, classKey.Get())));
            init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu));
        }
        if (menu) {
            HMENU defaultOnly = ::CreatePopupMenu();
            lines.push_back(L"defaultonly " +
                            Hex(menu->QueryContextMenu(defaultOnly, 0, 100, 200, CMF_DEFAULTONLY)));
            ::DestroyMenu(defaultOnly);

            HMENU popup = ::CreatePopupMenu();
            lines.push_back(L"query " +
                            Hex(menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL)));
            DumpMenu(popup, L"", lines);
            ::DestroyMenu(popup);

            for (UINT type = 0; type <= 6; ++type) {
                wchar_t buffer[300] = {};
                char* raw = reinterpret_cast<char*>(buffer);
                // A validation supplies no buffer.
                const HRESULT got = menu->GetCommandString(
                    0, type, nullptr, type == GCS_VALIDATEW ? nullptr : raw, 300);
                std::wstring text =
                    (type & GCS_UNICODE) ? std::wstring(buffer) : core::AnsiToWide(raw);
                lines.push_back(L"string " + std::to_wstring(type) + L" " + Hex(got) + L" " + text);
            }

            CMINVOKECOMMANDINFO verb = {};
            verb.cbSize = sizeof verb;
            verb.lpVerb = "open";
            lines.push_back(L"verb " + Hex(menu->InvokeCommand(&verb)));
            CMINVOKECOMMANDINFO unknown = verb;
            unknown.lpVerb = MAKEINTRESOURCEA(99);
            lines.push_back(L"unknown " + Hex(menu->InvokeCommand(&unknown)));
            if (invoke != L"-") {
                CMINVOKECOMMANDINFO chosen = verb;
                chosen.lpVerb = MAKEINTRESOURCEA(std::wcstol(invoke.c_str(), nullptr, 10));
                lines.push_back(L"invoke " + Hex(menu->InvokeCommand(&chosen)));
            }
            menu->Release();
        }
        if (factory)
            lines.push_back(L"aggregate " + Aggregate(*factory));
        using CanUnloadFunction = HRESULT(STDAPICALLTYPE*)();
        const auto canUnload = reinterpret_cast<CanUnloadFunction>(
            ::GetProcAddress(::GetModuleHandleW(L"Explorermenu.dll"), "DllCanUnloadNow"));
        if (init && canUnload)
            lines.push_back(L"canunload " + Hex(canUnload()));
        if (init)
            init->Release();
        if (data && data != &handMade)
            data->Release();
        if (factory)
            factory->Release();
        if (canUnload)
            lines.push_back(L"canunload " + Hex(canUnload()));
        ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    }
    ::CoUninitialize();

    std::wstring text = L"\xFEFF";
    for (const std::wstring& line : lines)
        text += line + L"\r\n";
    core::UniqueFile file(::CreateFileW(resultFile.c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                &written, nullptr);
    return exitCode;
}
