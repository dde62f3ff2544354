#pragma once

#include "OGLES2/OGLES_Graphics3D.h"

namespace render {

// The tests' view of the OpenGL ES renderer's frame statistics, which only
// the overlay shows otherwise. The counters run from one screen release's
// overlay to the next, so after a release they hold what its end-of-frame
// flush drew. The renderer must be the OpenGL ES one.
class OGLES_Graphics3DInspector {
public:
    static int buffersUsed(Graphics3D& g3d) { return dynamic_cast<OGLES_Graphics3D&>(g3d).m_buffersUsedCount; }
    static int draws(Graphics3D& g3d) { return dynamic_cast<OGLES_Graphics3D&>(g3d).m_drawCount; }
    static int drawCalls(Graphics3D& g3d) { return dynamic_cast<OGLES_Graphics3D&>(g3d).m_drawCallCount; }
    static int indicesDrawn(Graphics3D& g3d) { return dynamic_cast<OGLES_Graphics3D&>(g3d).m_indexCount; }
    static int frameNumber(Graphics3D& g3d) { return dynamic_cast<OGLES_Graphics3D&>(g3d).m_frameNumber; }
};

} // namespace render
