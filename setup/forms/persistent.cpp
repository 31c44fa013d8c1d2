#include "setup/forms/persistent.h"

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/class_builder.h"

namespace setup::forms {

const ClassInfo& TObject::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TObject>("TObject", nullptr).Build();
    return info;
}

const ClassInfo& TPersistent::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TPersistent>("TPersistent", &TObject::StaticClass()).Build();
    return info;
}

void PropertyDefiner::DefineBinaryProperty(std::string_view name, ReadBytes read, WriteBytes write)
{
    DefineProperty(
        name,
        [read = std::move(read)](const FormValue& value) {
            if (value.type != ValueType::Binary)
                throw rtl::Exception("Invalid property value");
            read(value.bytes);
        },
        [write = std::move(write)]() -> std::optional<FormValue> {
            if (std::optional<std::string> bytes = write())
                return FormValue::Data(std::move(*bytes));
            return std::nullopt;
        });
}

void TPersistent::Assign(const TPersistent& source)
{
    throw rtl::AssignError(source.ClassName(), ClassName());
}

}  // namespace setup::forms
