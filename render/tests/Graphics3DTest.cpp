#include "SceneGraphTest.h"

#include "render/ArithmeticException.h"
#include "render/FontException.h"
#include "render/Graphics3DException.h"

#include "core/Globals.h"

#include <functional>
#include <string>

namespace {

using namespace testsupport;

class Graphics3DTest : public SceneGraphTest {};

} // namespace

TEST(Graphics3DWithoutRegistry, GetInstanceSaysGlobalsIsUninitialized)
{
    EXPECT_EQ(messageOf<AssertationFailedException>([] { render::Graphics3D::getInstance(); }),
              "Graphics3D::getInstance failed because Globals is uninitialized");
}

// The refused object's memory goes back to the pool (the leak check at
// teardown would see it otherwise); once the slot is empty, getInstance
// fails and a new renderer may be made.
TEST_F(Graphics3DTest, ASecondRendererIsRefusedWhileTheSlotIsTaken)
{
    EXPECT_EQ(outcomeOf([] { core::Ref<render::Graphics3D> second = VORNIC3D_NEW TestGraphics3D(); }),
              refused("Graphics3D object is available. Can not create a new one."));
    EXPECT_EQ(render::Graphics3D::getInstance(), &renderer());

    core::Globals::get()->m_graphics3D = nullptr;
    EXPECT_EQ(outcomeOf([] { render::Graphics3D::getInstance(); }),
              refused("Graphics3D::getInstance failed because Globals does not include Graphics3D object"));
    EXPECT_NE(core::Ref<render::Graphics3D>(VORNIC3D_NEW TestGraphics3D()), nullptr);
    core::Globals::get()->m_graphics3D = &renderer();
}

// The renderer's typed exceptions, caught as the root record: each carries
// its text and no source record.
TEST(RenderExceptions, TypedExceptionsCarryOnlyTheirText)
{
    const struct {
        const char* type;
        std::function<void()> raise;
        const char* message;
    } cases[] = {
        {"ArithmeticException", [] { throw render::ArithmeticException("Transform not invertible"); },
         "Transform not invertible"},
        {"FontException", [] { throw render::FontException("Font2DBitmap error"); }, "Font2DBitmap error"},
        {"Graphics3DException", [] { throw render::Graphics3DException("Graphics3D probe"); }, "Graphics3D probe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        std::string record = "nothing thrown";
        try {
            c.raise();
        } catch (const Vornic3DException& e) {
            record = std::string(e.message) + "|" + e.sourceFile + "|" + e.function + "|" + std::to_string(e.line);
        }
        EXPECT_EQ(record, std::string(c.message) + "|||0");
    }
}
