#include "SceneGraphTest.h"

#include "render/Group.h"
#include "render/World.h"

using render::Group;
using render::Node;
using namespace testsupport;

namespace {

class GroupTest : public EngineTest {};

} // namespace

// ---- adding children ---------------------------------------------------------------

TEST_F(GroupTest, AddChildRefusesWhatWouldBreakTheTree)
{
    // root -> middle -> leaf, plus a node in another group and a world.
    core::Ref<Group> root = VORNIC3D_NEW Group();
    core::Ref<Group> middle = VORNIC3D_NEW Group();
    core::Ref<Group> leaf = VORNIC3D_NEW Group();
    core::Ref<Group> other = VORNIC3D_NEW Group();
    core::Ref<Node> adopted = VORNIC3D_NEW Node();
    core::Ref<render::World> world = VORNIC3D_NEW render::World();
    root->addChild(middle.get());
    middle->addChild(leaf.get());
    other->addChild(adopted.get());

    const struct { const char* name; Group* group; Node* child; const char* message; } cases[] = {
        {"null", root.get(), nullptr, "can not add child node because child pointer is 0"},
        {"itself", leaf.get(), leaf.get(), "can not add child node because child is this node"},
        {"a world without parent", root.get(), world.get(), "can not add child node because node is World object"},
        {"a child of another group", root.get(), adopted.get(), "can not add child node because child has a parent"},
        {"its grandparent", leaf.get(), root.get(), "addChild failed because child is ancestor of this group"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int count = c.group->getChildCount();
        Node* parent = c.child != nullptr ? c.child->getParent() : nullptr;
        EXPECT_EQ(outcomeOf([&] { c.group->addChild(c.child); }), refused(c.message));
        EXPECT_EQ(c.group->getChildCount(), count);
        if (c.child != nullptr) {
            EXPECT_EQ(c.child->getParent(), parent);
        }
    }
    for (int index : {-1, 1})
        EXPECT_EQ(outcomeOf([&] { middle->getChild(index); }), bare()) << index;
}

// ---- life cycle ----------------------------------------------------------------------

// The pool's leak check at teardown sees whether the children were released.
TEST_F(GroupTest, DyingGroupClearsItsChildrensParent)
{
    core::Ref<Node> kept = VORNIC3D_NEW Node();
    core::Ref<Group> group = VORNIC3D_NEW Group();
    group->addChild(kept.get());
    group->addChild(VORNIC3D_NEW Group());
    group = nullptr;
    EXPECT_EQ(kept->getParent(), nullptr);
    core::Ref<Group> next = VORNIC3D_NEW Group();
    next->addChild(kept.get());
    EXPECT_EQ(kept->getParent(), next.get());
}
