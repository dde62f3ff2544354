#include "SceneGraphTest.h"

#include "render/Background.h"
#include "render/Camera.h"
#include "render/Group.h"
#include "render/World.h"

using render::Group;
using render::Node;
using testsupport::outcomeOf;
using testsupport::refused;

namespace {

class GroupTest : public testsupport::EngineTest {};

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

    const struct {
        const char* name;
        Group* group;
        Node* child;
        const char* message;
    } cases[] = {
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
    EXPECT_EQ(leaf->getRefCount(), 2);
    for (int index : {-1, 1})
        EXPECT_EQ(outcomeOf([&] { middle->getChild(index); }), testsupport::bare()) << index;
}

// ---- life cycle ----------------------------------------------------------------------

TEST_F(GroupTest, DyingGroupReleasesItsChildrenAndClearsTheirParent)
{
    core::Ref<Node> kept = VORNIC3D_NEW Node();
    core::Ref<Group> group = VORNIC3D_NEW Group();
    group->addChild(kept.get());
    Group* inner = VORNIC3D_NEW Group();
    group->addChild(inner);
    inner->addChild(VORNIC3D_NEW Node());

    const int blocksWithTree = mainPool()->getAllocatedBlocks();
    group = nullptr;
    // The group, its vector, the inner group, its vector and its node.
    EXPECT_EQ(mainPool()->getAllocatedBlocks(), blocksWithTree - 5);
    EXPECT_EQ(kept->getRefCount(), 1);
    EXPECT_EQ(kept->getParent(), nullptr);

    core::Ref<Group> next = VORNIC3D_NEW Group();
    next->addChild(kept.get());
    EXPECT_EQ(kept->getParent(), next.get());
}

TEST_F(GroupTest, WorldHoldsItsCameraAndBackground)
{
    core::Ref<render::World> world = VORNIC3D_NEW render::World();
    core::Ref<render::Camera> camera = VORNIC3D_NEW render::Camera();
    core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
    world->setActiveCamera(camera.get());
    world->setBackground(background.get());
    EXPECT_EQ(outcomeOf([&] { world->setActiveCamera(nullptr); }),
              refused("can not set camera because camera pointer is 0"));
    EXPECT_EQ(world->getActiveCamera(), camera.get());
    world->setBackground(nullptr);
    EXPECT_EQ(background->getRefCount(), 1);
    world->setBackground(background.get());
    world = nullptr;
    EXPECT_EQ(std::pair(camera->getRefCount(), background->getRefCount()), std::pair(1, 1));
}
