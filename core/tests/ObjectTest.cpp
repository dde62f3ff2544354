#include "EngineTest.h"

#include "core/AssertationFailedException.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerException.h"
#include "core/Object.h"

#include <cstring>

namespace {

struct Plain : core::Object {
    int payload[4] = {1, 2, 3, 4};
};

struct ThrowingConstruction : core::Object {
    ThrowingConstruction() { throw 42; }
};

// Counts its destructions, to see that a throwing base destructor still ran
// the derived part first.
struct Tracked : core::Object {
    explicit Tracked(int* destroyed) : m_destroyed(destroyed) {}
    ~Tracked() override { ++*m_destroyed; }
    int* m_destroyed;
};

class ObjectTest : public testsupport::EngineTest {};

} // namespace

TEST_F(ObjectTest, NewObjectHasNoReferencesAndComesFromTheMainPool)
{
    const int usedBefore = mainPool()->getUsedMem();
    Plain* object = VORNIC3D_NEW Plain();
    EXPECT_EQ(0, object->getRefCount());
    EXPECT_GT(mainPool()->getUsedMem(), usedBefore);
    EXPECT_EQ(1, mainPool()->getAllocatedBlocks());
    delete object; // never referenced: the destructor's check passes
    EXPECT_EQ(usedBefore, mainPool()->getUsedMem());
    EXPECT_EQ(0, mainPool()->getAllocatedBlocks());
}

TEST_F(ObjectTest, ReleaseBelowOneIsABareAssertionAndKeepsTheCount)
{
    Plain object;
    try {
        object.releaseRef();
        FAIL() << "no assertion";
    } catch (const AssertationFailedException& e) {
        EXPECT_STREQ("Vornic3D exception", e.message);
        EXPECT_STREQ("core::Object::releaseRef", e.function);
    }
    EXPECT_EQ(0, object.getRefCount());
    EXPECT_EQ("", log()); // a bare check logs nothing
}

TEST_F(ObjectTest, CopyStartsWithoutReferencesAndAssignmentKeepsTheTargetsCount)
{
    Plain source;
    source.addRef();
    source.payload[0] = 7;

    Plain copy(source);
    EXPECT_EQ(0, copy.getRefCount());
    EXPECT_EQ(7, copy.payload[0]);

    Plain target;
    target.addRef();
    target.addRef();
    target = source;
    EXPECT_EQ(2, target.getRefCount());
    EXPECT_EQ(1, source.getRefCount());
    EXPECT_EQ(7, target.payload[0]);

    source.releaseRef();
    target.releaseRef();
    target.releaseRef();
}

TEST_F(ObjectTest, DeletingAReferencedObjectLogsThrowsAndStillFreesTheMemory)
{
    const int usedBefore = mainPool()->getUsedMem();
    int destroyed = 0;
    Tracked* object = VORNIC3D_NEW Tracked(&destroyed);
    object->addRef();
    clearLog();
    try {
        delete object;
        FAIL() << "no assertion";
    } catch (const AssertationFailedException& e) {
        EXPECT_STREQ("Can not delete core::Object, when it have references some where else", e.message);
        EXPECT_STREQ("core::Object::~Object", e.function);
    }
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(1, testsupport::countOf(log(), "Can not delete core::Object, when it have references some where else"));
    EXPECT_EQ(1, testsupport::countOf(log(), " ERROR  |"));
    EXPECT_EQ(usedBefore, mainPool()->getUsedMem());
    EXPECT_EQ(0, mainPool()->getAllocatedBlocks());
}

TEST_F(ObjectTest, ThrowingConstructorLeavesThePoolStatisticsUnchanged)
{
    const int usedBefore = mainPool()->getUsedMem();
    const int freeBefore = mainPool()->getFreeMem();
    const int blocksBefore = mainPool()->getAllocatedBlocks();
    EXPECT_THROW(VORNIC3D_NEW ThrowingConstruction(), int);
    EXPECT_EQ(usedBefore, mainPool()->getUsedMem());
    EXPECT_EQ(freeBefore, mainPool()->getFreeMem());
    EXPECT_EQ(blocksBefore, mainPool()->getAllocatedBlocks());
}

TEST_F(ObjectTest, LeakReportNamesTheCreatingFunctionAndLine)
{
    const int line = __LINE__ + 1;
    Plain* leaked = VORNIC3D_NEW Plain();
    clearLog();
    EXPECT_THROW(mainPool()->debugMonitorCheck(), core::MemoryManagerException);
    const std::string expected =
        "\"ObjectTest_LeakReportNamesTheCreatingFunctionAndLine_Test::TestBody(" + std::to_string(line) + ")\"";
    EXPECT_NE(std::string::npos, log().find(expected)) << log();
    delete leaked;
}
