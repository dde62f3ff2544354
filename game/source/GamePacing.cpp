#include "GamePacing.h"

namespace game {

int GamePacing::update(int elapsedMs, const HalfStep& halfStep)
{
    // In 64 bits: the sum of a gathered remainder and a huge elapsed time
    // must not overflow before it is cut to a stall.
    std::int64_t gathered = std::int64_t(m_accumulator) + elapsedMs;
    if (gathered < kMinStepMs) {
        m_accumulator = static_cast<std::int32_t>(gathered);
        return 1;
    }
    if (gathered >= kMaxStepMs)
        gathered = kMaxStepMs + gathered % 10;
    const int half = static_cast<int>(gathered >> 1);
    int result = halfStep(half);
    if (result == 1)
        result = halfStep(half);
    m_renderPending = true;
    m_accumulator = 0;
    return result;
}

bool GamePacing::takePendingFrame()
{
    const bool pending = m_renderPending;
    m_renderPending = false;
    return pending;
}

} // namespace game
