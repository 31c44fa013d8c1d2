#include "setup/forms/property_interface.h"

#include "setup/forms/class_builder.h"

namespace setup::forms {

const ClassInfo& TCustomPropertyInterface::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCustomPropertyInterface>("TCustomPropertyInterface",
                                               &TComponent::StaticClass())
            .Property("Root", &TCustomPropertyInterface::Root, &TCustomPropertyInterface::SetRoot)
            .Property("Instance", &TCustomPropertyInterface::Instance,
                      &TCustomPropertyInterface::SetInstance)
            .Build();
    return info;
}

const ClassInfo& TPropertyInterface::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TPropertyInterface>("TPropertyInterface",
                                         &TCustomPropertyInterface::StaticClass())
            .Build();
    return info;
}

TCustomPropertyInterface::TCustomPropertyInterface(TComponent* owner)
    : TComponent(owner), m_list(CreatePropertyList())
{
    SetRoot(owner);
    SetInstance(owner);
}

TCustomPropertyInterface::~TCustomPropertyInterface()
{
    SetRoot(nullptr);
    SetInstance(nullptr);
}

std::unique_ptr<TPropertyList> TCustomPropertyInterface::CreatePropertyList()
{
    return std::make_unique<TPropertyList>();
}

void TCustomPropertyInterface::Watch(TComponent* previous, TComponent* next)
{
    // The owner tells of its own end through the owned list; others are asked to.
    if (previous && previous != Owner() && previous != Root() && previous != Instance())
        RemoveFreeNotification(previous);
    if (next && next != Owner())
        FreeNotification(next);
}

void TCustomPropertyInterface::SetRoot(TComponent* root)
{
    TComponent* previous = Root();
    m_list->SetRoot(root);
    Watch(previous, root);
}

void TCustomPropertyInterface::SetInstance(TComponent* instance)
{
    TComponent* previous = Instance();
    m_list->SetInstance(instance);
    Watch(previous, instance);
}

void TCustomPropertyInterface::Notification(TComponent* component, Operation operation)
{
    TComponent::Notification(component, operation);
    if (operation != Operation::Remove)
        return;
    if (component == Instance())
        m_list->SetInstance(nullptr);
    if (component == Root())
        m_list->SetRoot(nullptr);
}

}  // namespace setup::forms
