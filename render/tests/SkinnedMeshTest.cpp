#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/ArithmeticException.h"
#include "render/Group.h"
#include "render/IndexBuffer.h"
#include "render/SkinnedMesh.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

using render::Group;
using render::SkinnedMesh;
using namespace testsupport;

namespace {

// Four vertices along x, stored 10, 20, 30, 40 with scale 0.5 and bias
// (1, 0, 0): model x 6, 11, 16, 21. Moving a vertex by 1 in the model moves
// its stored value by 2.
const std::vector<short> kPositions = {10, 0, 0, 20, 0, 0, 30, 0, 0, 40, 0, 0};

class SkinnedMeshTest : public SceneGraphTest {};

SkinnedMesh* makeMesh(Group* skeleton, bool withPositions = true)
{
    core::Ref<render::VertexArray> positions = VORNIC3D_NEW render::VertexArray(4, 3, 2);
    positions->set(0, 4, kPositions.data());
    core::Ref<render::VertexBuffer> vertices = VORNIC3D_NEW render::VertexBuffer();
    const float bias[3] = {1, 0, 0};
    if (withPositions)
        vertices->setPositions(positions.get(), 0.5f, bias);
    return VORNIC3D_NEW SkinnedMesh(vertices.get(), core::Vector<core::Ref<render::IndexBuffer>>(),
                                    core::Vector<core::Ref<render::Appearance>>(), skeleton);
}

// A skeleton root with a bone below it, the bone with a child bone, and a
// mesh on them.
struct Rig {
    Rig() : root(VORNIC3D_NEW Group()), bone(VORNIC3D_NEW Group()), child(VORNIC3D_NEW Group())
    {
        root->addChild(bone.get());
        bone->addChild(child.get());
        mesh = makeMesh(root.get());
    }

    std::vector<short> skinnedPositions()
    {
        mesh->calcVertices_for_testing();
        const auto* values = static_cast<const short*>(mesh->getVertexBuffer()->getPositions(nullptr)->getData());
        return std::vector<short>(values, values + 12);
    }

    core::Ref<Group> root, bone, child;
    core::Ref<SkinnedMesh> mesh;
};

// The child bound whole while the unbound bone between it and the root is
// moved 5 along x, as skeletons from modelling tools carry offset nodes.
void bindBelowAnOffset(Rig& t)
{
    t.bone->setTranslation(5, 0, 0);
    t.mesh->addTransform(t.child.get(), 65535, 0, 4);
}

} // namespace

TEST_F(SkinnedMeshTest, ConstructionChecksAndTheSkeletonLink)
{
    core::Ref<Group> skeleton = VORNIC3D_NEW Group();
    EXPECT_EQ(outcomeOf([&] { core::Ref<SkinnedMesh>(makeMesh(skeleton.get(), false)); }), bare());
    EXPECT_EQ(outcomeOf([&] { core::Ref<SkinnedMesh>(makeMesh(nullptr)); }),
              refused("SkinnedMesh failed because skeleton parameter is 0"));
    // A refused mesh leaves the skeleton as it was.
    EXPECT_EQ(skeleton->getParent(), nullptr);

    core::Ref<SkinnedMesh> first = makeMesh(skeleton.get());
    EXPECT_EQ(skeleton->getParent(), first.get());
    // A second mesh takes the skeleton over: the first one's death leaves
    // that link, the second one's clears it.
    core::Ref<SkinnedMesh> second = makeMesh(skeleton.get());
    first = nullptr;
    EXPECT_EQ(skeleton->getParent(), second.get());
    second = nullptr;
    EXPECT_EQ(skeleton->getParent(), nullptr);
}

