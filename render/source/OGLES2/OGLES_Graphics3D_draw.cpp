// The low-level draw: one vertex buffer, index buffer and appearance turned
// into device state and one indexed draw.
#include "OGLES2/GLColor.h"
#include "OGLES2/GLMatrix.h"
#include "OGLES2/HWCheck.h"
#include "OGLES2/OGLES_Graphics3D.h"

#include "render/IndexBuffer.h"
#include "render/LineListArray.h"
#include "render/TriangleListArray.h"
#include "render/TriangleStripArray.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include "core/Assert.h"
#include "core/Debug.h"

#include <GLES/gl.h>

#include <algorithm>
#include <initializer_list>

namespace render {

namespace {

GLenum dataType(const VertexArray& array)
{
    switch (array.getComponentType()) {
    case VertexArray::BYTE: return GL_BYTE;
    case VertexArray::SHORT: return GL_SHORT;
    default: VORNIC3D_ASSERT(false, "Graphics3D : VertexArray component type is invalid"); return 0;
    }
}

constexpr int kHintAntialias = 2;
constexpr int kHintDither = 4;
constexpr int kHintTrueColor = 8;
constexpr int kHintOverwrite = 16;

} // namespace

// ---- the draw -------------------------------------------------------------------------------

void OGLES_Graphics3D::lowLevelRender(VertexBuffer* vertices, IndexBuffer* indices, Appearance* appearance,
                                      const Transform& transform, int scope)
{
    OGLES_HW_CHECK("OpenGLES error");
    ++m_drawCount;
    VORNIC3D_CHECK(vertices != nullptr);
    // A failure part-way must not leave arrays enabled that point into
    // buffers the next draw does not set.
    try {
        handleHints();
        handleCamera(scope);
        loadModelView(transform);

        float scaleBias[4] = {1.0f, 0.0f, 0.0f, 0.0f};
        VertexArray* positions = vertices->getPositions(scaleBias);
        handlePositions(positions, scaleBias);
        handleColors(vertices);
        handleNormals(vertices->getNormals());
        float textureScaleBias[4] = {1.0f, 0.0f, 0.0f, 0.0f};
        handleTextureCoord(vertices->getTexCoords(0, textureScaleBias), textureScaleBias);
        m_vertexColorState = false;
        handleAppearance(appearance);
        handleDefaultColor(vertices);
        handleLights(scope);
        handleIndex(indices);
    } catch (...) {
        resetDrawState();
        throw;
    }
    resetDrawState();
    OGLES_HW_CHECK("OpenGLES error");
}

void OGLES_Graphics3D::loadModelView(const Transform& model)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    multiplyGLMatrix(m_viewTransform);
    multiplyGLMatrix(model);
}

void OGLES_Graphics3D::resetDrawState()
{
    // A colour array leaves the device's current colour undefined.
    if (glIsEnabled(GL_COLOR_ARRAY))
        m_lastDefaultColorKnown = false;
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
}

// ---- hints ------------------------------------------------------------------------------------

void OGLES_Graphics3D::handleHints()
{
    if (m_depthBufferEnabled) {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
    } else {
        glDisable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
    }
    if (m_hints == m_appliedHints)
        return;
    m_appliedHints = m_hints;
    if ((m_hints & kHintAntialias) != 0) {
        glEnable(GL_BLEND);
        glEnable(GL_LINE_SMOOTH);
        glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
    } else {
        glDisable(GL_BLEND);
        glDisable(GL_LINE_SMOOTH);
    }
    if ((m_hints & kHintDither) != 0)
        glEnable(GL_DITHER);
    else
        glDisable(GL_DITHER);
    for (const int unsupported : {kHintOverwrite, kHintTrueColor}) {
        if ((m_hints & unsupported) != 0)
            core::Debug::printf(core::Debug::LEVEL_ERROR,
                                "You use Object3D %s method and it does not provide functionality.\n",
                                "render::OGLES_Graphics3D::handleHints");
    }
}

// ---- vertex arrays ------------------------------------------------------------------------------

// A vertex becomes bias + scale x position.
void OGLES_Graphics3D::handlePositions(VertexArray* positions, const float* scaleBias)
{
    VORNIC3D_ASSERT(positions != nullptr, "handlePositions : data == 0");
    VORNIC3D_ASSERT(positions->getData() != nullptr, "handlePositions : data_ptr == 0");
    m_vertexCount = positions->getVertexCount();
    glTranslatef(scaleBias[1], scaleBias[2], scaleBias[3]);
    glScalef(scaleBias[0], scaleBias[0], scaleBias[0]);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(positions->getComponentCount(), dataType(*positions), 0, positions->getData());
    OGLES_HW_CHECK("OpenGLES error");
}

