#include "SceneGraphTest.h"

#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using render::VertexArray;
using render::VertexBuffer;
using namespace testsupport;

namespace {

using Shorts = std::vector<short>;
using Floats = std::vector<float>;

class VertexDataTest : public SceneGraphTest {};

VertexArray* bytes(int vertices, int components, const std::vector<signed char>& values = {})
{
    VertexArray* array = VORNIC3D_NEW VertexArray(vertices, components, VertexArray::BYTE);
    if (!values.empty())
        array->set(0, static_cast<int>(values.size()) / components, values.data());
    return array;
}

VertexArray* shorts(int vertices, int components)
{
    return VORNIC3D_NEW VertexArray(vertices, components, VertexArray::SHORT);
}

Shorts shortsOf(const VertexArray& array)
{
    const auto* data = static_cast<const short*>(array.getData());
    return Shorts(data, data + array.getVertexCount() * array.getComponentCount());
}

std::string boxOf(const VertexArray& array)
{
    const slmath::vec3& lo = array.getBoxMin();
    const slmath::vec3& hi = array.getBoxMax();
    char text[100];
    std::snprintf(text, sizeof text, "(%g %g %g) (%g %g %g)", lo.x, lo.y, lo.z, hi.x, hi.y, hi.z);
    return text;
}

Floats texScaleBias(const VertexBuffer& buffer)
{
    Floats scaleBias(4, -1);
    buffer.getTexCoords(0, scaleBias.data());
    return scaleBias;
}

std::string describe(const VertexBuffer& b)
{
    float p[4];
    const VertexArray* positions = b.getPositions(p);
    const Floats t = texScaleBias(b);
    char text[200];
    std::snprintf(text, sizeof text,
                  "count %d color %08x positions %d (%g %g %g %g) normals %d colors %d tex %d (%g %g %g %g)",
                  b.getVertexCount(), b.getDefaultColor(), positions != nullptr, p[0], p[1], p[2], p[3],
                  b.getNormals() != nullptr, b.getColors() != nullptr, b.getTexCoords(0, nullptr) != nullptr, t[0],
                  t[1], t[2], t[3]);
    return text;
}

} // namespace

// ---- vertex arrays ----------------------------------------------------------------------

TEST_F(VertexDataTest, ArrayShapeIsCheckedBeforeTheBlockIsTaken)
{
    const struct {
        int vertices, components, type;
    } refusedShapes[] = {
        {65536, 2, 2}, {0x7FFFFFFF, 4, 2}, {0, 2, 2}, {1, 1, 2}, {1, 5, 2}, {1, 2, 3}, {1, 2, 0},
    };
    for (const auto& s : refusedShapes) {
        SCOPED_TRACE(testing::Message() << s.vertices << " x " << s.components << " x " << s.type);
        const auto make = [&] {
            core::Ref<VertexArray> a = VORNIC3D_NEW VertexArray(s.vertices, s.components, s.type);
        };
        EXPECT_EQ(outcomeOf(make), bare());
    }
    // The test pool is too small for 65535 x 4 x 2 bytes.
    core::Ref<VertexArray> largest = bytes(65535, 2);
    const auto* data = static_cast<const unsigned char*>(largest->getData());
    EXPECT_EQ(std::vector<unsigned char>(data, data + 131070), std::vector<unsigned char>(131070, 0));
}

TEST_F(VertexDataTest, BoxWidensAndIsNeverReset)
{
    core::Ref<VertexArray> a = bytes(2, 3);
    EXPECT_EQ(outcomeOf([&] { a->getBoxMin(); }),
              refused("VertexArray::getBoxMin failed (m_MinMaxInfoAvailable == false)"));
    const signed char values[] = {1, 2, 3, -4, 5, -6};
    a->set(0, 2, values);
    EXPECT_EQ(boxOf(*a), "(-4 2 -6) (1 5 3)");
    const signed char zero[] = {0, 0, 0};
    a->set(0, 1, zero);
    EXPECT_EQ(boxOf(*a), "(-4 0 -6) (1 5 3)");

    core::Ref<VertexArray> flat = shorts(2, 2);
    const short pairs[] = {-300, 7, 300, -7};
    flat->set(0, 2, pairs);
    EXPECT_EQ(boxOf(*flat), "(-300 -7 0) (300 7 0)");
    core::Ref<VertexArray> colors = bytes(1, 4, {1, 2, 3, 4});
    EXPECT_EQ(outcomeOf([&] { colors->getBoxMax(); }),
              refused("VertexArray::getBoxMax failed (m_MinMaxInfoAvailable == false)"));
}