TEST_F(SkinnedMeshTest, AddTransformChecksEverythingBeforeItBinds)
{
    Rig rig;
    Group* bone = rig.bone.get();
    core::Ref<Group> outsider = VORNIC3D_NEW Group();
    const std::string prefix = "SkinnedMesh addTransform failed because ";
    const struct {
        render::Node* bone;
        int weight, first, count;
        std::string message;
    } cases[] = {
        {nullptr, 0, -1, 0, prefix + "bone parameter is 0"},
        {bone, 0, -1, 0, prefix + "weight parameter is <= 0"},
        {bone, 1, -1, 0, prefix + "numVertices parameter is <= 0"},
        {bone, 1, 65530, 6, prefix + "firstVertex+numVertices is > 65535"},
        {bone, 1, INT_MAX, 1, prefix + "firstVertex+numVertices is > 65535"},
        {bone, 1, 65530, 5, prefix + "firstVertex+numVertices is > vertex count"},
        {bone, 1, -1, 2, prefix + "firstVertex parameter is < 0"},
        {bone, 1, 3, 2, prefix + "firstVertex+numVertices is > vertex count"},
        {outsider.get(), 1, 0, 4, "bone is not the skeleton Group or one of its descendants"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(outcomeOf([&] { rig.mesh->addTransform(c.bone, c.weight, c.first, c.count); }),
                  refused(c.message.c_str()));
    }
    // A bone that cannot be inverted at rest is refused before it is bound.
    rig.child->setScale(0, 1, 1);
    EXPECT_THROW(rig.mesh->addTransform(rig.child.get(), 1, 0, 4), render::ArithmeticException);
    rig.child->setScale(1, 1, 1);
    // Nothing was bound: moving the skeleton moves no vertex.
    EXPECT_EQ(rig.mesh->getBoneWeights(bone), nullptr);
    rig.root->setTranslation(1, 0, 0);
    EXPECT_EQ(rig.skinnedPositions(), kPositions);
}

TEST_F(SkinnedMeshTest, ABoneListsItsRunsInTheOrderTheyWereBound)
{
    Rig rig;
    rig.mesh->addTransform(rig.bone.get(), 65535, 2, 2);
    rig.mesh->addTransform(rig.child.get(), 1, 0, 4);
    rig.mesh->addTransform(rig.bone.get(), 32768, 0, 1);
    const struct {
        float weight;
        int first, count;
    } expected[] = {{1.0f, 2, 2}, {32768.0f / 65535.0f, 0, 1}};
    const auto* runs = rig.mesh->getBoneWeights(rig.bone.get());
    ASSERT_NE(runs, nullptr);
    ASSERT_EQ(runs->m_size, 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ((*runs)[i].weight, expected[i].weight);
        EXPECT_EQ((*runs)[i].firstVertex, expected[i].first);
        EXPECT_EQ((*runs)[i].vertexCount, expected[i].count);
    }
    EXPECT_EQ(rig.mesh->getBoneWeights(rig.child.get())->m_size, 1);
    EXPECT_EQ(rig.mesh->getBoneWeights(rig.root.get()), nullptr);
}

TEST_F(SkinnedMeshTest, VerticesFollowTheirBonesByWeight)
{
    const struct {
        const char* pose;
        std::function<void(Rig&)> bindAndMove;
        std::vector<short> positions;
    } cases[] = {
        {"a translated bone moves its vertices, the others stay",
         [](Rig& t) {
             t.mesh->addTransform(t.bone.get(), 65535, 1, 2);
             t.bone->setTranslation(2, -1, 0.5f);
         },
         {10, 0, 0, 24, -2, 1, 34, -2, 1, 40, 0, 0}},
        {"weights 1 and 3 share the move a quarter and three quarters",
         [](Rig& t) {
             t.mesh->addTransform(t.bone.get(), 1, 0, 4);
             t.mesh->addTransform(t.child.get(), 3, 0, 4);
             t.child->setTranslation(4, 0, 0);
         },
         {16, 0, 0, 26, 0, 0, 36, 0, 0, 46, 0, 0}},
        {"the rest pose is the bone's transform at its first binding",
         [](Rig& t) {
             t.bone->setTranslation(3, 0, 0);
             t.mesh->addTransform(t.bone.get(), 65535, 0, 1);
             t.bone->setTranslation(4, 0, 0);
             t.mesh->addTransform(t.bone.get(), 65535, 1, 1);
         },
         {12, 0, 0, 22, 0, 0, 30, 0, 0, 40, 0, 0}},
        {"an unbound root still moves the bones below it",
         [](Rig& t) {
             t.mesh->addTransform(t.child.get(), 65535, 0, 4);
             t.root->setTranslation(0, 0, -1);
         },
         {10, 0, -2, 20, 0, -2, 30, 0, -2, 40, 0, -2}},
        {"an unbound node between keeps its offset: at rest the skin is unskinned", bindBelowAnOffset, kPositions},
        {"a bone below an unbound node moves its vertices by its own move",
         [](Rig& t) {
             bindBelowAnOffset(t);
             t.child->setTranslation(0, 1, 0);
         },
         {10, 2, 0, 20, 2, 0, 30, 2, 0, 40, 2, 0}},
        {"moving the unbound node moves the bone below it",
         [](Rig& t) {
             bindBelowAnOffset(t);
             t.bone->setTranslation(5, 1, 0);
         },
         {10, 2, 0, 20, 2, 0, 30, 2, 0, 40, 2, 0}},
        {"a child bone turns with its parent",
         [](Rig& t) {
             t.child->setTranslation(1, 0, 0);
             t.mesh->addTransform(t.child.get(), 65535, 0, 4);
             // Half a turn about z at the origin: model x goes to -x.
             t.bone->setOrientation(180, 0, 0, 1);
         },
         {-14, 0, 0, -24, 0, 0, -34, 0, 0, -44, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pose);
        Rig rig;
        c.bindAndMove(rig);
        EXPECT_EQ(rig.skinnedPositions(), c.positions);
        // Every call starts from the unskinned positions.
        EXPECT_EQ(rig.skinnedPositions(), c.positions);
    }
}
