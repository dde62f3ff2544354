#include "EngineTest.h"

#include "core/Debug.h"
#include "core/Object.h"

using testsupport::messageOf;

namespace {

struct Plain : core::Object {};

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

TEST_F(ObjectTest, ReleaseBelowZeroIsABareAssertionAndKeepsTheCount)
{
    Plain object;
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { object.releaseRef(); }), "Vornic3D exception");
    EXPECT_EQ(0, object.getRefCount());
}

TEST_F(ObjectTest, CopyStartsWithoutReferencesAndAssignmentKeepsTheTargetsCount)
{
    Plain source;
    source.addRef();
    Plain copy(source);
    Plain target;
    target.addRef();
    target.addRef();
    target = source;
    EXPECT_EQ(0, copy.getRefCount());
    EXPECT_EQ(2, target.getRefCount());
    source.releaseRef();
    target.releaseRef();
    target.releaseRef();
}

TEST_F(ObjectTest, DeletingAReferencedObjectLogsThrowsAndStillFreesTheMemory)
{
    int destroyed = 0;
    Tracked* object = VORNIC3D_NEW Tracked(&destroyed);
    object->addRef();
    clearLog();
    const char* const text = "Can not delete core::Object, when it have references some where else";
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { delete object; }), text);
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(1, testsupport::countOf(log(), " ERROR  |"));
    EXPECT_EQ(1, testsupport::countOf(log(), text));
    EXPECT_EQ(0, mainPool()->getUsedMem());
}

TEST_F(ObjectTest, ThrowingConstructorLeavesThePoolStatisticsUnchanged)
{
    const int allocations = mainPool()->getAllocationCount();
    EXPECT_THROW(VORNIC3D_NEW ThrowingConstruction(), int);
    EXPECT_EQ(allocations + 1, mainPool()->getAllocationCount());
    EXPECT_EQ(0, mainPool()->getUsedMem());
    EXPECT_EQ(0, mainPool()->getAllocatedBlocks());
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

// A delete frees under one fixed name and line; a throwing constructor's
// memory goes back under the creating line.
TEST_F(ObjectTest, FreeLinesNameTheDeleteThatReturnedTheMemory)
{
    const int creatingLine = __LINE__ + 7;
    const struct {
        const char* name;
        std::function<void()> action;
        std::string freedBy;
    } cases[] = {
        {"delete", [] { delete VORNIC3D_NEW Plain(); }, "(core::Object::operator delete(47)) 0x"},
        {"throwing constructor", [] { EXPECT_THROW(VORNIC3D_NEW ThrowingConstruction(), int); },
         "(" + std::to_string(creatingLine) + ")) 0x"},
    };
    core::Debug::setVerbosity(core::Debug::LEVEL_NORMAL);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        c.action();
        EXPECT_EQ(1, testsupport::countOf(log(), "MemoryManager: free ")) << log();
        EXPECT_NE(std::string::npos, log().find(c.freedBy)) << log();
    }
}
