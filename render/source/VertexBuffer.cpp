#include "render/VertexBuffer.h"

#include "render/Graphics3D.h"
#include "render/Graphics3DProperties.h"

#include "core/Assert.h"

namespace render {

namespace {

// A null bias is (0, 0, 0); otherwise the first `count` values are taken
// and the rest keep theirs.
void storeBias(const float* bias, int count, float* out)
{
    for (int i = 0; i < 3; ++i) {
        if (bias == nullptr)
            out[i] = 0.0f;
        else if (i < count)
            out[i] = bias[i];
    }
}

void writeScaleBias(float scale, const float* bias, float* scaleBias)
{
    if (scaleBias == nullptr)
        return;
    scaleBias[0] = scale;
    for (int i = 0; i < 3; ++i)
        scaleBias[i + 1] = bias[i];
}

} // namespace

// ---- life cycle -------------------------------------------------------------

VertexBuffer::VertexBuffer()
{
    Graphics3D* graphics = Graphics3D::getInstance();
    VORNIC3D_CHECK(graphics != nullptr);
    m_texCoords.setSize(graphics->getProperties().numTextureUnits);
}

// The members go in reverse order: texture units, colours, normals,
// positions.
VertexBuffer::~VertexBuffer() noexcept(false) = default;

int VertexBuffer::getVertexCount() const
{
    if (m_positions != nullptr)
        return m_positions->getVertexCount();
    if (m_normals != nullptr)
        return m_normals->getVertexCount();
    if (m_colors != nullptr)
        return m_colors->getVertexCount();
    for (int unit = 0; unit < m_texCoords.m_size; ++unit) {
        const TexCoordContainer* container = m_texCoords[unit].get();
        if (container != nullptr && container->m_array != nullptr)
            return container->m_array->getVertexCount();
    }
    return 0;
}

// The array being replaced counts too, so replacing the only array by one
// of another length needs a null in between.
bool VertexBuffer::matchesVertexCount(const VertexArray* array) const
{
    const int count = getVertexCount();
    return count == 0 || count == array->getVertexCount();
}

// ---- positions ------------------------------------------------------------------------

void VertexBuffer::setPositions(VertexArray* array, float scale, const float* bias)
{
    if (array != nullptr) {
        VORNIC3D_CHECK(array->getComponentCount() == 3);
        VORNIC3D_CHECK(matchesVertexCount(array));
        array->setComponentType(VertexArray::SHORT);
    }
    m_positions = array;
    setPositionScaleBias(scale, bias);
}

VertexArray* VertexBuffer::getPositions(float* scaleBias) const
{
    writeScaleBias(m_positionScale, m_positionBias, scaleBias);
    return m_positions.get();
}

void VertexBuffer::setPositionScaleBias(float scale, const float* bias)
{
    m_positionScale = scale;
    storeBias(bias, 3, m_positionBias);
}

// ---- normals and colours ----------------------------------------------------------------

void VertexBuffer::setNormals(VertexArray* array)
{
    if (array != nullptr) {
        VORNIC3D_CHECK(array->getComponentCount() == 3);
        VORNIC3D_CHECK(matchesVertexCount(array));
    }
    m_normals = array;
}

void VertexBuffer::setColors(VertexArray* array)
{
    if (array != nullptr) {
        VORNIC3D_CHECK(array->getComponentType() == VertexArray::BYTE);
        VORNIC3D_CHECK(array->getComponentCount() == 3 || array->getComponentCount() == 4);
        VORNIC3D_CHECK(matchesVertexCount(array));
    }
    m_colors = array;
}

// ---- texture coordinates ------------------------------------------------------------------
//
// A unit outside the vector is refused before the vector is touched.

void VertexBuffer::setTexCoords(int unit, VertexArray* array, float scale, const float* bias)
{
    VORNIC3D_CHECK(unit >= 0 && unit < m_texCoords.m_size);
    if (array != nullptr) {
        VORNIC3D_CHECK(array->getComponentCount() == 2 || array->getComponentCount() == 3);
        VORNIC3D_CHECK(matchesVertexCount(array));
        array->setComponentType(VertexArray::SHORT);
    }
    if (m_texCoords[unit] == nullptr)
        m_texCoords[unit] = VORNIC3D_NEW TexCoordContainer();
    TexCoordContainer& container = *m_texCoords[unit];
    container.m_scale = scale;
    container.m_array = array;
    storeBias(nullptr, 0, container.m_bias);
    if (bias != nullptr && array != nullptr)
        storeBias(bias, array->getComponentCount(), container.m_bias);
}

void VertexBuffer::setTexScaleBias(int unit, float scale, const float* bias)
{
    VORNIC3D_CHECK(unit >= 0 && unit < m_texCoords.m_size);
    VORNIC3D_ASSERT(m_texCoords[unit] != nullptr,
                    "No texture coordinete set to given index. Use setTexCoords before calling this method.");
    TexCoordContainer& container = *m_texCoords[unit];
    // A bias is as wide as the coordinates (a 2-component unit keeps its
    // third value); a unit cleared with a null array has no width and fails
    // on the empty reference before anything is stored.
    const int count = bias != nullptr ? container.m_array->getComponentCount() : 0;
    container.m_scale = scale;
    storeBias(bias, count, container.m_bias);
}

VertexArray* VertexBuffer::getTexCoords(int unit, float* scaleBias) const
{
    VORNIC3D_CHECK(unit >= 0 && unit < m_texCoords.m_size);
    const TexCoordContainer* container = m_texCoords[unit].get();
    if (container == nullptr)
        return nullptr;
    writeScaleBias(container->m_scale, container->m_bias, scaleBias);
    return container->m_array.get();
}

} // namespace render
