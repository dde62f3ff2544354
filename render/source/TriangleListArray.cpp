#include "render/TriangleListArray.h"

#include "core/Assert.h"

#include <cstring>

namespace render {

// ---- life cycle -------------------------------------------------------------

TriangleListArray::TriangleListArray(const unsigned short* indices, int count)
{
    VORNIC3D_CHECK(indices != nullptr);
    VORNIC3D_CHECK(count >= 1);
    VORNIC3D_CHECK(count % 3 == 0);
    allocateIndices(count);
    std::memcpy(getIndices(), indices, static_cast<std::size_t>(count) * sizeof(unsigned short));
}

TriangleListArray::~TriangleListArray() noexcept(false) = default;

} // namespace render
