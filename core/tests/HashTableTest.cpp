#include "EngineTest.h"

#include "core/AssertationFailedException.h"
#include "core/HashTable.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"
#include "core/Ref.h"

#include <climits>
#include <cmath>
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

// ---- capacity -------------------------------------------------------------------

TEST_F(HashTableTest, NextLargerCapacity)
{
    const struct {
        std::uint32_t count;
        std::uint32_t capacity;
    } cases[] = {
        {0, 37}, {36, 37}, {37, 67}, {256, 257}, {257, 521}, {129402, 129403},
        {129403, 258806}, {258806, 388209},
        {0xFFFFFFFFu, 129402}, // a negative count taken as unsigned wraps
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.capacity, IntTable::createNextLargerCapacity(c.count)) << c.count;
}

TEST_F(HashTableTest, ConstructionSizesBucketsAndPool)
{
    const struct {
        int initialCapacity;
        float loadFactor;
        std::uint32_t capacity;
        int pool;
    } cases[] = {{256, 0.9f, 257, 231}, {10, 0.5f, 37, 18}, {0, 0.01f, 37, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.initialCapacity);
        IntTable table(c.initialCapacity, c.loadFactor);
        EXPECT_EQ(c.capacity, table.getCapacity());
        EXPECT_EQ(c.pool, table.getFreeNodeCount());
        EXPECT_EQ(0, table.getCount());
    }
}

