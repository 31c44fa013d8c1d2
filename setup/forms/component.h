// TComponent: a named object in an ownership tree. An owner frees what it owns; components hear
// of each other's removal through free notification; states mark loading, designing and
// destruction.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/persistent.h"

namespace setup::forms {

// Invalid or duplicate component names.
class EComponentError : public rtl::Exception
{
public:
    using Exception::Exception;
};

enum class Operation
{
    Insert,
    Remove,
};

enum ComponentState : std::uint32_t
{
    csLoading = 1,
    csReading = 2,
    csDesigning = 4,
    csDestroying = 8,
};

class TComponent : public TPersistent
{
public:
    FORMS_CLASS_INFO()

    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return m_name; }
    // An identifier or empty; unique among the owner's components, letter case ignored.
    virtual void SetName(const std::string& name);
    std::int32_t Tag() const { return m_tag; }
    void SetTag(std::int32_t tag) { m_tag = tag; }

    TComponent* Owner() const { return m_owner; }
    // Owned components in the order they were inserted.
    std::size_t ComponentCount() const { return m_components.size(); }
    TComponent* Component(std::size_t index) const { return m_components.at(index); }
    // The owned component of that name, letter case ignored; null for none or an empty name.
    TComponent* FindComponent(std::string_view name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees the owned components, the last first.
    void DestroyComponents();

    // Both components hear of the other's removal (Notification with Operation::Remove).
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    std::uint32_t State() const { return m_state; }
    bool HasState(ComponentState state) const { return (m_state & state) != 0; }
    // Designing spreads to owned components, as a designer needs the whole tree.
    void SetDesigning(bool designing);
    // Called by the reader around reading; Loaded ends the loading state.
    void BeginLoading() { m_state |= csLoading | csReading; }
    void EndReading() { m_state &= ~csReading; }
    virtual void Loaded() { m_state &= ~csLoading; }

    // Design position of a non-visual component: left in the low 16 bits, top in the high 16 bits.
    std::uint32_t DesignInfo() const { return m_designInfo; }
    void SetDesignInfo(std::uint32_t info) { m_designInfo = info; }

    // The component a form file nests this one in (a control's parent); none by default.
    virtual void SetParentComponent(TComponent* parent) {}
    virtual TComponent* GetParentComponent() const { return nullptr; }
    // Moves a child read with a position of its own to that place among this component's
    // children. By default the children are the owned components; a control reorders its
    // parent's controls instead.
    virtual void SetChildOrder(TComponent* child, int order);
    // Moves an owned component within its owner's list, the index clamped to the list.
    int ComponentIndex() const;
    void SetComponentIndex(int index);

    void DefineProperties(PropertyDefiner& definer) override;

protected:
    // Insertions into and removals from this component's list, and removals of components this one
    // asked free notification of; passed on to every owned component.
    virtual void Notification(TComponent* component, Operation operation);

private:
    void ValidateRename(const std::string& name) const;

    std::string m_name;
    std::int32_t m_tag = 0;
    TComponent* m_owner = nullptr;
    std::vector<TComponent*> m_components;
    std::vector<TComponent*> m_freeNotifies;
    std::uint32_t m_state = 0;
    std::uint32_t m_designInfo = 0;
};

// Whether the text can name a component: a letter or underscore, then letters, digits, underscores.
bool IsValidIdent(std::string_view name);

}  // namespace setup::forms
