#pragma once

#include "render/Object3D.h"
#include "slmath/vec3.h"

namespace render {

// One per-vertex attribute (positions, normals, colours or texture
// coordinates) as signed integers: 1..65535 vertices of 2..4 components of
// 1 or 2 bytes each, a vertex's components adjacent, with a running bounding
// box of the raw values.
// Contract: the block is owned, zero-filled at construction and written
// through set, setComponentType or directly through getData (the renderer,
// the batching and the deformed meshes do that). The box only ever widens:
// it covers every value set since construction, also values overwritten
// since; 4-component arrays (colours) have none. An 8-bit array turns into a
// 16-bit one in place (setComponentType), so every holder of the array sees
// the change; the way back is refused.
class VertexArray : public Object3D {
public:
    enum ComponentType { BYTE = 1, SHORT = 2 };

    VertexArray(int numVertices, int numComponents, int componentType);
    ~VertexArray() noexcept(false) override;

    int getVertexCount() const { return m_vertexCount; }
    int getComponentCount() const { return m_componentCount; }
    // Bytes per component: BYTE or SHORT.
    int getComponentType() const { return m_componentType; }
    void* getData() { return m_data; }
    const void* getData() const { return m_data; }

    // ---- values ----
    // Copy numVertices vertices to vertex firstVertex, then rescan the box.
    // The overload must match the component type.
    void set(int firstVertex, int numVertices, const signed char* values);
    void set(int firstVertex, int numVertices, const short* values);
    // Only SHORT on a BYTE array converts (sign-extending every value);
    // the same type changes nothing; anything else logs and throws.
    void setComponentType(int componentType);

    // ---- bounding box of the raw values ----
    // Both log and throw until the first set or conversion.
    const slmath::vec3& getBoxMin() const;
    const slmath::vec3& getBoxMax() const;
    // Widens the box by every vertex; nothing for 4 components.
    void findMaxAndMin();

private:
    void copyValues(int firstVertex, int numVertices, const void* values);

    slmath::vec3 m_boxMin;
    slmath::vec3 m_boxMax;
    int m_vertexCount;
    int m_componentCount;
    int m_componentType;
    void* m_data = nullptr;
    bool m_MinMaxInfoAvailable = false;
};

} // namespace render
