#include "render/Transformable.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Transformable::Transformable()
    : m_translation(0.0f, 0.0f, 0.0f), m_scale(1.0f, 1.0f, 1.0f), m_orientation{1.0f, 0.0f, 0.0f, 0.0f}
{
}

Transformable::~Transformable() noexcept(false) = default;

// ---- components ------------------------------------------------------------------

void Transformable::setTranslation(float tx, float ty, float tz)
{
    m_translation = slmath::vec3(tx, ty, tz);
}

void Transformable::setScale(float sx, float sy, float sz)
{
    m_scale = slmath::vec3(sx, sy, sz);
}

void Transformable::setOrientation(float angle, float ax, float ay, float az)
{
    VORNIC3D_ASSERT(!(ax == 0.0f && ay == 0.0f && az == 0.0f && angle != 0.0f), "Rotation axis zero and angle nonzero");
    // A zero axis with a zero angle fails here: its length is below FLT_MIN.
    const slmath::vec3 axis = slmath::normalize(slmath::vec3(ax, ay, az));
    m_orientation[0] = axis.x;
    m_orientation[1] = axis.y;
    m_orientation[2] = axis.z;
    m_orientation[3] = angle;
}

void Transformable::setTransform(const Transform& transform)
{
    m_transform = transform;
}

void Transformable::getCompositeTransform(Transform* out) const
{
    VORNIC3D_ASSERT(out != nullptr, "transform parameter is 0");
    Transform composite;
    composite.postTranslate(m_translation.x, m_translation.y, m_translation.z);
    composite.postRotate(m_orientation[3], m_orientation[0], m_orientation[1], m_orientation[2]);
    composite.postScale(m_scale.x, m_scale.y, m_scale.z);
    composite.postMultiply(m_transform);
    *out = composite;
}

} // namespace render
