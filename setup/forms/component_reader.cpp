#include "setup/forms/component_reader.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "setup/forms/collection.h"
#include "setup/forms/form_errors.h"

namespace setup::forms {
namespace {

class DefinedProperties final : public PropertyDefiner
{
public:
    void DefineProperty(std::string_view name, ReadValue read, WriteValue) override
    {
        m_defined.emplace_back(std::string(name), std::move(read));
    }
    const ReadValue* Find(std::string_view name) const
    {
        for (const auto& [definedName, read] : m_defined)
            if (SameName(definedName, name))
                return &read;
        return nullptr;
    }

private:
    std::vector<std::pair<std::string, ReadValue>> m_defined;
};

// A property value that names a component, set once every component of the root exists.
struct Fixup
{
    TPersistent* instance;
    const PropInfo* property;
    std::string componentName;
    std::string where;
};

// A fault that the error handler decided to skip.
struct Skipped
{
};

class ReadSession
{
public:
    ReadSession(const ComponentReader& reader, const ClassRegistry& registry, TComponent& root)
        : m_reader(reader), m_registry(registry), m_root(root)
    {}

    void Run(const FormObject& form)
    {
        m_root.BeginLoading();
        m_loaded.push_back(&m_root);
        const std::string name = UniqueRootName(form.name);
        if (name != m_root.Name())
            m_root.SetName(name);
        try {
            ApplyProperties(m_root, form.properties, m_root.Name());
            for (const FormObject& child : form.children)
                ReadChild(child, m_root);
            ResolveFixups();
        } catch (...) {
            // What was read stays with the root: it must not stay half loaded.
            FinishLoading(true);
            throw;
        }
        FinishLoading(false);
    }

private:
    void FinishLoading(bool failing)
    {
        for (TComponent* component : m_loaded)
            component->EndReading();
        for (TComponent* component : m_loaded) {
            if (!failing) {
                component->Loaded();
                continue;
            }
            try {
                component->Loaded();
            } catch (const rtl::Exception&) {
                // the read error that ended the load is the one to report
            }
        }
    }

    // Raises unless the handler skips the fault; then Skipped unwinds to the record or property.
    [[noreturn]] void Fail(const std::string& message)
    {
        if (m_reader.OnError && m_reader.OnError(message))
            throw Skipped{};
        throw EReadError(message);
    }

    std::string UniqueRootName(const std::string& name) const
    {
        if (name.empty() || !m_reader.IsRootNameTaken)
            return name;
        std::string candidate = name;
        for (int suffix = 1; m_reader.IsRootNameTaken(candidate); ++suffix) {
            // More forms than any application has: the answer is not to be trusted.
            if (suffix > kMaxRootSuffix)
                throw EComponentError("No free name for a form named " + name);
            candidate = name + "_" + std::to_string(suffix);
        }
        return candidate;
    }

    void ReadChild(const FormObject& record, TComponent& parent)
    {
        try {
            TComponent* component = CreateOrFind(record);
            component->SetParentComponent(&parent);
            if ((record.flags & kChildPos) && record.position.type != ValueType::Null)
                parent.SetChildOrder(component, record.position.value);
            const std::string where = component->Name().empty() ? record.name : component->Name();
            ApplyProperties(*component, record.properties, where);
            for (const FormObject& child : record.children)
                ReadChild(child, *component);
        } catch (const Skipped&) {
        }
    }

    TComponent* CreateOrFind(const FormObject& record)
    {
        if (record.flags & kInherited) {
            TComponent* existing = m_root.FindComponent(record.name);
            if (!existing)
                Fail("Ancestor for '" + record.name + "' not found");
            return existing;
        }
        const ClassInfo* info = m_registry.Find(record.className);
        if (!info)
            Fail("Class " + record.className + " not found");
        if (!info->InheritsFrom(TComponent::StaticClass()) || !info->CanCreate())
            Fail("Class " + record.className + " is not a component class");
        auto component =
            std::unique_ptr<TComponent>(dynamic_cast<TComponent*>(info->Create(&m_root)));
        component->BeginLoading();
        if (m_reader.OnSetName)
            m_reader.OnSetName(*component, record.name);
        else
            component->SetName(record.name);
        m_loaded.push_back(component.get());
        return component.release();
    }

