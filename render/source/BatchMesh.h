#pragma once

#include "core/Ref.h"

namespace render {

class Image2D;
class IndexBuffer;
class Mesh;
class Texture2D;
class VertexBuffer;

// Batch positions are 16-bit fixed point with ten units per model unit.
constexpr float kFixedPointUnits = 10.0f;
constexpr float kFixedPointScale = 0.1f;

// The arrays of a batch mesh as the sprite and text writers fill them:
// 3-component 16-bit positions, 2-component 16-bit texture coordinates of
// unit 0 and the index list of submesh 0. Every writer appends whole quads
// whose last index is their last vertex, so the next quad's first vertex
// follows the last index written.
struct BatchMeshArrays {
    VertexBuffer* vertices;
    short* positions;
    short* texels;
    IndexBuffer* triangles;
    unsigned short* indices;
    // Vertices both arrays hold.
    int vertexRoom;

    // The first vertex of the quad behind the first indexCount indices.
    int baseVertex(int indexCount) const { return indexCount == 0 ? 0 : indices[indexCount - 1] + 1; }
};

// Where a transform puts a sprite's quad: its translation and its x and y
// scale, the only values of it the quad is made from.
struct QuadPlacement {
    float x;
    float y;
    float z;
    float scaleX;
    float scaleY;
};

// The mesh's arrays, after the bare engine assertion for any that is
// missing or of another shape, and for an index count outside 0 to the
// index buffer's capacity.
BatchMeshArrays batchMeshArrays(Mesh* mesh, int indexCount);

// A new texture of the renderer singleton showing the image, for the sprites
// and fonts whose quads sample it; handed back counted, so a failing upload
// cannot leak it. A missing image or renderer is the bare assertion.
core::Ref<Texture2D> createTextureFromImage(Image2D* image);

} // namespace render
