#include "setup/sysconfig/webserver/metabase_win32.h"

#include "setup/sysconfig/webserver/automation_win32.h"

namespace setup::sysconfig::webserver {

namespace {

Variant Text(const std::string& text)
{
    return Variant(MetabaseValue(text));
}

class AdsObject : public IMetabaseObject
{
public:
    explicit AdsObject(Automation object) : m_object(std::move(object)) {}

    std::string Class() override
    {
        return MetabaseValueText(m_object.GetProperty("Class").ToMetabaseValue());
    }
    std::string Name() override
    {
        return MetabaseValueText(m_object.GetProperty("Name").ToMetabaseValue());
    }
    std::unique_ptr<IMetabaseObject> GetChild(const std::string& className,
                                              const std::string& name) override
    {
        return Wrap(m_object.CallMethod("GetObject", {Text(className), Text(name)}));
    }
    std::unique_ptr<IMetabaseObject> Create(const std::string& className,
                                            const std::string& name) override
    {
        return Wrap(m_object.CallMethod("Create", {Text(className), Text(name)}));
    }
    void Delete(const std::string& className, const std::string& name) override
    {
        m_object.CallMethod("Delete", {Text(className), Text(name)});
    }
    MetabaseValue Get(const std::string& property) override
    {
        return m_object.CallMethod("Get", {Text(property)}).ToMetabaseValue();
    }
    void Put(const std::string& property, const MetabaseValue& value) override
    {
        m_object.CallMethod("Put", {Text(property), Variant(value)});
    }
    std::vector<MimeEntry> GetMimeMap() override;
    void PutMimeMap(const std::vector<MimeEntry>& entries) override;
    void SetInfo() override { m_object.CallMethod("SetInfo", {}); }
    void Call(const std::string& method, const std::vector<MetabaseValue>& arguments) override
    {
        std::vector<Variant> values;
        for (const MetabaseValue& argument : arguments)
            values.emplace_back(argument);
        m_object.CallMethod(method, values);
    }
    std::unique_ptr<IMetabaseEnumerator> Children() override;

    static std::unique_ptr<IMetabaseObject> Wrap(const Variant& value)
    {
        return std::make_unique<AdsObject>(Automation(value.ToObject()));
    }

private:
    Automation m_object;
};

class AdsEnumerator : public IMetabaseEnumerator
{
public:
    explicit AdsEnumerator(Microsoft::WRL::ComPtr<IEnumVARIANT> enumerator)
        : m_enumerator(std::move(enumerator))
    {}
    std::unique_ptr<IMetabaseObject> Next() override
    {
        Variant item;
        ULONG fetched = 0;
        const HRESULT result = m_enumerator->Next(1, item.Get(), &fetched);
        if (FAILED(result))
            throw MetabaseError("enumeration failed");
        if (result != S_OK || fetched == 0)
            return nullptr;
        return AdsObject::Wrap(item);
    }

private:
    Microsoft::WRL::ComPtr<IEnumVARIANT> m_enumerator;
};

std::unique_ptr<IMetabaseEnumerator> AdsObject::Children()
{
    return std::make_unique<AdsEnumerator>(m_object.NewEnum());
}

// The MimeMap property is an array of variants, each an object with an Extension and a MimeType.
std::vector<MimeEntry> AdsObject::GetMimeMap()
{
    Variant array = m_object.CallMethod("Get", {Text("MimeMap")});
    std::vector<MimeEntry> entries;
    const VARIANT& value = array.Value();
    if (value.vt == VT_EMPTY || value.vt == VT_NULL)
        return entries;
    if ((value.vt & VT_ARRAY) == 0 || value.parray == nullptr)
        throw MetabaseError("MimeMap is not an array");
    LONG lower = 0;
    LONG upper = -1;
    ::SafeArrayGetLBound(value.parray, 1, &lower);
    ::SafeArrayGetUBound(value.parray, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        Variant item;
        if (FAILED(::SafeArrayGetElement(value.parray, &i, item.Get())))
            throw MetabaseError("MimeMap element");
        Automation entry(item.ToObject());
        entries.push_back({MetabaseValueText(entry.GetProperty("Extension").ToMetabaseValue()),
                           MetabaseValueText(entry.GetProperty("MimeType").ToMetabaseValue())});
    }
    return entries;
}

void AdsObject::PutMimeMap(const std::vector<MimeEntry>& entries)
{
    SAFEARRAYBOUND bound{static_cast<ULONG>(entries.size()), 0};
    SAFEARRAY* array = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (array == nullptr)
        throw MetabaseError("out of memory");
    Variant value;
    value.Get()->vt = VT_ARRAY | VT_VARIANT;
    value.Get()->parray = array;  // the variant owns it from here
    for (LONG i = 0; i < static_cast<LONG>(entries.size()); ++i) {
        Automation entry = Automation::Create(L"MimeMap");
        entry.PutProperty("Extension", Text(entries[i].extension));
        entry.PutProperty("MimeType", Text(entries[i].mimeType));
        Variant item(entry.Object());
        if (FAILED(::SafeArrayPutElement(array, &i, item.Get())))
            throw MetabaseError("MimeMap element");
    }
    m_object.CallMethod("Put", {Text("MimeMap"), value});
}

}  // namespace

std::unique_ptr<IMetabaseObject> Win32Metabase::OpenNamespace()
{
    // The objects live on the interpreter's thread; COM stays started there for the process.
    thread_local const bool comStarted =
        SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    (void)comStarted;
    return std::make_unique<AdsObject>(Automation::Create(L"IISNamespace"));
}

}  // namespace setup::sysconfig::webserver
