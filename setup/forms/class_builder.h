// Builds a class's type information, one line per published property or method:
//   static const ClassInfo info = ClassBuilder<TLabel>("TLabel", &TControl::StaticClass())
//       .Property("Caption", &TLabel::m_caption)
//       .Property("Lines", &TMemo::Lines, &TMemo::SetLines)
//       .Method("Button1Click", &TPage::Button1Click)
//       .Build();
// A field is read and written directly; a getter and setter pair runs the class's own code.
#pragma once

#include <string>
#include <type_traits>
#include <utility>

#include "setup/forms/class_info.h"
#include "setup/forms/collection.h"
#include "setup/forms/component.h"
#include "setup/forms/persistent.h"
#include "setup/forms/property_types.h"

namespace setup::forms {

namespace detail {

template <class T>
PropValue ToPropValue(const T& value)
{
    if constexpr (std::is_same_v<T, std::string>) {
        return value;
    } else if constexpr (std::is_pointer_v<T>) {
        return static_cast<TObject*>(value);
    } else if constexpr (std::is_base_of_v<TMethod, T>) {
        return static_cast<const TMethod&>(value);
    } else if constexpr (std::is_base_of_v<TDateTime, T>) {
        return static_cast<long double>(value.value);
    } else if constexpr (std::is_floating_point_v<T>) {
        return static_cast<long double>(value);
    } else if constexpr (requires { value.bits; }) {
        return static_cast<std::int64_t>(value.bits);
    } else {
        return static_cast<std::int64_t>(value);
    }
}

template <class T>
T FromPropValue(const PropValue& value)
{
    if constexpr (std::is_same_v<T, std::string>) {
        return std::get<std::string>(value);
    } else if constexpr (std::is_pointer_v<T>) {
        return dynamic_cast<T>(std::get<TObject*>(value));
    } else if constexpr (std::is_base_of_v<TMethod, T>) {
        T method;
        static_cast<TMethod&>(method) = std::get<TMethod>(value);
        return method;
    } else if constexpr (std::is_base_of_v<TDateTime, T>) {
        T date;
        date.value = static_cast<double>(std::get<long double>(value));
        return date;
    } else if constexpr (std::is_floating_point_v<T>) {
        return static_cast<T>(std::get<long double>(value));
    } else if constexpr (requires { T{}.bits; }) {
        T set;
        set.bits = static_cast<std::uint32_t>(std::get<std::int64_t>(value));
        return set;
    } else {
        return static_cast<T>(std::get<std::int64_t>(value));
    }
}

}  // namespace detail

template <class C>
class ClassBuilder
{
public:
    ClassBuilder(std::string name, const ClassInfo* parent) : m_info(std::move(name), parent)
    {
        // Components are created with their owner, collection items with their collection.
        if constexpr (std::is_abstract_v<C>) {
        } else if constexpr (std::is_constructible_v<C, TComponent*>) {
            m_info.m_create = [](TObject* owner) -> TObject* {
                return new C(dynamic_cast<TComponent*>(owner));
            };
        } else if constexpr (std::is_constructible_v<C, TCollection*>) {
            m_info.m_create = [](TObject* owner) -> TObject* {
                return new C(dynamic_cast<TCollection*>(owner));
            };
        }
    }

    // A published field, read and written in place.
    template <class B, class T>
    ClassBuilder& Property(std::string name, T B::*field)
    {
        static_assert(std::is_base_of_v<B, C>);
        return Add(
            std::move(name), TypeOf<T>(),
            [field](const TObject& self) {
                return detail::ToPropValue(static_cast<const C&>(self).*field);
            },
            [field](TObject& self, const PropValue& value) {
                static_cast<C&>(self).*field = detail::FromPropValue<T>(value);
            });
    }

    // A published property with a getter and a setter (or none: read-only).
    template <class B, class T, class S = T>
    ClassBuilder& Property(std::string name, T (B::*getter)() const, void (B::*setter)(S) = nullptr)
    {
        static_assert(std::is_base_of_v<B, C>);
        using Value = std::remove_cvref_t<T>;
        std::function<void(TObject&, const PropValue&)> set;
        if (setter)
            set = [setter](TObject& self, const PropValue& value) {
                (static_cast<C&>(self).*
                 setter)(detail::FromPropValue<std::remove_cvref_t<S>>(value));
            };
        return Add(
            std::move(name), TypeOf<Value>(),
            [getter](const TObject& self) {
                return detail::ToPropValue<Value>((static_cast<const C&>(self).*getter)());
            },
            std::move(set));
    }

    // A published event handler; form files name it as the value of event properties.
    template <class B, class... Args>
    ClassBuilder& Method(std::string name, void (B::*handler)(TObject* sender, Args...))
    {
        static_assert(std::is_base_of_v<B, C>);
        m_info.m_methods.push_back(
            {std::move(name),
             HandlerOf<Args...>([handler](TObject& self, TObject* sender, Args... args) {
                 (static_cast<C&>(self).*handler)(sender, std::forward<Args>(args)...);
             })});
        return *this;
    }

    ClassInfo Build() { return std::move(m_info); }

private:
    ClassBuilder& Add(std::string name, const TypeInfo& type,
                      std::function<PropValue(const TObject&)> get,
                      std::function<void(TObject&, const PropValue&)> set)
    {
        m_info.m_properties.push_back({std::move(name), &type, std::move(get), std::move(set)});
        return *this;
    }

    ClassInfo m_info;
};

}  // namespace setup::forms
