#include "GameOde.h"

#include "ContactRules.h"
#include "GameGlobals.h"

namespace game {

namespace {

constexpr dReal kGravity = -18.639;
// ODE's own default mixing in double precision is 1e-10, which makes the
// contacts far stiffer than in the single-precision build the levels were
// tuned with (1e-5).
constexpr dReal kConstraintForceMixing = 1e-5;

} // namespace

// ---- life cycle -----------------------------------------------------------------------

void GameOde::createOdeClass()
{
    GameGlobals& globals = GameGlobals::get();
    VORNIC3D_CHECK(globals.m_ode == nullptr);
    GameOde* ode = VORNIC3D_NEW GameOde();
    VORNIC3D_CHECK(ode != nullptr);
    globals.m_ode = ode;
}

GameOde::GameOde()
{
    dInitODE();
    m_world = dWorldCreate();
    m_space = dSimpleSpaceCreate(nullptr);
    m_contactGroup = dJointGroupCreate(0);
    dWorldSetGravity(m_world, 0, kGravity, 0);
    dWorldSetCFM(m_world, kConstraintForceMixing);
}

GameOde::~GameOde()
{
    dJointGroupDestroy(m_contactGroup);
    dSpaceDestroy(m_space);
    dWorldDestroy(m_world);
    dCloseODE();
}

// ---- simulation ---------------------------------------------------------------------

void GameOde::step(int ms)
{
    const int elapsed = ms == 0 ? 1 : ms;
    const dReal seconds = static_cast<dReal>(static_cast<float>(elapsed) * (1.0f / 600.0f));
    for (int pass = 0; pass < 2; ++pass) {
        dWorldQuickStep(m_world, seconds);
        dJointGroupEmpty(m_contactGroup);
        dSpaceCollide(m_space, this, nearCallback);
    }
}

} // namespace game
