// One physics update of the game (GameOde::step: two solver passes with the
// contact rules in the collision callback) over a level of static tiles with
// the player resting on it, beside raw ODE doing the same steps on the same
// geoms with a callback that only makes the contacts.
#include "support/BenchEngine.h"
#include "support/RatioReporter.h"

#include "GameGlobals.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "TestGraphics3D.h"

#include "core/Globals.h"
#include "render/Image2D.h"
#include "render/Sprite3D.h"

#include <ode/ode.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kPoolSize = 16 * 1024 * 1024;
constexpr int kStringPoolSize = 64 * 1024;
constexpr int kUpdateMs = 20;
constexpr int kRowLength = 25;

// Tile i of a level: rows of 25 cells from the floor down, as a level's
// ground and walls stand.
void tilePosition(int i, float& x, float& y)
{
    x = 32.0f * static_cast<float>(i % kRowLength);
    y = -32.0f * static_cast<float>(i / kRowLength);
}

// ---- the game's physics ----------------------------------------------------------

// The renderer objects need (one without a device), the game globals, the
// world and a level with the player on its tiles.
class GameLevelWorld {
public:
    explicit GameLevelWorld(int tiles)
    {
        core::Globals* globals = core::Globals::get();
        m_renderer = VORNIC3D_NEW testsupport::TestGraphics3D();
        m_renderer->addRef();
        globals->m_graphics3D = m_renderer;

        game::GameGlobals::initClass();
        game::GameGlobals& g = *game::GameGlobals::getInstance();
        game::GameOde::createOdeClass();
        g.m_level = VORNIC3D_NEW game::GameLevel(0);
        core::Ref<render::Image2D> image = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 32, 32);
        core::Ref<render::Sprite3D> sprite = VORNIC3D_NEW render::Sprite3D(false, image.get(), nullptr);
        add(game::GameObject::TYPE_PLAYER, game::GameObject::OBJ_PULSE | game::GameObject::OBJ_CREATURE, 64.0f, 32.0f,
            sprite.get());
        for (int i = 0; i < tiles; ++i) {
            float x = 0.0f;
            float y = 0.0f;
            tilePosition(i, x, y);
            add(game::GameObject::TYPE_BLOCK, game::GameObject::OBJ_BOX | game::GameObject::OBJ_STATIC, x, y,
                sprite.get());
        }
    }

    ~GameLevelWorld() noexcept(false)
    {
        game::GameGlobals::deInitClass();
        core::Globals* globals = core::Globals::get();
        globals->m_graphics3D = nullptr;
        if (m_renderer->releaseRef() == 0)
            delete m_renderer;
    }

    void step() { game::GameGlobals::getInstance()->m_ode->step(kUpdateMs); }

private:
    static void add(int type, int flags, float x, float y, render::Sprite3D* sprite)
    {
        core::Ref<game::GameObject> object = VORNIC3D_NEW game::GameObject(type, sprite, sprite, 0, 0, 32, 32, flags);
        game::GameGlobals::getInstance()->m_objects.pushBack(object);
        object->setActive(true);
        object->setPosition(x, y, 0.0f);
    }

    testsupport::TestGraphics3D* m_renderer = nullptr;
};

// ---- raw ODE ----------------------------------------------------------------------------

// The same world, geoms and steps, with contacts made as the game makes them
// but no rules and no lookups.
class RawOdeWorld {
public:
    explicit RawOdeWorld(int tiles)
    {
        dInitODE();
        m_world = dWorldCreate();
        m_space = dSimpleSpaceCreate(nullptr);
        m_contacts = dJointGroupCreate(0);
        dWorldSetGravity(m_world, 0, -18.639, 0);
        dWorldSetCFM(m_world, 1e-5);
        const dGeomID ball = dCreateSphere(m_space, 16);
        const dBodyID body = dBodyCreate(m_world);
        dMass mass;
        dMassSetBoxTotal(&mass, 1, 32, 32, 1);
        dGeomSetBody(ball, body);
        dBodySetMass(body, &mass);
        dBodySetPosition(body, 64, 32, 0);
        for (int i = 0; i < tiles; ++i) {
            float x = 0.0f;
            float y = 0.0f;
            tilePosition(i, x, y);
            dGeomSetPosition(dCreateBox(m_space, 32, 32, 10000), x, y, 0);
        }
    }

    ~RawOdeWorld()
    {
        dJointGroupDestroy(m_contacts);
        dSpaceDestroy(m_space);
        dWorldDestroy(m_world);
        dCloseODE();
    }

    void step()
    {
        const dReal seconds = static_cast<dReal>(static_cast<float>(kUpdateMs) * (1.0f / 600.0f));
        for (int pass = 0; pass < 2; ++pass) {
            dWorldQuickStep(m_world, seconds);
            dJointGroupEmpty(m_contacts);
            dSpaceCollide(m_space, this, nearCallback);
        }
    }

private:
    static void nearCallback(void* data, dGeomID o1, dGeomID o2)
    {
        const RawOdeWorld& self = *static_cast<RawOdeWorld*>(data);
        const dBodyID b1 = dGeomGetBody(o1);
        const dBodyID b2 = dGeomGetBody(o2);
        if (b1 != nullptr && b2 != nullptr && dAreConnected(b1, b2))
            return;
        dContact contacts[10] = {};
        for (dContact& c : contacts) {
            c.surface.mode = dContactBounce | dContactSlip1 | dContactSlip2 | dContactApprox1;
            c.surface.mu = dInfinity;
            c.surface.bounce = 0.7;
            c.surface.bounce_vel = 0.2;
            c.surface.slip1 = 0.1;
            c.surface.slip2 = 0.1;
        }
        const int count = dCollide(o1, o2, 10, &contacts[0].geom, sizeof(dContact));
        for (int i = 0; i < count; ++i)
            dJointAttach(dJointCreateContact(self.m_world, self.m_contacts, &contacts[i]), b1, b2);
    }

    dWorldID m_world;
    dSpaceID m_space;
    dJointGroupID m_contacts;
};

// ---- benchmarks -------------------------------------------------------------------------

template <typename World>
void physicsUpdate(benchmark::State& state)
{
    World world(static_cast<int>(state.range(0)));
    for (auto _ : state)
        world.step();
    state.SetItemsProcessed(state.iterations());
}

void BM_GameOdeStep(benchmark::State& s)
{
    physicsUpdate<GameLevelWorld>(s);
}
void BM_RawOdeStep(benchmark::State& s)
{
    physicsUpdate<RawOdeWorld>(s);
}

#define VORNIC3D_TILES Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_GameOdeStep)->VORNIC3D_TILES;
BENCHMARK(BM_RawOdeStep)->VORNIC3D_TILES;
#undef VORNIC3D_TILES

} // namespace

int main(int argc, char** argv)
{
    benchsupport::BenchEngine engine(kPoolSize, nullptr, kStringPoolSize);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* tiles : {"100", "300", "1000"})
        pairs.emplace_back(std::string("BM_GameOdeStep/") + tiles, std::string("BM_RawOdeStep/") + tiles);
    return benchsupport::runWithRatios(argc, argv, pairs);
}
