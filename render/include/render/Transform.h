#pragma once

#include "core/Object.h"
#include "slmath/mat4.h"

namespace render {

// The scene graph's 4x4 matrix: a node's general transform, a camera's
// explicit projection, a skinned mesh's bind pose, the renderer's and the
// game's working matrix.
// Contract: the 16 floats are read in row order, element (row r, column c)
// at index 4r + c, so the translation of an affine transform sits at 3, 7
// and 11; vectors are columns (a point p maps to M·p), and every post
// operation multiplies on the right: M := M × X. The floats live in an
// slmath::mat4, which reads the same floats by columns, so the mat4 holds the
// transpose and its column r is row r here. Every operation goes through
// slmath's finiteness checks and stores only once all of them passed, so a
// failed call leaves the matrix unchanged. A core object, but held by value
// and copied by value; a copy starts without references.
class Transform : public core::Object {
public:
    // The identity.
    Transform();
    // Takes the 16 floats index for index.
    explicit Transform(const slmath::mat4& m);
    Transform(const Transform& other) = default;
    Transform& operator=(const Transform& other) = default;
    ~Transform() noexcept(false) override;

    // ---- the 16 floats ----
    // Index for index, so out[c][r] is element (row c, column r) here.
    void getMatrix(slmath::mat4& out) const;
    void setMatrix(const slmath::mat4& m);
    // Row order, row 0 first; a null out is the bare assertion.
    void get(float* out) const;
    // Row order; a non-finite value (or a null pointer) is refused before
    // anything is stored.
    void set(const float* values);
    void set(const Transform& other);
    void setIdentity();

    // ---- post operations: M := M × X ----
    void postMultiply(const Transform& t);
    // angle in degrees, counter-clockwise about the axis seen from its tip;
    // the axis need not be of unit length but must not be zero.
    void postRotate(float angle, float ax, float ay, float az);
    void postScale(float sx, float sy, float sz);
    void postTranslate(float tx, float ty, float tz);

    // M := M⁻¹; render::ArithmeticException for a singular or non-finite M.
    void invert();

private:
    slmath::mat4 m_matrix;
};

} // namespace render
