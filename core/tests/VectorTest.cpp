#include "EngineTest.h"

#include "core/AssertationFailedException.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"
#include "core/Ref.h"
#include "core/Vector.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

// An element that counts its live instances; its assignment can be made to
// throw after a number of calls.
struct Counted {
    static int live;
    static int assignmentsBeforeThrow; // < 0: never throws

    Counted() { ++live; }
    explicit Counted(int v) : value(v) { ++live; }
    Counted(const Counted& other) : value(other.value) { ++live; }
    Counted& operator=(const Counted& other)
    {
        if (assignmentsBeforeThrow == 0)
            throw 7;
        if (assignmentsBeforeThrow > 0)
            --assignmentsBeforeThrow;
        value = other.value;
        return *this;
    }
    ~Counted() { --live; }

    int value = -1;
};
int Counted::live = 0;
int Counted::assignmentsBeforeThrow = -1;

// A core object that appends its id to a shared list when it dies.
struct Mortal : core::Object {
    Mortal(int id_, std::vector<int>* deaths_) : id(id_), deaths(deaths_) {}
    ~Mortal() override { deaths->push_back(id); }
    int id;
    std::vector<int>* deaths;
};

class VectorTest : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Counted::live = 0;
        Counted::assignmentsBeforeThrow = -1;
    }
    void TearDown() override
    {
        EXPECT_EQ(0, Counted::live) << "element constructions and destructions do not balance";
        EngineTest::TearDown();
    }

    core::Ref<Mortal> mortal(int id) { return VORNIC3D_NEW Mortal(id, &m_deaths); }

    std::vector<int> m_deaths;
};

std::vector<int> valuesOf(const core::Vector<Counted>& v)
{
    std::vector<int> values;
    for (int i = 0; i < v.m_size; ++i)
        values.push_back(v[i].value);
    return values;
}

void fill(core::Vector<Counted>& v, int count)
{
    for (int i = 0; i < count; ++i)
        v.pushBack(Counted(i));
}

} // namespace

// ---- capacity -------------------------------------------------------------------

TEST_F(VectorTest, CapacitySequence)
{
    const struct {
        const char* name;
        std::vector<int> sizes; // successive setSize calls
        int capacity;
    } cases[] = {
        {"nothing", {}, 0},
        {"size 0 allocates nothing", {0}, 0},
        {"1", {1}, 16},
        {"15", {15}, 16},
        {"16", {16}, 32},
        {"17th element", {16, 17}, 32},
        {"jump to 100", {100}, 112},
        {"40 on 16 takes 48", {1, 40}, 48},
        {"20 on 16 doubles", {1, 20}, 32},
        {"33rd element doubles", {1, 17, 33}, 64},
        {"shrink keeps capacity", {100, 0}, 112},
        {"regrow within capacity", {100, 3, 110}, 112},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Vector<int> v;
        for (int size : c.sizes)
            v.setSize(size);
        EXPECT_EQ(c.capacity, v.m_capacity);
        EXPECT_EQ(c.capacity == 0, v.m_data == nullptr);
        EXPECT_EQ(c.sizes.empty() ? 0 : c.sizes.back(), v.m_size);
        EXPECT_EQ(c.capacity == 0 ? 0 : 1, mainPool()->getAllocatedBlocks());
    }
}

TEST_F(VectorTest, CapacityArithmeticRefusesOverflow)
{
    EXPECT_EQ(16, core::Vector<int>::getCapacity(0));
    EXPECT_EQ(48, core::Vector<int>::getCapacity(32));
    EXPECT_EQ(INT_MAX - 15, core::Vector<int>::getCapacity(INT_MAX - 16));
    EXPECT_THROW(core::Vector<int>::getCapacity(INT_MAX - 15), AssertationFailedException);
    EXPECT_THROW(core::Vector<int>::getCapacity(-1), AssertationFailedException);
}

// ---- failures leave the vector unchanged ------------------------------------

