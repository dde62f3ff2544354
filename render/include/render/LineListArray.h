#pragma once

#include "render/IndexBuffer.h"

namespace render {

// Line segments as an index list copied as it is given: every two
// consecutive indices in use form one line, which the renderer draws as
// lines, not triangles. Nothing in the engine or the scene-file reader makes
// one; an application draws outlines with it.
// Contract: count indices, a positive even number; a refused construction
// holds nothing.
class LineListArray : public IndexBuffer {
public:
    LineListArray(const unsigned short* indices, int count);
    ~LineListArray() noexcept(false) override;
};

} // namespace render
