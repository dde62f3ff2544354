#include "render/LineListArray.h"

#include "core/Assert.h"

#include <cstring>

namespace render {

// ---- life cycle -------------------------------------------------------------

LineListArray::LineListArray(const unsigned short* indices, int count)
{
    VORNIC3D_CHECK(indices != nullptr);
    VORNIC3D_CHECK(count >= 1);
    VORNIC3D_CHECK(count % 2 == 0);
    allocateIndices(count);
    std::memcpy(getIndices(), indices, static_cast<std::size_t>(count) * sizeof(unsigned short));
}

LineListArray::~LineListArray() noexcept(false) = default;

} // namespace render
