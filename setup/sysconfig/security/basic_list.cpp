#include "setup/sysconfig/security/basic_list.h"

#include <algorithm>
#include <utility>

namespace setup::sysconfig::security {

namespace {

// Holds the list's lock for one operation.
class ListLock
{
public:
    explicit ListLock(BasicList& list) : m_list(list) { m_list.Lock(); }
    ~ListLock() { m_list.Unlock(); }
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;

private:
    BasicList& m_list;
};

}  // namespace

BasicList::BasicList() : m_lock(MakeRef<CriticalSection>()) {}

BasicList::~BasicList()
{
    // No listener hears of a dying list.
    m_notifyProcs.clear();
    m_changeEvents.clear();
    for (int i = m_count - 1; i >= 0; --i) {
        const auto slot = static_cast<std::size_t>(i);
        if (m_items[slot])
            m_items[slot]->Leave(m_records[slot]);
    }
}

void BasicList::Notify(BasicObject* item, bool before, ChangeType change, int oldIndex, int index)
{
    for (const ListNotifyProc proc : std::vector<ListNotifyProc>(m_notifyProcs))
        proc(*this, item, before, change, oldIndex, index);
    for (const ListChangeEvent& event : std::vector<ListChangeEvent>(m_changeEvents))
        event.method(event.object, *this, item, before, change, oldIndex, index);
}

void BasicList::Grow()
{
    if (m_count < Capacity())
        return;
    const int capacity = Capacity() < 8 ? 16 : Capacity() + Capacity() / 2;
    m_items.resize(static_cast<std::size_t>(capacity));
    m_records.resize(static_cast<std::size_t>(capacity), nullptr);
}

void BasicList::Renumber(int from)
{
    for (int i = from; i < m_count; ++i) {
        if (ListMembership* record = m_records[static_cast<std::size_t>(i)]) {
            record->oldIndex = record->index;
            record->index = i;
        }
    }
}

Ref<BasicObject> BasicList::Items(int index)
{
    const ListLock lock(*this);
    if (index < 0 || index >= m_count)
        throw KroException("Index out of range.");
    return m_items[static_cast<std::size_t>(index)];
}

int BasicList::Add(BasicObject* item)
{
    const ListLock lock(*this);
    if (!CheckObject())
        return -1;
    if (!item) {
        SetErrorCode(kErrorInvalidParameter);
        return -1;
    }
    if (const ListMembership* record = item->FindMembership(*this))
        return record->index;
    if (m_compare && m_count > 0) {
        int at = m_count;
        for (int i = 0; i < m_count; ++i) {
            BasicObject* present = m_items[static_cast<std::size_t>(i)].Get();
            if (!present)
                break;
            if (Compare(present, item) >= 0) {
                at = i;
                break;
            }
        }
        return Insert(item, at);
    }
    return Insert(item, m_count);
}

int BasicList::Insert(BasicObject* item, int index)
{
    const ListLock lock(*this);
    if (!CheckObject())
        return -1;
    if (!item) {
        SetErrorCode(kErrorInvalidParameter);
        return -1;
    }
    if (index < 0) {
        SetErrorCode(kErrorInvalidIndex);
        return -1;
    }
    if (const ListMembership* record = item->FindMembership(*this))
        return record->index;
    index = std::min(index, m_count);
    const Ref<BasicObject> held(item);  // alive while the listeners run
    Notify(item, true, ChangeType::New, -1, index);
    Grow();
    for (int i = m_count; i > index; --i) {
        const auto slot = static_cast<std::size_t>(i);
        m_items[slot] = std::move(m_items[slot - 1]);
        m_records[slot] = m_records[slot - 1];
    }
    ListMembership& record = item->Join(*this);
    record.index = index;
    m_items[static_cast<std::size_t>(index)] = held;
    m_records[static_cast<std::size_t>(index)] = &record;
    ++m_count;
    Renumber(index + 1);
    Notify(item, false, ChangeType::New, -1, index);
    SetErrorCode(0);
    return index;
}

bool BasicList::Delete(int index)
{
    const ListLock lock(*this);
    if (index < 0 || index >= m_count)
        return SetErrorCode(kErrorInvalidIndex);
    const auto slot = static_cast<std::size_t>(index);
    const Ref<BasicObject> item = m_items[slot];
    ListMembership* record = m_records[slot];
    if (item) {
        Notify(item.Get(), true, ChangeType::Deleted, index, -1);
        item->SetSelectedIn(*this, false);
        item->SetFocusedIn(*this, false);
        item->SetMarkedIn(*this, false);
        record->changeType = ChangeType::Deleted;
        record->oldIndex = index;
        record->index = -1;
    }
    for (int i = index; i + 1 < m_count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        m_items[at] = std::move(m_items[at + 1]);
        m_records[at] = m_records[at + 1];
    }
    --m_count;
    m_items[static_cast<std::size_t>(m_count)].Reset();
    m_records[static_cast<std::size_t>(m_count)] = nullptr;
    Renumber(index);
    if (item) {
        Notify(item.Get(), false, ChangeType::Deleted, index, -1);
        item->Leave(record);
    }
    return SetErrorCode(0);
}

void BasicList::SetCapacity(int capacity)
{
    const ListLock lock(*this);
    capacity = std::max(capacity, 0);
    if (capacity == Capacity())
        return;
    for (int i = m_count - 1; i >= capacity; --i)
        Delete(i);
    m_items.resize(static_cast<std::size_t>(capacity));
    m_records.resize(static_cast<std::size_t>(capacity), nullptr);
    m_count = std::min(m_count, capacity);
}

void BasicList::Pack()
{
    const ListLock lock(*this);
    for (int i = m_count - 1; i >= 0; --i) {
        if (!m_items[static_cast<std::size_t>(i)])
            Delete(i);
    }
    SetCapacity(m_count);
}

int BasicList::Compare(BasicObject* a, BasicObject* b)
{
    return m_ascending ? m_compare(*this, a, b, m_sortParam) : m_compare(*this, b, a, m_sortParam);
}

void BasicList::QuickSort(int left, int right, bool& swapped)
{
    int i = left;
    do {
        i = left;
        int j = right;
        int pivot = (left + right) / 2;
        do {
            while (Compare(m_items[static_cast<std::size_t>(i)].Get(),
                           m_items[static_cast<std::size_t>(pivot)].Get()) < 0)
                ++i;
            while (Compare(m_items[static_cast<std::size_t>(j)].Get(),
                           m_items[static_cast<std::size_t>(pivot)].Get()) > 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    std::swap(m_items[static_cast<std::size_t>(i)],
                              m_items[static_cast<std::size_t>(j)]);
                    std::swap(m_records[static_cast<std::size_t>(i)],
                              m_records[static_cast<std::size_t>(j)]);
                    swapped = true;
                    // The pivot moves with its item.
                    if (pivot == i)
                        pivot = j;
                    else if (pivot == j)
                        pivot = i;
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (left < j)
            QuickSort(left, j, swapped);
        left = i;
    } while (i < right);
}

void BasicList::Sort()
{
    if (!m_compare || m_count < 2)
        return;
    for (int i = 0; i < m_count; ++i) {
        if (!m_items[static_cast<std::size_t>(i)])
            return;  // empty slots cannot be compared
    }
    bool swapped = false;
    QuickSort(0, m_count - 1, swapped);
    if (swapped)
        Renumber(0);
}

bool BasicList::SetSort(ListCompareFunc compare, bool ascending, std::int32_t param)
{
    const ListLock lock(*this);
    if (!CheckObject())
        return false;
    m_compare = compare;
    m_ascending = ascending;
    m_sortParam = param;
    Sort();
    return true;
}

bool BasicList::AddNotifyProc(ListNotifyProc proc)
{
    const ListLock lock(*this);
    if (std::find(m_notifyProcs.begin(), m_notifyProcs.end(), proc) == m_notifyProcs.end())
        m_notifyProcs.push_back(proc);
    return SetErrorCode(0);
}

bool BasicList::RemoveNotifyProc(ListNotifyProc proc)
{
    const ListLock lock(*this);
    const auto removed = std::erase(m_notifyProcs, proc);
    return SetErrorCode(removed ? 0 : kErrorFileNotFound);
}

bool BasicList::AddChangeEvent(ListChangeEvent event)
{
    const ListLock lock(*this);
    if (std::find(m_changeEvents.begin(), m_changeEvents.end(), event) == m_changeEvents.end())
        m_changeEvents.push_back(event);
    return SetErrorCode(0);
}

bool BasicList::RemoveChangeEvent(ListChangeEvent event)
{
    const ListLock lock(*this);
    const auto removed = std::erase(m_changeEvents, event);
    return SetErrorCode(removed ? 0 : kErrorFileNotFound);
}

void BasicList::MarkAllDeleted()
{
    const ListLock lock(*this);
    for (int i = 0; i < m_count; ++i) {
        if (ListMembership* record = m_records[static_cast<std::size_t>(i)])
            record->changeType = ChangeType::Deleted;
    }
}

void BasicList::RemoveDeleted()
{
    const ListLock lock(*this);
    for (int i = m_count - 1; i >= 0; --i) {
        const ListMembership* record = m_records[static_cast<std::size_t>(i)];
        if (!record || record->changeType == ChangeType::Deleted)
            Delete(i);
    }
}

}  // namespace setup::sysconfig::security
