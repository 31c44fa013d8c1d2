// Run-time type information of classes: published properties with type-erased accessors,
// published methods (event handlers found by name), construction by class, and the registry of
// classes that form files may name.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "setup/forms/type_info.h"

namespace setup::forms {

class TObject;
struct MethodInfo;

// The callable of a published method that takes the object firing the event and `Args`.
template <class... Args>
using HandlerOf = std::function<void(TObject& self, TObject* sender, Args...)>;

// A bound event handler: a published method of the object `data`.
struct TMethod
{
    const MethodInfo* method = nullptr;
    TObject* data = nullptr;

    explicit operator bool() const { return method != nullptr; }
    bool operator==(const TMethod&) const = default;
    // Runs a handler that takes only the sender; an unassigned event does nothing.
    void Call(TObject* sender) const;
};

// A property value by kind: ordinals and sets (bits) as int64_t, floats as long double, strings,
// objects, methods.
using PropValue = std::variant<std::int64_t, long double, std::string, TObject*, TMethod>;

struct PropInfo
{
    std::string name;
    const TypeInfo* type = nullptr;
    std::function<PropValue(const TObject&)> get;
    std::function<void(TObject&, const PropValue&)> set;  // empty for a read-only property
};

// A published method. Handlers take the object that fired the event and what the event adds (a
// flag to answer, a key, a position); `invoke` holds a HandlerOf<Args...>, so its type is the
// handler's signature, which an event property checks before it takes the method.
struct MethodInfo
{
    std::string name;
    std::any invoke;

    template <class... Args>
    const HandlerOf<Args...>* Handler() const
    {
        return std::any_cast<HandlerOf<Args...>>(&invoke);
    }
};

// An event whose handlers take the sender and `Args`:
//   struct TCloseQueryEvent : TEvent<bool&> {};   FORMS_EVENT_TYPE(TCloseQueryEvent)
template <class... Args>
struct TEvent : TMethod
{
    using Handler = HandlerOf<Args...>;
    // An unassigned event, or a method of another signature, does nothing.
    void operator()(TObject* sender, Args... args) const
    {
        if (!method || !data)
            return;
        if (const Handler* handler = method->Handler<Args...>())
            (*handler)(*data, sender, std::forward<Args>(args)...);
    }
};

class ClassInfo
{
public:
    ClassInfo(std::string name, const ClassInfo* parent);
    // The class type refers to its class: a moved class info points its type at the new place.
    ClassInfo(ClassInfo&& other) noexcept;
    ClassInfo(const ClassInfo&) = delete;
    ClassInfo& operator=(const ClassInfo&) = delete;

    const std::string& Name() const { return m_name; }
    const ClassInfo* Parent() const { return m_parent; }
    bool InheritsFrom(const ClassInfo& other) const;

    // The class's own published properties and methods, in declaration order.
    const std::vector<PropInfo>& OwnProperties() const { return m_properties; }
    const std::vector<MethodInfo>& OwnMethods() const { return m_methods; }
    // Inherited properties first; lookups ignore letter case and search from the class upward.
    std::vector<const PropInfo*> Properties() const;
    const PropInfo* FindProperty(std::string_view name) const;
    const MethodInfo* FindMethod(std::string_view name) const;

    // The type of a property that refers to an object of this class.
    const TypeInfo& AsType() const { return m_type; }

    // A new object of this class with the given owner (a component's owner, a collection item's
    // collection); null for classes that cannot be created by name.
    TObject* Create(TObject* owner) const { return m_create ? m_create(owner) : nullptr; }
    bool CanCreate() const { return static_cast<bool>(m_create); }

private:
    template <class C>
    friend class ClassBuilder;

    std::string m_name;
    const ClassInfo* m_parent;
    TypeInfo m_type;
    std::vector<PropInfo> m_properties;
    std::vector<MethodInfo> m_methods;
    std::function<TObject*(TObject* owner)> m_create;
};

// The classes a reader may create by name. Owned by whoever loads forms; nothing is global.
class ClassRegistry
{
public:
    void Register(const ClassInfo& info);  // registering a class again changes nothing
    const ClassInfo* Find(std::string_view name) const;  // letter case ignored

private:
    std::vector<const ClassInfo*> m_classes;
};

}  // namespace setup::forms
