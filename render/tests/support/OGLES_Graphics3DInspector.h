#pragma once

#include "OGLES2/OGLES_Graphics3D.h"

namespace render {

// The tests' view of the OpenGL ES renderer's frame statistics, which only
// the overlay shows otherwise. The counters run from one screen release's
// overlay to the next, so after a release they hold what its end-of-frame
// flush drew.
class OGLES_Graphics3DInspector {
public:
    struct Counters {
        int buffersUsed;
        int draws;
        int drawCalls;
        int indices;
        int cameraSets;
        int frameNumber;
    };

    // The renderer must be the OpenGL ES one.
    static Counters counters(Graphics3D& g3d)
    {
        const auto& r = dynamic_cast<OGLES_Graphics3D&>(g3d);
        return {r.m_buffersUsedCount, r.m_drawCount, r.m_drawCallCount, r.m_indexCount, r.m_cameraSetCount,
                r.m_frameNumber};
    }
};

} // namespace render