TEST_F(VectorTest, RejectedGrowthLeavesTheVectorUnchanged)
{
    const struct {
        const char* name;
        int size;
        bool fullPool;
    } cases[] = {
        {"negative size", -1, false},
        {"byte size beyond 32 bits", INT_MAX / 2, false},
        {"full pool", 4000, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Vector<Counted> v;
        fill(v, 10);
        Counted* data = v.m_data;
        void* blocker = c.fullPool ? VORNIC3D_ALLOC(mainPool()->getFreeMem() - 1024) : nullptr;
        const int used = mainPool()->getUsedMem();
        if (c.fullPool)
            EXPECT_THROW(v.setSize(c.size), core::MemoryManagerException);
        else
            EXPECT_THROW(v.setSize(c.size), AssertationFailedException);
        EXPECT_EQ(data, v.m_data);
        EXPECT_EQ(10, v.m_size);
        EXPECT_EQ(16, v.m_capacity);
        EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), valuesOf(v));
        EXPECT_EQ(10, Counted::live);
        EXPECT_EQ(used, mainPool()->getUsedMem());
        if (blocker != nullptr)
            VORNIC3D_FREE(blocker);
    }
}

TEST_F(VectorTest, ThrowingElementCopyDuringGrowthLeavesTheVectorUnchanged)
{
    core::Vector<Counted> v;
    fill(v, 16);
    const int used = mainPool()->getUsedMem();
    Counted::assignmentsBeforeThrow = 5;
    EXPECT_THROW(v.pushBack(Counted(99)), int);
    Counted::assignmentsBeforeThrow = -1;
    EXPECT_EQ(16, v.m_size);
    EXPECT_EQ(16, v.m_capacity);
    EXPECT_EQ(16, Counted::live);
    EXPECT_EQ(used, mainPool()->getUsedMem());
    EXPECT_EQ(15, v[15].value);
}

TEST_F(VectorTest, IndexOutsideTheElementsIsABareAssertion)
{
    core::Vector<int> v;
    v.setSize(3);
    const core::Vector<int>& constant = v;
    for (int index : {-1, 3, 15, INT_MIN}) {
        SCOPED_TRACE(index);
        EXPECT_THROW(v[index], AssertationFailedException);
        EXPECT_THROW(constant[index], AssertationFailedException);
        EXPECT_THROW(v.remove(index), AssertationFailedException);
    }
    EXPECT_EQ(3, v.m_size);
    EXPECT_EQ("", log());
}

// ---- element lifetimes ----------------------------------------------------------

TEST_F(VectorTest, ElementLifetimesFollowTheSize)
{
    core::Vector<Counted> v;
    fill(v, 20); // grows twice
    EXPECT_EQ(20, Counted::live);
    v.setSize(5);
    EXPECT_EQ(5, Counted::live);
    v.setSize(8, Counted(42));
    EXPECT_EQ(8, Counted::live);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 42, 42, 42}), valuesOf(v));
    v.remove(0);
    v.remove(3);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 42, 42, 42}), valuesOf(v));
    EXPECT_EQ(6, Counted::live);
    v.removeAll();
    EXPECT_EQ(0, Counted::live);
    EXPECT_EQ(32, v.m_capacity);
    v.clear();
    v.clear();
    EXPECT_EQ(0, v.m_capacity);
    EXPECT_EQ(nullptr, v.m_data);
    EXPECT_EQ(0, mainPool()->getAllocatedBlocks());
}

