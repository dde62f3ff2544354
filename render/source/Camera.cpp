#include "render/Camera.h"

#include "render/ArithmeticException.h"

#include "core/Assert.h"

#include <cfloat>
#include <cmath>

namespace render {

namespace {

// π/360 as the nearest float: half the field of view, in radians.
constexpr float kHalfDegreesToRadians = 0.00872664619f;

enum Slot { FOV_OR_HEIGHT = 0, ASPECT = 1, NEAR = 2, FAR = 3, RIGHT = 4, LEFT = 5, TOP = 6, BOTTOM = 7 };

} // namespace

// ---- life cycle -------------------------------------------------------------

Camera::Camera() = default;

Camera::~Camera() noexcept(false) = default;

// ---- projections -------------------------------------------------------------------

void Camera::setGeneric(const Transform& projection)
{
    m_projection = projection;
    m_projectionType = GENERIC;
}

void Camera::setParallel(float height, float aspectRatio, float nearDistance, float farDistance)
{
    VORNIC3D_CHECK(height > 0.0f);
    VORNIC3D_CHECK(aspectRatio > 0.0f);
    m_parameters[FOV_OR_HEIGHT] = height;
    m_parameters[ASPECT] = aspectRatio;
    m_parameters[NEAR] = nearDistance;
    m_parameters[FAR] = farDistance;
    m_projectionType = PARALLEL;
}

void Camera::setParallel(float left, float right, float bottom, float top, float nearDistance, float farDistance)
{
    VORNIC3D_ASSERT(right - left != 0.0f, "setParallel failed : right - left == 0");
    VORNIC3D_ASSERT(top - bottom != 0.0f, "setParallel failed : top - bottom == 0");
    VORNIC3D_ASSERT(farDistance - nearDistance != 0.0f, "setParallel failed : farplane - nearplane == 0");
    m_parameters[NEAR] = nearDistance;
    m_parameters[FAR] = farDistance;
    m_parameters[RIGHT] = right;
    m_parameters[LEFT] = left;
    m_parameters[TOP] = top;
    m_parameters[BOTTOM] = bottom;
    m_projectionType = PARALLEL_BOX;
}

void Camera::setPerspective(float fovy, float aspectRatio, float nearDistance, float farDistance)
{
    VORNIC3D_CHECK(fovy < 180.0f);
    VORNIC3D_CHECK(fovy > 0.0f);
    VORNIC3D_CHECK(aspectRatio > 0.0f);
    VORNIC3D_CHECK(nearDistance > 0.0f);
    VORNIC3D_CHECK(farDistance > 0.0f);
    m_parameters[FOV_OR_HEIGHT] = fovy;
    m_parameters[ASPECT] = aspectRatio;
    m_parameters[NEAR] = nearDistance;
    m_parameters[FAR] = farDistance;
    m_projectionType = PERSPECTIVE;
}

// ---- queries ------------------------------------------------------------------------

int Camera::getProjectionParameters(float* params) const
{
    if (params != nullptr && (m_projectionType == PARALLEL || m_projectionType == PERSPECTIVE)) {
        for (int i = FOV_OR_HEIGHT; i <= FAR; ++i)
            params[i] = m_parameters[i];
    }
    return m_projectionType;
}

int Camera::getProjection(Transform* out) const
{
    if (out == nullptr)
        return m_projectionType;

    const float nearDistance = m_parameters[NEAR];
    const float farDistance = m_parameters[FAR];
    if (m_projectionType == PARALLEL || m_projectionType == PERSPECTIVE || m_projectionType == PARALLEL_BOX) {
        if (std::fabs(nearDistance - farDistance) <= FLT_MIN)
            throw ArithmeticException("Transformation matrix cannot be computed due to illegal perspective or "
                                      "parallel projection parameters (near == far)");
    }

    // Rows of the row-order matrix; the mat4 holds row r as its column r.
    float m[16] = {};
    switch (m_projectionType) {
    case GENERIC: *out = m_projection; return m_projectionType;
    case PERSPECTIVE: {
        const float aspect = m_parameters[ASPECT];
        const float h =
            static_cast<float>(std::tan(static_cast<double>(m_parameters[FOV_OR_HEIGHT] * kHalfDegreesToRadians)));
        const float r = 1.0f / (farDistance - nearDistance);
        m[0] = 1.0f / (aspect * h);
        m[5] = 1.0f / h;
        m[10] = -((nearDistance + farDistance) * r);
        m[11] = ((r * nearDistance) * farDistance) * -2.0f;
        m[14] = -1.0f;
        m[15] = 0.0f;
        break;
    }
    case PARALLEL: {
        const float height = m_parameters[FOV_OR_HEIGHT];
        const float r = 1.0f / (farDistance - nearDistance);
        m[0] = 2.0f / (m_parameters[ASPECT] * height);
        m[5] = 2.0f / height;
        m[10] = r * -2.0f;
        m[11] = -((farDistance + nearDistance) * r);
        m[15] = 1.0f;
        break;
    }
    case PARALLEL_BOX: {
        const float right = m_parameters[RIGHT];
        const float left = m_parameters[LEFT];
        const float top = m_parameters[TOP];
        const float bottom = m_parameters[BOTTOM];
        m[0] = 2.0f / (right - left);
        m[3] = -((right + left) / (right - left));
        m[5] = 2.0f / (top - bottom);
        m[7] = -((top + bottom) / (top - bottom));
        m[10] = -2.0f / (farDistance - nearDistance);
        m[11] = -((nearDistance + farDistance) / (farDistance - nearDistance));
        m[15] = 1.0f;
        break;
    }
    default: VORNIC3D_ASSERT(false, "Camera getProjection failed because mode is invalid");
    }
    // Every row passes the finiteness check before out changes.
    out->set(m);
    return m_projectionType;
}

} // namespace render
