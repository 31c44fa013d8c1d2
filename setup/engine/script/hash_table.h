// Chained hash tables from text keys to text values: fixed hash, configurable load factor, optional
// case-insensitive keys, an enumerator that blocks changes while it lives, and a stream format of
// length-prefixed texts. The variable store and the dialog runtime's text table are built on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/rtl/stream.h"

namespace setup::engine {

struct THashNode
{
    THashNode* next = nullptr;
    std::uint32_t hash = 0;
    std::string key;
    std::string value;
};

enum class HashNotification
{
    Added = 0,
    Removed = 1,
    ValueChanging = 2,
    ValueChanged = 3,
};

class TCustomHashTable
{
public:
    using KeyEquality = bool (*)(std::string_view, std::string_view);

    // Raises "Argument out of range" for a load factor outside 0.1 to 7 or a negative capacity.
    TCustomHashTable(std::int32_t capacity, double loadFactor);
    virtual ~TCustomHashTable();
    TCustomHashTable(const TCustomHashTable&) = delete;
    TCustomHashTable& operator=(const TCustomHashTable&) = delete;

    virtual std::string ClassName() const { return "TCustomHashTable"; }
    virtual std::int32_t GetGrowSize(std::int32_t size) const;
    virtual void AssignTo(TCustomHashTable& target) const;
    // A missing source raises "Cannot assign a nil to a <class>".
    void Assign(const TCustomHashTable* source);
    virtual void Clear();
    void LoadFromFile(const std::string& path);
    virtual void LoadFromStream(rtl::TStream& stream);
    void SaveToFile(const std::string& path) const;
    virtual void SaveToStream(rtl::TStream& stream) const;

    std::int64_t Count() const { return m_count; }
    std::int32_t BucketCount() const { return static_cast<std::int32_t>(m_buckets.size()); }
    std::int64_t Threshold() const { return m_threshold; }
    double LoadFactor() const { return m_loadFactor; }
    bool FixedSize() const { return m_fixedSize; }
    void SetFixedSize(bool fixedSize) { m_fixedSize = fixedSize; }
    bool Iterating() const { return m_enumerators > 0; }

    // Chain of one bucket, for the enumerator.
    const THashNode* BucketHead(std::int32_t index) const { return m_buckets[index]; }

protected:
    virtual void Notify(THashNode& node, HashNotification action) {}

    void InsertNode(std::string_view key, std::string_view value, std::uint32_t hash);
    const THashNode* FindNode(std::string_view key, std::uint32_t hash) const;
    void CheckNotIterating() const;

    KeyEquality m_keyEquality = nullptr;

private:
    friend class THashEnumerator;

    void AllocateBuckets(std::int32_t count);
    void Grow();
    void FreeNodes(bool notify);

    std::int64_t m_count = 0;
    std::int32_t m_initialCapacity = 0;
    bool m_fixedSize = false;
    mutable int m_enumerators = 0;  // a count, so that two live enumerators both hold the lock
    double m_loadFactor = 0;
    std::int64_t m_threshold = 0;
    std::vector<THashNode*> m_buckets;
};

class TCustomStringHashTable : public TCustomHashTable
{
public:
    TCustomStringHashTable(bool caseSensitive, double loadFactor, std::int32_t capacity);

    std::string ClassName() const override { return "TCustomStringHashTable"; }
    bool CaseSensitive() const { return m_caseSensitive; }
    std::uint32_t Hash(std::string_view key) const;

private:
    bool m_caseSensitive;
};

// Walks the nodes in bucket order, and within a bucket the most recently inserted first. While
// it lives the table refuses every change. It must not outlive its table.
class THashEnumerator
{
public:
    explicit THashEnumerator(const TCustomHashTable& table);
    ~THashEnumerator();
    THashEnumerator(const THashEnumerator&) = delete;
    THashEnumerator& operator=(const THashEnumerator&) = delete;

    bool MoveNext();

protected:
    const THashNode* CurrentNode() const { return m_current; }

private:
    const TCustomHashTable& m_table;
    std::int32_t m_bucket = -1;
    const THashNode* m_current = nullptr;
};

std::uint32_t HashText(std::string_view key, bool caseSensitive);

}  // namespace setup::engine
