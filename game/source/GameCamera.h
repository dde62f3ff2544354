#pragma once

#include "core/Object.h"
#include "core/Ref.h"
#include "render/Transform.h"

namespace render {
class Camera;
class Graphics3D;
} // namespace render

namespace game {

// The game's 2D follow camera: an orthographic render::Camera whose view box
// is the screen, placed by a current transform that glides toward a target.
// The translation of the current transform is the view's lower-left corner
// in world units.
// Contract: made while the renderer exists (bare assertion otherwise).
// update moves the camera the fraction ms x speed / 1000 of the remaining
// way, unclamped (a fraction above 1 overshoots), and always ends by making
// it the renderer's camera; setTransform jumps without gliding and re-
// activates the camera only when it is the renderer's current one.
class GameCamera : public core::Object {
public:
    GameCamera(float left, float top, float right, float bottom);
    ~GameCamera() override;

    // Gives the renderer this camera and the current transform; needs the
    // game globals.
    void activate();
    void setTransform(const render::Transform& transform);
    void setTarget(const render::Transform& transform);
    render::Transform getTransform() const { return m_currentTransform; }
    void setSpeed(float speed) { m_speed = speed; }
    void update(int ms);

    render::Camera* getRenderCamera() const { return m_renderCamera.get(); }

    GameCamera(const GameCamera&) = delete;
    GameCamera& operator=(const GameCamera&) = delete;

private:
    float m_speed = 1.0f;
    core::Ref<render::Camera> m_renderCamera;
    render::Transform m_currentTransform;
    render::Transform m_targetTransform;
    render::Graphics3D* m_graphics = nullptr;
};

} // namespace game
