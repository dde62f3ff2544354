#include "M3G_LoaderFixture.h"

#include "core/Debug.h"
#include "render/Node.h"
#include "render/Transform.h"

#include <cfloat>
#include <sstream>
#include <string>

using render::Group;
using render::Node;
using testsupport::Bytes;
using testsupport::countOf;
using testsupport::M3GRecord;
using testsupport::m3gFile;
using testsupport::m3gObject;

namespace {

using Objects = testsupport::Objects;
using M3G_LoaderTest = testsupport::M3G_LoaderTest;

constexpr char kOuter[] = "Unknown data source";
constexpr unsigned kGroupType = 9;
constexpr std::uint32_t kPlusInfinity = 0x7F800000u;
constexpr std::uint32_t kMinusInfinity = 0xFF800000u;
constexpr std::uint32_t kNaN = 0x7FC00000u;

// The four base records of one group, each as the file holds it.
struct GroupParts {
    Bytes object3D = testsupport::object3DRecord();
    Bytes transformable = testsupport::transformableRecord();
    Bytes node = testsupport::nodeRecord();
    Bytes children = M3GRecord().u32Array({});
};

Bytes groupOf(const GroupParts& parts)
{
    return m3gObject(kGroupType,
                     M3GRecord().bytes(parts.object3D).bytes(parts.transformable).bytes(parts.node).bytes(parts.children));
}

Bytes withObject3D(const Bytes& record)
{
    GroupParts parts;
    parts.object3D = record;
    return groupOf(parts);
}

Bytes withTransformable(const Bytes& record)
{
    GroupParts parts;
    parts.transformable = record;
    return groupOf(parts);
}

Bytes withNode(const Bytes& record)
{
    GroupParts parts;
    parts.node = record;
    return groupOf(parts);
}

Bytes withChildren(const std::vector<std::uint32_t>& children)
{
    GroupParts parts;
    parts.children = M3GRecord().u32Array(children);
    return groupOf(parts);
}

Bytes tracks(const std::vector<std::uint32_t>& indices)
{
    return testsupport::object3DRecord(0, indices);
}

// A component transform whose translation x has the given bits.
Bytes translationXBits(std::uint32_t bits)
{
    return M3GRecord().u8(1).u32(bits).f32(0).f32(0).f32(1).f32(1).f32(1).f32(0).f32(1).f32(0).f32(0).u8(0);
}

Bytes components(float tx, float ty, float tz, float angle, float ax, float ay, float az)
{
    return M3GRecord().u8(1).f32(tx).f32(ty).f32(tz).f32(4).f32(5).f32(6).f32(angle).f32(ax).f32(ay).f32(az).u8(0);
}

Bytes general(bool withComponents)
{
    // The component part without its trailing hasGeneralTransform byte.
    Bytes first = withComponents ? components(1, 2, 3, 90, 0, 0, 2) : Bytes{0, 0};
    first.pop_back();
    M3GRecord record;
    record.bytes(first).u8(1);
    for (int i = 1; i <= 16; ++i)
        record.f32(static_cast<float>(i));
    return record;
}

Bytes node(unsigned rendering, unsigned picking, unsigned alpha, std::uint32_t scope)
{
    return M3GRecord().u8(rendering).u8(picking).u8(alpha).u32(scope).u8(0);
}

Bytes aligned(unsigned zTarget, unsigned yTarget, std::uint32_t zReference, std::uint32_t yReference)
{
    return M3GRecord().u8(1).u8(1).u8(255).u32(0xFFFFFFFFu).u8(1).u8(zTarget).u8(yTarget).u32(zReference).u32(
        yReference);
}

Bytes fileOf(const std::vector<Bytes>& objects, int scheme = 0)
{
    return m3gFile(testsupport::joined(objects), scheme);
}

// Everything the base records set on a group.
std::string describe(const Group& group)
{
    std::ostringstream out;
    const slmath::vec3& t = group.getTranslation();
    const slmath::vec3& s = group.getScale();
    const float* o = group.getOrientation();
    float m[16];
    group.getTransform().get(m);
    out << "id " << group.getUserID() << " t " << t.x << ',' << t.y << ',' << t.z << " s " << s.x << ',' << s.y
        << ',' << s.z << " o " << o[0] << ',' << o[1] << ',' << o[2] << ',' << o[3] << " m";
    for (float value : m)
        out << ' ' << value;
    out << " alpha " << group.getAlphaFactor() << " render " << group.isRenderingEnabled() << " pick "
        << group.isPickingEnabled() << " scope " << group.getScope() << " align "
        << group.getAlignmentTarget(Node::Z_AXIS) << ',' << group.getAlignmentTarget(Node::Y_AXIS);
    return out.str();
}

const char* const kIdentity = "m 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";

} // namespace