    void ApplyProperties(TPersistent& instance, const std::vector<FormProperty>& properties,
                         const std::string& where)
    {
        for (const FormProperty& property : properties) {
            try {
                ApplyProperty(instance, property, where + "." + property.name);
            } catch (const Skipped&) {
            }
        }
    }

    void ApplyProperty(TPersistent& instance, const FormProperty& property,
                       const std::string& where)
    {
        const auto fail = [&](const std::string& message) {
            Fail("Error reading " + where + ": " + message);
        };
        // Every part but the last names an object property: Font.Name, Lines.Strings.
        TPersistent* target = &instance;
        std::string_view path = property.name;
        for (std::size_t dot; (dot = path.find('.')) != std::string_view::npos;
             path.remove_prefix(dot + 1)) {
            const std::string_view part = path.substr(0, dot);
            const PropInfo* info = target->ClassType().FindProperty(part);
            if (!info || info->type->kind != TypeKind::Class)
                fail("Property " + std::string(part) + " does not exist");
            target = dynamic_cast<TPersistent*>(std::get<TObject*>(info->get(*target)));
            if (!target)
                fail("Property " + std::string(part) + " has no object");
        }
        if (const PropInfo* info = target->ClassType().FindProperty(path)) {
            SetProperty(*target, *info, property.value, fail, where);
            return;
        }
        DefinedProperties defined;
        target->DefineProperties(defined);
        if (const PropertyDefiner::ReadValue* read = defined.Find(path)) {
            try {
                (*read)(WithAnsiStrings(property.value, m_reader.CodePage()));
            } catch (const rtl::Exception& error) {
                fail(error.what());
            }
            return;
        }
        fail("Property " + std::string(path) + " does not exist");
    }

    template <class FailFn>
    void SetProperty(TPersistent& target, const PropInfo& info, const FormValue& value,
                     const FailFn& fail, const std::string& where)
    {
        const TypeInfo& type = *info.type;
        const auto invalid = [&] { fail("Invalid property value"); };
        if (type.kind == TypeKind::Class && value.type == ValueType::Collection) {
            auto* collection = dynamic_cast<TCollection*>(std::get<TObject*>(info.get(target)));
            if (!collection)
                invalid();
            ReadCollection(*collection, value, where);
            return;
        }
        if (!info.set)
            fail("Property " + info.name + " is read-only");
        PropValue result;
        switch (type.kind) {
            case TypeKind::Integer:
            case TypeKind::Int64: {
                std::int64_t number = 0;
                if (value.IsInteger())
                    number = value.integer;
                else if (value.type == ValueType::Ident && IdentToInt(type.idents, value.bytes))
                    number = *IdentToInt(type.idents, value.bytes);
                else
                    invalid();
                if (number < type.minValue || number > type.maxValue)
                    invalid();
                result = number;
                break;
            }
            case TypeKind::Char:
            case TypeKind::WChar: {
                std::int64_t code = 0;
                if (type.kind == TypeKind::WChar && value.type == ValueType::WString &&
                    value.wide.size() == 1)
                    code = value.wide[0];
                else if (const std::string text = AnsiText(value, m_reader.CodePage());
                         value.IsString() && text.size() == 1)
                    code = static_cast<unsigned char>(text[0]);
                else if (value.IsInteger())
                    code = value.integer;
                else
                    invalid();
                if (code < type.minValue || code > type.maxValue)
                    invalid();
                result = code;
                break;
            }
            case TypeKind::Enumeration:
                if (type.IsBoolean() &&
                    (value.type == ValueType::False || value.type == ValueType::True))
                    result = std::int64_t{value.type == ValueType::True};
                else if (value.type == ValueType::Ident && EnumValue(type, value.bytes))
                    result = *EnumValue(type, value.bytes);
                else
                    invalid();
                break;
            case TypeKind::Set: {
                if (value.type != ValueType::Set)
                    invalid();
                std::int64_t bits = 0;
                for (const std::string& member : value.set) {
                    const auto ordinal = EnumValue(*type.elementType, member);
                    if (!ordinal || *ordinal < 0 || *ordinal >= 32)
                        invalid();
                    bits |= std::int64_t{1} << *ordinal;
                }
                result = bits;
                break;
            }
            case TypeKind::Float:
                if (!value.IsFloat() && !value.IsInteger())
                    invalid();
                result = value.AsFloat();
                break;
            case TypeKind::String:
            case TypeKind::WString:
                if (!value.IsString())
                    invalid();
                result = AnsiText(value, m_reader.CodePage());
                break;
            case TypeKind::Class:
                if (value.type == ValueType::Ident) {
                    m_fixups.push_back({&target, &info, value.bytes, where});
                    return;
                }
                if (value.type != ValueType::Nil)
                    invalid();
                result = static_cast<TObject*>(nullptr);
                break;
            case TypeKind::Method:
                if (value.type == ValueType::Nil) {
                    result = TMethod{};
                } else if (value.type == ValueType::Ident) {
                    const MethodInfo* method = m_root.ClassType().FindMethod(value.bytes);
                    if (!method)
                        fail("Method " + value.bytes + " not found");
                    // A handler of another signature would be called with the wrong arguments.
                    if (type.signature && method->invoke.type() != *type.signature)
                        fail("Method " + method->name + " does not fit " + type.name);
                    result = TMethod{method, &m_root};
                } else {
                    invalid();
                }
                break;
        }
        Store(target, info, result, fail);
    }

