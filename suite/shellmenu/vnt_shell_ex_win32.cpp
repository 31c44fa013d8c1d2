#include "suite/shellmenu/vnt_shell_ex_win32.h"

#include "core/com_object_win32.h"
#include "core/text_convert.h"
#include "suite/shellmenu/command_line.h"
#include "suite/shellmenu/command_string.h"
#include "suite/shellmenu/explorermenu_context_win32.h"
#include "suite/shellmenu/menu_plan.h"
#include "suite/shellmenu/path_facts_win32.h"
#include "suite/shellmenu/registry_key_win32.h"

#include <shellapi.h>
#include <shlobj.h>

#include <map>
#include <new>
#include <string>
#include <vector>

namespace shellmenu {
namespace {

LONG g_moduleLocks = 0;

// Aggregatable: the interfaces' IUnknown methods go to the controlling unknown, which is the
// object's own inner unknown unless an outer object aggregates it.
class CVNTShellEx final : public IShellExtInit, public IContextMenu
{
public:
    explicit CVNTShellEx(IUnknown* outer) : m_inner(*this), m_outer(outer ? outer : &m_inner)
    {
        ::InterlockedIncrement(&g_moduleLocks);
        m_bitmap = ExplorermenuContext::Instance().LoadMenuBitmap();
    }
    ~CVNTShellEx()
    {
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
        ::InterlockedDecrement(&g_moduleLocks);
    }

    IUnknown& Inner() noexcept { return m_inner; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        return m_outer->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_outer->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_outer->Release(); }

    HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE, IDataObject* data,
                                         HKEY classKey) override
    {
        if (!data || !classKey)
            return E_INVALIDARG;
        try {
            m_selection.clear();
            if (!ReadDroppedPaths(*data)) {
                if (const auto treatAs = ReadTreatAs(classKey))
                    m_selection.push_back(MakeSpecialObject(*treatAs));
            }
            return S_OK;
        } catch (...) {
            m_selection.clear();
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId,
                                               UINT flags) override
    {
        try {
            const CommandList shared =
                (flags & CMF_DEFAULTONLY)
                    ? CommandList()
                    : ExplorermenuContext::Instance().SharedCommands(m_selection);
            const MenuPlan plan = PlanMenu(shared, firstId, lastId, (flags & CMF_DEFAULTONLY) != 0);
            if (plan.items.empty())
                return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
            HMENU target = menu;
            UINT at = position;
            if (plan.submenu) {
                target = ::CreatePopupMenu();
                at = 0;
            }
            for (const PlannedItem& item : plan.items) {
                m_commands[item.id - firstId] = item.entry;
                ::InsertMenuW(target, at, MF_BYPOSITION | MF_STRING, item.id,
                              item.entry->text.c_str());
                if (!plan.submenu && m_bitmap)
                    ::SetMenuItemBitmaps(target, at, MF_BYPOSITION, m_bitmap, nullptr);
                ++at;
            }
            if (plan.submenu) {
                const std::wstring title = ExplorermenuContext::Instance().ProductName();
                MENUITEMINFOW info = {};
                info.cbSize = sizeof info;
                info.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_ID;
                info.wID = *plan.submenu;
                info.hSubMenu = target;
                info.dwTypeData = const_cast<wchar_t*>(title.c_str());
                ::InsertMenuItemW(menu, position, TRUE, &info);
                if (m_bitmap)
                    ::SetMenuItemBitmaps(menu, position, MF_BYPOSITION, m_bitmap, nullptr);
            }
            return MAKE_HRESULT(SEVERITY_SUCCESS, 0, plan.IdentifiersUsed());
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override
    {
        if (!info || HIWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0)
            return E_INVALIDARG;
        const MenuEntry* entry = Find(LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)));
        if (!entry)
            return E_INVALIDARG;
        try {
            std::vector<std::wstring> paths;
            for (const ShellObject& item : m_selection)
                paths.push_back(item.path);
            std::wstring line = BuildCommandLine(entry->commandLine, paths);
            STARTUPINFOW startup = {};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION process = {};
            if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process)) {
                ::CloseHandle(process.hThread);
                ::CloseHandle(process.hProcess);
            }
        } catch (...) {
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* buffer,
                                               UINT length) override
    {
        const MenuEntry* entry = Find(offset);
        if (!entry)
            return E_INVALIDARG;
        switch (ReplyFor(type)) {
            case CommandStringReply::Refuse:
                return E_INVALIDARG;
            case CommandStringReply::Confirm:
                return S_OK;
            case CommandStringReply::Wide:
                if (buffer && length)
                    ::lstrcpynW(reinterpret_cast<wchar_t*>(buffer), entry->text.c_str(),
                                static_cast<int>(length));
                return S_OK;
            case CommandStringReply::Ansi:
                if (buffer && length) {
                    try {
                        ::lstrcpynA(buffer, core::WideToAnsi(entry->text).c_str(),
                                    static_cast<int>(length));
                    } catch (...) {
                        return E_OUTOFMEMORY;
                    }
                }
                return S_OK;
        }
        return E_INVALIDARG;
    }

private:
    // False when the data object offers no dropped file names.
    bool ReadDroppedPaths(IDataObject& data)
    {
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        if (FAILED(data.GetData(&format, &medium)))
            return false;
        const auto drop = static_cast<HDROP>(medium.hGlobal);
        const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        Win32PathFacts facts;
        for (UINT i = 0; i < count; ++i) {
            wchar_t name[MAX_PATH] = {};
            if (::DragQueryFileW(drop, i, name, MAX_PATH) == 0)
                continue;
            m_selection.push_back(MakeShellObject(name, facts));
        }
        ::ReleaseStgMedium(&medium);
        return true;
    }

