#include "GameObject.h"

#include "GameGlobals.h"
#include "GameLevel.h"
#include "GameOde.h"

#include "render/Graphics3D.h"
#include "render/Sprite3D.h"
#include "slmath/float_helpers.h"

#include <cmath>
#include <cstdlib>

namespace game {

namespace {

constexpr int kVanishFrames = 20;
constexpr float kVanishScaleStep = 0.05f;
constexpr dReal kDamping = 0.9;
constexpr dReal kSpeedLimit = 100.0;
constexpr float kWalkerSpeed = 7.0f;
// Shadows are cut from the atlas's shadow half, twice the sheet's height
// below the picture.
constexpr int kShadowCropOffset = 512;

// The float at row-order `index` of a matrix holding render::Transform's
// floats index for index (element (row r, column c) at 4r + c).
float& element(slmath::mat4& m, int index)
{
    return m[static_cast<unsigned>(index / 4)][static_cast<unsigned>(index % 4)];
}

void clearTranslation(render::Transform& transform)
{
    float values[16];
    transform.get(values);
    values[3] = values[7] = values[11] = 0.0f;
    transform.set(values);
}

} // namespace

// ---- life cycle -----------------------------------------------------------------------

GameObject::GameObject(int type, render::Sprite3D* sprite, render::Sprite3D* shadowSprite, int cropX, int cropY,
                       int width, int height, int flags)
    : m_type(type), m_flags(flags), m_width(static_cast<float>(width)), m_height(static_cast<float>(height)),
      m_extent(width > height ? m_width : m_height),
      m_crop(static_cast<float>(2 * cropX + 1), static_cast<float>(2 * cropY + 1), 0.0f),
      m_size(static_cast<float>(width), static_cast<float>(height), 0.0f), m_sprite(sprite),
      m_shadowSprite(shadowSprite), m_rotation(1.0f)
{
    m_globals = GameGlobals::getInstance();
    VORNIC3D_CHECK(m_globals != nullptr);
    m_graphics = render::Graphics3D::getInstance();
    VORNIC3D_CHECK(sprite != nullptr);
    initODE(flags);
    setActive(false);
    setPosition(0.0f, 0.0f, 0.0f);
}

GameObject::~GameObject()
{
    destroyPhysics();
}

void GameObject::initODE(int flags)
{
    dMass mass;
    dMassSetZero(&mass);
    if ((flags & OBJ_NO_PHYSICS) != 0)
        return;
    GameOde& ode = *m_globals->m_ode;
    GameLevel& level = *m_globals->m_level;
    if ((flags & OBJ_BOX) != 0) {
        m_geom = dCreateBox(ode.getSpace(), m_width, m_height, 10000);
        dMassSetBoxTotal(&mass, 1, 10, 10, 1000);
    } else {
        m_geom = dCreateSphere(ode.getSpace(), m_width * dReal(0.5));
        dMassSetBoxTotal(&mass, 1, m_width, m_height, 1);
    }
    try {
        if ((flags & (OBJ_STATIC | OBJ_GHOST)) == 0) {
            m_body = dBodyCreate(ode.getWorld());
            dBodySetLinearVel(m_body, 0, 0, 0);
            dGeomSetBody(m_geom, m_body);
            dBodySetMass(m_body, &mass);
            dBodySetPosition(m_body, 0, 0, 0);
        }
        level.mapGeom(m_geom, this);
    } catch (...) {
        // No destructor runs for a half-made object: its geom must not stay
        // in the space.
        destroyPhysics();
        throw;
    }
    if ((flags & OBJ_GHOST) != 0)
        dGeomDisable(m_geom);
}

void GameObject::destroyPhysics()
{
    if (m_body != nullptr)
        dBodyDestroy(m_body);
    if (m_geom != nullptr)
        dGeomDestroy(m_geom);
    m_body = nullptr;
    m_geom = nullptr;
}

// ---- state ------------------------------------------------------------------------------

void GameObject::setActive(bool active)
{
    if (!m_enabled)
        return;
    m_active = active;
    if (hasFlag(OBJ_NO_PHYSICS) || hasFlag(OBJ_GHOST) || (hasFlag(OBJ_STATIC) && hasFlag(OBJ_HIDDEN)))
        return;
    setBodyEnabled(active);
    if (active)
        dGeomEnable(m_geom);
    else
        dGeomDisable(m_geom);
}

void GameObject::setBodyEnabled(bool enabled)
{
    if (m_body == nullptr)
        return;
    if (enabled)
        dBodyEnable(m_body);
    else
        dBodyDisable(m_body);
}

void GameObject::changeType(int type, int cropX, int cropY, int width, int height)
{
    m_type = type;
    m_crop = slmath::vec3(static_cast<float>(cropX), static_cast<float>(cropY), 0.0f);
    m_size = slmath::vec3(static_cast<float>(width), static_cast<float>(height), 0.0f);
}

void GameObject::startVanish()
{
    m_vanishCountdown = kVanishFrames;
}

void GameObject::push(const slmath::vec3& v, bool jump)
{
    if (hasFlag(OBJ_NO_PHYSICS) || !m_active || m_body == nullptr)
        return;
    dBodyAddForce(m_body, 0, 10 * dReal(v.y), 0);
    const dReal* velocity = dBodyGetLinearVel(m_body);
    const dReal vx = velocity[0] + v.x;
    dReal vy = velocity[1];
    const dReal vz = velocity[2];
    if (jump && v.y > 0)
        vy = std::fabs(std::trunc(vy)) + v.y;
    dBodySetLinearVel(m_body, vx, vy, vz);
}

// ---- pose -------------------------------------------------------------------------------

void GameObject::placeGeom(const slmath::vec3& position)
{
    m_position = position;
    if (!hasFlag(OBJ_NO_PHYSICS))
        dGeomSetPosition(m_geom, position.x, position.y, position.z);
}

void GameObject::setPosition(float x, float y, float z)
{
    placeGeom(slmath::vec3(x, y, z));
}

slmath::vec3 GameObject::getPosition()
{
    if (!hasFlag(OBJ_NO_PHYSICS)) {
        const dReal* p = dGeomGetPosition(m_geom);
        m_position = slmath::vec3(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
    }
    return m_position;
}

void GameObject::setRotation(const slmath::mat4& rotation)
{
    m_rotation = rotation;
    element(m_rotation, 3) = element(m_rotation, 7) = element(m_rotation, 11) = 0.0f;
    if (hasFlag(OBJ_NO_PHYSICS))
        return;
    dMatrix3 r = {};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            r[4 * row + column] = element(m_rotation, 4 * row + column);
    dGeomSetRotation(m_geom, r);
}

slmath::mat4 GameObject::getRotation()
{
    if (!hasFlag(OBJ_NO_PHYSICS)) {
        const dReal* r = dGeomGetRotation(m_geom);
        m_rotation = slmath::mat4(1.0f);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                element(m_rotation, 4 * row + column) = static_cast<float>(r[4 * row + column]);
    }
    return m_rotation;
}

void GameObject::setTransform(const render::Transform& transform)
{
    float values[16];
    transform.get(values);
    VORNIC3D_CHECK(slmath::isFinite(values[3]) && slmath::isFinite(values[7]) && slmath::isFinite(values[11]));
    setPosition(values[3], values[7], values[11]);
    slmath::mat4 rotation(1.0f);
    transform.getMatrix(rotation);
    setRotation(rotation);
}

render::Transform GameObject::getTransform()
{
    const slmath::vec3 p = getPosition();
    render::Transform transform;
    transform.postTranslate(p.x, p.y, p.z);
    transform.postMultiply(render::Transform(getRotation()));
    return transform;
}

// ---- per frame ----------------------------------------------------------------------

void GameObject::update(int ms)
{
    if (!m_enabled) {
        m_touching = 0;
        return;
    }
    if (m_active) {
        m_age += ms;
        const float age = static_cast<float>(m_age);
        if (m_type == TYPE_WALKER)
            push(slmath::vec3(m_reversed ? -kWalkerSpeed : kWalkerSpeed, 0.0f, 0.0f), false);
        // Bobbing and swaying add to the current position: the motion
        // accumulates over the updates.
        if (hasFlag(OBJ_BOB)) {
            slmath::vec3 p = getPosition();
            p.y += 4.0f * std::sin(0.005f * age);
            placeGeom(p);
        }
        if (hasFlag(OBJ_SWAY)) {
            slmath::vec3 p = getPosition();
            p.x += 4.0f * std::cos(0.001f * age);
            placeGeom(p);
        }
        if (!hasFlag(OBJ_GHOST) && !hasFlag(OBJ_STATIC) && !hasFlag(OBJ_NO_PHYSICS)) {
            const slmath::vec3 p = getPosition();
            setPosition(p.x, p.y, 0.0f);
            if (m_body != nullptr) {
                // Damping once per update, not per second, and the speed
                // limit, both in the play plane.
                dBodySetAngularVel(m_body, 0, 0, 0);
                const dReal* v = dBodyGetLinearVel(m_body);
                dReal vx = kDamping * v[0];
                dReal vy = v[1];
                const dReal speed = std::sqrt(vx * vx + vy * vy);
                if (speed > kSpeedLimit) {
                    vx *= kSpeedLimit / speed;
                    vy *= kSpeedLimit / speed;
                }
                dBodySetLinearVel(m_body, vx, vy, 0);
            }
        }
    }
    if (m_touching != 0 && m_type == TYPE_TURNING_BAR) {
        render::Transform turned(getRotation());
        turned.postRotate(2.0f, 0.0f, 0.0f, 1.0f);
        slmath::mat4 rotation(1.0f);
        turned.getMatrix(rotation);
        setRotation(rotation);
    }
    m_touching = 0;
}

void GameObject::render(const render::Transform* t)
{
    if (!m_enabled || !m_active || (hasFlag(OBJ_STATIC) && hasFlag(OBJ_HIDDEN)))
        return;
    const float age = static_cast<float>(m_age);

    // The picture's own turn and scale, about its centre.
    render::Transform turn = t != nullptr ? *t : getTransform();
    if (hasFlag(OBJ_SPIN))
        turn.postRotate(-2.0f, 0.0f, 0.0f, 1.0f);
    if (hasFlag(OBJ_SWING))
        turn.postRotate(1.9f * std::cos(0.002f * age), 0.0f, 0.0f, 1.0f);
    // Spins and swings accumulate in the pose and turn the physics shape.
    if (t == nullptr)
        setTransform(turn);
    clearTranslation(turn);
    if (hasFlag(OBJ_PULSE)) {
        const float s = std::sin(0.01f * age);
        turn.postScale(1.1f + 0.1f * s, 1.1f - 0.1f * s, 1.0f);
    }
    if (hasFlag(OBJ_THROB)) {
        const float k = 1.3f + 0.3f * std::sin(0.005f * age);
        turn.postScale(k, k, 1.0f);
    }
    if (hasFlag(OBJ_SQUEEZE))
        turn.postScale(0.7f + 0.3f * std::cos(0.01f * age) * std::sin(0.003f * age), 1.0f, 1.0f);
    if (hasFlag(OBJ_TURN_180))
        turn.postRotate(180.0f, 0.0f, 0.0f, 1.0f);
    if (hasFlag(OBJ_TURN_90))
        turn.postRotate(90.0f, 0.0f, 0.0f, 1.0f);
    clearTranslation(turn);
    if (m_vanishCountdown > 0) {
        const float scale = static_cast<float>(m_vanishCountdown) * kVanishScaleStep;
        turn.postScale(scale, scale, 1.0f);
        if (--m_vanishCountdown == 0) {
            // Drawn this once more, at the smallest scale, then gone.
            setActive(false);
            m_enabled = false;
        }
    }
    m_sprite->setSpriteTransform(&turn);

    // Where the picture goes.
    render::Transform place = t != nullptr ? *t : getTransform();
    if (hasFlag(OBJ_WOBBLE))
        place.postTranslate(10.1f * std::sin(0.005f * age), 0.0f, 0.0f);
    if (hasFlag(OBJ_JITTER))
        place.postTranslate(static_cast<float>(std::rand() % 4 - 2), 0.0f, 0.0f);
    const int cropX = static_cast<int>(m_crop.x);
    const int cropY = static_cast<int>(m_crop.y);
    const int width = static_cast<int>(m_size.x);
    const int height = static_cast<int>(m_size.y);
    if (m_globals->m_shadows != 0) {
        render::Transform shadow;
        shadow.postTranslate(static_cast<float>(m_globals->m_shadowOffsetX),
                             static_cast<float>(m_globals->m_shadowOffsetY), 0.0f);
        shadow.postMultiply(place);
        m_shadowSprite->setSpriteTransform(&turn);
        m_shadowSprite->setCrop(cropX, cropY + kShadowCropOffset, width, height);
        m_graphics->render(m_shadowSprite.get(), shadow);
    }
    // In front of its shadow.
    place.postTranslate(0.0f, 0.0f, 1.0f);
    m_sprite->setCrop(cropX, cropY, width, height);
    m_graphics->render(m_sprite.get(), place);
}

} // namespace game
