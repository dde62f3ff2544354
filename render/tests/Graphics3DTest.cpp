#include "EngineTest.h"
#include "TestGraphics3D.h"

#include "core/Globals.h"
#include "core/Ref.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testsupport::countOf;
using testsupport::TestGraphics3D;
const auto assertionOf = testsupport::messageOf<AssertationFailedException>;

class Graphics3DTest : public testsupport::EngineTest {
protected:
    // The reference is empty by then (TearDown), so nothing can throw here.
    ~Graphics3DTest() noexcept override {}

    void TearDown() override
    {
        core::Globals::get()->m_graphics3D = nullptr;
        m_renderer = nullptr;
        EngineTest::TearDown();
    }

    core::Ref<TestGraphics3D> m_renderer;
};

} // namespace

TEST(Graphics3DWithoutRegistry, GetInstanceSaysGlobalsIsUninitialized)
{
    EXPECT_EQ(assertionOf([] { render::Graphics3D::getInstance(); }),
              "Graphics3D::getInstance failed because Globals is uninitialized");
}

TEST_F(Graphics3DTest, GetInstanceWithEmptySlotFailsAndLogs)
{
    const std::string text = "Graphics3D::getInstance failed because Globals does not include Graphics3D object";
    EXPECT_EQ(assertionOf([] { render::Graphics3D::getInstance(); }), text);
    EXPECT_EQ(countOf(log(), " ERROR  |"), 1);
    EXPECT_EQ(countOf(log(), text), 1);
}

TEST_F(Graphics3DTest, SecondRendererIsRefusedUntilTheSlotIsCleared)
{
    m_renderer = VORNIC3D_NEW TestGraphics3D();
    core::Globals::get()->m_graphics3D = m_renderer.get();
    const std::string text = "Graphics3D object is available. Can not create a new one.";
    // The refused object's memory goes back to the pool (the leak check at
    // teardown would see it otherwise).
    EXPECT_EQ(assertionOf([] { core::Ref<render::Graphics3D> second = VORNIC3D_NEW TestGraphics3D(); }), text);
    EXPECT_EQ(countOf(log(), text), 1);
    EXPECT_EQ(render::Graphics3D::getInstance(), m_renderer.get());

    core::Globals::get()->m_graphics3D = nullptr;
    m_renderer = nullptr;
    m_renderer = VORNIC3D_NEW TestGraphics3D();
    EXPECT_NE(m_renderer.get(), nullptr);
}
