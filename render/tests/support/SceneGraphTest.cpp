#include "SceneGraphTest.h"

#include "core/Debug.h"

namespace testsupport {

// ---- fixture ------------------------------------------------------------------

void SceneGraphTest::SetUp()
{
    EngineTest::SetUp();
    m_renderer = createRenderer();
    m_renderer->addRef();
    core::Globals::get()->m_graphics3D = m_renderer;
}

TestGraphics3D* SceneGraphTest::createRenderer()
{
    return VORNIC3D_NEW TestGraphics3D();
}

void SceneGraphTest::TearDown()
{
    core::Globals::get()->m_graphics3D = nullptr;
    if (m_renderer->releaseRef() == 0)
        delete m_renderer;
    m_renderer = nullptr;
    EngineTest::TearDown();
}

// ---- outcomes -------------------------------------------------------------------

std::ostream& operator<<(std::ostream& out, const Outcome& outcome)
{
    if (outcome.message.empty())
        return out << "accepted";
    return out << (outcome.logged ? "logged \"" : "unlogged \"") << outcome.message << '"';
}

Outcome outcomeOf(const std::function<void()>& action)
{
    const int errors = core::Debug::getErrorCount();
    try {
        action();
    } catch (const AssertationFailedException& e) {
        return {e.message, core::Debug::getErrorCount() > errors};
    }
    return {};
}

} // namespace testsupport
