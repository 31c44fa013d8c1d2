#include "setup/forms/component_writer.h"

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "setup/forms/binary_form.h"
#include "setup/forms/collection.h"
#include "setup/forms/form_errors.h"

namespace setup::forms {
namespace {

// The defined properties of one object with their write sides, in definition order.
class DefinedValues final : public PropertyDefiner
{
public:
    void DefineProperty(std::string_view name, ReadValue, WriteValue write) override
    {
        m_defined.emplace_back(std::string(name), std::move(write));
    }
    const std::vector<std::pair<std::string, WriteValue>>& Defined() const { return m_defined; }

private:
    std::vector<std::pair<std::string, WriteValue>> m_defined;
};

class WriteSession
{
public:
    explicit WriteSession(TComponent& root) : m_root(root) {}

    FormObject Run()
    {
        FormObject form = Record(m_root);
        // Children sit under their parent component's record, in the root's order of components.
        std::map<const TComponent*, std::vector<TComponent*>> children;
        std::vector<TComponent*> topLevel;
        for (std::size_t i = 0; i < m_root.ComponentCount(); ++i) {
            TComponent* component = m_root.Component(i);
            TComponent* parent = component->GetParentComponent();
            if (parent && parent != &m_root && parent->Owner() == &m_root)
                children[parent].push_back(component);
            else
                topLevel.push_back(component);
        }
        for (TComponent* component : topLevel)
            form.children.push_back(RecordWithChildren(*component, children, 0));
        // Parents that form a ring are never reached from the top: each such component is
        // written at the top rather than lost.
        for (std::size_t i = 0; i < m_root.ComponentCount(); ++i)
            if (!m_written.contains(m_root.Component(i)))
                form.children.push_back(RecordWithChildren(*m_root.Component(i), children, 0));
        return form;
    }

private:
    FormObject RecordWithChildren(TComponent& component,
                                  const std::map<const TComponent*, std::vector<TComponent*>>& tree,
                                  int depth)
    {
        // A chain deeper than a form can be read back with is refused rather than written; the
        // margin leaves room for the values nested in the deepest record.
        if (depth >= kMaxFormNesting - 4)
            throw EFilerError("Components are nested too deeply to be written");
        m_written.insert(&component);
        FormObject record = Record(component);
        if (const auto found = tree.find(&component); found != tree.end())
            for (TComponent* child : found->second)
                if (!m_written.contains(child))
                    record.children.push_back(RecordWithChildren(*child, tree, depth + 1));
        return record;
    }

    FormObject Record(TComponent& component)
    {
        FormObject record;
        record.className = component.ClassName();
        record.name = component.Name();
        WriteProperties(component, Reference(component.ClassType()), "", record.properties);
        return record;
    }

    // A new object of the class, whose values count as the defaults; null when the class
    // cannot be created by name.
    TObject* Reference(const ClassInfo& info)
    {
        auto& slot = m_references[&info];
        if (!slot && info.CanCreate())
            slot.reset(info.Create(nullptr));
        return slot.get();
    }

    TCollectionItem* ReferenceItem(const ClassInfo& itemClass)
    {
        auto& slot = m_referenceCollections[&itemClass];
        if (!slot) {
            slot = std::make_unique<TCollection>(itemClass);
            if (itemClass.CanCreate())
                slot->Add();
        }
        return slot->Count() ? slot->Item(0) : nullptr;
    }

    void WriteProperties(TPersistent& instance, TObject* reference, const std::string& prefix,
                         std::vector<FormProperty>& out)
    {
        const PropInfo* nameProperty = TComponent::StaticClass().FindProperty("Name");
        std::vector<std::string> published;
        for (const PropInfo* info : instance.ClassType().Properties()) {
            published.push_back(info->name);
            if (info != nameProperty)
                WriteProperty(instance, *info, reference, prefix, out);
        }
        DefinedValues defined;
        instance.DefineProperties(defined);
        for (const auto& [name, write] : defined.Defined()) {
            // A published property of the same name (a control's Left) is what the form holds.
            bool shadowed = false;
            for (const std::string& publishedName : published)
                shadowed = shadowed || SameName(publishedName, name);
            if (shadowed || !write)
                continue;
            if (std::optional<FormValue> value = write())
                out.push_back({prefix + name, std::move(*value)});
        }
    }

