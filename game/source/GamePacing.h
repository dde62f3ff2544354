#pragma once

#include <cstdint>
#include <functional>

namespace game {

// The pacing of the game's steps: the framework's main loop never sleeps and
// calls in as often as it can; the game advances only once at least 10 ms
// have gathered, in two equal half-steps, and a long stall counts as 100 to
// 109 ms so the physics never takes one huge step.
// Contract: update gathers the elapsed time; when a step is due it runs the
// half-step with half the gathered time (the odd millisecond dropped) and,
// only when that returned 1, once more with the same half; it returns the
// last result (1 while nothing is due), then forgets the gathered time and
// marks a frame as due. takePendingFrame answers true once per step.
class GamePacing {
public:
    static constexpr int kMinStepMs = 10;
    static constexpr int kMaxStepMs = 100;

    using HalfStep = std::function<int(int halfMs)>;

    int update(int elapsedMs, const HalfStep& halfStep);
    bool takePendingFrame();

private:
    std::int32_t m_accumulator = 0;
    bool m_renderPending = false;
};

} // namespace game
