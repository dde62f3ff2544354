#include "render/TriangleStripArray.h"

#include "core/Assert.h"

#include <climits>
#include <cstdint>

namespace render {

// ---- life cycle -------------------------------------------------------------

TriangleStripArray::TriangleStripArray(const unsigned short* indices, const int* stripLengths, int stripCount)
{
    VORNIC3D_CHECK(indices != nullptr);
    VORNIC3D_CHECK(stripLengths != nullptr);
    // Summed wide, so that damaged lengths are refused instead of wrapping
    // into a small block that the walk below would overrun.
    std::int64_t count = 0;
    for (int strip = 0; strip < stripCount; ++strip) {
        VORNIC3D_CHECK(stripLengths[strip] >= 3);
        count += (static_cast<std::int64_t>(stripLengths[strip]) - 2) * 3;
        VORNIC3D_CHECK(count <= INT_MAX / 2);
    }
    allocateIndices(static_cast<int>(count));

    unsigned short* out = getIndices();
    const unsigned short* s = indices;
    for (int strip = 0; strip < stripCount; ++strip) {
        const int length = stripLengths[strip];
        for (int t = 0; t + 2 < length; ++t) {
            const bool odd = (t & 1) != 0;
            *out++ = s[odd ? t + 2 : t];
            *out++ = s[t + 1];
            *out++ = s[odd ? t : t + 2];
        }
        s += length;
    }
}

TriangleStripArray::~TriangleStripArray() noexcept(false) = default;

} // namespace render
