// The debug overlay: the frame rate in the log, thirteen lines of frame and
// memory statistics over the screen, and a box around every mesh.
#include "OGLES2/GLMatrix.h"
#include "OGLES2/HWCheck.h"
#include "OGLES2/OGLES_Graphics3D.h"

#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/Text2D.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include "hal/System.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"
#include "core/String.h"

#include <GLES/gl.h>

namespace render {

// ---- statistics ---------------------------------------------------------------------------

// Runs once at the end of every screen frame, before the end-of-frame flush:
// what that flush draws is counted in the next frame. The lines are batched
// like any text and drawn by that flush.
void OGLES_Graphics3D::renderDebugInfo()
{
    const std::uint32_t now = HAL::getTime();
    const bool measuring = m_config.debug_fps || m_config.debug_info;
    if (measuring) {
        if (m_lastFrameTime == 0)
            m_lastFrameTime = now;
        // The unsigned difference stays right across the tick's wrap.
        m_measuredTime += static_cast<int>(now - m_lastFrameTime);
        ++m_framesCounted;
    }
    if (m_config.debug_info) {
        core::String line("");
        line.format("BUFFERS USED      : %d/%d", m_buffersUsedCount, m_config.max_dynamic_buffers);
        renderDebugString(line);
        line.format("TRIANGLE COUNT    : %d ", m_indexCount / 3);
        renderDebugString(line);
        line.format("NODE COUNT        : %d ", m_drawCount);
        renderDebugString(line);
        line.format("CAMERA SET COUNT  : %d ", m_cameraSetCount);
        renderDebugString(line);
        line.format("LIGHTS COUNT      : %d ", getLightCount());
        renderDebugString(line);
        Transform camera;
        getCamera(&camera);
        float m[16];
        camera.get(m);
        line.format("CAMERA POSITION   : %.2f %.2f %.2f ", static_cast<double>(m[3]), static_cast<double>(m[7]),
                    static_cast<double>(m[11]));
        renderDebugString(line);
        line.format("FRAME             : %d ", m_frameNumber);
        renderDebugString(line);
        line.format("FPS               : %d ", m_frameRate);
        renderDebugString(line);
        line.format("DRAW CALLS        : %d", m_drawCallCount);
        renderDebugString(line);
        const core::MemoryManager* memory = core::MemoryManager::getMemoryInfo();
        VORNIC3D_CHECK(memory != nullptr);
        const float kilobytes = 1.0f / 1024.0f;
        line.format("MEMORY USED       : %d / %d BYTES : %.2f / %.2f KB ", memory->getUsedMem(),
                    memory->getDataBlockSize(),
                    static_cast<double>(static_cast<float>(memory->getUsedMem()) * kilobytes),
                    static_cast<double>(static_cast<float>(memory->getDataBlockSize()) * kilobytes));
        renderDebugString(line);
        line.format("MEMORY PEAK       : %d BYTES ", memory->getPeakMem());
        renderDebugString(line);
        line.format("ALLOCATED BLOCKS  : %d ", memory->getAllocatedBlocks());
        renderDebugString(line);
        line.format("ALLOCATION COUNT  : %d ", memory->getAllocationCount());
        renderDebugString(line);
    }
    m_debugTextTransform.setIdentity();
    m_indexCount = 0;
    m_drawCount = 0;
    m_cameraSetCount = 0;
    m_buffersUsedCount = 0;
    m_drawCallCount = 0;
    ++m_frameNumber;
    if (measuring) {
        if (m_measuredTime >= 1000) {
            m_measuredTime -= 1000;
            m_frameRate = m_framesCounted;
            m_framesCounted = 0;
            if (m_config.debug_fps)
                core::Debug::printf(core::Debug::LEVEL_PLAIN, "FPS : %d\n", m_frameRate);
        }
        m_lastFrameTime = now;
    }
}

// One line at the debug text's place under the overlay's camera; the next
// line goes 10 pixels higher.
void OGLES_Graphics3D::renderDebugString(const core::String& text)
{
    VORNIC3D_CHECK(m_debugCamera != nullptr);
    Transform savedTransform;
    const core::Ref<Camera> savedCamera = getCamera(&savedTransform);
    setCamera(m_debugCamera.get(), Transform());
    try {
        m_debugText->setText(text);
        render(m_debugText.get(), m_debugTextTransform);
    } catch (...) {
        setCamera(savedCamera.get(), savedTransform);
        throw;
    }
    m_debugTextTransform.postTranslate(0.0f, 10.0f, 0.0f);
    setCamera(savedCamera.get(), savedTransform);
}

// ---- mesh boxes ---------------------------------------------------------------------------------

// The box of the raw stored positions, placed by the positions' scale and
// bias and the mesh's transform as the mesh itself is. Drawn unlit with the
// state the mesh's last draw left.
void OGLES_Graphics3D::renderDebugMesh(Mesh* mesh, const Transform& transform)
{
    VORNIC3D_CHECK(mesh != nullptr);
    OGLES_HW_CHECK("OpenGLES error");
    VertexBuffer* vertices = mesh->getVertexBuffer();
    VORNIC3D_CHECK(vertices != nullptr);
    float scaleBias[4] = {1.0f, 0.0f, 0.0f, 0.0f};
    const VertexArray* positions = vertices->getPositions(scaleBias);
    VORNIC3D_CHECK(positions != nullptr);
    const slmath::vec3& low = positions->getBoxMin();
    const slmath::vec3& high = positions->getBoxMax();
    // Raw values of 8- or 16-bit arrays: they fit 16 bits.
    const auto x0 = static_cast<GLshort>(low.x);
    const auto y0 = static_cast<GLshort>(low.y);
    const auto z0 = static_cast<GLshort>(low.z);
    const auto x1 = static_cast<GLshort>(high.x);
    const auto y1 = static_cast<GLshort>(high.y);
    const auto z1 = static_cast<GLshort>(high.z);
    // One strip along all twelve edges (three of them twice).
    const GLshort points[16 * 3] = {x0, y0, z0, x1, y0, z0, x1, y1, z0, x0, y1, z0, x0, y0, z0, x0,
                                    y0, z1, x1, y0, z1, x1, y0, z0, x1, y0, z1, x1, y1, z1, x1, y1,
                                    z0, x1, y1, z1, x0, y1, z1, x0, y1, z0, x0, y1, z1, x0, y0, z1};

    loadModelView(transform);
    glTranslatef(scaleBias[1], scaleBias[2], scaleBias[3]);
    glScalef(scaleBias[0], scaleBias[0], scaleBias[0]);
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_SHORT, 0, points);
    glDrawArrays(GL_LINE_STRIP, 0, 16);
    // The points live on this stack: no array may point at them afterwards.
    glDisableClientState(GL_VERTEX_ARRAY);
    if (lit)
        glEnable(GL_LIGHTING);
    OGLES_HW_CHECK("OpenGLES error");
}

} // namespace render
