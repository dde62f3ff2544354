#pragma once

#include "render/IndexBuffer.h"

namespace render {

// Triangle strips stored as a triangle list, converted once at construction
// so that every draw is one indexed list.
// Contract: the strips lie back to back in `indices`, strip k taking the
// next stripLengths[k] entries (each at least 3); a strip of n indices gives
// n - 2 triangles, every odd one written in reverse so the whole strip keeps
// one winding. A refused construction holds nothing.
class TriangleStripArray : public IndexBuffer {
public:
    TriangleStripArray(const unsigned short* indices, const int* stripLengths, int stripCount);
    ~TriangleStripArray() noexcept(false) override;
};

} // namespace render
