// A component through which code asks for the published properties of another component by
// index: the rules of a page create one per control, read or write, and free it.
#pragma once

#include <cstddef>
#include <memory>

#include "setup/forms/component.h"
#include "setup/forms/property_list.h"

namespace setup::forms {

class TCustomPropertyInterface : public TComponent
{
public:
    FORMS_CLASS_INFO()
    // Root and instance start as the owner.
    explicit TCustomPropertyInterface(TComponent* owner);
    ~TCustomPropertyInterface() override;

    TComponent* Root() const { return m_list->Root(); }
    void SetRoot(TComponent* root);
    TComponent* Instance() const { return dynamic_cast<TComponent*>(m_list->Instance()); }
    void SetInstance(TComponent* instance);

    std::size_t GetPropertyCount() const { return m_list->Count(); }
    // None outside the range.
    TProperty* GetProperty(std::size_t index) const { return m_list->Item(index); }
    TPropertyList& Properties() const { return *m_list; }

protected:
    virtual std::unique_ptr<TPropertyList> CreatePropertyList();
    // A freed root or instance leaves the list rather than dangling in it.
    void Notification(TComponent* component, Operation operation) override;

private:
    void Watch(TComponent* previous, TComponent* next);

    std::unique_ptr<TPropertyList> m_list;
};

class TPropertyInterface : public TCustomPropertyInterface
{
public:
    FORMS_CLASS_INFO()
    using TCustomPropertyInterface::TCustomPropertyInterface;
};

}  // namespace setup::forms
