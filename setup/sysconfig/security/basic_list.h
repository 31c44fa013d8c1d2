// Lists of the library's objects: counted references under a recursive lock, an optional sort
// order through the caller's compare function, listeners told before and after every insertion
// and removal, and per-list state for each member (index, previous index, how it last changed,
// selected, focused and marked).
#pragma once

#include <cstdint>
#include <vector>

#include "setup/sysconfig/security/basic_object.h"
#include "setup/sysconfig/security/critical_section.h"

namespace setup::sysconfig::security {

class BasicList;

enum class ChangeType
{
    Unchanged,
    Changed,
    New,
    Deleted
};

// One object's state in one list; owned by the object, pointed at from the list's slot.
struct ListMembership
{
    const BasicList* list = nullptr;
    int index = -1;
    int oldIndex = -1;
    ChangeType changeType = ChangeType::New;
    bool selected = false;
    bool focused = false;
    bool marked = false;
};

using ListCompareFunc = int (*)(BasicList& list, BasicObject* a, BasicObject* b,
                                std::int32_t param);
using ListNotifyProc = void (*)(BasicList& list, BasicObject* item, bool beforeChange,
                                ChangeType change, int oldIndex, int index);
// A listener bound to an object of the caller's: registered and removed as the pair.
struct ListChangeEvent
{
    void (*method)(void* object, BasicList& list, BasicObject* item, bool beforeChange,
                   ChangeType change, int oldIndex, int index) = nullptr;
    void* object = nullptr;
    bool operator==(const ListChangeEvent&) const = default;
};

class BasicList : public BasicObject
{
public:
    BasicList();
    ~BasicList() override;

    int Count() const { return m_count; }
    int Capacity() const { return static_cast<int>(m_items.size()); }
    void SetCapacity(int capacity);
    // Drops empty slots and fits the capacity to the count.
    void Pack();
    void Lock() { m_lock->Enter(); }
    void Unlock() { m_lock->Leave(); }
    int SelectedCount() const { return m_selectedCount; }
    BasicObject* FocusedItem() const { return m_focused.Get(); }
    BasicObject* AttachedItem() const { return m_attached.Get(); }
    void SetAttachedItem(BasicObject* item) { m_attached = Ref<BasicObject>(item); }

    // Raises KroException "Index out of range." for a bad index.
    Ref<BasicObject> Items(int index);
    // The index of the item; -1 on failure. A member keeps its place.
    int Add(BasicObject* item);
    int Insert(BasicObject* item, int index);
    bool Delete(int index);
    void Clear() { SetCapacity(0); }

    ListCompareFunc SortFunction() const { return m_compare; }
    bool SortAscending() const { return m_ascending; }
    std::int32_t SortParam() const { return m_sortParam; }
    bool SetSort(ListCompareFunc compare, bool ascending, std::int32_t param);
    bool SetSortFunction(ListCompareFunc compare) { return SetSort(compare, true, m_sortParam); }
    bool SetSortAscending(bool ascending) { return SetSort(m_compare, ascending, m_sortParam); }
    bool SetSortParam(std::int32_t param) { return SetSort(m_compare, m_ascending, param); }

    bool AddNotifyProc(ListNotifyProc proc);
    bool RemoveNotifyProc(ListNotifyProc proc);
    bool AddChangeEvent(ListChangeEvent event);
    bool RemoveChangeEvent(ListChangeEvent event);

    void MarkAllDeleted();
    void RemoveDeleted();

private:
    friend class BasicObject;
    void Notify(BasicObject* item, bool before, ChangeType change, int oldIndex, int index);
    void Grow();
    void Renumber(int from);
    void Sort();
    void QuickSort(int left, int right, bool& swapped);
    int Compare(BasicObject* a, BasicObject* b);

    Ref<CriticalSection> m_lock;
    std::vector<Ref<BasicObject>> m_items;  // one slot per unit of capacity
    std::vector<ListMembership*> m_records;
    int m_count = 0;
    int m_selectedCount = 0;
    Ref<BasicObject> m_focused;
    Ref<BasicObject> m_attached;
    std::vector<ListNotifyProc> m_notifyProcs;
    std::vector<ListChangeEvent> m_changeEvents;
    ListCompareFunc m_compare = nullptr;
    bool m_ascending = true;
    std::int32_t m_sortParam = 0;
};

}  // namespace setup::sysconfig::security