    void WriteProperty(TPersistent& instance, const PropInfo& info, TObject* reference,
                       const std::string& prefix, std::vector<FormProperty>& out)
    {
        const TypeInfo& type = *info.type;
        const PropValue value = info.get(instance);
        const std::optional<PropValue> defaultValue =
            reference ? std::optional<PropValue>(info.get(*reference)) : std::nullopt;
        const std::string name = prefix + info.name;

        if (type.kind == TypeKind::Class) {
            TObject* object = std::get<TObject*>(value);
            TObject* referenceObject = defaultValue ? std::get<TObject*>(*defaultValue) : nullptr;
            if (auto* component = dynamic_cast<TComponent*>(object)) {
                if (info.set)
                    out.push_back({name, FormValue::Identifier(ReferenceName(*component, name))});
            } else if (auto* collection = dynamic_cast<TCollection*>(object)) {
                // An empty collection is stored only where a new object's has items.
                const auto* defaultItems = dynamic_cast<const TCollection*>(referenceObject);
                if (collection->Count() || (defaultItems && defaultItems->Count()))
                    out.push_back({name, CollectionValue(*collection)});
            } else if (auto* owned = dynamic_cast<TPersistent*>(object)) {
                WriteProperties(*owned, referenceObject, name + ".", out);
            } else if (!object && referenceObject && info.set) {
                out.push_back({name, FormValue::Bare(ValueType::Nil)});
            }
            return;
        }
        if (!info.set)
            return;
        if (type.kind == TypeKind::Method) {
            const TMethod& method = std::get<TMethod>(value);
            if (method && method.data == &m_root &&
                m_root.ClassType().FindMethod(method.method->name) == method.method)
                out.push_back({name, FormValue::Identifier(method.method->name)});
            else if (method)
                throw EFilerError("Handler of " + name + " is not a method of " + m_root.Name());
            else if (defaultValue && std::get<TMethod>(*defaultValue))
                out.push_back({name, FormValue::Bare(ValueType::Nil)});
            return;
        }
        if (defaultValue ? value == *defaultValue : IsEmpty(value))
            return;
        out.push_back({name, PlainValue(type, value)});
    }

    static bool IsEmpty(const PropValue& value)
    {
        const auto* text = std::get_if<std::string>(&value);
        return text && text->empty();
    }

    std::string ReferenceName(const TComponent& component, const std::string& where) const
    {
        if (&component == &m_root || component.Owner() == &m_root)
            if (!component.Name().empty())
                return component.Name();
        throw EFilerError("Value of " + where + " is not a named component of " + m_root.Name());
    }

    FormValue CollectionValue(TCollection& collection)
    {
        TCollectionItem* reference = ReferenceItem(collection.ItemClass());
        std::vector<FormCollectionItem> items;
        for (std::size_t i = 0; i < collection.Count(); ++i) {
            FormCollectionItem item;
            WriteProperties(*collection.Item(i), reference, "", item.properties);
            items.push_back(std::move(item));
        }
        return FormValue::Collection(std::move(items));
    }

    static FormValue PlainValue(const TypeInfo& type, const PropValue& value)
    {
        switch (type.kind) {
            case TypeKind::Integer:
            case TypeKind::Int64: {
                const std::int64_t number = std::get<std::int64_t>(value);
                // Colours, cursors and character sets by name where they have one.
                if (number >= INT32_MIN && number <= INT32_MAX)
                    if (auto ident = IntToIdent(type.idents, static_cast<std::int32_t>(number)))
                        return FormValue::Identifier(*ident);
                return FormValue::Integer(number);
            }
            case TypeKind::Char:
                return FormValue::Text(
                    std::string(1, static_cast<char>(std::get<std::int64_t>(value))));
            case TypeKind::WChar:
                return FormValue::Wide(
                    std::u16string(1, static_cast<char16_t>(std::get<std::int64_t>(value))));
            case TypeKind::Enumeration: {
                const std::int64_t ordinal = std::get<std::int64_t>(value);
                if (type.IsBoolean())
                    return FormValue::Boolean(ordinal != 0);
                std::string name = EnumName(type, ordinal);
                if (name.empty())
                    throw EFilerError("Value " + std::to_string(ordinal) + " is not of type " +
                                      type.name);
                return FormValue::Identifier(std::move(name));
            }
            case TypeKind::Set: {
                const auto bits = static_cast<std::uint64_t>(std::get<std::int64_t>(value));
                std::vector<std::string> members;
                for (int ordinal = 0; ordinal < 32; ++ordinal) {
                    if (!((bits >> ordinal) & 1))
                        continue;
                    std::string name = EnumName(*type.elementType, ordinal);
                    if (name.empty())
                        throw EFilerError("Set of type " + type.name +
                                          " has a member without a name");
                    members.push_back(std::move(name));
                }
                return FormValue::Members(std::move(members));
            }
            case TypeKind::Float:
                return FloatValue(type, std::get<long double>(value));
            case TypeKind::String:
            case TypeKind::WString:
                return FormValue::Text(std::get<std::string>(value));
            case TypeKind::Class:
            case TypeKind::Method:
                break;
        }
        throw EFilerError("Property of type " + type.name + " cannot be written");
    }

    static FormValue FloatValue(const TypeInfo& type, long double value)
    {
        if (type.flavour == TypeFlavour::DateTime || type.flavour == TypeFlavour::Date ||
            type.flavour == TypeFlavour::Time)
            return FormValue::DoubleFloat(static_cast<double>(value), ValueType::Date);
        switch (type.floatType) {
            case FloatType::Single:
                return FormValue::SingleFloat(static_cast<float>(value));
            case FloatType::Double:
                return FormValue::DoubleFloat(static_cast<double>(value));
            case FloatType::Currency:
                return FormValue::CurrencyScaled(std::llround(value * 10000));
            case FloatType::Extended:
                break;
        }
        return FormValue::ExtendedFloat(value);
    }

    TComponent& m_root;
    std::map<const ClassInfo*, std::unique_ptr<TObject>> m_references;
    std::map<const ClassInfo*, std::unique_ptr<TCollection>> m_referenceCollections;
    std::set<const TComponent*> m_written;
};

}  // namespace

FormObject WriteRootComponent(TComponent& root)
{
    return WriteSession(root).Run();
}

}  // namespace setup::forms
