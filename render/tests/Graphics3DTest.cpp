#include "SceneGraphTest.h"

#include "core/Globals.h"

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
