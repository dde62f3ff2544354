#include "EngineTest.h"

#include "core/Object.h"
#include "core/Ref.h"

namespace {

struct Base : core::Object {
    explicit Base(int* destroyed) : m_destroyed(destroyed) {}
    ~Base() override { ++*m_destroyed; }
    int value = 5;
    int* m_destroyed;
};

struct Derived : Base {
    using Base::Base;
};

class RefTest : public testsupport::EngineTest {};

} // namespace

TEST_F(RefTest, LifeCycleIsMeasuredByThePoolsUsedMemory)
{
    int destroyed = 0;
    core::Ref<Base> first = VORNIC3D_NEW Base(&destroyed);
    const int usedWithObject = mainPool()->getUsedMem();
    {
        core::Ref<Base> second(first);
        core::Ref<Base> third;
        third = second;
        EXPECT_EQ(3, first->getRefCount());
    }
    EXPECT_EQ(1, first->getRefCount());
    first = VORNIC3D_NEW Base(&destroyed); // the old object goes once the new one is held
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(usedWithObject, mainPool()->getUsedMem());
    first = core::Ref<Base>();
    EXPECT_EQ(2, destroyed);
    EXPECT_EQ(0, mainPool()->getUsedMem());
}

TEST_F(RefTest, SelfAndAliasAssignmentKeepObjectAndCount)
{
    int destroyed = 0;
    core::Ref<Base> ref = VORNIC3D_NEW Base(&destroyed);
    const core::Ref<Base>& itself = ref; // through a reference, as self-assignment usually comes
    ref = itself;                        // the only reference
    EXPECT_EQ(1, ref->getRefCount());
    core::Ref<Base> alias = ref;
    ref = itself;
    ref = alias;
    EXPECT_EQ(2, ref->getRefCount());
    EXPECT_EQ(0, destroyed);
}

TEST_F(RefTest, AssigningFromAMemberOfTheObjectBeingReleasedIsSafe)
{
    struct Holder : core::Object {
        core::Ref<Holder> inner;
    };
    core::Ref<Holder> ref = VORNIC3D_NEW Holder();
    ref->inner = VORNIC3D_NEW Holder();
    ref = ref->inner; // the source lives inside the object this assignment deletes
    EXPECT_EQ(1, ref->getRefCount());
    EXPECT_EQ(nullptr, ref->inner.get());
}

TEST_F(RefTest, EmptyReferenceAccessLogsOneLineAndThrows)
{
    const core::Ref<Base> empty;
    const core::Ref<Base> copy(empty);
    using testsupport::messageOf;
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { (void)copy->value; }), "NULL pointer");
    EXPECT_EQ(1, testsupport::countOf(log(), " ERROR  |"));
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { (void)(*copy).value; }), "NULL pointer");
    EXPECT_EQ(2, testsupport::countOf(log(), " ERROR  |"));
    EXPECT_EQ(2, testsupport::countOf(log(), "NULL pointer"));
}

TEST_F(RefTest, ConvertsFromDerivedAndCompares)
{
    int destroyed = 0;
    core::Ref<Derived> derived = VORNIC3D_NEW Derived(&destroyed);
    core::Ref<Base> base(derived);
    core::Ref<Base> assigned;
    assigned = derived;
    EXPECT_EQ(3, derived->getRefCount());
    EXPECT_TRUE(base == derived && assigned == base && base == derived.get() && derived.get() == base);
    base = assigned = core::Ref<Base>();
    EXPECT_EQ(0, destroyed);
    derived = core::Ref<Derived>();
    EXPECT_EQ(1, destroyed);
}
