#pragma once

#include "render/Node.h"
#include "render/Transform.h"

namespace render {

// The node a scene is viewed from: its composite transform places the eye,
// its projection maps eye space to clip space in the OpenGL convention (the
// eye looks down -z; clip depth runs from -1 at the near plane to +1 at the
// far one).
// Contract: a projection is chosen by one of the four setters, which check
// their arguments before they store; the matrix is computed on each
// getProjection, which refuses a projection whose near and far planes meet
// with render::ArithmeticException.
class Camera : public Node {
public:
    enum ProjectionType { GENERIC = 48, PARALLEL = 49, PERSPECTIVE = 50, PARALLEL_BOX = 51 };

    Camera();
    ~Camera() noexcept(false) override;

    // ---- projections ----
    // The given matrix as it is; the parameters keep their values.
    void setGeneric(const Transform& projection);
    // Centred orthographic view: height > 0, aspectRatio > 0.
    void setParallel(float height, float aspectRatio, float nearDistance, float farDistance);
    // Orthographic box; each of its three extents must be non-zero (a
    // negative one mirrors the view).
    void setParallel(float left, float right, float bottom, float top, float nearDistance, float farDistance);
    // 0 < fovy < 180 degrees, aspectRatio > 0, both distances > 0.
    void setPerspective(float fovy, float aspectRatio, float nearDistance, float farDistance);

    // ---- queries ----
    // Writes field of view (or height), aspect ratio, near and far into
    // params[0..3] for PARALLEL and PERSPECTIVE only; returns the type.
    int getProjectionParameters(float* params) const;
    // Fills a non-null out with the projection matrix; returns the type.
    int getProjection(Transform* out) const;

private:
    Transform m_projection;
    // 0: field of view or height, 1: aspect ratio, 2: near, 3: far,
    // 4..7: right, left, top, bottom of the box.
    float m_parameters[8] = {};
    int m_projectionType = GENERIC;
};

} // namespace render
