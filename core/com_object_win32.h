#pragma once

// The IUnknown and IClassFactory plumbing of an in-process COM server. Every live object and
// every LockServer lock counts in the module's lock count, which DllCanUnloadNow reads.

#include <windows.h>
#include <unknwn.h>

namespace core {

// An object that answers for IUnknown and one interface.
template <typename Interface>
class ModuleComObject : public Interface
{
public:
    ModuleComObject(LONG& moduleLocks, const IID& iid) : m_moduleLocks(moduleLocks), m_iid(iid)
    {
        ::InterlockedIncrement(&m_moduleLocks);
    }
    virtual ~ModuleComObject() { ::InterlockedDecrement(&m_moduleLocks); }
    ModuleComObject(const ModuleComObject&) = delete;
    ModuleComObject& operator=(const ModuleComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, m_iid)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = ::InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return left;
    }

protected:
    LONG& ModuleLocks() noexcept { return m_moduleLocks; }

private:
    LONG& m_moduleLocks;
    const IID& m_iid;
    LONG m_references = 1;
};

// A class factory; the server's own factory adds CreateInstance.
class ModuleClassFactory : public ModuleComObject<IClassFactory>
{
public:
    explicit ModuleClassFactory(LONG& moduleLocks)
        : ModuleComObject(moduleLocks, IID_IClassFactory)
    {
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            ::InterlockedIncrement(&ModuleLocks());
        else
            ::InterlockedDecrement(&ModuleLocks());
        return S_OK;
    }
};

}  // namespace core
