#pragma once

// The IUnknown and IClassFactory plumbing of COM objects and of an in-process COM server. In a
// server every live object and every LockServer lock counts in the module's lock count, which
// DllCanUnloadNow reads.

#include <unknwn.h>
#include <windows.h>

namespace core {

// An object that answers for IUnknown and one interface, freed when its last reference goes.
template <typename Interface>
class ComObject : public Interface
{
public:
    explicit ComObject(const IID& iid) : m_iid(iid) {}
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

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

private:
    const IID& m_iid;
    LONG m_references = 1;
};

// An object of an in-process server: it counts in the module's lock count while it lives.
template <typename Interface>
class ModuleComObject : public ComObject<Interface>
{
public:
    ModuleComObject(LONG& moduleLocks, const IID& iid)
        : ComObject<Interface>(iid), m_moduleLocks(moduleLocks)
    {
        ::InterlockedIncrement(&m_moduleLocks);
    }
    ~ModuleComObject() override { ::InterlockedDecrement(&m_moduleLocks); }

protected:
    LONG& ModuleLocks() noexcept { return m_moduleLocks; }

private:
    LONG& m_moduleLocks;
};

// A class factory; the server's own factory adds CreateInstance.
class ModuleClassFactory : public ModuleComObject<IClassFactory>
{
public:
    explicit ModuleClassFactory(LONG& moduleLocks) : ModuleComObject(moduleLocks, IID_IClassFactory)
    {}

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
