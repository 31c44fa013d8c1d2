#include "setup/engine/script/string_hash_table.h"

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "setup/engine/rtl/exceptions.h"

namespace setup::engine {
namespace {

std::vector<std::string> Keys(const TStringHashTable& table)
{
    std::vector<std::string> keys;
    for (const TPair& pair : table.Pairs())
        keys.push_back(pair.Key);
    return keys;
}

template <typename E, typename F>
std::string MessageOf(F action)
{
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return "(nothing raised)";
}

TEST(StringHashTable, RotatesLeftByFiveThenXorsEachByte)
{
    struct Case
    {
        std::string key;
        std::uint32_t caseSensitive;
        std::uint32_t caseInsensitive;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"a", 0x61, 0x61},
        {"ab", 0xC42, 0xC42},
        {"Ab", 0x842, 0xC42},
        {"abcdefg", 0x820398BF, 0x820398BF},  // bits rotate around the top
        {"Hello, World", 0x60DFAA97, 0x72DFAA97},
        {"\xC4", 0xC4, 0xC4},  // bytes above 127 keep their case
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HashText(c.key, true), c.caseSensitive) << c.key;
        EXPECT_EQ(HashText(c.key, false), c.caseInsensitive) << c.key;
    }
}

TEST(StringHashTable, GrowsFromZeroTo32ThenDoublesAtThreshold)
{
    TStringHashTable table(false, 2.0, 0);
    EXPECT_EQ(table.BucketCount(), 0);
    EXPECT_EQ(table.Threshold(), 0);
    table.Put("K0", "v");
    EXPECT_EQ(table.BucketCount(), 32);
    EXPECT_EQ(table.Threshold(), 64);
    for (int i = 1; i < 64; ++i)
        table.Put("K" + std::to_string(i), "v");
    EXPECT_EQ(table.BucketCount(), 32);
    table.Put("K64", "v");  // the 65th entry
    EXPECT_EQ(table.BucketCount(), 64);
    EXPECT_EQ(table.Threshold(), 128);
    EXPECT_EQ(table.Count(), 65);
    for (int i = 0; i <= 64; ++i)
        EXPECT_TRUE(table.ContainsKey("k" + std::to_string(i))) << i;
}

TEST(StringHashTable, RoundsThresholdToNearestEven)
{
    struct Case
    {
        std::int32_t capacity;
        double loadFactor;
        std::int64_t threshold;
    };
    const Case cases[] = {{5, 0.5, 2}, {7, 0.5, 4}, {3, 1.5, 4},   {10, 0.75, 8},
                          {0, 7.0, 0}, {1, 0.1, 0}, {16, 7.0, 112}};
    for (const Case& c : cases) {
        TStringHashTable table(true, c.loadFactor, c.capacity);
        EXPECT_EQ(table.Threshold(), c.threshold) << c.capacity << " x " << c.loadFactor;
        EXPECT_EQ(table.BucketCount(), c.capacity);
    }
}

TEST(StringHashTable, RefusesLoadFactorOutsideRange)
{
    for (double loadFactor : {0.0999, 7.0001, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(MessageOf<rtl::EArgumentOutOfRangeException>(
                      [&] { TStringHashTable table(true, loadFactor, 4); }),
                  "Argument out of range")
            << loadFactor;
    }
}

TEST(StringHashTable, EnumeratesBucketOrderNewestFirstWithinBucket)
{
    // 32 buckets: "a" (97) and "A" (65) and "!" (33) share bucket 1, "b" lies in bucket 2.
    TStringHashTable table(true, 2.0, 0);
    for (const char* key : {"a", "b", "A", "!"})
        table.Put(key, key);
    EXPECT_EQ(Keys(table), (std::vector<std::string>{"!", "A", "a", "b"}));
}

TEST(StringHashTable, GrowthMovesChainsToHeadsAndSoReversesThem)
{
    // Two buckets, threshold 2: "a" (97) and "q" (113) share bucket 1 before and after growth.
    TStringHashTable table(true, 1.0, 2);
    table.Put("a", "1");
    table.Put("q", "2");
    EXPECT_EQ(Keys(table), (std::vector<std::string>{"q", "a"}));
    table.Put("b", "3");  // count 2 reaches the threshold: 4 buckets
    EXPECT_EQ(table.BucketCount(), 4);
    EXPECT_EQ(Keys(table), (std::vector<std::string>{"a", "q", "b"}));
}

TEST(StringHashTable, CaseInsensitivePutKeepsFirstSpelling)
{
    TStringHashTable table(false, 2.0, 0);
    table.Put("Target", "1");
    table.Put("TARGET", "2");
    EXPECT_EQ(table.Count(), 1);
    const auto pairs = table.Pairs();
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].Key, "Target");
    EXPECT_EQ(pairs[0].Value, "2");
    std::string value;
    EXPECT_TRUE(table.TryGetValue("target", value));
    EXPECT_EQ(value, "2");

    // Letters outside A-Z hash by their own byte, so their other case is another entry.
    table.Put("\xE4", "lower");
    table.Put("\xC4", "upper");
    EXPECT_EQ(table.Count(), 3);

    TStringHashTable exact(true, 2.0, 0);
    exact.Put("Target", "1");
    exact.Put("TARGET", "2");
    EXPECT_EQ(exact.Count(), 2);
}