// ---- refused records ----------------------------------------------------------------------

TEST_F(M3G_LoaderTest, BadPrimitivesAreTheStreamsErrors)
{
    const char* invalidFloat = "Invalid floating point number";
    const char* small = "Small stream buffer";
    const Bytes plain = testsupport::groupObject();
    expectRefusals({
        {"+infinity", fileOf({withTransformable(translationXBits(kPlusInfinity))}), invalidFloat, kOuter},
        {"-infinity", fileOf({withTransformable(translationXBits(kMinusInfinity))}), invalidFloat, kOuter},
        {"NaN", fileOf({withTransformable(translationXBits(kNaN))}), invalidFloat, kOuter},
        {"NaN in a compressed section", fileOf({withTransformable(translationXBits(kNaN))}, 1), invalidFloat, ""},
        {"boolean 2", fileOf({withTransformable(M3GRecord().u8(2).u8(0))}),
         "Deserialized boolean data not '1' or '0'.", kOuter},
        {"picking boolean 255", fileOf({withNode(node(1, 255, 255, 0))}), "Deserialized boolean data not '1' or '0'.",
         kOuter},
        {"a record cut short", fileOf({m3gObject(kGroupType, Bytes(plain.begin() + 5, plain.end() - 1))}), small,
         kOuter},
        {"track count beyond the data", fileOf({withObject3D(M3GRecord().u32(0).u32(0x40000000u).u32(0))}), small,
         kOuter},
        {"children count beyond the data", fileOf({groupOf({GroupParts().object3D, GroupParts().transformable,
                                                            GroupParts().node, M3GRecord().u32(0x40000000u)})}),
         small, kOuter},
        // Refused before the parameters are sized: each takes at least 8 bytes.
        {"user parameter count beyond the data",
         fileOf({withObject3D(M3GRecord().u32(0).u32(0).u32(0x10000000u).u32(1).u32(0))}), small, kOuter},
    });
}

TEST_F(M3G_LoaderTest, BadBaseRecordsAreRefused)
{
    const Bytes group = testsupport::groupObject();
    const char* unloaded = "Reference to unloaded object detected.";
    const char* nil = "Reference to unloaded object detected. Reference is nil.";
    const char* hasParent = "can not add child node because child has a parent";
    expectRefusals({
        {"a user parameter", fileOf({withObject3D(M3GRecord().u32(0).u32(0).u32(1).u32(7).u32(2).u8(1).u8(2))}),
         "User parameters not yet supported by loader.", ""},
        {"track 0", fileOf({withObject3D(tracks({0}))}), nil, ""},
        {"track 1, the header", fileOf({withObject3D(tracks({1}))}), nil, ""},
        {"track naming a group", fileOf({group, withObject3D(tracks({2}))}), "Referenced object is not correct type.",
         ""},
        {"track naming itself", fileOf({withObject3D(tracks({2}))}), unloaded, ""},
        {"child 0", fileOf({withChildren({0})}), nil, ""},
        {"child of itself", fileOf({withChildren({2})}), unloaded, ""},
        {"child later in the file", fileOf({withChildren({3}), group}), unloaded, ""},
        {"child index 0xFFFFFFFF", fileOf({withChildren({0xFFFFFFFFu})}), unloaded, ""},
        {"the same child twice", fileOf({group, withChildren({2, 2})}), hasParent, ""},
        {"a child of another group", fileOf({group, withChildren({2}), withChildren({2})}), hasParent, ""},
        {"z-target 146", fileOf({withNode(aligned(146, 144, 0, 0))}), "Node aligment: Invalid z-target axis", ""},
        {"y-target 148", fileOf({withNode(aligned(144, 148, 0, 0))}), "Node aligment: Invalid y-target axis", ""},
        {"Z_AXIS without its node", fileOf({withNode(aligned(148, 144, 0, 0))}), "z-axis reference object is NULL",
         ""},
        {"alignment node later in the file", fileOf({withNode(aligned(148, 144, 3, 0)), group}), unloaded, ""},
        {"a zero axis with an angle", fileOf({withTransformable(components(0, 0, 0, 45, 0, 0, 0))}),
         "Rotation axis zero and angle nonzero", ""},
    });
    EXPECT_EQ(countOf(log(), "Parse warning: \"Node aligment: z-axis reference object is 0 when z-target is "
                             "Z_AXIS\"\n"),
              2);
}

