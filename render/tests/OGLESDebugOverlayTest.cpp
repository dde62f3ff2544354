#include "OGLESTest.h"
#include "OGLES_Graphics3DInspector.h"

#include "render/Appearance.h"
#include "render/Mesh.h"
#include "render/Texture2D.h"
#include "render/TriangleListArray.h"
#include "render/VertexArray.h"

#include <chrono>
#include <thread>
#include <vector>

namespace {

using Inspector = render::OGLES_Graphics3DInspector;
using render::Transform;

// A frame wide enough for the longest overlay line (64 cells of 8 pixels)
// and high enough for all thirteen.
class OGLESDebugOverlayTest : public testsupport::OGLESTest {
protected:
    OGLESDebugOverlayTest() : OGLESTest(512, 136) {}

    void useOverlay(bool info, bool fps, bool meshes = false)
    {
        render::Graphics3DConfig config = defaultConfig();
        config.debug_info = info;
        config.debug_fps = fps;
        config.debug_meshes = meshes;
        config.max_dynamic_buffer_size = 400;
        restartRenderer(config);
    }
    // A screen frame that draws `mesh` (when given) under the screen camera.
    void frame(render::Mesh* mesh = nullptr)
    {
        g3d().bindTarget(nullptr);
        clearTo(kBlack);
        useScreenCamera();
        if (mesh != nullptr)
            g3d().render(mesh, Transform());
        g3d().releaseTarget();
    }
    // The overlay's lines as drawn, trailing blanks dropped.
    std::vector<std::string> lines() const
    {
        std::vector<std::string> result;
        for (int line = 0; line < 13; ++line) {
            std::string text = builtInTextAt(0, 10 * line, 64);
            result.push_back(text.erase(text.find_last_not_of(' ') + 1));
        }
        return result;
    }
    // Off the frame: one submesh of 6 indices and one of 12.
    static core::Ref<render::Mesh> twoSubmeshes()
    {
        const unsigned short twice[] = {0, 1, 3, 2, 3, 1, 0, 1, 3, 2, 3, 1};
        core::Vector<core::Ref<render::IndexBuffer>> triangles;
        triangles.pushBack(rectangleTriangles());
        triangles.pushBack(VORNIC3D_NEW render::TriangleListArray(twice, 12));
        core::Vector<core::Ref<render::Appearance>> appearances;
        appearances.pushBack(VORNIC3D_NEW render::Appearance());
        appearances.pushBack(VORNIC3D_NEW render::Appearance());
        return VORNIC3D_NEW render::Mesh(rectangle(1000, 1000, 1010, 1010).get(), triangles, appearances);
    }
};

} // namespace