    template <class FailFn>
    static void Store(TPersistent& target, const PropInfo& info, const PropValue& value,
                      const FailFn& fail)
    {
        try {
            info.set(target, value);
        } catch (const rtl::Exception& error) {
            fail(error.what());
        }
    }

    void ReadCollection(TCollection& collection, const FormValue& value, const std::string& where)
    {
        // References still waiting for items about to be freed go with them.
        std::erase_if(m_fixups, [&](const Fixup& fixup) {
            const auto* item = dynamic_cast<const TCollectionItem*>(fixup.instance);
            return item && item->Collection() == &collection;
        });
        collection.BeginUpdate();
        try {
            collection.Clear();
            for (const FormCollectionItem& record : value.items) {
                TCollectionItem* item = collection.Add();
                ApplyProperties(*item, record.properties,
                                where + "[" + std::to_string(item->Index()) + "]");
            }
        } catch (...) {
            collection.EndUpdate();
            throw;
        }
        collection.EndUpdate();
    }

    void ResolveFixups()
    {
        for (const Fixup& fixup : m_fixups) {
            try {
                const auto fail = [&](const std::string& message) {
                    Fail("Error reading " + fixup.where + ": " + message);
                };
                TComponent* found = SameName(fixup.componentName, m_root.Name())
                                        ? &m_root
                                        : m_root.FindComponent(fixup.componentName);
                if (!found)
                    fail("Component " + fixup.componentName + " not found");
                if (!found->InheritsFrom(*fixup.property->type->classType))
                    fail("Invalid property value");
                Store(*fixup.instance, *fixup.property, static_cast<TObject*>(found), fail);
            } catch (const Skipped&) {
            }
        }
        m_fixups.clear();
    }

    static constexpr int kMaxRootSuffix = 100000;

    const ComponentReader& m_reader;
    const ClassRegistry& m_registry;
    TComponent& m_root;
    std::vector<TComponent*> m_loaded;
    std::vector<Fixup> m_fixups;
};

}  // namespace

void ComponentReader::ReadRootComponent(const FormObject& form, TComponent& root)
{
    ReadSession(*this, m_registry, root).Run(form);
}

}  // namespace setup::forms
