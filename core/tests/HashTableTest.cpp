#include "EngineTest.h"

#include "core/HashTable.h"
#include "core/Ref.h"

#include <climits>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

// A key whose every value falls into one bucket: the longest possible chain.
struct SameBucket {
    int id;
    bool operator==(const SameBucket& other) const { return id == other.id; }
};

// A core object that appends its id to a shared list when it dies.
struct Mortal : core::Object {
    Mortal(int id_, std::vector<int>* deaths_) : id(id_), deaths(deaths_) {}
    ~Mortal() override { deaths->push_back(id); }
    int id;
    std::vector<int>* deaths;
};

using IntTable = core::HashTable<int, int>;

class HashTableTest : public testsupport::EngineTest {
protected:
    core::Ref<Mortal> mortal(int id) { return VORNIC3D_NEW Mortal(id, &m_deaths); }

    std::vector<int> m_deaths;
};

} // namespace

template <>
struct core::HashCode<SameBucket> {
    static std::uint32_t hashCode(const SameBucket&) { return 0; }
};

// ---- arguments and growth -------------------------------------------------------------------

TEST_F(HashTableTest, RejectedArgumentsAllocateNothing)
{
    const struct {
        int initialCapacity;
        float loadFactor;
    } cases[] = {{10, 0.991f},   {10, 0.0099f},
                 {10, -1.0f},    {10, std::numeric_limits<float>::quiet_NaN()},
                 {-5, 0.5f},     {-129403, 0.5f} /* wraps to 0 */,
                 {INT_MAX, 0.5f} /* beyond 32-bit signed */};
    for (const auto& c : cases) {
        EXPECT_THROW((IntTable(c.initialCapacity, c.loadFactor)), AssertationFailedException)
            << c.initialCapacity << " " << c.loadFactor;
        EXPECT_EQ(0, mainPool()->getAllocatedBlocks());
    }
    IntTable table(0, 0.01f); // 37 x 0.01 makes no node: the first put fails cleanly
    EXPECT_THROW(table.put(5, 1), AssertationFailedException);
    EXPECT_EQ(nullptr, table.findNode(5));
}

TEST_F(HashTableTest, GrowthPastEveryPrimeKeepsEveryKey)
{
    IntTable table(10, 0.5f);
    std::vector<std::uint32_t> capacities{table.getCapacity()};
    for (int key = 0; key < 1000; ++key) {
        ASSERT_TRUE(table.put(key * 7, -key));
        if (capacities.back() != table.getCapacity())
            capacities.push_back(table.getCapacity());
    }
    EXPECT_EQ((std::vector<std::uint32_t>{37, 67, 131, 257, 521, 1031}), capacities);
    EXPECT_EQ(1000, table.getCount());
    for (int key = 0; key < 1000; ++key)
        ASSERT_EQ(-key, table.findNode(key * 7)->value) << key;
}

TEST_F(HashTableTest, FullPoolDuringGrowthKeepsEveryEntry)
{
    // Keys spread so that their buckets under 37 and under the next capacity differ.
    IntTable table(10, 0.5f);
    for (int i = 0; i < 18; ++i)
        ASSERT_TRUE(table.put(i * 41 + 50, i));
    void* blocker = VORNIC3D_ALLOC(mainPool()->getFreeMem() - 512);
    EXPECT_THROW(table.put(-7, 18), core::MemoryManagerException);
    EXPECT_EQ(37u, table.getCapacity());
    for (int i = 0; i < 18; ++i)
        ASSERT_EQ(i, table.findNode(i * 41 + 50)->value) << i;
    VORNIC3D_FREE(blocker);
    for (int i = 18; i < 100; ++i)
        ASSERT_TRUE(table.put(i * 41 + 50, i));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(i, table.findNode(i * 41 + 50)->value);
}

// Nodes come in blocks of the pool, not one allocation each, and every one
// goes back with the table: the pool ends as it began.
TEST_F(HashTableTest, NodesComeInFewBlocksAndAllGoBackWithTheTable)
{
    const int blocksBefore = mainPool()->getAllocatedBlocks();
    const int freeBefore = mainPool()->getFreeMem();
    {
        IntTable table(256, 0.9f);
        EXPECT_EQ(231, table.getFreeNodeCount());
        EXPECT_LE(mainPool()->getAllocatedBlocks() - blocksBefore, 3) << "buckets, pool and one block of nodes";
        for (int key = 0; key < 1000; ++key)
            ASSERT_TRUE(table.put(key, key));
        EXPECT_EQ(1031u, table.getCapacity());
        EXPECT_LT(mainPool()->getAllocatedBlocks() - blocksBefore, 20) << "about 1600 nodes made";
    }
    EXPECT_EQ(blocksBefore, mainPool()->getAllocatedBlocks());
    EXPECT_EQ(freeBefore, mainPool()->getFreeMem());
}