TEST_F(VectorTest, AssignmentCases)
{
    const struct {
        const char* name;
        int targetSize;
        int sourceSize;
    } cases[] = {{"longer source grows", 3, 40}, {"shorter source shrinks", 40, 3}, {"into empty", 0, 5},
                 {"from empty", 5, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Vector<Counted> target;
        core::Vector<Counted> source;
        fill(target, c.targetSize);
        for (int i = 0; i < c.sourceSize; ++i)
            source.pushBack(Counted(100 + i));
        target = source;
        EXPECT_EQ(valuesOf(source), valuesOf(target));
        EXPECT_EQ(2 * c.sourceSize, Counted::live);
    }
}

TEST_F(VectorTest, SelfAssignmentAndCopyConstruction)
{
    core::Vector<Counted> v;
    fill(v, 4);
    Counted* data = v.m_data;
    core::Vector<Counted>& same = v;
    v = same;
    EXPECT_EQ(data, v.m_data);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), valuesOf(v));

    core::Vector<Counted> copy(v);
    EXPECT_NE(v.m_data, copy.m_data);
    EXPECT_EQ(valuesOf(v), valuesOf(copy));
    EXPECT_EQ(8, Counted::live);
}

// ---- references -------------------------------------------------------------------

TEST_F(VectorTest, ShrinkingReleasesReferencesLastFirst)
{
    core::Vector<core::Ref<Mortal>> v;
    for (int id = 0; id < 5; ++id)
        v.pushBack(mortal(id));
    v.setSize(2);
    EXPECT_EQ((std::vector<int>{4, 3, 2}), m_deaths);
    EXPECT_EQ(16, v.m_capacity);
}

TEST_F(VectorTest, GrowthKeepsObjectsHeldOnlyByTheVectorAlive)
{
    core::Vector<core::Ref<Mortal>> v;
    for (int id = 0; id < 100; ++id)
        v.pushBack(mortal(id));
    EXPECT_TRUE(m_deaths.empty());
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(i, v[i]->id);
        ASSERT_EQ(1, v[i]->getRefCount());
    }
    v.clear();
    EXPECT_EQ(100u, m_deaths.size());
    EXPECT_EQ(0, mainPool()->getAllocatedBlocks());
}

TEST_F(VectorTest, RemoveReleasesOnlyTheRemovedReference)
{
    core::Vector<core::Ref<Mortal>> v;
    v.pushBack(mortal(0));
    v.remove(0);
    EXPECT_EQ(0, v.m_size);
    EXPECT_EQ((std::vector<int>{0}), m_deaths);

    m_deaths.clear();
    for (int id = 1; id <= 3; ++id)
        v.pushBack(mortal(id));
    v.remove(1);
    EXPECT_EQ((std::vector<int>{2}), m_deaths);
    ASSERT_EQ(2, v.m_size);
    EXPECT_EQ(1, v[0]->id);
    EXPECT_EQ(3, v[1]->id);
    EXPECT_EQ(1, v[1]->getRefCount());
}

TEST_F(VectorTest, AppendingAnOwnElementAcrossGrowth)
{
    // The argument lives in the array that the growth replaces.
    core::Vector<core::Ref<Mortal>> refs;
    core::Vector<Counted> values;
    for (int id = 0; id < 16; ++id) {
        refs.pushBack(mortal(id));
        values.pushBack(Counted(id));
    }
    refs.pushBack(refs[0]);
    values.pushBack(values[3]);
    values.setSize(40, values[5]);
    ASSERT_EQ(32, refs.m_capacity);
    EXPECT_EQ(refs[0].get(), refs[16].get());
    EXPECT_EQ(2, refs[0]->getRefCount());
    EXPECT_EQ(3, values[16].value);
    EXPECT_EQ(5, values[39].value);
    EXPECT_TRUE(m_deaths.empty());
}

TEST_F(VectorTest, LeakReportNamesTheAllocator)
{
    core::Vector<int> v;
    v.setSize(1);
    clearLog();
    EXPECT_THROW(mainPool()->debugMonitorCheck(), core::MemoryManagerException);
    const std::string text = log();
    const std::size_t at = text.find("\"core::Allocator<");
    ASSERT_NE(std::string::npos, at) << text;
    EXPECT_NE(std::string::npos, text.find(">::allocate(", at)) << text;
}