// ---- applied records ----------------------------------------------------------------------

TEST_F(M3G_LoaderTest, BaseRecordsSetTheGroup)
{
    const std::string asConstructed = std::string("t 0,0,0 s 1,1,1 o 1,0,0,0 ") + kIdentity;
    const struct {
        const char* name;
        Bytes group;
        std::string state;
    } cases[] = {
        {"defaults", testsupport::groupObject({}, 77),
         "id 77 " + asConstructed + " alpha 1 render 1 pick 1 scope -1 align 144,144"},
        {"no transform: 2 bytes, as constructed", withTransformable(M3GRecord().u8(0).u8(0)), asConstructed},
        {"components", withTransformable(components(1, 2, 3, 90, 0, 0, 2)),
         std::string("t 1,2,3 s 4,5,6 o 0,0,1,90 ") + kIdentity},
        {"-0 and the largest finite floats", withTransformable(components(-0.0f, FLT_MAX, -FLT_MAX, 0, 1, 0, 0)),
         "t -0,3.40282e+38,-3.40282e+38 "},
        // No rotation, written as a zero axis: the orientation as constructed.
        {"zero axis and angle", withTransformable(components(1, 2, 3, 0, 0, 0, 0)),
         std::string("t 1,2,3 s 4,5,6 o 1,0,0,0 ") + kIdentity},
        {"general, row order", withTransformable(general(false)),
         "t 0,0,0 s 1,1,1 o 1,0,0,0 m 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16"},
        {"both: 106 bytes", withTransformable(general(true)),
         "t 1,2,3 s 4,5,6 o 0,0,1,90 m 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16"},
        {"alpha 0, not rendered, not pickable, scope 5", withNode(node(0, 0, 0, 5)),
         "alpha 0 render 0 pick 0 scope 5"},
        {"alpha 51", withNode(node(1, 1, 51, 0)), "alpha 0.2 "},
        {"ORIGIN on both axes", withNode(aligned(145, 145, 0, 0)), "align 145,145"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Objects out = load(fileOf({c.group}));
        ASSERT_NE(groupAt(out, 0), nullptr);
        const std::string state = describe(*groupAt(out, 0));
        EXPECT_NE(state.find(c.state), std::string::npos) << state;
    }
    EXPECT_EQ(withTransformable(general(true)).size() - testsupport::groupObject().size(), 104u);
    // 255 * the single nearest 1/255 is exactly 1.
    EXPECT_EQ(groupAt(load(fileOf({testsupport::groupObject()})), 0)->getAlphaFactor(), 1.0f);
}

TEST_F(M3G_LoaderTest, ReferencedNodesAreNoRoots)
{
    const Bytes group = testsupport::groupObject();
    const struct {
        const char* name;
        std::vector<Bytes> objects;
        std::vector<int> roots; // index table positions
        std::string state;      // of the last object
        int warnings;
    } cases[] = {
        {"alignment to two nodes", {group, group, withNode(aligned(148, 147, 2, 3))}, {4}, "align 148,147", 0},
        {"two nodes aligned to one", {group, withNode(aligned(148, 144, 2, 0)), withNode(aligned(148, 144, 2, 0))},
         {3, 4}, "align 148,144", 0},
        {"ORIGIN with references still resolves them", {group, group, withNode(aligned(145, 145, 2, 3))}, {4},
         "align 145,145", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Bytes> objects;
        // Each group names its own position as its id.
        for (std::size_t i = 0; i < c.objects.size(); ++i) {
            Bytes object = c.objects[i];
            object[5] = static_cast<unsigned char>(2 + i);
            objects.push_back(object);
        }
        const int warnings = core::Debug::getWarningCount();
        const Objects out = load(fileOf(objects));
        EXPECT_EQ(userIDs(out), c.roots);
        EXPECT_NE(describe(*groupAt(out, out.m_size - 1)).find(c.state), std::string::npos);
        EXPECT_EQ(core::Debug::getWarningCount() - warnings, c.warnings);
    }
}
