#pragma once

#include "render/Object3D.h"
#include "render/Transform.h"
#include "slmath/vec3.h"

namespace render {

// An object with a place in space made of four components: translation T,
// orientation R (an angle in degrees about a unit axis), scale S and a
// general matrix M. The composite transform T·R·S·M maps the object's points
// into its parent's space. Nodes and textures (whose composite is the
// texture-coordinate transform) derive from it.
// Contract: every component is finite, and the stored axis is of unit
// length; setters refuse anything else before they store. Abstract: only
// nodes and textures are made.
class Transformable : public Object3D {
public:
    ~Transformable() noexcept(false) override = 0;

    // ---- components ----
    void setTranslation(float tx, float ty, float tz);
    void setScale(float sx, float sy, float sz);
    // Stores the normalised axis and the angle as given; a zero axis fails,
    // with its own message when the angle is not zero.
    void setOrientation(float angle, float ax, float ay, float az);
    void setTransform(const Transform& transform);

    const slmath::vec3& getTranslation() const { return m_translation; }
    const slmath::vec3& getScale() const { return m_scale; }
    // Four floats: axis x, y, z, then the angle in degrees.
    const float* getOrientation() const { return m_orientation; }
    const Transform& getTransform() const { return m_transform; }

    // out := T·R·S·M; a null out logs and throws.
    void getCompositeTransform(Transform* out) const;

protected:
    Transformable();

private:
    slmath::vec3 m_translation;
    slmath::vec3 m_scale;
    float m_orientation[4];
    Transform m_transform;
};

} // namespace render
