#include "model/BucketMap.h"

#include <gtest/gtest.h>

#include <list>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using Map = CBucketMap<std::string>;

std::unique_ptr<std::string> Rec(const std::string& s) {
    return std::make_unique<std::string>(s);
}

std::vector<std::string> Values(const Map& map) {
    std::vector<std::string> values;
    map.ForEach([&](uint16_t, const std::string& v) { values.push_back(v); });
    return values;
}

// The order written out plainly: 17 lists, a new or replaced key goes to the
// front of list (key / 16) mod 17, lists are read in ascending order.
class ReferenceMap {
public:
    void SetAt(uint16_t key, const std::string& value) {
        RemoveKey(key);
        m_buckets[(key / 16) % 17].push_front({key, value});
    }
    void SetLast(uint16_t key, const std::string& value) {
        RemoveKey(key);
        m_buckets[(key / 16) % 17].push_back({key, value});
    }
    void RemoveKey(uint16_t key) {
        m_buckets[(key / 16) % 17].remove_if([&](const auto& e) { return e.first == key; });
    }
    void RemoveAll() {
        for (auto& b : m_buckets)
            b.clear();
    }
    std::vector<uint16_t> Keys() const {
        std::vector<uint16_t> keys;
        for (const auto& b : m_buckets)
            for (const auto& e : b)
                keys.push_back(e.first);
        return keys;
    }
    std::vector<std::string> Values() const {
        std::vector<std::string> values;
        for (const auto& b : m_buckets)
            for (const auto& e : b)
                values.push_back(e.second);
        return values;
    }

private:
    std::list<std::pair<uint16_t, std::string>> m_buckets[17];
};

TEST(BucketMap, KeysPastSixteenShareBucketsNewestFirst) {
    Map map;
    // 0, 15, 272 and 544 are in bucket 0; 16 and 288 in bucket 1; 0xFFFF in 15.
    for (uint16_t key : {0, 16, 15, 272, 0xFFFF, 288, 544})
        map.SetAt(key, Rec(std::to_string(key)));
    EXPECT_EQ(map.Keys(), (std::vector<uint16_t>{544, 272, 15, 0, 288, 16, 0xFFFF}));
    EXPECT_EQ(map.GetCount(), 7u);
    EXPECT_EQ(*map.Lookup(272), "272");
    EXPECT_EQ(map.Lookup(1), nullptr);
}

TEST(BucketMap, ReplacingAKeyDeletesTheOldRecordAndPutsItFirst) {
    Map map;
    for (uint16_t key : {0, 272, 544})
        map.SetAt(key, Rec("old" + std::to_string(key)));
    std::string* kept = map.Lookup(544);
    map.SetAt(0, Rec("new0"));
    EXPECT_EQ(map.Keys(), (std::vector<uint16_t>{0, 544, 272}));
    EXPECT_EQ(Values(map), (std::vector<std::string>{"new0", "old544", "old272"}));
    EXPECT_EQ(map.GetCount(), 3u);
    // Other records did not move.
    EXPECT_EQ(map.Lookup(544), kept);
}

TEST(BucketMap, WrappedKeysKeepTheirBuckets) {
    Map map;
    // Keys of ids 0xFFFE, 0xFFFF, 0x10000 and 0x10001 after the 16-bit wrap.
    for (uint32_t id : {0xFFFEu, 0xFFFFu, 0x10000u, 0x10001u})
        map.SetAt(static_cast<uint16_t>(id & 0xFFFF), Rec(std::to_string(id)));
    EXPECT_EQ(map.Keys(), (std::vector<uint16_t>{1, 0, 0xFFFF, 0xFFFE}));
    EXPECT_TRUE(map.RemoveKey(0));
    EXPECT_FALSE(map.RemoveKey(0));
    EXPECT_EQ(map.Keys(), (std::vector<uint16_t>{1, 0xFFFF, 0xFFFE}));
}

TEST(BucketMap, CopyIsDeepAndKeepsTheOrderMoveLeavesAnEmptyMap) {
    Map map;
    for (uint16_t key : {5, 277, 90, 549})
        map.SetAt(key, Rec(std::to_string(key)));
    map.RemoveKey(90);
    Map copy(map);
    EXPECT_EQ(copy.Keys(), map.Keys());
    EXPECT_NE(copy.Lookup(5), map.Lookup(5));
    *copy.Lookup(5) = "changed";
    EXPECT_EQ(*map.Lookup(5), "5");

    Map moved(std::move(map));
    EXPECT_EQ(moved.Keys(), (std::vector<uint16_t>{549, 277, 5}));
    EXPECT_TRUE(map.IsEmpty()); // NOLINT(bugprone-use-after-move): the moved-from map stays usable
    EXPECT_TRUE(map.Keys().empty());
    map.SetAt(7, Rec("7"));
    EXPECT_EQ(map.Keys(), std::vector<uint16_t>{7});

    copy = moved;
    EXPECT_EQ(copy.Keys(), moved.Keys());
}

