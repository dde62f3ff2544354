#include "SceneGraphTest.h"

#include "render/AnimationTrack.h"
#include "render/ArithmeticException.h"
#include "render/Group.h"
#include "render/KeyframeSequence.h"
#include "render/World.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

using render::Group;
using render::Node;
using namespace testsupport;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class NodeTest : public EngineTest {};

std::string describe(const Node& node)
{
    const slmath::vec3& t = node.getTranslation();
    const slmath::vec3& s = node.getScale();
    const float* o = node.getOrientation();
    char text[256];
    std::snprintf(text, sizeof text,
                  "translation %g %g %g scale %g %g %g orientation %g %g %g angle %g alpha %g scope %d "
                  "rendering %d picking %d z %d y %d",
                  t.x, t.y, t.z, s.x, s.y, s.z, o[0], o[1], o[2], o[3], node.getAlphaFactor(), node.getScope(),
                  node.isRenderingEnabled(), node.isPickingEnabled(), node.getAlignmentTarget(Node::Z_AXIS),
                  node.getAlignmentTarget(Node::Y_AXIS));
    return text;
}

void expectRows(const render::Transform& t, const std::array<float, 16>& expected)
{
    std::array<float, 16> rows;
    t.get(rows.data());
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(rows[i], expected[i], 1e-6f) << "element " << i;
}

} // namespace

// ---- user data and animation tracks ---------------------------------------------

TEST_F(NodeTest, AnimationTracksAreHeldCountedAndChecked)
{
    core::Ref<Node> node = VORNIC3D_NEW Node();
    core::Ref<render::KeyframeSequence> sequence = VORNIC3D_NEW render::KeyframeSequence(1, 1, 176);
    core::Ref<render::AnimationTrack> track = VORNIC3D_NEW render::AnimationTrack(sequence.get(), 256);
    node->addAnimationTrack(track.get());
    node->addAnimationTrack(track.get());
    EXPECT_EQ(node->getAnimationTrack(1), track.get());
    EXPECT_EQ(track->getRefCount(), 3);

    EXPECT_EQ(outcomeOf([&] { node->addAnimationTrack(nullptr); }), refused("NULL Object given as AnimationTrack."));
    EXPECT_EQ(outcomeOf([&] { node->getAnimationTrack(2); }), bare());
    EXPECT_EQ(node->getAnimationTrackCount(), 2);
}

// ---- transformable components ---------------------------------------------------

TEST_F(NodeTest, SettersCheckBeforeTheyStore)
{
    const std::vector<SetterCase<Node>> cases = {
        {"setTranslation(NaN)", [](Node& n) { n.setTranslation(0, kNaN, 0); }, bare(), ""},
        {"setScale(inf)", [](Node& n) { n.setScale(INFINITY, 1, 1); }, bare(), ""},
        {"setOrientation(90, 0, 0, 2)", [](Node& n) { n.setOrientation(90, 0, 0, 2); }, accepted(),
         "orientation 0 0 1 angle 90"},
        {"setOrientation(0, zero axis)", [](Node& n) { n.setOrientation(0, 0, 0, 0); }, bare(), ""},
        {"setAlphaFactor(1)", [](Node& n) { n.setAlphaFactor(0.5f), n.setAlphaFactor(1.0f); }, accepted(), "alpha 1 "},
        {"setAlphaFactor(1.0001)", [](Node& n) { n.setAlphaFactor(1.0001f); }, bare(), ""},
        {"setAlphaFactor(-0.0001)", [](Node& n) { n.setAlphaFactor(-0.0001f); }, bare(), ""},
        {"setAlphaFactor(NaN)", [](Node& n) { n.setAlphaFactor(kNaN); }, bare(), ""},
        {"setAlignment(null, ORIGIN, null, NONE)", [](Node& n) { n.setAlignment(nullptr, 145, nullptr, 144); },
         accepted(), "z 145 y 144"},
        {"setAlignment(self, Z_AXIS, self, Y_AXIS)", [](Node& n) { n.setAlignment(&n, 148, &n, 147); }, accepted(),
         "z 148 y 147"},
        {"setAlignment(x, ORIGIN, null, Y_AXIS)", [](Node& n) { n.setAlignment(&n, 145, nullptr, 147); },
         refused("y-axis reference object is NULL"), ""},
        {"setAlignment(a, Y_AXIS, b, NONE)", [](Node& n) { n.setAlignment(&n, 147, &n, 144); },
         refused("Invalid z-target axis"), ""},
        {"setAlignment(null, Z_AXIS, null, X_AXIS)", [](Node& n) { n.setAlignment(nullptr, 148, nullptr, 146); },
         refused("Invalid y-target axis"), ""},
        {"getAlignmentTarget(X_AXIS)", [](Node& n) { n.getAlignmentTarget(146); }, refused("axis not Z_AXIS or Y_AXIS"),
         ""},
        {"getCompositeTransform(null)", [](Node& n) { n.getCompositeTransform(nullptr); },
         refused("transform parameter is 0"), ""},
    };
    runSetterTable(
        cases, [] { return VORNIC3D_NEW Node(); }, describe);
}

// ---- composite and relative transforms --------------------------------------------

TEST_F(NodeTest, CompositeIsTranslationRotationScaleThenGeneral)
{
    core::Ref<Node> node = VORNIC3D_NEW Node();
    node->setTranslation(1, 2, 3);
    node->setScale(2, 2, 2);
    node->setOrientation(90, 0, 0, 1);
    render::Transform composite;
    node->getCompositeTransform(&composite);
    expectRows(composite, {0, -2, 0, 1, 2, 0, 0, 2, 0, 0, 2, 3, 0, 0, 0, 1});

    // The general matrix applies first: its x step is scaled, turned onto y.
    render::Transform general;
    general.postTranslate(1, 0, 0);
    node->setTransform(general);
    node->getCompositeTransform(&composite);
    expectRows(composite, {0, -2, 0, 1, 2, 0, 0, 4, 0, 0, 2, 3, 0, 0, 0, 1});
}

TEST_F(NodeTest, TransformToMapsTheTargetIntoThisNode)
{
    core::Ref<Node> a = VORNIC3D_NEW Node();
    core::Ref<Node> b = VORNIC3D_NEW Node();
    a->setTranslation(1, 0, 0);
    a->setOrientation(90, 0, 0, 1);
    b->setTranslation(0, 2, 0);
    render::Transform t;
    EXPECT_TRUE(a->getTransformTo(a.get(), &t));
    expectRows(t, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    // b's origin is (-1, 2) from a's, (2, 1) along a's turned axes.
    a->getTransformTo(b.get(), &t);
    expectRows(t, {0, 1, 0, 2, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1});

    EXPECT_EQ(outcomeOf([&] { a->getTransformTo(nullptr, nullptr); }),
              refused("Node::getTransformTo - Given Node is NULL"));
    EXPECT_EQ(outcomeOf([&] { a->getTransformTo(b.get(), nullptr); }),
              refused("Node::getTransformTo - Given Transform is NULL"));
    b->setScale(0, 1, 1);
    EXPECT_THROW(b->getTransformTo(a.get(), &t), render::ArithmeticException);
    expectRows(t, {0, 1, 0, 2, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1});
}

// ---- groups ---------------------------------------------------------------------------------

TEST_F(NodeTest, GroupAddChildRefusesWhatWouldBreakTheTree)
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
    for (int index : {-1, 1})
        EXPECT_EQ(outcomeOf([&] { middle->getChild(index); }), bare()) << index;
}

// The pool's leak check at teardown sees whether the children were released.
TEST_F(NodeTest, DyingGroupClearsItsChildrensParent)
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
