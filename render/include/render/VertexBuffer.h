#pragma once

#include "render/Object3D.h"
#include "render/VertexArray.h"

namespace render {

// The vertex arrays one mesh draws from: positions (with a scale and a bias
// that turn the stored integers into model coordinates: bias + scale x
// value), normals, colours, one texture-coordinate array per texture unit
// (each with its own scale and bias), and a default colour for meshes
// without per-vertex colours.
// Contract: made only while the renderer singleton exists, whose
// numTextureUnits property fixes the unit count. All arrays present have
// one vertex count (getVertexCount): a new array must match the arrays
// already set, the one it replaces included. Positions and texture
// coordinates are always 16-bit: attaching an 8-bit array converts it in
// place (for every other holder too), once, so no draw converts. Arrays are
// held by counted reference and may be shared; null detaches one.
class VertexBuffer : public Object3D {
public:
    // One texture unit's coordinates with their scale and bias.
    class TexCoordContainer : public core::Object {
    public:
        core::Ref<VertexArray> m_array;
        float m_scale = 1.0f;
        float m_bias[3] = {0.0f, 0.0f, 0.0f};
    };

    VertexBuffer();
    ~VertexBuffer() noexcept(false) override;

    // ---- positions (3 components) ----
    // A null bias is (0, 0, 0).
    void setPositions(VertexArray* array, float scale, const float* bias);
    // Writes scale, bias x, y, z into a non-null scaleBias; null when none.
    VertexArray* getPositions(float* scaleBias) const;
    // Keeps the array: the batching sets its scale per batch.
    void setPositionScaleBias(float scale, const float* bias);

    // ---- normals (3 components) and colours (8-bit, 3 or 4 components) ----
    void setNormals(VertexArray* array);
    VertexArray* getNormals() const { return m_normals.get(); }
    void setColors(VertexArray* array);
    VertexArray* getColors() const { return m_colors.get(); }
    // 0xAARRGGBB, used when there are no colours.
    void setDefaultColor(unsigned int argb) { m_defaultColor = argb; }
    unsigned int getDefaultColor() const { return m_defaultColor; }

    // ---- texture coordinates (2 or 3 components), unit 0..count-1 ----
    // The first component-count values of a non-null bias are taken.
    void setTexCoords(int unit, VertexArray* array, float scale, const float* bias);
    // The unit must have been given coordinates; a null bias is (0, 0, 0).
    void setTexScaleBias(int unit, float scale, const float* bias);
    // Null (and scaleBias untouched) for a unit never given coordinates;
    // otherwise writes scale, bias x, y, z into a non-null scaleBias.
    VertexArray* getTexCoords(int unit, float* scaleBias) const;
    int getTexCoordUnitCount() const { return m_texCoords.m_size; }

    // The count of the first array present: positions, normals, colours,
    // then the texture units in order; 0 when there is none.
    int getVertexCount() const;

private:
    bool matchesVertexCount(const VertexArray* array) const;

    core::Ref<VertexArray> m_positions;
    core::Ref<VertexArray> m_normals;
    core::Ref<VertexArray> m_colors;
    core::Vector<core::Ref<TexCoordContainer>> m_texCoords;
    unsigned int m_defaultColor = 0xFFFFFFFFu;
    float m_positionScale = 0.0f;
    float m_positionBias[3] = {0.0f, 0.0f, 0.0f};
};

} // namespace render