TEST(BucketMap, FullKeySpaceAndRemoveAll) {
    Map map;
    for (uint32_t k = 0; k < 65536; ++k)
        map.SetAt(static_cast<uint16_t>(k), Rec(""));
    EXPECT_EQ(map.GetCount(), 65536u);
    const std::vector<uint16_t> keys = map.Keys();
    ASSERT_EQ(keys.size(), 65536u);
    for (size_t i = 1; i < keys.size(); ++i) {
        const int a = Map::BucketOf(keys[i - 1]), b = Map::BucketOf(keys[i]);
        ASSERT_TRUE(a < b || (a == b && keys[i - 1] > keys[i])) << i;
    }
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.Lookup(100), nullptr);
    map.SetAt(100, Rec("x"));
    EXPECT_EQ(map.Keys(), std::vector<uint16_t>{100});
}

// Loading adds a file's entries in file order, each last in its bucket; that
// must give the order that adding them from the back, each first, gives, with
// a key met again taking the later entry's place.
TEST(BucketMap, AddingLastInFileOrderMatchesAddingFirstFromTheBack) {
    const std::vector<uint16_t> file = {16, 0, 272, 17, 0, 0xFFFF, 544, 16, 1};
    Map last, first;
    for (size_t i = 0; i < file.size(); ++i)
        last.SetLast(file[i], std::to_string(i));
    for (size_t i = file.size(); i-- > 0;)
        if (!first.Lookup(file[i]))
            first.SetAt(file[i], Rec(std::to_string(i)));
    EXPECT_EQ(last.Keys(), first.Keys());
    EXPECT_EQ(Values(last), Values(first));
    EXPECT_EQ(last.Keys(), (std::vector<uint16_t>{272, 0, 544, 1, 17, 16, 0xFFFF}));
}

// Random inserts, replacements and removals over key ranges that crowd a few
// buckets, that spread over all of them and that straddle the 16-bit wrap; the
// map must enumerate exactly as the reference after every step.
struct OrderCase {
    uint32_t seed;
    uint32_t firstKey;
    uint32_t keySpan;
    int steps;
};

void PrintTo(const OrderCase& c, std::ostream* os) {
    *os << "seed " << c.seed << ", keys " << c.firstKey << " + " << c.keySpan << ", " << c.steps
        << " steps";
}

class BucketMapOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(BucketMapOrder, MatchesTheReferenceAfterEveryStep) {
    const OrderCase c = GetParam();
    std::mt19937 rng(c.seed);
    Map map;
    ReferenceMap reference;
    for (int step = 0; step < c.steps; ++step) {
        const uint16_t key = static_cast<uint16_t>((c.firstKey + rng() % c.keySpan) & 0xFFFF);
        const uint32_t op = rng() % 100;
        const std::string value = std::to_string(step);
        if (op < 40) {
            map.SetAt(key, Rec(value));
            reference.SetAt(key, value);
        } else if (op < 60) {
            map.SetLast(key, value);
            reference.SetLast(key, value);
        } else if (op < 95) {
            map.RemoveKey(key);
            reference.RemoveKey(key);
        } else if (op < 98) {
            map = Map(map); // a copy must carry on in the same order
        } else {
            map.RemoveAll();
            reference.RemoveAll();
        }
        ASSERT_EQ(map.Keys(), reference.Keys()) << "step " << step;
        ASSERT_EQ(map.GetCount(), reference.Keys().size());
    }
    EXPECT_EQ(Values(map), reference.Values());
    for (uint16_t key : reference.Keys())
        EXPECT_NE(map.Lookup(key), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    KeyRanges, BucketMapOrder,
    testing::Values(OrderCase{1, 0, 40, 600},          // two buckets, many replacements
                    OrderCase{2, 0, 17 * 16 * 3, 800}, // every bucket, keys past 272
                    OrderCase{3, 0xFF00, 0x200, 800},  // across the wrap to key 0
                    OrderCase{4, 0, 65536, 1500},      // the whole key space
                    OrderCase{5, 0, 16 * 17 * 2, 2000}),
    [](const testing::TestParamInfo<OrderCase>& info) {
        return "seed" + std::to_string(info.param.seed);
    });

} // namespace