// The first frame shows the counters of its own drawing; the second also
// counts the first one's end-of-frame flush of the overlay lines.
TEST_F(OGLESDebugOverlayTest, LinesShowTheCountersOfTheFrameBefore)
{
    useOverlay(true, false);
    core::Ref<render::Mesh> mesh = twoSubmeshes();
    frame(mesh.get());
    const std::vector<std::string> first = lines();
    const std::vector<std::string> expected = {
        "BUFFERS USED      : 0/2", "TRIANGLE COUNT    : 6", "NODE COUNT        : 2",
        "CAMERA SET COUNT  : 7",   "LIGHTS COUNT      : 0", "CAMERA POSITION   : 0.00 0.00 0.00",
        "FRAME             : 0",   "FPS               : 0", "DRAW CALLS        : 2",
    };
    EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + 9), expected);
    const char* const memory[] = {
        "MEMORY USED       : ", "MEMORY PEAK       : ", "ALLOCATED BLOCKS  : ", "ALLOCATION COUNT  : "};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(first[9 + i].rfind(memory[i], 0), 0u) << first[9 + i];
    EXPECT_NE(first[9].find(" / " + std::to_string(mainPool()->getDataBlockSize()) + " BYTES : "), std::string::npos);

    // Every line but the first and the ninth ends in a blank: one quad each.
    int quads = 11;
    for (const std::string& line : first)
        quads += static_cast<int>(line.size());
    frame();
    const std::vector<std::string> second = lines();
    EXPECT_EQ(second[0], "BUFFERS USED      : 1/2");
    EXPECT_EQ(second[1], "TRIANGLE COUNT    : " + std::to_string(2 * quads));
    EXPECT_EQ(second[2], "NODE COUNT        : 1");
    // The flush drew the lines under their own camera: two more sets.
    EXPECT_EQ(second[3], "CAMERA SET COUNT  : 9");
    EXPECT_EQ(second[6], "FRAME             : 1");
    EXPECT_EQ(second[8], "DRAW CALLS        : 1");

    // A texture target's release ends no frame; the screen's release after
    // it does. Draws: the last frame's flush of its lines, then the mesh's two.
    core::Ref<render::Image2D> blank = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 16, 16);
    core::Ref<render::Texture2D> target = g3d().createNewTexture();
    target->setImage(blank.get());
    g3d().bindTarget(nullptr);
    g3d().bindTarget(target.get());
    g3d().render(mesh.get(), Transform());
    g3d().releaseTarget();
    EXPECT_EQ(std::pair(Inspector::frameNumber(g3d()), Inspector::draws(g3d())), std::pair(2, 3));
    g3d().releaseTarget();
    EXPECT_EQ(Inspector::frameNumber(g3d()), 3);
}

// Without the lines the overlay draws and logs nothing but still ends the
// frame: the counters go to 0 and the frame number rises. With only the
// frame rate, one second of frames gives one log line.
TEST_F(OGLESDebugOverlayTest, WithoutTheLinesNothingIsDrawnButTheFrameEnds)
{
    core::Ref<render::Mesh> mesh = twoSubmeshes();
    for (const bool fps : {false, true}) {
        SCOPED_TRACE(fps);
        useOverlay(false, fps);
        clearLog();
        frame(mesh.get());
        if (fps)
            std::this_thread::sleep_for(std::chrono::milliseconds(1001));
        frame(mesh.get());
        EXPECT_EQ(std::pair(Inspector::frameNumber(g3d()), Inspector::draws(g3d())), std::pair(2, 0));
        EXPECT_EQ(builtInTextAt(0, 0, 23), std::string(23, ' '));
        EXPECT_EQ(testsupport::countOf(log(), "FPS : 2\n"), fps ? 1 : 0);
    }
}

// A mesh that draws nothing but its box: stored positions from (10, 10) to
// (40, 30), flat in z, placed half a pixel in by its bias.
TEST_F(OGLESDebugOverlayTest, MeshBoxesTraceTheStoredPositions)
{
    const short corners[] = {10, 10, 2, 40, 30, 2, 25, 20, 2};
    core::Ref<render::VertexArray> positions = VORNIC3D_NEW render::VertexArray(3, 3, render::VertexArray::SHORT);
    positions->set(0, 3, corners);
    core::Ref<render::VertexBuffer> vertices = VORNIC3D_NEW render::VertexBuffer();
    const float bias[] = {0.5f, 0.5f, 0.0f};
    vertices->setPositions(positions.get(), 1.0f, bias);
    const unsigned short nothing[] = {0, 0, 0};
    core::Ref<render::IndexBuffer> triangles = VORNIC3D_NEW render::TriangleListArray(nothing, 3);
    core::Ref<render::Mesh> mesh = VORNIC3D_NEW render::Mesh(vertices.get(), triangles.get(), nullptr);
    for (const bool boxes : {false, true}) {
        SCOPED_TRACE(boxes);
        useOverlay(false, false, boxes);
        frame(mesh.get());
        std::string edges;
        for (const auto& [x, y] : {std::pair{25, 10}, {25, 30}, {10, 20}, {40, 20}, {25, 20}})
            edges += pixelAt(x, y) == kWhite ? '#' : '.';
        EXPECT_EQ(edges, boxes ? "####." : ".....");
    }
}
