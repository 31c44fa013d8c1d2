#include "setup/forms/collection.h"

#include <algorithm>

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/class_builder.h"

namespace setup::forms {

const ClassInfo& TCollectionItem::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCollectionItem>("TCollectionItem", &TPersistent::StaticClass()).Build();
    return info;
}

const ClassInfo& TCollection::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TCollection>("TCollection", &TPersistent::StaticClass()).Build();
    return info;
}

TCollectionItem::TCollectionItem(TCollection* collection)
{
    if (collection)
        collection->Attach(this);
}

TCollectionItem::~TCollectionItem()
{
    if (m_collection)
        m_collection->Detach(this);
}

int TCollectionItem::Index() const
{
    if (!m_collection)
        return -1;
    const auto& items = m_collection->m_items;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::Changed(bool allItems)
{
    if (m_collection)
        m_collection->Changed(allItems ? nullptr : this);
}

TCollection::TCollection(const ClassInfo& itemClass, TPersistent* owner)
    : m_itemClass(itemClass), m_owner(owner)
{}

TCollection::~TCollection()
{
    m_updateCount = 1;  // no notices while the collection goes away
    while (!m_items.empty())
        delete m_items.back();
}

TCollectionItem* TCollection::Add()
{
    TObject* created = m_itemClass.Create(this);
    auto* item = dynamic_cast<TCollectionItem*>(created);
    if (!item) {
        delete created;
        throw rtl::Exception("Class " + m_itemClass.Name() + " cannot be a collection item");
    }
    return item;
}

void TCollection::Delete(std::size_t index)
{
    delete m_items.at(index);
}

void TCollection::Clear()
{
    if (m_items.empty())
        return;
    BeginUpdate();
    while (!m_items.empty())
        delete m_items.back();
    EndUpdate();
}

void TCollection::BeginUpdate()
{
    ++m_updateCount;
}

void TCollection::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        Changed(nullptr);
}

void TCollection::Attach(TCollectionItem* item)
{
    m_items.push_back(item);
    item->m_collection = this;
    item->m_id = m_nextId++;
    Changed(nullptr);
}

void TCollection::Detach(TCollectionItem* item)
{
    std::erase(m_items, item);
    item->m_collection = nullptr;
    Changed(nullptr);
}

void TCollection::Changed(TCollectionItem* item)
{
    if (m_updateCount == 0 && OnUpdate)
        OnUpdate(item);
}

}  // namespace setup::forms
