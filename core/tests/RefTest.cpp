#include "EngineTest.h"

#include "core/AssertationFailedException.h"
#include "core/MemoryManager.h"
#include "core/Object.h"
#include "core/Ref.h"

#include <cstring>

namespace {

struct Base : core::Object {
    explicit Base(int* destroyed = nullptr) : m_destroyed(destroyed) {}
    ~Base() override
    {
        if (m_destroyed != nullptr)
            ++*m_destroyed;
    }
    int value = 5;
    int* m_destroyed;
};

struct Derived : Base {
    using Base::Base;
};

class RefTest : public testsupport::EngineTest {
protected:
    int used() const { return mainPool()->getUsedMem(); }
};

} // namespace

TEST_F(RefTest, LifeCycleIsMeasuredByThePoolsUsedMemory)
{
    const int usedBefore = used();
    int destroyed = 0;
    {
        core::Ref<Base> first = VORNIC3D_NEW Base(&destroyed);
        EXPECT_EQ(1, first->getRefCount());
        const int usedWithObject = used();
        EXPECT_GT(usedWithObject, usedBefore);
        {
            core::Ref<Base> second(first);
            core::Ref<Base> third;
            third = second;
            EXPECT_EQ(3, first->getRefCount());
        }
        EXPECT_EQ(1, first->getRefCount());
        EXPECT_EQ(0, destroyed);
        EXPECT_EQ(usedWithObject, used());
    }
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(usedBefore, used());
}

TEST_F(RefTest, SelfAndAliasAssignmentKeepObjectAndCount)
{
    // {name, holders of the object, assign from the second holder}
    const struct {
        const char* name;
        int holders;
        bool fromAlias;
    } cases[] = {{"self, only reference", 1, false}, {"self", 2, false}, {"alias", 2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int destroyed = 0;
        core::Ref<Base> ref = VORNIC3D_NEW Base(&destroyed);
        core::Ref<Base> alias = c.holders == 2 ? ref : core::Ref<Base>();
        ref = c.fromAlias ? alias : ref;
        EXPECT_EQ(0, destroyed);
        EXPECT_EQ(c.holders, ref->getRefCount());
    }
}

TEST_F(RefTest, ReassignmentReleasesTheOldObjectAfterTakingTheNew)
{
    int destroyedA = 0;
    int destroyedB = 0;
    core::Ref<Base> a = VORNIC3D_NEW Base(&destroyedA);
    core::Ref<Base> b = VORNIC3D_NEW Base(&destroyedB);
    a = b;
    EXPECT_EQ(1, destroyedA);
    EXPECT_EQ(0, destroyedB);
    EXPECT_EQ(2, b->getRefCount());
    a = core::Ref<Base>();
    EXPECT_EQ(nullptr, a.get());
    EXPECT_EQ(1, b->getRefCount());
}

TEST_F(RefTest, AssigningFromAMemberOfTheObjectBeingReleasedIsSafe)
{
    struct Holder : core::Object {
        core::Ref<Holder> inner;
    };
    const int usedBefore = used();
    core::Ref<Holder> ref = VORNIC3D_NEW Holder();
    ref->inner = VORNIC3D_NEW Holder();
    // The source lives inside the object this assignment deletes.
    ref = ref->inner;
    EXPECT_EQ(1, ref->getRefCount());
    EXPECT_EQ(nullptr, ref->inner.get());
    ref = core::Ref<Holder>();
    EXPECT_EQ(usedBefore, used());
}

TEST_F(RefTest, EmptyReferenceAccessLogsOneLineAndThrows)
{
    core::Ref<Base> empty;
    const struct {
        const char* name;
        void (*access)(const core::Ref<Base>&);
    } cases[] = {
        {"arrow", [](const core::Ref<Base>& r) { (void)r->value; }},
        {"star", [](const core::Ref<Base>& r) { (void)(*r).value; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        try {
            c.access(empty);
            FAIL() << "no assertion";
        } catch (const AssertationFailedException& e) {
            EXPECT_STREQ("NULL pointer", e.message);
            EXPECT_NE(nullptr, std::strstr(e.sourceFile, "Ref.inl"));
            EXPECT_NE(nullptr, std::strstr(e.function, "core::Ref<"));
        }
        EXPECT_EQ(1, testsupport::countOf(log(), " ERROR  |"));
        EXPECT_EQ(1, testsupport::countOf(log(), "NULL pointer"));
    }
    EXPECT_EQ(nullptr, empty.get());
}

TEST_F(RefTest, CopyingAndDestroyingEmptyReferencesDoesNothing)
{
    const int usedBefore = used();
    {
        core::Ref<Base> empty;
        core::Ref<Base> copy(empty);
        core::Ref<Base> assigned = VORNIC3D_NEW Base();
        assigned = copy;
        EXPECT_EQ(nullptr, assigned.get());
    }
    EXPECT_EQ(usedBefore, used());
    EXPECT_EQ("", log());
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
    EXPECT_TRUE(base != nullptr && core::Ref<Base>() == nullptr && core::Ref<Base>() != base);

    base = core::Ref<Base>();
    derived = core::Ref<Derived>();
    EXPECT_EQ(0, destroyed);
    assigned = core::Ref<Base>();
    EXPECT_EQ(1, destroyed);
}