// The scan folds the values in runs of 16 vertices: each extreme is placed
// where losing it would show a fault of that folding (first vertex, the
// last one of a run, the first one behind the runs, the last vertex).
TEST_F(VertexDataTest, BoxOfLongArraysHoldsEveryExtreme)
{
    const struct {
        int type;
        int components;
        int extreme;
    } shapes[] = {{VertexArray::BYTE, 2, 127},
                  {VertexArray::BYTE, 3, 127},
                  {VertexArray::SHORT, 2, 32767},
                  {VertexArray::SHORT, 3, 32767}};
    const struct {
        int vertices;
        int lowAt;
        int highAt;
    } placements[] = {{1, 0, 0}, {15, 14, 0}, {16, 0, 15}, {17, 16, 15}, {33, 31, 32}, {50, 48, 17}};
    for (const auto& shape : shapes) {
        for (const auto& place : placements) {
            for (int axis = 0; axis < shape.components; ++axis) {
                SCOPED_TRACE(testing::Message() << "type " << shape.type << " x " << shape.components << ", "
                                                << place.vertices << " vertices, axis " << axis);
                const int count = place.vertices * shape.components;
                // Small values of every sign around the two extremes.
                std::vector<int> values(static_cast<std::size_t>(count));
                for (int i = 0; i < count; ++i)
                    values[static_cast<std::size_t>(i)] = i % 7 - 3;
                values[static_cast<std::size_t>(place.lowAt * shape.components + axis)] = -shape.extreme - 1;
                values[static_cast<std::size_t>(place.highAt * shape.components + axis)] = shape.extreme;
                if (place.lowAt == place.highAt)
                    values[static_cast<std::size_t>(place.lowAt * shape.components + axis)] = shape.extreme;

                core::Ref<VertexArray> array = VORNIC3D_NEW VertexArray(place.vertices, shape.components, shape.type);
                if (shape.type == VertexArray::BYTE) {
                    const std::vector<signed char> narrow(values.begin(), values.end());
                    array->set(0, place.vertices, narrow.data());
                } else {
                    const std::vector<short> wide(values.begin(), values.end());
                    array->set(0, place.vertices, wide.data());
                }
                float lo[3] = {0, 0, 0};
                float hi[3] = {0, 0, 0};
                for (int c = 0; c < shape.components; ++c) {
                    lo[c] = hi[c] = static_cast<float>(values[static_cast<std::size_t>(c)]);
                    for (int v = 1; v < place.vertices; ++v) {
                        const auto value =
                            static_cast<float>(values[static_cast<std::size_t>(v * shape.components + c)]);
                        lo[c] = std::min(lo[c], value);
                        hi[c] = std::max(hi[c], value);
                    }
                }
                char expected[100];
                std::snprintf(expected, sizeof expected, "(%g %g %g) (%g %g %g)", lo[0], lo[1], lo[2], hi[0], hi[1],
                              hi[2]);
                EXPECT_EQ(boxOf(*array), expected);
            }
        }
    }
}