TEST(StringHashTable, IgnoresEmptyKeysAndLooksUpBeforeFirstInsert)
{
    TStringHashTable table(false, 2.0, 0);
    std::string value = "stale";
    EXPECT_FALSE(table.TryGetValue("X", value));  // no buckets yet
    EXPECT_EQ(value, "");
    EXPECT_FALSE(table.ContainsKey(""));
    table.Put("", "v");
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.Find("X", table.Hash("X")), nullptr);
}

TEST(StringHashTable, RefusesChangesWhileAnEnumeratorLives)
{
    const std::string kText = "Can not modify a collection while iterating";
    TStringHashTable table(true, 2.0, 0);
    table.Put("a", "1");
    {
        auto enumerator = table.GetEnumerator();
        while (enumerator.MoveNext()) {
        }
        EXPECT_FALSE(enumerator.MoveNext());  // finished, but still alive
        EXPECT_EQ(MessageOf<rtl::ENotSupportedException>([&] { table.Put("b", "2"); }), kText);
        EXPECT_EQ(MessageOf<rtl::ENotSupportedException>([&] { table.Put("a", "9"); }), kText);
        EXPECT_EQ(MessageOf<rtl::ENotSupportedException>([&] { table.Clear(); }), kText);
        {
            auto second = table.GetEnumerator();
        }
        // The second enumerator's end does not release the first one's lock.
        EXPECT_EQ(MessageOf<rtl::ENotSupportedException>([&] { table.Put("b", "2"); }), kText);
    }
    table.Put("b", "2");
    EXPECT_EQ(table.Count(), 2);
}

TEST(StringHashTable, FixedSizeTablesDoNotGrow)
{
    TStringHashTable empty(true, 2.0, 0);
    empty.SetFixedSize(true);
    EXPECT_EQ(MessageOf<rtl::ENotSupportedException>([&] { empty.Put("a", "1"); }),
              "Hash table is fixed with size 0");

    TStringHashTable one(true, 1.0, 1);
    one.SetFixedSize(true);
    for (int i = 0; i < 10; ++i)
        one.Put(std::to_string(i), "v");
    EXPECT_EQ(one.BucketCount(), 1);
    EXPECT_EQ(one.Count(), 10);
    EXPECT_EQ(Keys(one).front(), "9");
}

TEST(StringHashTable, ClearReturnsToInitialCapacity)
{
    TStringHashTable table(true, 2.0, 4);
    for (int i = 0; i < 20; ++i)
        table.Put(std::to_string(i), "v");
    EXPECT_GT(table.BucketCount(), 4);
    table.Clear();
    EXPECT_EQ(table.BucketCount(), 4);
    EXPECT_EQ(table.Threshold(), 8);
    EXPECT_EQ(table.Count(), 0);
    EXPECT_FALSE(table.ContainsKey("1"));
}

TEST(StringHashTable, WritesLengthPrefixedPairsInEnumerationOrder)
{
    TStringHashTable table(true, 2.0, 0);
    table.Put("b", "22");
    table.Put("a", "1");
    rtl::TMemoryStream stream;
    table.SaveToStream(stream);
    const std::vector<std::uint8_t> expected = {1, 0, 0, 0,   'a', 1, 0, 0, 0,   '1', 1,
                                                0, 0, 0, 'b', 2,   0, 0, 0, '2', '2'};
    EXPECT_EQ(stream.Bytes(), expected);

    TStringHashTable loaded(true, 2.0, 0);
    loaded.Put("old", "gone");
    stream.SetPosition(0);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.Count(), 2);
    std::string value;
    EXPECT_TRUE(loaded.TryGetValue("b", value));
    EXPECT_EQ(value, "22");
    EXPECT_FALSE(loaded.ContainsKey("old"));
}

