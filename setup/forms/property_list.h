// Published properties of one object as a tree of property objects, read and written as text by
// name: a set has one child per member ("Font.Style.fsBold"), an object property the properties
// of the object it refers to ("Font.Color").
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/component.h"
#include "setup/forms/format_settings.h"

namespace setup::forms {

// A value text that the property cannot take; the property keeps its value.
class EPropertyException : public rtl::Exception
{
public:
    EPropertyException() : Exception("Invalid property value.") {}
};

class TPropertyList;

// One property of one object, or one member of a set property.
class TProperty : public TObject
{
public:
    // `info` is none for a set member, whose ordinal is `member`.
    TProperty(TPropertyList& owner, const PropInfo* info, TPersistent* instance, TComponent* root,
              int member = -1);
    ~TProperty() override;
    TProperty(const TProperty&) = delete;
    TProperty& operator=(const TProperty&) = delete;

    TPropertyList& Owner() const { return m_owner; }
    TPersistent* Instance() const { return m_instance; }
    TComponent* Root() const { return m_root; }
    const PropInfo* Info() const { return m_info; }
    // The property's type; for a set member the Boolean type.
    const TypeInfo* Type() const;
    std::optional<TypeKind> Kind() const;
    bool IsSetMember() const { return m_info == nullptr; }
    // The property this one is a child of; none at the top.
    TProperty* Parent() const;

    // The property's name, or the member's identifier, at most 255 characters.
    std::string GetName() const;
    // The names of the ancestors and this one joined by ".": Font.Style.fsBold.
    std::string FullName() const;
    int Level() const;

    // The children: set members or the referred object's properties. Built when first asked
    // for, and again once the property refers to another object, so references that go round
    // in a circle do not build without end.
    TPropertyList& Properties();

    virtual std::string DisplayText() const;
    virtual std::string GetValueText() const;
    // Stores the value only when the text differs from the current value text; a text the
    // property cannot take raises EPropertyException.
    void SetValueText(std::string_view text);
    // The texts the property admits.
    virtual std::vector<std::string> GetValues() const;

protected:
    virtual std::unique_ptr<TPropertyList> CreateSubList();
    virtual void StoreValueText(std::string_view text);

private:
    // The object a class-typed property refers to, as something with properties.
    TPersistent* ReferredObject() const;

    TPropertyList& m_owner;
    const PropInfo* m_info;
    TPersistent* m_instance;
    TComponent* m_root;
    int m_member;
    std::unique_ptr<TPropertyList> m_subList;
    const TObject* m_subListObject = nullptr;
};

// The ordered properties of one object.
class TPropertyList : public TObject
{
public:
    explicit TPropertyList(TProperty* parent = nullptr);
    ~TPropertyList() override;
    TPropertyList(const TPropertyList&) = delete;
    TPropertyList& operator=(const TPropertyList&) = delete;

    TProperty* Parent() const { return m_parent; }
    TComponent* Root() const { return m_root; }
    TPersistent* Instance() const { return m_instance; }
    // Setting either to another object rebuilds the list.
    void SetRoot(TComponent* root);
    void SetInstance(TPersistent* instance);

    std::size_t Count() const { return m_items.size(); }
    // None outside the range.
    TProperty* Item(std::size_t index) const;
    // The first part of the dotted name among the items, letter case counting; the rest in that
    // item's children.
    TProperty* Find(std::string_view fullName) const;

    void Rebuild();

    // Dates and numbers as text; the user's formats unless a caller sets others.
    FormatSettings settings = SystemFormatSettings();

protected:
    friend class TProperty;
    virtual std::unique_ptr<TProperty> CreateItem(const PropInfo* info);
    // The list of an item's children; a derived list hands its own kind down.
    virtual std::unique_ptr<TPropertyList> CreateChildList(TProperty& parent);
    // Fills a set property's list with its members, lowest ordinal first.
    virtual void AddSetMembers();
    // Sorting order; the top level sorts by name with letter case counting, a sub-list as its
    // parent's list does.
    virtual bool Less(const TProperty& a, const TProperty& b) const;
    // Whether an item stays in the list; every item does here.
    virtual bool Filter(const TProperty& item) const { return true; }

private:
    TProperty* m_parent;
    TComponent* m_root = nullptr;
    TPersistent* m_instance = nullptr;
    std::vector<std::unique_ptr<TProperty>> m_items;
};

}  // namespace setup::forms