// The array is checked before it is enabled, so a refused one is never read.
void OGLES_Graphics3D::handleColors(VertexBuffer* vertices)
{
    VertexArray* colors = vertices->getColors();
    if (colors != nullptr && m_config.vertex_colors) {
        VORNIC3D_CHECK(colors->getVertexCount() == m_vertexCount);
        VORNIC3D_ASSERT(colors->getData() != nullptr, "handleColors : data_ptr == 0");
        VORNIC3D_ASSERT(colors->getComponentType() == VertexArray::BYTE,
                        "OGLES_Graphics3D handleColors failed because component type != 1 (use unsigned char)");
        VORNIC3D_ASSERT(colors->getComponentCount() == 4,
                        "OGLES_Graphics3D handleColors failed because color component count != 4");
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colors->getData());
    }
    OGLES_HW_CHECK("OpenGLES error");
}

void OGLES_Graphics3D::handleNormals(VertexArray* normals)
{
    if (normals == nullptr) {
        glNormal3f(0.0f, 0.0f, 1.0f);
        return;
    }
    VORNIC3D_CHECK(normals->getVertexCount() == m_vertexCount);
    VORNIC3D_ASSERT(normals->getData() != nullptr, "handleNormals : data_ptr == 0");
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(dataType(*normals), 0, normals->getData());
    OGLES_HW_CHECK("OpenGLES error");
}

void OGLES_Graphics3D::handleTextureCoord(VertexArray* coordinates, const float* scaleBias)
{
    VORNIC3D_CHECK(scaleBias != nullptr);
    if (coordinates == nullptr || !m_config.texturing)
        return;
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(scaleBias[1], scaleBias[2], scaleBias[3]);
    glScalef(scaleBias[0], scaleBias[0], scaleBias[0]);
    VORNIC3D_CHECK(coordinates->getVertexCount() == m_vertexCount);
    VORNIC3D_ASSERT(coordinates->getData() != nullptr, "handleTexture : data_ptr == 0");
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(coordinates->getComponentCount(), dataType(*coordinates), 0, coordinates->getData());
    OGLES_HW_CHECK("OpenGLES error");
    glMatrixMode(GL_MODELVIEW);
}

// The buffer's default colour colours every vertex unless its colour array
// stands: vertex colours on, the array there, and lights without a material
// that tracks the colours. With vertex colours off it colours every vertex.
void OGLES_Graphics3D::handleDefaultColor(VertexBuffer* vertices)
{
    if (m_config.vertex_colors && !m_vertexColorState && vertices->getColors() != nullptr && m_lights.m_size > 0)
        return;
    const unsigned int color = vertices->getDefaultColor();
    if (m_lastDefaultColorKnown && color == m_lastDefaultColor)
        return;
    m_lastDefaultColor = color;
    m_lastDefaultColorKnown = true;
    const GLColor rgba = GLColor::fromARGB(color);
    glColor4f(rgba.rgba[0], rgba.rgba[1], rgba.rgba[2], rgba.rgba[3]);
}

// ---- indices ------------------------------------------------------------------------------------

// A strip array holds its strips already turned into a list; a line list is
// drawn as lines, two indices a line. Index buffers are not tied to a vertex
// count, so every index is checked against the positions' before the device
// reads the arrays with it.
void OGLES_Graphics3D::handleIndex(IndexBuffer* indices)
{
    VORNIC3D_ASSERT(indices != nullptr, "handleIndex : data == 0");
    VORNIC3D_ASSERT(indices->getIndices() != nullptr, "handleIndex : data_ptr == 0");
    const bool lines = dynamic_cast<LineListArray*>(indices) != nullptr;
    VORNIC3D_CHECK(lines || dynamic_cast<TriangleListArray*>(indices) != nullptr ||
                   dynamic_cast<TriangleStripArray*>(indices) != nullptr);
    // The largest index stands for all of them: a batch holds thousands.
    const unsigned short* index = indices->getIndices();
    const int count = indices->getIndexCount();
    unsigned short largest = 0;
    for (int i = 0; i < count; ++i)
        largest = std::max(largest, index[i]);
    VORNIC3D_ASSERT(count == 0 || largest < m_vertexCount, "handleIndex : index beyond the vertex count");
    glDrawElements(lines ? GL_LINES : GL_TRIANGLES, indices->getIndexCount(), GL_UNSIGNED_SHORT, indices->getIndices());
    ++m_drawCallCount;
    m_indexCount += indices->getIndexCount();
    OGLES_HW_CHECK("OpenGLES error");
}

} // namespace render