TEST(StringHashTable, RefusesDamagedStreams)
{
    const std::vector<std::vector<std::uint8_t>> damaged = {
        {1, 0, 0, 0},                        // key missing
        {1, 0, 0, 0, 'a', 5, 0, 0, 0, 'x'},  // value shorter than its length
        {0xFF, 0xFF, 0xFF, 0x7F, 'a'},       // length far beyond the stream
        {1, 0, 0, 0, 'a', 0, 0},             // value length cut off
    };
    for (const auto& bytes : damaged) {
        rtl::TMemoryStream stream(bytes);
        TStringHashTable table(true, 2.0, 0);
        EXPECT_EQ(MessageOf<rtl::EReadError>([&] { table.LoadFromStream(stream); }),
                  "Stream read error");
    }
}

TEST(StringHashTable, RoundTripsThroughFile)
{
    TStringHashTable table(false, 2.0, 0);
    for (int i = 0; i < 100; ++i)
        table.Put("Name" + std::to_string(i), std::string(i, 'x'));
    const std::string path = "string_hash_table_roundtrip.bin";
    table.SaveToFile(path);
    TStringHashTable loaded(false, 2.0, 0);
    loaded.LoadFromFile(path);
    std::remove(path.c_str());
    EXPECT_EQ(loaded.Count(), 100);
    for (int i = 0; i < 100; ++i) {
        std::string value;
        ASSERT_TRUE(loaded.TryGetValue("NAME" + std::to_string(i), value));
        EXPECT_EQ(value, std::string(i, 'x'));
    }
    EXPECT_THROW(loaded.LoadFromFile("no such file.bin"), rtl::EFOpenError);
}

TEST(StringHashTable, AssignCopiesPairsAndNamesClassesInErrors)
{
    TStringHashTable source(true, 2.0, 0);
    source.Put("a", "1");
    source.Put("b", "2");
    TStringHashTable target(false, 1.0, 8);
    target.Put("z", "old");
    target.Assign(&source);
    EXPECT_EQ(Keys(target), Keys(source));

    source.Assign(&source);  // must not empty itself
    EXPECT_EQ(source.Count(), 2);

    EXPECT_EQ(MessageOf<rtl::EConvertError>([&] { target.Assign(nullptr); }),
              "Cannot assign a nil to a TStringHashTable");
    TCustomStringHashTable plain(true, 2.0, 0);
    EXPECT_EQ(MessageOf<rtl::EConvertError>([&] { plain.Assign(&source); }),
              "Cannot assign a TStringHashTable to a TCustomStringHashTable");
    EXPECT_EQ(MessageOf<rtl::EConvertError>([&] { source.Assign(&plain); }),
              "Cannot assign a TCustomStringHashTable to a TStringHashTable");
}

TEST(StringHashTable, AgreesWithOrderedMapUnderRandomChanges)
{
    std::mt19937 random(99);
    TStringHashTable table(false, 0.75, 3);
    std::map<std::string, std::string> model;  // keys upper-cased: the table ignores A-Z case
    const auto upper = [](std::string key) {
        for (char& c : key)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        return key;
    };
    for (int step = 0; step < 20000; ++step) {
        std::string key(1 + random() % 3, 'a');
        for (char& c : key)
            c = "aAbBcC_1"[random() % 8];
        if (random() % 500 == 0) {
            table.Clear();
            model.clear();
        } else if (random() % 3 != 0) {
            const std::string value = std::to_string(step);
            table.Put(key, value);
            model[upper(key)] = value;
        }
        std::string value;
        const auto it = model.find(upper(key));
        ASSERT_EQ(table.TryGetValue(key, value), it != model.end()) << key;
        if (it != model.end()) {
            ASSERT_EQ(value, it->second);
        }
        ASSERT_EQ(table.Count(), static_cast<std::int64_t>(model.size()));
    }
    std::set<std::string> seen;
    for (const TPair& pair : table.Pairs())
        EXPECT_TRUE(seen.insert(upper(pair.Key)).second) << pair.Key;
    EXPECT_EQ(seen.size(), model.size());
}

class RecordingTable : public TStringHashTable
{
public:
    RecordingTable() : TStringHashTable(true, 2.0, 0) {}
    std::vector<std::pair<HashNotification, std::string>> events;

protected:
    void Notify(THashNode& node, HashNotification action) override
    {
        events.emplace_back(action, node.key + "=" + node.value);
    }
};

TEST(StringHashTable, NotifiesAddChangeAndRemove)
{
    RecordingTable table;
    table.Put("a", "1");
    table.Put("a", "2");
    table.Clear();
    using N = HashNotification;
    const std::vector<std::pair<N, std::string>> expected = {{N::Added, "a=1"},
                                                             {N::ValueChanging, "a=1"},
                                                             {N::ValueChanged, "a=2"},
                                                             {N::Removed, "a=2"}};
    EXPECT_EQ(table.events, expected);
}

}  // namespace
}  // namespace setup::engine
