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

void TPersistent::Assign(const TPersistent& source)
{
    throw rtl::AssignError(source.ClassName(), ClassName());
}

}  // namespace setup::forms
