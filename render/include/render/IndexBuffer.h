#pragma once

#include "render/Object3D.h"

namespace render {

// A submesh's primitives as a 16-bit index list: every three consecutive
// indices in use form one triangle, or, in a LineListArray, every two one
// line. The renderer draws the first getIndexCount indices; the batching
// reuses one list by rewriting its block and changing the count in use.
// Contract: abstract base of the triangle list, triangle strip and line list
// arrays, which take the block once (main pool) at its final size, fill it
// and set the capacity; the block is never reallocated and is freed here.
// The count in use stays within 0..capacity. Indices are not checked against
// any vertex count: whoever draws them must.
class IndexBuffer : public Object3D {
public:
    ~IndexBuffer() noexcept(false) override;

    // 0..capacity, else the bare assertion.
    void setIndexCount(int count);
    int getIndexCount() const { return m_indexCount; }
    int getCapacity() const { return m_capacity; }
    // The block of capacity entries, writable; null only before a subclass
    // took it.
    unsigned short* getIndices() { return m_indices; }
    const unsigned short* getIndices() const { return m_indices; }

protected:
    IndexBuffer();

    // Takes a zeroed block of `count` entries (count >= 1) as the capacity
    // and the count in use.
    void allocateIndices(int count);

private:
    unsigned short* m_indices = nullptr;
    int m_indexCount = 0;
    int m_capacity = 0;
};

} // namespace render
