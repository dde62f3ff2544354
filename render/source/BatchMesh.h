#pragma once

namespace render {

class IndexBuffer;
class Mesh;
class VertexBuffer;

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

// The mesh's arrays, after the bare engine assertion for any that is
// missing or of another shape, and for an index count outside 0 to the
// index buffer's capacity.
BatchMeshArrays batchMeshArrays(Mesh* mesh, int indexCount);

} // namespace render
