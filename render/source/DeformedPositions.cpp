#include "render/DeformedPositions.h"

#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include "core/Assert.h"

#include <cstring>

namespace render {

// ---- the positions ---------------------------------------------------------------

DeformedPositions::DeformedPositions() = default;

DeformedPositions::~DeformedPositions() noexcept(false) = default;

void DeformedPositions::take(VertexBuffer* vertices)
{
    VORNIC3D_CHECK(vertices != nullptr);
    float scaleBias[4];
    VertexArray* positions = vertices->getPositions(scaleBias);
    VORNIC3D_CHECK(positions != nullptr);
    scale = scaleBias[0];
    bias[0] = scaleBias[1];
    bias[1] = scaleBias[2];
    bias[2] = scaleBias[3];

    const int count = positions->getVertexCount();
    const int components = positions->getComponentCount();
    const int type = positions->getComponentType();
    original = VORNIC3D_NEW VertexArray(count, components, type);
    original->set(0, count, static_cast<const short*>(positions->getData()));
    vertexCount = count;
    dataSize = components * type * count;
    VORNIC3D_CHECK(components == 3);
    VORNIC3D_CHECK(type == VertexArray::SHORT);
    liveArray = positions;
    live = static_cast<short*>(positions->getData());
    VORNIC3D_CHECK(live != nullptr);
    originalValues = static_cast<const short*>(original->getData());
    VORNIC3D_CHECK(originalValues != nullptr);
}

void DeformedPositions::restore()
{
    std::memcpy(live, originalValues, static_cast<std::size_t>(dataSize));
}

// ---- from float arithmetic to stored values ----------------------------------------

std::int32_t DeformedPositions::truncateToInt(float value)
{
    if (!(value == value))
        return 0;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

short DeformedPositions::toStored(float value)
{
    const auto bits = static_cast<std::uint32_t>(truncateToInt(value)) & 0xFFFFu;
    return static_cast<short>(static_cast<std::uint16_t>(bits));
}

} // namespace render
