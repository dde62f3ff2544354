#pragma once

#include "render/IndexBuffer.h"

namespace render {

// A triangle list copied as it is given: count indices, a positive multiple
// of 3. The renderer's batch meshes are lists whose blocks it rewrites.
// Contract: a refused construction holds nothing.
class TriangleListArray : public IndexBuffer {
public:
    TriangleListArray(const unsigned short* indices, int count);
    ~TriangleListArray() noexcept(false) override;
};

} // namespace render