// ---- entries ----------------------------------------------------------------------

TEST_F(HashTableTest, DuplicatePutAndAbsentReplaceWarnAndChangeNothing)
{
    IntTable table(10, 0.5f);
    table.put(1, 10);
    table.put(38, 380); // same bucket as 1 under 37 buckets
    clearLog();
    EXPECT_FALSE(table.put(1, 11));
    EXPECT_FALSE(table.replace(2, 20));
    EXPECT_EQ(log(), "WARNING |000001| Key is already inserted to the hash table!\n"
                     "WARNING |000002| Key is not found from the hash table!\n");
    EXPECT_EQ(nullptr, table.findNode(2));
    EXPECT_EQ(2, table.getCount());
    clearLog();
    EXPECT_TRUE(table.replace(38, 381));
    EXPECT_EQ("", log());
    EXPECT_EQ(10, table.findNode(1)->value);
    EXPECT_EQ(381, table.findNode(38)->value);
}

TEST_F(HashTableTest, NegativeAndPointerWideKeys)
{
    IntTable ints(10, 0.5f);
    const int keys[] = {-1, 3, INT_MIN, INT_MAX, 0, -37}; // -1 shares its bucket with 3
    for (int key : keys)
        ASSERT_TRUE(ints.put(key, key / 2));
    for (int key : keys)
        ASSERT_EQ(key / 2, ints.findNode(key)->value) << key;
    EXPECT_EQ(nullptr, ints.findNode(-2));

    // Keys that differ only above 32 bits must not all share a bucket.
    const std::intptr_t high = std::intptr_t(1) << 40;
    EXPECT_NE(core::HashCode<std::intptr_t>::hashCode(high), core::HashCode<std::intptr_t>::hashCode(2 * high));
    core::HashTable<std::intptr_t, int> wide(10, 0.5f);
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(wide.put(i * high + 5, i));
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(i, wide.findNode(i * high + 5)->value) << i;
    EXPECT_EQ(nullptr, wide.findNode(5 + high / 2));
}

TEST_F(HashTableTest, ReferenceKeysHashByAddressAndAreHeldUntilTheTableDies)
{
    {
        core::HashTable<core::Ref<Mortal>, core::Ref<Mortal>> table(10, 0.5f);
        std::vector<core::Ref<Mortal>> keys;
        for (int i = 0; i < 30; ++i) {
            keys.push_back(mortal(i));
            ASSERT_TRUE(table.put(keys.back(), mortal(100 + i)));
        }
        EXPECT_FALSE(table.put(keys[3], mortal(999)));
        EXPECT_TRUE(table.replace(keys[4], mortal(500)));
        EXPECT_EQ((std::vector<int>{999, 104}), m_deaths);
        for (int i = 0; i < 30; ++i)
            EXPECT_EQ(i == 4 ? 500 : 100 + i, table.findNode(keys[i])->value->id);
        EXPECT_EQ(nullptr, table.findNode(mortal(-1)));
        keys.clear();
        EXPECT_EQ(3u, m_deaths.size()) << "the table still holds every key";
    }
    EXPECT_EQ(63u, m_deaths.size()); // 30 keys, 30 values, the three above
}

TEST_F(HashTableTest, DestructionFreesEveryNodeOfALongChainOnce)
{
    {
        core::HashTable<SameBucket, core::Ref<Mortal>> table(10, 0.9f);
        for (int i = 0; i < 1500; ++i)
            ASSERT_TRUE(table.put(SameBucket{i}, mortal(i)));
        EXPECT_EQ(1499, table.findNode(SameBucket{1499})->value->id);
        EXPECT_TRUE(m_deaths.empty());
    }
    std::vector<int> seen(1500, 0);
    for (int id : m_deaths)
        ++seen[id];
    EXPECT_EQ(std::vector<int>(1500, 1), seen);
}