TEST_F(HashTableTest, RejectedArgumentsAllocateNothing)
{
    const struct {
        const char* name;
        int initialCapacity;
        float loadFactor;
    } cases[] = {
        {"load factor 0.991", 10, 0.991f},
        {"load factor below 0.01", 10, 0.0099f},
        {"negative load factor", 10, -1.0f},
        {"load factor NaN", 10, std::numeric_limits<float>::quiet_NaN()},
        {"negative capacity", -5, 0.5f},
        {"capacity wraps to 0", -129403, 0.5f},
        {"capacity beyond 32-bit signed", INT_MAX, 0.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW((IntTable(c.initialCapacity, c.loadFactor)), AssertationFailedException);
        EXPECT_EQ(0, mainPool()->getAllocatedBlocks());
    }
}

// ---- growth ---------------------------------------------------------------------

TEST_F(HashTableTest, GrowthPastTheFirstPrimeKeepsEveryKey)
{
    IntTable table(256, 0.9f);
    for (int key = 0; key < 231; ++key)
        ASSERT_TRUE(table.put(key * 7, key));
    EXPECT_EQ(257u, table.getCapacity());
    EXPECT_EQ(0, table.getFreeNodeCount());

    ASSERT_TRUE(table.put(231 * 7, 231));
    EXPECT_EQ(521u, table.getCapacity());
    EXPECT_EQ(468 - 1, table.getFreeNodeCount());
    EXPECT_EQ(232, table.getCount());
    for (int key = 0; key <= 231; ++key) {
        IntTable::Node* node = table.findNode(key * 7);
        ASSERT_NE(nullptr, node) << key;
        EXPECT_EQ(key, node->value);
        EXPECT_TRUE(node->used);
    }
    EXPECT_EQ(nullptr, table.findNode(1));
}

TEST_F(HashTableTest, ManyGrowthsKeepEveryKey)
{
    IntTable table(10, 0.5f);
    std::vector<std::uint32_t> capacities{table.getCapacity()};
    for (int key = 0; key < 1000; ++key) {
        ASSERT_TRUE(table.put(key, -key));
        if (capacities.back() != table.getCapacity())
            capacities.push_back(table.getCapacity());
    }
    EXPECT_EQ((std::vector<std::uint32_t>{37, 67, 131, 257, 521, 1031}), capacities);
    for (int key = 0; key < 1000; ++key) {
        IntTable::Node* node = table.findNode(key);
        ASSERT_NE(nullptr, node) << key;
        ASSERT_EQ(-key, node->value);
    }
}

TEST_F(HashTableTest, SmallestLoadFactorFailsOnTheFirstPutAndStaysConsistent)
{
    IntTable table(0, 0.01f);
    EXPECT_THROW(table.put(5, 1), AssertationFailedException);
    EXPECT_EQ(67u, table.getCapacity());
    EXPECT_EQ(0, table.getCount());
    EXPECT_EQ(nullptr, table.findNode(5));
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
    EXPECT_EQ(18, table.getCount());
    for (int i = 0; i < 18; ++i) {
        IntTable::Node* node = table.findNode(i * 41 + 50);
        ASSERT_NE(nullptr, node) << i;
        EXPECT_EQ(i, node->value);
    }
    VORNIC3D_FREE(blocker);
    for (int i = 18; i < 100; ++i)
        ASSERT_TRUE(table.put(i * 41 + 50, i));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(i, table.findNode(i * 41 + 50)->value);
}

// ---- duplicates and absent keys ----------------------------------------------

TEST_F(HashTableTest, DuplicatePutWarnsAndKeepsTheFirstValue)
{
    IntTable table(10, 0.5f);
    EXPECT_TRUE(table.put(3, 30));
    clearLog();
    EXPECT_FALSE(table.put(3, 31));
    EXPECT_EQ(30, table.findNode(3)->value);
    EXPECT_EQ(1, table.getCount());
    EXPECT_EQ(17, table.getFreeNodeCount());
    EXPECT_EQ(1, testsupport::countOf(log(), "WARNING |"));
    EXPECT_EQ(1, testsupport::countOf(log(), "| Key is already inserted to the hash table!\n"));
}

TEST_F(HashTableTest, ReplaceChangesOnlyThePresentKeysValue)
{
    IntTable table(10, 0.5f);
    table.put(1, 10);
    table.put(38, 380); // same bucket as 1 under 37 buckets
    clearLog();
    EXPECT_FALSE(table.replace(2, 20));
    EXPECT_EQ(1, testsupport::countOf(log(), "WARNING |"));
    EXPECT_EQ(1, testsupport::countOf(log(), "| Key is not found from the hash table!\n"));
    EXPECT_EQ(nullptr, table.findNode(2));

    clearLog();
    EXPECT_TRUE(table.replace(1, 11));
    EXPECT_EQ("", log());
    EXPECT_EQ(11, table.findNode(1)->value);
    EXPECT_EQ(380, table.findNode(38)->value);
    EXPECT_EQ(2, table.getCount());
}

// ---- key types --------------------------------------------------------------------

TEST_F(HashTableTest, NegativeKeysHashToTheirBitPattern)
{
    EXPECT_EQ(4294967295u, core::HashCode<int>::hashCode(-1));
    EXPECT_EQ(0x80000000u, core::HashCode<int>::hashCode(INT_MIN));
    IntTable table(10, 0.5f);
    // 4294967295 mod 37 = 3: -1 shares its bucket with 3.
    const int keys[] = {-1, 3, INT_MIN, INT_MAX, 0, -37};
    for (int key : keys)
        ASSERT_TRUE(table.put(key, key / 2));
    for (int key : keys) {
        ASSERT_NE(nullptr, table.findNode(key)) << key;
        EXPECT_EQ(key / 2, table.findNode(key)->value);
    }
    EXPECT_EQ(nullptr, table.findNode(-2));
}

TEST_F(HashTableTest, PointerKeysAndPointerWideIntegerKeys)
{
    core::HashTable<std::intptr_t, int> table(10, 0.5f);
    const std::intptr_t high = std::intptr_t(1) << 40;
    EXPECT_NE(core::HashCode<std::intptr_t>::hashCode(high), core::HashCode<std::intptr_t>::hashCode(2 * high));
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(table.put(i * high + 5, i));
    ASSERT_TRUE(table.put(-1, -1));
    for (int i = 0; i < 40; ++i) {
        ASSERT_NE(nullptr, table.findNode(i * high + 5)) << i;
        EXPECT_EQ(i, table.findNode(i * high + 5)->value);
    }
    EXPECT_EQ(nullptr, table.findNode(5 + high / 2));
    EXPECT_EQ(-1, table.findNode(-1)->value);

    int objects[50] = {};
    core::HashTable<int*, int> pointers(10, 0.5f);
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(pointers.put(&objects[i], i));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(i, pointers.findNode(&objects[i])->value);
    EXPECT_EQ(nullptr, pointers.findNode(nullptr));
}

TEST_F(HashTableTest, ReferenceKeysAndValuesAreHeldUntilTheTableDies)
{
    const int usedBefore = mainPool()->getUsedMem();
    {
        core::HashTable<core::Ref<Mortal>, core::Ref<Mortal>> table(10, 0.5f);
        std::vector<core::Ref<Mortal>> keys;
        for (int i = 0; i < 30; ++i) {
            keys.push_back(mortal(i));
            ASSERT_TRUE(table.put(keys.back(), mortal(100 + i)));
        }
        EXPECT_TRUE(m_deaths.empty());
        EXPECT_EQ(2, keys[0]->getRefCount());
        EXPECT_FALSE(table.put(keys[3], mortal(999)));
        EXPECT_EQ((std::vector<int>{999}), m_deaths);
        EXPECT_TRUE(table.replace(keys[4], mortal(500)));
        EXPECT_EQ((std::vector<int>{999, 104}), m_deaths);
        for (int i = 0; i < 30; ++i)
            EXPECT_EQ(i == 4 ? 500 : 100 + i, table.findNode(keys[i])->value->id);
        core::Ref<Mortal> stranger = mortal(-1);
        EXPECT_EQ(nullptr, table.findNode(stranger));
        m_deaths.clear();
        keys.clear();
        EXPECT_TRUE(m_deaths.empty()); // the table still holds every key
    }
    EXPECT_EQ(61u, m_deaths.size()); // 30 keys, 30 values, the stranger
    EXPECT_EQ(usedBefore, mainPool()->getUsedMem());
}

// ---- destruction ------------------------------------------------------------------

TEST_F(HashTableTest, DestructionFreesEveryNodeOfALongChainOnce)
{
    const int usedBefore = mainPool()->getUsedMem();
    {
        core::HashTable<SameBucket, core::Ref<Mortal>> table(10, 0.9f);
        for (int i = 0; i < 1500; ++i)
            ASSERT_TRUE(table.put(SameBucket{i}, mortal(i)));
        EXPECT_EQ(0, table.findNode(SameBucket{0})->value->id);
        EXPECT_EQ(1499, table.findNode(SameBucket{1499})->value->id);
        EXPECT_TRUE(m_deaths.empty());
    }
    ASSERT_EQ(1500u, m_deaths.size());
    std::vector<int> seen(1500, 0);
    for (int id : m_deaths)
        ++seen[id];
    EXPECT_EQ(std::vector<int>(1500, 1), seen);
    EXPECT_EQ(usedBefore, mainPool()->getUsedMem());
}
