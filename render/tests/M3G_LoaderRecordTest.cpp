#include "M3G_LoaderFixture.h"

#include "core/Debug.h"
#include "render/Node.h"
#include "render/Transform.h"

#include <string>

using render::Group;
using render::Node;
using namespace testsupport;

namespace {

// A group of the given base records, each as the file holds it.
Bytes group(const Bytes& object3D, const Bytes& transformable = transformableRecord(), const Bytes& node = nodeRecord(),
            const Bytes& children = M3GRecord().u32Array({}))
{
    return m3gObject(9, M3GRecord().bytes(object3D).bytes(transformable).bytes(node).bytes(children));
}

Bytes withTransformable(const Bytes& record)
{
    return group(object3DRecord(), record);
}

// A component transform turning by `angle` about a zero axis.
Bytes zeroAxis(float angle)
{
    return M3GRecord().u8(1).f32s({1, 2, 3, 4, 5, 6, angle, 0, 0, 0}).u8(0);
}

// A group of that user id aligned as given.
Bytes aligned(unsigned zTarget, unsigned yTarget, std::uint32_t zReference, std::uint32_t yReference,
              std::uint32_t userID = 0)
{
    return group(
        object3DRecord(userID), transformableRecord(),
        M3GRecord().u8(1).u8(1).u8(255).u32(0xFFFFFFFFu).u8(1).u8(zTarget).u8(yTarget).u32(zReference).u32(yReference));
}

} // namespace

// ---- refused records ----------------------------------------------------------------------

TEST_F(M3G_LoaderTest, BadBaseRecordsAreRefused)
{
    const Bytes plain = groupObject();
    const auto tracks = [](std::vector<std::uint32_t> indices) { return group(object3DRecord(0, indices)); };
    const char* small = "Small stream buffer";
    expectRefusals({
        {"track count beyond the data", fileOf({group(M3GRecord().u32(0).u32(0x40000000u).u32(0))}), small, kOuter},
        // Refused before the parameters are sized: each takes at least 8 bytes.
        {"user parameter count beyond the data", fileOf({group(M3GRecord().u32(0).u32(0).u32(0x10000000u).u32(1))}),
         small, kOuter},
        {"a user parameter", fileOf({group(M3GRecord().u32(0).u32(0).u32(1).u32(7).u32(2).u8(1).u8(2))}),
         "User parameters not yet supported by loader."},
        {"track 0", fileOf({tracks({0})}), kNil},
        {"track naming a group", fileOf({plain, tracks({2})}), "Referenced object is not correct type."},
        {"child index 0xFFFFFFFF",
         fileOf({group(object3DRecord(), transformableRecord(), nodeRecord(), M3GRecord().u32Array({0xFFFFFFFFu}))}),
         "Reference to unloaded object detected."},
        {"z-target 146", fileOf({aligned(146, 144, 0, 0)}), "Node aligment: Invalid z-target axis"},
        {"y-target 148", fileOf({aligned(144, 148, 0, 0)}), "Node aligment: Invalid y-target axis"},
        // A count the pool can never hold is the file's fault too.
        {"tracks beyond the whole pool", fileOf({tracks(std::vector<std::uint32_t>(70000, 2))}),
         "Object too large for the memory pool."},
        // Values the scene graph refuses end the load with the setter's own
        // exception.
        {"Z_AXIS without its node", fileOf({aligned(148, 144, 0, 0)}), "z-axis reference object is NULL", "",
         Refusal::kSetterAssertion},
        {"a zero axis with an angle", fileOf({withTransformable(zeroAxis(45))}), "Rotation axis zero and angle nonzero",
         "", Refusal::kSetterAssertion},
        {"the same child twice",
         fileOf({plain, group(object3DRecord(), transformableRecord(), nodeRecord(), M3GRecord().u32Array({2, 2}))}),
         "can not add child node because child has a parent", "", Refusal::kSetterAssertion},
    });
    EXPECT_EQ(countOf(log(), "Parse warning: \"Node aligment: z-axis reference object is 0 when z-target is "
                             "Z_AXIS\"\n"),
              2);
}

// ---- applied records ----------------------------------------------------------------------
//
// The writers' round trip (M3G_WriterTest) reads back every field of the
// base records; these are the values no writer writes.

TEST_F(M3G_LoaderTest, BaseRecordsSetTheGroup)
{
    const Objects out = load(fileOf({
        // No rotation, written as a zero axis: the orientation as constructed.
        withTransformable(zeroAxis(0)),
        group(object3DRecord(), transformableRecord(), M3GRecord().u8(1).u8(1).u8(0).u32(0).u8(0)),
    }));
    ASSERT_EQ(out.m_size, 2);
    const float* o = groupAt(out, 0)->getOrientation();
    EXPECT_EQ(std::vector<float>(o, o + 4), (std::vector<float>{1, 0, 0, 0}));
    EXPECT_EQ(groupAt(out, 1)->getAlphaFactor(), 0.0f);
    // 255 * the single nearest 1/255 is exactly 1.
    EXPECT_EQ(groupAt(out, 0)->getAlphaFactor(), 1.0f);
}

TEST_F(M3G_LoaderTest, ReferencedNodesAreNoRoots)
{
    const Bytes first = groupObject({}, 2), second = groupObject({}, 3);
    const struct {
        const char* name;
        std::vector<Bytes> objects;
        std::vector<int> roots; // user ids: index table positions
        int zTarget, yTarget;   // of the last object
        int warnings;
    } cases[] = {
        {"alignment to two nodes", {first, second, aligned(148, 147, 2, 3, 4)}, {4}, 148, 147, 0},
        {"two nodes aligned to one",
         {first, aligned(148, 144, 2, 0, 3), aligned(148, 144, 2, 0, 4)},
         {3, 4},
         148,
         144,
         0},
        {"ORIGIN with references still resolves them", {first, second, aligned(145, 145, 2, 3, 4)}, {4}, 145, 145, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int warnings = core::Debug::getWarningCount();
        const Objects out = load(fileOf(c.objects));
        EXPECT_EQ(userIDs(out), c.roots);
        const Group* last = groupAt(out, out.m_size - 1);
        EXPECT_EQ(last->getAlignmentTarget(Node::Z_AXIS), c.zTarget);
        EXPECT_EQ(last->getAlignmentTarget(Node::Y_AXIS), c.yTarget);
        EXPECT_EQ(core::Debug::getWarningCount() - warnings, c.warnings);
    }
}
