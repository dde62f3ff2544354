#pragma once

#include "core/Ref.h"

#include <cstdint>

namespace render {

class VertexArray;
class VertexBuffer;

// The positions a deformed mesh (skinned or morphing) rewrites: the vertex
// buffer's 16-bit position array, written in place, with its scale and bias,
// and a copy of the values as they were when the mesh was made, from which
// every rewrite starts.
// Contract: take() accepts only positions of three 16-bit components. The
// written array is held by counted reference, so the pointer into it stays
// valid should the vertex buffer drop the array; the rewrites then go to an
// array nobody draws. Bone transforms and morph weights come from files and
// can push a value anywhere, where a plain float-to-int cast is undefined:
// the conversions below stay defined and agree with that cast wherever it is.
struct DeformedPositions {
    DeformedPositions();
    ~DeformedPositions() noexcept(false);
    DeformedPositions(const DeformedPositions&) = delete;
    DeformedPositions& operator=(const DeformedPositions&) = delete;

    // Copies the buffer's positions as they are now; the bare assertion for
    // a missing buffer or positions, or any other shape (after the copy).
    void take(VertexBuffer* vertices);
    // Puts the copied values back.
    void restore();

    // Truncates toward zero; a value beyond the int range gives the range's
    // nearer end, NaN gives 0.
    static std::int32_t truncateToInt(float value);
    // The truncated value's low 16 bits, as a position value is stored.
    static short toStored(float value);

    core::Ref<VertexArray> liveArray;
    core::Ref<VertexArray> original;
    short* live = nullptr;
    const short* originalValues = nullptr;
    float scale = 0.0f;
    float bias[3] = {0.0f, 0.0f, 0.0f};
    int vertexCount = 0;
    int dataSize = 0; // bytes
};

} // namespace render