TEST_F(VertexDataTest, SetChecksBeforeItCopies)
{
    core::Ref<VertexArray> a = bytes(3, 2, {1, 2, 3, 4, 5, 6});
    const signed char b[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    const short w[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    const struct {
        const char* call;
        std::function<void()> action;
    } cases[] = {
        {"null values", [&] { a->set(0, 1, static_cast<const signed char*>(nullptr)); }},
        {"16-bit values into an 8-bit array", [&] { a->set(0, 1, w); }},
        {"set(1, vertex count)", [&] { a->set(1, 3, b); }},
        {"set(-1, 1)", [&] { a->set(-1, 1, b); }},
        {"set(0, -1)", [&] { a->set(0, -1, b); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(outcomeOf(c.action), bare());
    }
    a->set(3, 0, b);
    a->set(2, 1, b);
    const auto* data = static_cast<const signed char*>(a->getData());
    EXPECT_EQ(std::vector<signed char>(data, data + 6), (std::vector<signed char>{1, 2, 3, 4, 9, 9}));
}

// An 8-bit array given to a buffer as positions or texture coordinates
// turns 16-bit in place, for every other holder too; only that way.
TEST_F(VertexDataTest, AttachingConvertsEightBitArraysInPlace)
{
    core::Ref<VertexArray> shared = bytes(2, 3, {-1, 127, -128, 4, -5, 0});
    core::Ref<VertexBuffer> normalsHolder = VORNIC3D_NEW VertexBuffer();
    normalsHolder->setNormals(shared.get());
    core::Ref<VertexBuffer> buffer = VORNIC3D_NEW VertexBuffer();
    clearLog();
    buffer->setPositions(shared.get(), 1, nullptr);
    EXPECT_EQ(normalsHolder->getNormals()->getComponentType(), VertexArray::SHORT);
    EXPECT_EQ(shortsOf(*normalsHolder->getNormals()), (Shorts{-1, 127, -128, 4, -5, 0}));
    EXPECT_EQ(boxOf(*shared), "(-1 -5 -128) (4 127 0)");
    EXPECT_EQ(countOf(log(), "VertexBuffer : convert byte array to short array\n"), 1);

    core::Ref<VertexArray> refusedArray = bytes(3, 2);
    EXPECT_EQ(outcomeOf([&] { buffer->setTexCoords(0, refusedArray.get(), 1, nullptr); }), bare());
    EXPECT_EQ(refusedArray->getComponentType(), VertexArray::BYTE);

    shared->setComponentType(VertexArray::SHORT);
    EXPECT_EQ(outcomeOf([&] { shared->setComponentType(VertexArray::BYTE); }),
              refused("setComponentType 2 -> 1 has problems!"));
    EXPECT_EQ(outcomeOf([&] { shared->setComponentType(3); }), refused("setComponentType failed. invalid parameters"));
    EXPECT_EQ(shortsOf(*shared), (Shorts{-1, 127, -128, 4, -5, 0}));
}

// ---- vertex buffers -----------------------------------------------------------------------

TEST_F(VertexDataTest, BufferSettersCheckKindAndVertexCount)
{
    core::Ref<VertexArray> ten3 = shorts(10, 3);
    core::Ref<VertexArray> twelve3 = shorts(12, 3);
    core::Ref<VertexArray> ten4 = shorts(10, 4);
    core::Ref<VertexArray> ten2 = shorts(10, 2);
    core::Ref<VertexArray> tenBytes4 = bytes(10, 4);
    core::Ref<VertexArray> tenBytes2 = bytes(10, 2);
    const float bias[3] = {1, 2, 3};
    const std::vector<SetterCase<VertexBuffer>> cases = {
        {"setPositions(2 components)", [&](VertexBuffer& b) { b.setPositions(ten2.get(), 1, nullptr); }, bare(), ""},
        {"setPositions(12 vertices)", [&](VertexBuffer& b) { b.setPositions(twelve3.get(), 1, nullptr); }, bare(), ""},
        {"setPositions(null), then 12 vertices",
         [&](VertexBuffer& b) { b.setPositions(nullptr, 0, nullptr), b.setPositions(twelve3.get(), 0.5f, nullptr); },
         accepted(), "count 12 color ffffffff positions 1 (0.5 0 0 0)"},
        {"setNormals(4 components)", [&](VertexBuffer& b) { b.setNormals(ten4.get()); }, bare(), ""},
        {"setColors(8-bit, 4 components)", [&](VertexBuffer& b) { b.setColors(tenBytes4.get()); }, accepted(),
         "colors 1"},
        {"setColors(16-bit)", [&](VertexBuffer& b) { b.setColors(ten3.get()); }, bare(), ""},
        {"setColors(2 components)", [&](VertexBuffer& b) { b.setColors(tenBytes2.get()); }, bare(), ""},
        {"setTexCoords(0, 10 x 3)", [&](VertexBuffer& b) { b.setTexCoords(0, ten3.get(), 2, bias); }, accepted(),
         "tex 1 (2 1 2 3)"},
        {"setTexCoords(1, ...)", [&](VertexBuffer& b) { b.setTexCoords(1, ten2.get(), 2, bias); }, bare(), ""},
        {"setTexScaleBias before setTexCoords", [&](VertexBuffer& b) { b.setTexScaleBias(0, 2, bias); },
         refused("No texture coordinete set to given index. Use setTexCoords before calling this method."), ""},
    };
    const auto make = [&] {
        VertexBuffer* buffer = VORNIC3D_NEW VertexBuffer();
        buffer->setPositions(ten3.get(), 2, bias);
        return buffer;
    };
    runSetterTable(cases, make, describe);
}

TEST_F(VertexDataTest, TextureBiasIsAsWideAsTheCoordinates)
{
    core::Ref<VertexBuffer> buffer = VORNIC3D_NEW VertexBuffer();
    EXPECT_EQ(texScaleBias(*buffer), Floats(4, -1));

    // Exactly two floats: reading a third would run past the caller's array.
    core::Ref<VertexArray> pairs = shorts(4, 2);
    const std::unique_ptr<float[]> two(new float[2]{5, 6});
    buffer->setTexCoords(0, pairs.get(), 0.25f, two.get());
    EXPECT_EQ(texScaleBias(*buffer), (Floats{0.25f, 5, 6, 0}));
    const float three[3] = {1, 2, 3};
    buffer->setTexCoords(0, shorts(4, 3), 1, three);
    buffer->setTexCoords(0, pairs.get(), 1, nullptr);
    buffer->setTexScaleBias(0, 0.5f, three);
    EXPECT_EQ(texScaleBias(*buffer), (Floats{0.5f, 1, 2, 0}));

    // A unit cleared with a null array has no width for a bias.
    buffer->setTexCoords(0, nullptr, 3, three);
    EXPECT_EQ(outcomeOf([&] { buffer->setTexScaleBias(0, 4, three); }), refused("NULL pointer"));
    EXPECT_EQ(texScaleBias(*buffer), (Floats{3, 0, 0, 0}));
    buffer->setTexScaleBias(0, 4, nullptr);
    EXPECT_EQ(texScaleBias(*buffer), (Floats{4, 0, 0, 0}));
}
