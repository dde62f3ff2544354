#include "ContactRules.h"

#include "GameGlobals.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "ProgramGlobals.h"

namespace game {

namespace {

constexpr int kMaxContacts = 10;
constexpr dReal kBounce = 0.7;
constexpr dReal kBouncerBounce = 1.4;
constexpr dReal kBounceVelocity = 0.2;
constexpr dReal kSlip = 0.1;
constexpr int kCooldownAfterCrack = 120;
constexpr dReal kBrake = 0.8;
// The cracked-block picture: the atlas place of the sheet cell (224, 0).
constexpr int kCrackedCropX = 449;
constexpr int kCrackedCropY = 1;
constexpr float kPusherSpeed = -10.0f;
constexpr float kJumpSpeed = 10.0f;

bool isPlayer(const GameObject& object)
{
    return object.m_type == GameObject::TYPE_PLAYER;
}

// ---- the rules -------------------------------------------------------------------------

// Rules 1 to 8 in their order; returns the bounce of the pair's contacts.
dReal applyRules(GameGlobals& globals, GameLevel& level, GameObject& obj1, GameObject& obj2)
{
    // Walkers turn at whatever they meet.
    if (obj1.m_type == GameObject::TYPE_WALKER)
        obj1.m_reversed = !obj1.m_reversed;
    if (obj2.m_type == GameObject::TYPE_WALKER)
        obj2.m_reversed = !obj2.m_reversed;

    if ((isPlayer(obj1) && (obj2.m_flags & GameObject::OBJ_LETHAL) != 0) ||
        (isPlayer(obj2) && (obj1.m_flags & GameObject::OBJ_LETHAL) != 0))
        globals.m_objects[GameGlobals::kPlayerSlot]->setActive(false);

    const dReal bounce =
        obj1.m_type == GameObject::TYPE_BOUNCER || obj2.m_type == GameObject::TYPE_BOUNCER ? kBouncerBounce : kBounce;

    // A door takes a key on every call while the player touches it; the
    // levels count on that.
    if ((obj1.m_type == GameObject::TYPE_DOOR && isPlayer(obj2)) ||
        (obj2.m_type == GameObject::TYPE_DOOR && isPlayer(obj1))) {
        if (level.m_keys > 0) {
            --level.m_keys;
            for (GameObject* door : {&obj1, &obj2})
                if (door->m_type == GameObject::TYPE_DOOR && door->m_vanishCountdown == 0)
                    door->startVanish();
        }
    }

    // A cracked block vanishes at the player's touch, but not while a crack
    // is fresh; a crackable block cracks after that test, so not both at once.
    for (GameObject* block : {&obj1, &obj2}) {
        GameObject* other = block == &obj1 ? &obj2 : &obj1;
        if (g_vanishCooldown == 0 && block->m_type == GameObject::TYPE_CRACKED && isPlayer(*other) &&
            block->m_vanishCountdown == 0)
            block->startVanish();
    }
    for (GameObject* block : {&obj1, &obj2}) {
        GameObject* other = block == &obj1 ? &obj2 : &obj1;
        if (block->m_type == GameObject::TYPE_CRACKABLE && isPlayer(*other)) {
            block->changeType(GameObject::TYPE_CRACKED, kCrackedCropX, kCrackedCropY, 32, 32);
            g_vanishCooldown = kCooldownAfterCrack;
        }
    }

    // A pusher carries whatever meets it, in either order of the pair.
    if (obj1.m_type == GameObject::TYPE_PUSHER)
        obj2.push(slmath::vec3(kPusherSpeed, 0.0f, 0.0f), false);
    if (obj2.m_type == GameObject::TYPE_PUSHER)
        obj1.push(slmath::vec3(kPusherSpeed, 0.0f, 0.0f), false);

    // Only in the order the space presents the pair: the player first.
    if (obj2.m_type == GameObject::TYPE_BRAKE && isPlayer(obj1) && obj1.m_body != nullptr) {
        const dReal* v = dBodyGetLinearVel(obj1.m_body);
        dBodySetLinearVel(obj1.m_body, v[0] * kBrake, v[1] * kBrake, v[2] * kBrake);
    }
    return bounce;
}

// ---- the contacts -----------------------------------------------------------------------

void jumpIfRequested(GameObject& object)
{
    if (!object.m_jumpRequest)
        return;
    object.push(slmath::vec3(0.0f, kJumpSpeed, 0.0f), true);
    object.m_jumpRequest = false;
}

void makeContacts(GameOde& ode, GameGlobals& globals, dGeomID o1, dGeomID o2, GameObject& obj1, GameObject& obj2,
                  dReal bounce)
{
    // Value-initialised first: this ODE's contact record has more fields than
    // the ones set here, and none may be left unset.
    dContact contacts[kMaxContacts] = {};
    for (dContact& contact : contacts) {
        contact.surface.mode = dContactBounce | dContactSlip1 | dContactSlip2 | dContactApprox1;
        contact.surface.mu = dInfinity;
        contact.surface.bounce = bounce;
        contact.surface.bounce_vel = kBounceVelocity;
        contact.surface.slip1 = kSlip;
        contact.surface.slip2 = kSlip;
    }
    const int count = dCollide(o1, o2, kMaxContacts, &contacts[0].geom, sizeof(dContact));
    if (count == 0)
        return;
    obj1.m_touching = 1;
    obj2.m_touching = 1;

    // The player jumps only off something whose centre lies below its own.
    GameObject& player = *globals.m_objects[GameGlobals::kPlayerSlot];
    const dReal* p1 = dGeomGetPosition(o1);
    const dReal* p2 = dGeomGetPosition(o2);
    if (o1 == player.m_geom) {
        if (p1[1] > p2[1])
            jumpIfRequested(player);
    } else if (o2 == player.m_geom) {
        if (p2[1] > p1[1])
            jumpIfRequested(player);
    } else {
        jumpIfRequested(obj1);
        jumpIfRequested(obj2);
    }

    const dBodyID b1 = dGeomGetBody(o1);
    const dBodyID b2 = dGeomGetBody(o2);
    for (int i = 0; i < count; ++i) {
        const dJointID joint = dJointCreateContact(ode.getWorld(), ode.getContactGroup(), &contacts[i]);
        dJointAttach(joint, b1, b2);
    }
}

} // namespace

// ---- the callback ------------------------------------------------------------------------

void nearCallback(void* data, dGeomID o1, dGeomID o2)
{
    VORNIC3D_CHECK(data != nullptr);
    GameGlobals& globals = GameGlobals::get();
    if (dGeomGetClass(o1) == dTriMeshClass && dGeomGetClass(o2) == dTriMeshClass)
        return;
    const dBodyID b1 = dGeomGetBody(o1);
    const dBodyID b2 = dGeomGetBody(o2);
    if (b1 != nullptr && b2 != nullptr && dAreConnected(b1, b2))
        return;

    GameLevel& level = *globals.m_level;
    GameObject* obj1 = level.findObject(o1);
    GameObject* obj2 = level.findObject(o2);
    VORNIC3D_CHECK(obj1 != nullptr && obj2 != nullptr);

    const dReal bounce = applyRules(globals, level, *obj1, *obj2);
    makeContacts(*static_cast<GameOde*>(data), globals, o1, o2, *obj1, *obj2, bounce);

    if (g_vanishCooldown > 0)
        --g_vanishCooldown;
}

} // namespace game