    const MenuEntry* Find(UINT_PTR offset) const
    {
        const auto found = m_commands.find(static_cast<std::uint32_t>(offset));
        return found == m_commands.end() ? nullptr : found->second;
    }

    // The object's own IUnknown, which owns the reference count.
    class InnerUnknown final : public IUnknown
    {
    public:
        explicit InnerUnknown(CVNTShellEx& owner) : m_owner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
        {
            if (!object)
                return E_POINTER;
            if (IsEqualIID(iid, IID_IUnknown)) {
                *object = static_cast<IUnknown*>(this);
            } else if (IsEqualIID(iid, IID_IShellExtInit)) {
                *object = static_cast<IShellExtInit*>(&m_owner);
            } else if (IsEqualIID(iid, IID_IContextMenu)) {
                *object = static_cast<IContextMenu*>(&m_owner);
            } else {
                *object = nullptr;
                return E_NOINTERFACE;
            }
            static_cast<IUnknown*>(*object)->AddRef();
            return S_OK;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&m_references); }
        ULONG STDMETHODCALLTYPE Release() override
        {
            const ULONG left = ::InterlockedDecrement(&m_references);
            if (left == 0)
                delete &m_owner;
            return left;
        }

    private:
        CVNTShellEx& m_owner;
        LONG m_references = 1;
    };

    InnerUnknown m_inner;
    IUnknown* m_outer;
    std::vector<ShellObject> m_selection;
    std::map<std::uint32_t, const MenuEntry*> m_commands;
    HBITMAP m_bitmap = nullptr;
};

class VNTShellExFactory final : public core::ModuleClassFactory
{
public:
    VNTShellExFactory() : ModuleClassFactory(g_moduleLocks) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        // An aggregating object must hold the inner unknown.
        if (outer && !IsEqualIID(iid, IID_IUnknown))
            return CLASS_E_NOAGGREGATION;
        CVNTShellEx* instance = nullptr;
        try {
            instance = new CVNTShellEx(outer);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        IUnknown& inner = instance->Inner();
        const HRESULT result = inner.QueryInterface(iid, object);
        inner.Release();
        return result;
    }
};

}  // namespace

LONG ExplorermenuModuleLocks() noexcept
{
    return g_moduleLocks;
}

IClassFactory* NewVNTShellExFactory() noexcept
{
    return new (std::nothrow) VNTShellExFactory();
}

}  // namespace shellmenu
