#include "EngineTest.h"

#include "core/Vector.h"

#include <climits>
#include <vector>

namespace {

// An element that counts its live instances and notes the values that die;
// assigning a value below -1 throws.
struct Counted {
    static int live;
    static std::vector<int> deaths;

    explicit Counted(int v = -1) : value(v) { ++live; }
    Counted(const Counted& other) : value(other.value) { ++live; }
    Counted& operator=(const Counted& other)
    {
        if (other.value < -1) // a value that cannot be copied into a grown array
            throw Vornic3DException("element copy");
        value = other.value;
        return *this;
    }
    ~Counted()
    {
        --live;
        deaths.push_back(value);
    }

    int value;
};
int Counted::live = 0;
std::vector<int> Counted::deaths;

class VectorTest : public testsupport::EngineTest {
protected:
    void TearDown() override
    {
        EXPECT_EQ(0, Counted::live) << "element constructions and destructions do not balance";
        Counted::live = 0;
        EngineTest::TearDown();
    }
};

std::vector<int> valuesOf(const core::Vector<Counted>& v)
{
    std::vector<int> values;
    for (int i = 0; i < v.m_size; ++i)
        values.push_back(v[i].value);
    return values;
}

void fill(core::Vector<Counted>& v, int count, int first = 0)
{
    for (int i = 0; i < count; ++i)
        v.pushBack(Counted(first + i));
}

} // namespace

// ---- capacity and bounds ----------------------------------------------------------

TEST_F(VectorTest, CapacitySequenceAndIndexBounds)
{
    const struct {
        std::vector<int> sizes; // successive setSize calls
        int capacity;
    } cases[] = {
        {{}, 0},      {{0}, 0},      {{1}, 16},     {{15}, 16},        {{16}, 32},      {{16, 17}, 32},
        {{100}, 112}, {{1, 40}, 48}, {{1, 20}, 32}, {{1, 17, 33}, 64}, {{100, 0}, 112}, {{100, 3, 110}, 112},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.sizes));
        core::Vector<int> v;
        for (int size : c.sizes)
            v.setSize(size);
        EXPECT_EQ(c.capacity, v.m_capacity);
        EXPECT_EQ(c.capacity == 0 ? 0 : 1, mainPool()->getAllocatedBlocks());
    }
    EXPECT_EQ(INT_MAX - 15, core::Vector<int>::getCapacity(INT_MAX - 16));
    EXPECT_THROW(core::Vector<int>::getCapacity(INT_MAX - 15), AssertationFailedException);

    core::Vector<int> v;
    v.setSize(3);
    const core::Vector<int>& constant = v;
    for (int index : {-1, 3, 15, INT_MIN}) {
        EXPECT_THROW(v[index], AssertationFailedException) << index;
        EXPECT_THROW(constant[index], AssertationFailedException) << index;
        EXPECT_THROW(v.remove(index), AssertationFailedException) << index;
    }
    EXPECT_EQ(3, v.m_size);
}

TEST_F(VectorTest, RejectedGrowthLeavesTheVectorUnchanged)
{
    const struct {
        int size;
        bool fullPool;
        const char* failure;
    } cases[] = {{-1, false, "Vornic3D exception"},
                 {INT_MAX / 2, false, "Vornic3D exception"}, // the byte size passes 32 bits
                 {4000, true, "MemoryManager: memory full"},
                 {17, false, "element copy"}};
    for (const auto& c : cases) {
        core::Vector<Counted> v;
        fill(v, 10);
        Counted* data = v.m_data;
        void* blocker = c.fullPool ? VORNIC3D_ALLOC(mainPool()->getFreeMem() - 1024) : nullptr;
        const int used = mainPool()->getUsedMem();
        EXPECT_EQ(testsupport::messageOf<Vornic3DException>([&] { v.setSize(c.size, Counted(-2)); }), c.failure)
            << c.size;
        EXPECT_EQ(data, v.m_data);
        EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), valuesOf(v));
        EXPECT_EQ(10, Counted::live);
        EXPECT_EQ(used, mainPool()->getUsedMem());
        if (blocker != nullptr)
            VORNIC3D_FREE(blocker);
    }
}

// ---- element lifetimes ----------------------------------------------------------

TEST_F(VectorTest, ElementLifetimesFollowTheSize)
{
    core::Vector<Counted> v;
    fill(v, 20); // grows twice
    Counted::deaths.clear();
    v.setSize(5);
    EXPECT_EQ(Counted::deaths.front(), 19) << "the last goes first";
    v.remove(1);
    v.setSize(6, Counted(42));
    v.remove(0);
    EXPECT_EQ((std::vector<int>{2, 3, 4, 42, 42}), valuesOf(v));
    EXPECT_EQ(5, Counted::live);
    v.removeAll();
    EXPECT_EQ(0, Counted::live);
    EXPECT_EQ(32, v.m_capacity);
    v.clear();
    v.clear();
    EXPECT_EQ(0, v.m_capacity);
    EXPECT_EQ(0, mainPool()->getAllocatedBlocks());
}

TEST_F(VectorTest, AssignmentAndCopyGiveEqualElements)
{
    const struct {
        int targetSize, sourceSize;
    } cases[] = {{3, 40}, {40, 3}, {0, 5}, {5, 0}};
    for (const auto& c : cases) {
        core::Vector<Counted> target;
        core::Vector<Counted> source;
        fill(target, c.targetSize);
        fill(source, c.sourceSize, 100);
        target = source;
        EXPECT_EQ(valuesOf(source), valuesOf(target)) << c.targetSize << " = " << c.sourceSize;
        EXPECT_EQ(2 * c.sourceSize, Counted::live);
        core::Vector<Counted>& same = target;
        target = same;
        EXPECT_EQ(valuesOf(source), valuesOf(core::Vector<Counted>(target)));
    }
}

TEST_F(VectorTest, AppendingAnOwnElementAcrossGrowth)
{
    // The argument lives in the array that the growth replaces.
    core::Vector<Counted> v;
    fill(v, 16);
    v.pushBack(v[3]);
    EXPECT_EQ(32, v.m_capacity) << "the append grew the array";
    v.setSize(40, v[5]);
    EXPECT_EQ(3, v[16].value);
    EXPECT_EQ(5, v[39].value);
}
