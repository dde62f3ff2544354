#include "GameCamera.h"

#include "GameGlobals.h"

#include "core/Debug.h"
#include "render/Camera.h"
#include "render/Graphics3D.h"

namespace game {

namespace {

constexpr float kNear = -1000.0f;
constexpr float kFar = 1000.0f;

} // namespace

// ---- life cycle -----------------------------------------------------------------------

GameCamera::GameCamera(float left, float top, float right, float bottom)
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameCamera 2D constructor\n");
    m_graphics = render::Graphics3D::getInstance();
    VORNIC3D_CHECK(m_graphics != nullptr);
    m_renderCamera = VORNIC3D_NEW render::Camera();
    VORNIC3D_CHECK(m_renderCamera != nullptr);
    m_renderCamera->setParallel(left, right, bottom, top, kNear, kFar);
}

GameCamera::~GameCamera()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "GameCamera destructor\n");
}

// ---- placing ----------------------------------------------------------------------------

void GameCamera::activate()
{
    VORNIC3D_CHECK(GameGlobals::getInstance() != nullptr);
    VORNIC3D_CHECK(m_graphics != nullptr);
    m_graphics->setCamera(m_renderCamera.get(), m_currentTransform);
}

void GameCamera::setTransform(const render::Transform& transform)
{
    m_currentTransform = transform;
    m_targetTransform = transform;
    if (m_graphics->getCamera(nullptr) == m_renderCamera.get())
        activate();
}

void GameCamera::setTarget(const render::Transform& transform)
{
    m_targetTransform = transform;
}

void GameCamera::update(int ms)
{
    // The move from where the camera is to where it should be; of it, the
    // translation is covered by the fraction, the rotation whole.
    render::Transform move = m_currentTransform;
    move.invert();
    move.postMultiply(m_targetTransform);
    float values[16];
    move.get(values);
    if (values[3] != 0.0f || values[7] != 0.0f || values[11] != 0.0f) {
        const float fraction = static_cast<float>(ms) * m_speed * 0.001f;
        values[3] *= fraction;
        values[7] *= fraction;
        values[11] *= fraction;
        move.set(values);
        m_currentTransform.postMultiply(move);
    }
    activate();
}

} // namespace game
