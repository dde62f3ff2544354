#pragma once

#include "core/Object.h"
#include "core/Ref.h"
#include "render/Transform.h"
#include "slmath/mat4.h"
#include "slmath/vec3.h"

#include <ode/ode.h>

#include <cstdint>

namespace render {
class Graphics3D;
class Sprite3D;
} // namespace render

namespace game {

class GameGlobals;

// One thing of a level (the player, a tile, a star, a key, a door, a hazard,
// an overlay picture): a crop of the level's sprite atlas, an optional ODE
// geom and body, a type number and a word of behaviour flags that the contact
// rules, the level update and the run state act on through the public fields.
// Contract: made while the globals hold the physics world and the level
// (its geom goes into the level's map); made inactive at the origin, so the
// level places and activates it. ODE works in double precision here: poses
// and velocities are converted element by element, never copied as blocks.
// Rotations are 4x4 matrices holding render::Transform's floats index for
// index (row order: the translation at 3, 7 and 11), kept free of
// translation. After a vanish has ended the object is gone for good:
// setActive, update and render ignore it. Destroying it destroys its body
// and geom, which must happen before the physics world goes.
class GameObject : public core::Object {
public:
    // Behaviour flags (m_flags).
    enum Flags {
        OBJ_BOX = 0x1,         // a box geom, else a sphere
        OBJ_STATIC = 0x2,      // a geom without a body
        OBJ_WOBBLE = 0x4,      // drawn shifted to and fro in x
        OBJ_SPIN = 0x8,        // turns by -2 degrees on every frame drawn at its own pose
        OBJ_CREATURE = 0x10,   // no behaviour; the player and the walkers carry it
        OBJ_NO_PHYSICS = 0x20, // neither geom nor body
        OBJ_PULSE = 0x40,      // squash and stretch while drawn
        OBJ_SWING = 0x80,      // swings about z on every frame drawn at its own pose
        OBJ_GHOST = 0x100,     // a geom without a body, disabled: collides with nothing
        OBJ_HIDDEN = 0x200,    // with OBJ_STATIC: never drawn, setActive leaves the physics alone
        OBJ_TURN_180 = 0x400,
        OBJ_TURN_90 = 0x800,
        OBJ_LETHAL = 0x1000,   // touching it kills the player
        OBJ_BOB = 0x2000,      // moves in y on every update
        OBJ_SWAY = 0x4000,     // moves in x on every update
        OBJ_THROB = 0x8000,    // uniform scale pulse while drawn
        OBJ_SQUEEZE = 0x10000, // x-scale pulse while drawn
        OBJ_JITTER = 0x20000,  // drawn shifted by a random whole number from -2 to 1 in x
    };

    // Object types (m_type), as the levels make them.
    enum Type {
        TYPE_PLAYER = 0,
        TYPE_ARROW = 1,
        TYPE_HUD_BAND = 2,
        TYPE_MARKER = 3,
        TYPE_BLOCK = 4,
        TYPE_THIN_PLATFORM = 5,
        TYPE_STAR = 6,
        TYPE_SPINNING_BAR = 7,
        TYPE_SWINGING_BAR = 8,
        TYPE_BOUNCER = 9,
        TYPE_EARLY_PLATFORM = 10, // present in the first half of the platform cycle
        TYPE_LATE_PLATFORM = 11,  // present in the second half
        TYPE_WALKER = 12,
        TYPE_LIFT = 13,
        TYPE_CRACKABLE = 14,
        TYPE_CRACKED = 15,
        TYPE_BRAKE = 16,
        TYPE_PUSHER = 17,
        TYPE_CRATE = 18,
        TYPE_BARRIER = 19,
        TYPE_MOVING_BAR = 20,
        TYPE_LONG_BLOCK = 21,
        TYPE_KEY = 22,
        TYPE_DOOR = 23,
        TYPE_LEDGE = 24,
        TYPE_TURNING_BAR = 25,
        TYPE_RISING_BEAM = 26,
        TYPE_SLIDING_BEAM = 27,
        TYPE_SCROLLING_BEAM = 28,
    };

    // The picture is the sheet cell at (cropX, cropY) of width x height
    // pixels (its atlas place is (2 cropX + 1, 2 cropY + 1)); the object is
    // width x height units. The sprite must not be null.
    GameObject(int type, render::Sprite3D* sprite, render::Sprite3D* shadowSprite, int cropX, int cropY, int width,
               int height, int flags);
    ~GameObject() override;

    // ---- state ----
    // Simulated, colliding and drawn, or none of these.
    void setActive(bool active);
    void setBodyEnabled(bool enabled);
    // A new type and picture, the crop given in atlas pixels; the physics
    // shape stays.
    void changeType(int type, int cropX, int cropY, int width, int height);
    // Starts the 20-frame shrink after which the object is gone.
    void startVanish();
    // Adds v.x to the x velocity (and a small upward force); a jump sets the
    // vertical speed to |trunc(vy)| + v.y. Only for active objects with a body.
    void push(const slmath::vec3& v, bool jump);

    // ---- pose ----
    void setPosition(float x, float y, float z);
    slmath::vec3 getPosition();
    // Column 3 of rows 0 to 2 (indices 3, 7, 11) is cleared before storing.
    void setRotation(const slmath::mat4& rotation);
    slmath::mat4 getRotation();
    // Position from the translation (indices 3, 7, 11, which must be finite),
    // rotation from the whole matrix.
    void setTransform(const render::Transform& transform);
    render::Transform getTransform();

    // ---- per frame ----
    // Once per run-state update: age, walking, bobbing and swaying, damping
    // of the x speed and the speed limit, the turning bar's turn.
    void update(int ms);
    // Draws the object (and its shadow when shadows are on) with the level's
    // shared sprite; at its own pose when t is null, which also applies its
    // spin or swing to the pose, else at t.
    void render(const render::Transform* t);

    // The picture in atlas pixels.
    const slmath::vec3& getCrop() const { return m_crop; }
    const slmath::vec3& getSize() const { return m_size; }

    // ---- read and written by the rules, the level and the run state ----
    dBodyID m_body = nullptr;
    dGeomID m_geom = nullptr;
    // Drawn frames left of the vanish; 0 = not vanishing.
    std::int32_t m_vanishCountdown = 0;
    std::int32_t m_type;
    // 1 when a collision pass since the last update found contact points.
    std::int32_t m_touching = 0;
    bool m_jumpRequest = false;
    std::int32_t m_flags;
    // A walker's direction; the contact rules flip it.
    bool m_reversed = false;
    // Size in world units and the larger of the two.
    float m_width;
    float m_height;
    float m_extent;
    bool m_active = false;
    // False for good once a vanish has ended.
    bool m_enabled = true;

    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

private:
    void initODE(int flags);
    void destroyPhysics();
    bool hasFlag(int flag) const { return (m_flags & flag) != 0; }
    // Stores the position and moves the geom (and its body), if any.
    void placeGeom(const slmath::vec3& position);

    render::Graphics3D* m_graphics = nullptr;
    slmath::vec3 m_crop;
    slmath::vec3 m_size;
    GameGlobals* m_globals = nullptr;
    core::Ref<render::Sprite3D> m_sprite;
    core::Ref<render::Sprite3D> m_shadowSprite;
    std::int32_t m_age = 0;
    slmath::mat4 m_rotation;
    slmath::vec3 m_position;
};

} // namespace game
