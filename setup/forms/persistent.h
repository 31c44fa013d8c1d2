// The roots of the class tree: TObject carries its class's run-time type information, TPersistent
// adds assignment and the properties a class defines for form files beyond its published ones.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/forms/class_info.h"
#include "setup/forms/form_tree.h"

namespace setup::forms {

// Declares a class's type information; its definition lists the published properties.
#define FORMS_CLASS_INFO()                                      \
    static const ::setup::forms::ClassInfo& StaticClass();      \
    const ::setup::forms::ClassInfo& ClassType() const override \
    {                                                           \
        return StaticClass();                                   \
    }

class TObject
{
public:
    virtual ~TObject() = default;
    static const ClassInfo& StaticClass();
    virtual const ClassInfo& ClassType() const { return StaticClass(); }

    const std::string& ClassName() const { return ClassType().Name(); }
    bool InheritsFrom(const ClassInfo& info) const { return ClassType().InheritsFrom(info); }
};

// The handler the object's class publishes under the name, bound to the object, as an event of
// the given type; an unassigned event when the class publishes none.
template <class Event>
Event PublishedHandler(TObject& object, std::string_view name)
{
    Event event;
    event.method = object.ClassType().FindMethod(name);
    event.data = &object;
    return event;
}

// Properties a class stores in form files under names of its own (a string list's "Strings", a
// component's design position "Left" and "Top", a picture's "Data"), read and written as whole
// form values.
class PropertyDefiner
{
public:
    using ReadValue = std::function<void(const FormValue&)>;
    // The value to store; none when the object has nothing to store under the name.
    using WriteValue = std::function<std::optional<FormValue>()>;
    virtual void DefineProperty(std::string_view name, ReadValue read, WriteValue write) = 0;

    // Binary data that an object keeps in its own format (a picture, a glyph, an icon): the bytes
    // of a Binary value are handed over as they are; any other value is refused.
    using ReadBytes = std::function<void(std::string_view bytes)>;
    using WriteBytes = std::function<std::optional<std::string>()>;
    void DefineBinaryProperty(std::string_view name, ReadBytes read, WriteBytes write);

protected:
    ~PropertyDefiner() = default;
};

class TPersistent : public TObject
{
public:
    FORMS_CLASS_INFO()

    // Copies the source's state; the base raises "Cannot assign a <source> to a <this>".
    virtual void Assign(const TPersistent& source);
    virtual void DefineProperties(PropertyDefiner& definer) {}
};

}  // namespace setup::forms
