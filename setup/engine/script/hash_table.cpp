#include "setup/engine/script/hash_table.h"

#include <cmath>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/exceptions.h"

namespace setup::engine {
namespace {

constexpr const char* kModifiedWhileIterating = "Can not modify a collection while iterating";

std::int64_t RoundedThreshold(double loadFactor, std::int32_t buckets)
{
    // Round to nearest, ties to even: the default floating-point rounding mode.
    return static_cast<std::int64_t>(std::nearbyint(loadFactor * buckets));
}

// Keys are nearly always looked up as they were stored; identical bytes are equal under any
// locale comparison, and the system comparison is far dearer than a byte compare.
bool KeysEqualCase(std::string_view a, std::string_view b)
{
    return a == b || rtl::AnsiCompare(a, b, false) == 0;
}

bool KeysEqualNoCase(std::string_view a, std::string_view b)
{
    return a == b || rtl::AnsiCompare(a, b, true) == 0;
}

}  // namespace

std::uint32_t HashText(std::string_view key, bool caseSensitive)
{
    std::uint32_t h = 0;
    for (char c : key) {
        auto byte = static_cast<std::uint8_t>(c);
        if (!caseSensitive && byte >= 'A' && byte <= 'Z')
            byte = static_cast<std::uint8_t>(byte + ('a' - 'A'));
        h = (h << 5) | (h >> 27);
        h ^= byte;
    }
    return h;
}

TCustomHashTable::TCustomHashTable(std::int32_t capacity, double loadFactor)
{
    // The negated test also refuses NaN, which would make the threshold meaningless.
    if (!(loadFactor >= 0.1 && loadFactor <= 7.0) || capacity < 0)
        throw rtl::EArgumentOutOfRangeException();
    m_initialCapacity = capacity;
    m_loadFactor = loadFactor;
    AllocateBuckets(capacity);
}

TCustomHashTable::~TCustomHashTable()
{
    FreeNodes(false);
}

void TCustomHashTable::AllocateBuckets(std::int32_t count)
{
    m_buckets.assign(static_cast<std::size_t>(count), nullptr);
    m_threshold = RoundedThreshold(m_loadFactor, count);
}

std::int32_t TCustomHashTable::GetGrowSize(std::int32_t size) const
{
    return size == 0 ? 32 : size * 2;
}

void TCustomHashTable::AssignTo(TCustomHashTable& target) const
{
    throw rtl::AssignError(ClassName(), target.ClassName());
}

void TCustomHashTable::Assign(const TCustomHashTable* source)
{
    if (source == nullptr)
        throw rtl::AssignError("nil", ClassName());
    // Assigning a table to itself would clear it before copying from it.
    if (source == this)
        return;
    source->AssignTo(*this);
}

void TCustomHashTable::CheckNotIterating() const
{
    if (Iterating())
        throw rtl::ENotSupportedException(kModifiedWhileIterating);
}

void TCustomHashTable::FreeNodes(bool notify)
{
    for (THashNode*& head : m_buckets) {
        while (head != nullptr) {
            THashNode* node = head;
            head = node->next;
            if (notify)
                Notify(*node, HashNotification::Removed);
            delete node;
        }
    }
}

void TCustomHashTable::Clear()
{
    CheckNotIterating();
    FreeNodes(true);
    AllocateBuckets(m_initialCapacity);
    m_count = 0;
}

void TCustomHashTable::Grow()
{
    const std::int32_t oldCount = BucketCount();
    const std::int32_t newCount = GetGrowSize(oldCount);
    if (newCount == oldCount || newCount <= 0)
        return;
    std::vector<THashNode*> old = std::move(m_buckets);
    AllocateBuckets(newCount);
    for (THashNode* head : old) {
        while (head != nullptr) {
            THashNode* node = head;
            head = node->next;
            THashNode*& bucket = m_buckets[node->hash % static_cast<std::uint32_t>(newCount)];
            node->next = bucket;
            bucket = node;
        }
    }
}

void TCustomHashTable::InsertNode(std::string_view key, std::string_view value, std::uint32_t hash)
{
    CheckNotIterating();
    if (m_count >= m_threshold && !m_fixedSize)
        Grow();
    if (m_buckets.empty())
        throw rtl::ENotSupportedException("Hash table is fixed with size 0");

    THashNode*& head = m_buckets[hash % m_buckets.size()];
    for (THashNode* node = head; node != nullptr; node = node->next) {
        if (node->hash == hash && m_keyEquality(node->key, key)) {
            Notify(*node, HashNotification::ValueChanging);
            node->value.assign(value);
            Notify(*node, HashNotification::ValueChanged);
            return;
        }
    }
    auto* node = new THashNode{head, hash, std::string(key), std::string(value)};
    head = node;
    ++m_count;
    Notify(*node, HashNotification::Added);
}

const THashNode* TCustomHashTable::FindNode(std::string_view key, std::uint32_t hash) const
{
    // A table created with capacity 0 has no buckets until its first insert.
    if (m_buckets.empty())
        return nullptr;
    for (const THashNode* node = m_buckets[hash % m_buckets.size()]; node != nullptr;
         node = node->next) {
        if (node->hash == hash && m_keyEquality(node->key, key))
            return node;
    }
    return nullptr;
}

void TCustomHashTable::LoadFromFile(const std::string& path)
{
    auto stream = rtl::OpenFileStream(path, rtl::FileStreamMode::OpenReadDenyWrite);
    LoadFromStream(*stream);
}

void TCustomHashTable::LoadFromStream(rtl::TStream&) {}

void TCustomHashTable::SaveToFile(const std::string& path) const
{
    auto stream = rtl::OpenFileStream(path, rtl::FileStreamMode::Create);
    SaveToStream(*stream);
}

void TCustomHashTable::SaveToStream(rtl::TStream&) const {}

TCustomStringHashTable::TCustomStringHashTable(bool caseSensitive, double loadFactor,
                                               std::int32_t capacity)
    : TCustomHashTable(capacity, loadFactor), m_caseSensitive(caseSensitive)
{
    m_keyEquality = caseSensitive ? &KeysEqualCase : &KeysEqualNoCase;
}

std::uint32_t TCustomStringHashTable::Hash(std::string_view key) const
{
    return HashText(key, m_caseSensitive);
}

THashEnumerator::THashEnumerator(const TCustomHashTable& table) : m_table(table)
{
    ++m_table.m_enumerators;
}

THashEnumerator::~THashEnumerator()
{
    --m_table.m_enumerators;
}

bool THashEnumerator::MoveNext()
{
    if (m_current != nullptr && m_current->next != nullptr) {
        m_current = m_current->next;
        return true;
    }
    const std::int32_t buckets = m_table.BucketCount();
    while (++m_bucket < buckets) {
        if (const THashNode* head = m_table.BucketHead(m_bucket)) {
            m_current = head;
            return true;
        }
    }
    m_bucket = buckets;
    m_current = nullptr;
    return false;
}

}  // namespace setup::engine
