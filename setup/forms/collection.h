// TCollection and TCollectionItem: an owned list of items of one class, each item with published
// properties of its own (list-view columns, status-bar panels). Changes reach the collection's
// owner through Update, once per update block.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "setup/forms/persistent.h"

namespace setup::forms {

class TCollection;

class TCollectionItem : public TPersistent
{
public:
    FORMS_CLASS_INFO()

    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return m_collection; }
    int Index() const;
    int ID() const { return m_id; }

protected:
    // To be called by setters of published properties: the collection hears of the change.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* m_collection = nullptr;
    int m_id = 0;
};

class TCollection : public TPersistent
{
public:
    FORMS_CLASS_INFO()

    // Items are created by the item class's type information.
    TCollection(const ClassInfo& itemClass, TPersistent* owner = nullptr);
    ~TCollection() override;

    const ClassInfo& ItemClass() const { return m_itemClass; }
    TPersistent* Owner() const { return m_owner; }
    std::size_t Count() const { return m_items.size(); }
    TCollectionItem* Item(std::size_t index) const { return m_items.at(index); }

    TCollectionItem* Add();
    void Delete(std::size_t index);
    void Clear();

    void BeginUpdate();
    void EndUpdate();
    // Told of a change of one item, or (null) of the whole collection.
    std::function<void(TCollectionItem*)> OnUpdate;

private:
    friend class TCollectionItem;
    void Attach(TCollectionItem* item);
    void Detach(TCollectionItem* item);
    void Changed(TCollectionItem* item);

    const ClassInfo& m_itemClass;
    TPersistent* m_owner;
    std::vector<TCollectionItem*> m_items;
    int m_nextId = 0;
    int m_updateCount = 0;
};

}  // namespace setup::forms
