#include "setup/sysconfig/webserver/automation_win32.h"

#include "core/text_convert.h"

namespace setup::sysconfig::webserver {

namespace {

BSTR AllocText(const std::string& text)
{
    const std::wstring wide = core::AnsiToWide(text);
    return ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

[[noreturn]] void Fail(const std::string& what, HRESULT result)
{
    char code[16];
    wsprintfA(code, "%08lX", static_cast<unsigned long>(result));
    throw MetabaseError(what + " failed: 0x" + code);
}

}  // namespace

Variant::Variant(const MetabaseValue& value)
{
    ::VariantInit(&m_value);
    if (const auto* text = std::get_if<std::string>(&value)) {
        m_value.vt = VT_BSTR;
        m_value.bstrVal = AllocText(*text);
    } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
        m_value.vt = VT_I4;
        m_value.lVal = *number;
    } else {
        m_value.vt = VT_BOOL;
        m_value.boolVal = std::get<bool>(value) ? VARIANT_TRUE : VARIANT_FALSE;
    }
}

Variant::Variant(IDispatch* object)
{
    ::VariantInit(&m_value);
    m_value.vt = VT_DISPATCH;
    m_value.pdispVal = object;
    if (object != nullptr)
        object->AddRef();
}

Variant::Variant(const Variant& other)
{
    ::VariantInit(&m_value);
    const HRESULT result = ::VariantCopy(&m_value, other.Source());
    if (FAILED(result))
        Fail("VariantCopy", result);
}

MetabaseValue Variant::ToMetabaseValue() const
{
    switch (m_value.vt) {
        case VT_BOOL:
            return m_value.boolVal != VARIANT_FALSE;
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_INT:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_UINT: {
            Variant number;
            if (FAILED(::VariantChangeType(number.Get(), Source(), 0, VT_I4)))
                break;
            return static_cast<std::int32_t>(number.Value().lVal);
        }
        default:
            break;
    }
    Variant text;
    const HRESULT result = ::VariantChangeType(text.Get(), Source(), 0, VT_BSTR);
    if (FAILED(result))
        Fail("Value conversion", result);
    return core::WideToAnsi(text.Value().bstrVal ? text.Value().bstrVal : L"");
}

Microsoft::WRL::ComPtr<IDispatch> Variant::ToObject() const
{
    if (m_value.vt != VT_DISPATCH || m_value.pdispVal == nullptr)
        throw MetabaseError("not an object");
    return Microsoft::WRL::ComPtr<IDispatch>(m_value.pdispVal);
}

Automation Automation::Create(const wchar_t* progId)
{
    CLSID classId;
    HRESULT result = ::CLSIDFromProgID(progId, &classId);
    if (FAILED(result))
        Fail("Class lookup", result);
    Microsoft::WRL::ComPtr<IDispatch> object;
    result = ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(object.GetAddressOf()));
    if (FAILED(result))
        Fail("Object creation", result);
    return Automation(std::move(object));
}

Variant Automation::Invoke(const std::string& name, WORD flags,
                           const std::vector<Variant>& arguments)
{
    std::wstring wide = core::AnsiToWide(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = 0;
    HRESULT result = m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result))
        Fail(name, result);
    // Automation takes the arguments last first.
    std::vector<VARIANT> reversed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        reversed.push_back(it->Value());
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID named = DISPID_PROPERTYPUT;
    if (flags == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &named;
        parameters.cNamedArgs = 1;
    }
    Variant answer;
    result = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, answer.Get(),
                              nullptr, nullptr);
    if (FAILED(result))
        Fail(name, result);
    return answer;
}

Variant Automation::CallMethod(const std::string& name, const std::vector<Variant>& arguments)
{
    return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments);
}

Variant Automation::GetProperty(const std::string& name)
{
    return Invoke(name, DISPATCH_PROPERTYGET, {});
}

Microsoft::WRL::ComPtr<IEnumVARIANT> Automation::NewEnum()
{
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Variant answer;
    const HRESULT result = m_object->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                            DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none,
                                            answer.Get(), nullptr, nullptr);
    if (FAILED(result))
        Fail("_NewEnum", result);
    IUnknown* unknown = answer.Value().vt == VT_UNKNOWN || answer.Value().vt == VT_DISPATCH
                            ? answer.Value().punkVal
                            : nullptr;
    Microsoft::WRL::ComPtr<IEnumVARIANT> enumerator;
    if (unknown == nullptr ||
        FAILED(unknown->QueryInterface(IID_IEnumVARIANT,
                                       reinterpret_cast<void**>(enumerator.GetAddressOf()))))
        throw MetabaseError("no enumerator");
    return enumerator;
}

void Automation::PutProperty(const std::string& name, const Variant& value)
{
    Invoke(name, DISPATCH_PROPERTYPUT, {value});
}

}  // namespace setup::sysconfig::webserver
