// Late-bound automation calls: methods and properties of an IDispatch object by name, with the
// values of the directory service converted to and from VARIANTs. Every failure raises
// MetabaseError.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "setup/sysconfig/webserver/metabase.h"

namespace setup::sysconfig::webserver {

// A VARIANT that clears itself.
class Variant
{
public:
    Variant() { ::VariantInit(&m_value); }
    explicit Variant(const MetabaseValue& value);
    explicit Variant(IDispatch* object);
    ~Variant() { ::VariantClear(&m_value); }
    Variant(const Variant& other);
    Variant& operator=(const Variant&) = delete;

    VARIANT* Get() { return &m_value; }
    const VARIANT& Value() const { return m_value; }
    MetabaseValue ToMetabaseValue() const;
    Microsoft::WRL::ComPtr<IDispatch> ToObject() const;

private:
    // The system's conversions take their source without const.
    VARIANT* Source() const { return const_cast<VARIANT*>(&m_value); }

    VARIANT m_value;
};

class Automation
{
public:
    explicit Automation(Microsoft::WRL::ComPtr<IDispatch> object) : m_object(std::move(object)) {}
    // The object of a ProgID, created in process or out of it.
    static Automation Create(const wchar_t* progId);

    Variant CallMethod(const std::string& name, const std::vector<Variant>& arguments);
    Variant GetProperty(const std::string& name);
    void PutProperty(const std::string& name, const Variant& value);
    // The container's enumerator of its children.
    Microsoft::WRL::ComPtr<IEnumVARIANT> NewEnum();
    IDispatch* Object() const { return m_object.Get(); }

private:
    Variant Invoke(const std::string& name, WORD flags, const std::vector<Variant>& arguments);

    Microsoft::WRL::ComPtr<IDispatch> m_object;
};

}  // namespace setup::sysconfig::webserver
