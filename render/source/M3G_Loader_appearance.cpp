// Reading appearances and their parts: compositing and polygon modes, materials, textures and images.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "render/Appearance.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Graphics3D.h"
#include "render/Image2D.h"
#include "render/Loader_helpers.h"
#include "render/Material.h"
#include "render/PolygonMode.h"
#include "render/Texture2D.h"

#include <climits>

namespace render {

namespace {

constexpr int kLayerLimit = 63;
constexpr int kPaletteEntries = 256;

bool inRange(int value, int first, int last)
{
    return value >= first && value <= last;
}

// The image constructors read width x height pixels (or indices) and a
// whole palette, so the arrays must hold exactly that: sizes in 64 bits,
// where no width and height can wrap into a match.
void checkImageData(const M3G_Image2D& record)
{
    const int bytesPerPixel = Image2D::getBpp(record.format);
    const std::uint64_t pixelCount = static_cast<std::uint64_t>(record.width) * record.height;
    if (record.width > INT_MAX || record.height > INT_MAX || pixelCount * bytesPerPixel > INT_MAX)
        parseError("Image size too big.");
    if (record.isMutable)
        return;
    const std::uint64_t paletteBytes = static_cast<std::uint64_t>(record.palette.m_size);
    if (paletteBytes % bytesPerPixel != 0 || paletteBytes / bytesPerPixel > kPaletteEntries)
        parseError("Palette size not correct for the image format.");
    const std::uint64_t needed = paletteBytes > 0 ? pixelCount : pixelCount * bytesPerPixel;
    if (static_cast<std::uint64_t>(record.pixels.m_size) != needed)
        parseError("Pixel data size does not match the image size.");
}

} // namespace

// ---- Appearance -----------------------------------------------------------------------

void M3G_Loader::setToClass(Appearance* appearance, const M3G_Appearance& record)
{
    VORNIC3D_CHECK(appearance != nullptr);
    appearance->setLayer(record.layer);
    if (record.compositingMode != 0)
        appearance->setCompositingMode(getRef<CompositingMode>(record.compositingMode).get());
    if (record.fog != 0)
        appearance->setFog(getRef<Fog>(record.fog).get());
    if (record.material != 0)
        appearance->setMaterial(getRef<Material>(record.material).get());
    if (record.polygonMode != 0)
        appearance->setPolygonMode(getRef<PolygonMode>(record.polygonMode).get());
    // Every entry names a texture: 0 fails in the lookup.
    for (int unit = 0; unit < record.textures.m_size; ++unit)
        appearance->setTexture(unit, getRef<Texture2D>(record.textures[unit]).get());
}

void M3G_Loader::check(const M3G_Appearance& record)
{
    if (!inRange(record.layer, -kLayerLimit, kLayerLimit))
        parseError("Appearance layer is not correct.");
}

core::Ref<Object3D> M3G_Loader::parseAppearance()
{
    return parseRecords<M3G_Object3D, M3G_Appearance>(VORNIC3D_NEW Appearance());
}

// ---- CompositingMode ------------------------------------------------------------------

void M3G_Loader::setToClass(CompositingMode* mode, const M3G_CompositingMode& record)
{
    VORNIC3D_CHECK(mode != nullptr);
    mode->setBlending(record.blending);
    mode->setAlphaThreshold(static_cast<float>(record.alphaThreshold / 255.0));
    mode->setAlphaWriteEnable(record.alphaWriteEnabled);
    mode->setColorWriteEnable(record.colorWriteEnabled);
    mode->setDepthWriteEnable(record.depthWriteEnabled);
    mode->setDepthTestEnable(record.depthTestEnabled);
    mode->setDepthOffset(record.depthOffsetFactor, record.depthOffsetUnits);
}

void M3G_Loader::check(const M3G_CompositingMode& record)
{
    // The renderer's own ONE_DST_ALPHA (69) is no mode a file can name.
    if (!inRange(record.blending, CompositingMode::ALPHA, CompositingMode::REPLACE))
        parseError("CompositingMode blending mode is not correct.");
}

core::Ref<Object3D> M3G_Loader::parseCompositingMode()
{
    return parseRecords<M3G_Object3D, M3G_CompositingMode>(VORNIC3D_NEW CompositingMode());
}

// ---- PolygonMode ----------------------------------------------------------------------

void M3G_Loader::setToClass(PolygonMode* mode, const M3G_PolygonMode& record)
{
    VORNIC3D_CHECK(mode != nullptr);
    mode->setCulling(record.culling);
    mode->setShading(record.shading);
    mode->setWinding(record.winding);
    mode->setTwoSidedLightingEnabled(record.twoSidedLightingEnabled);
    mode->setLocalCameraLightingEnabled(record.localCameraLightingEnabled);
    mode->setPerspectiveCorrectionEnabled(record.perspectiveCorrectionEnabled);
}

void M3G_Loader::check(const M3G_PolygonMode& record)
{
    if (!inRange(record.culling, PolygonMode::CULL_BACK, PolygonMode::CULL_NONE))
        parseError("Polygon mode culling not correct value.");
    if (!inRange(record.shading, PolygonMode::SHADE_FLAT, PolygonMode::SHADE_SMOOTH))
        parseError("Polygon mode shading not correct value.");
    if (!inRange(record.winding, PolygonMode::WINDING_CCW, PolygonMode::WINDING_CW))
        parseError("Polygon mode winding not correct value.");
}

core::Ref<Object3D> M3G_Loader::parsePolygonMode()
{
    return parseRecords<M3G_Object3D, M3G_PolygonMode>(VORNIC3D_NEW PolygonMode());
}

// ---- Material -------------------------------------------------------------------------

void M3G_Loader::setToClass(Material* material, const M3G_Material& record)
{
    VORNIC3D_CHECK(material != nullptr);
    material->setColor(Material::AMBIENT, packRGB(record.ambientColor));
    material->setColor(Material::DIFFUSE, packARGB(record.diffuseColor));
    material->setColor(Material::EMISSIVE, packRGB(record.emissiveColor));
    material->setColor(Material::SPECULAR, packRGB(record.specularColor));
    material->setShininess(record.shininess);
    material->setVertexColorTrackingEnabled(record.vertexColorTrackingEnabled);
}

core::Ref<Object3D> M3G_Loader::parseMaterial()
{
    return parseRecords<M3G_Object3D, M3G_Material>(VORNIC3D_NEW Material());
}

// ---- Texture2D ------------------------------------------------------------------------

void M3G_Loader::setToClass(Texture2D* texture, const M3G_Texture2D& record)
{
    VORNIC3D_CHECK(texture != nullptr);
    // The renderer's texture uploads the image; each setter after it
    // uploads again with its own value.
    texture->setImage(getRef<Image2D>(record.image).get());
    texture->setBlendColor(packRGB(record.blendColor));
    texture->setBlending(record.blending);
    texture->setFiltering(record.levelFilter, record.imageFilter);
    texture->setWrapping(record.wrappingS, record.wrappingT);
}

void M3G_Loader::check(const M3G_Texture2D& record)
{
    if (record.image == 0)
        parseError("No image set for texture.");
    if (!inRange(record.levelFilter, Texture2D::FILTER_BASE_LEVEL, Texture2D::FILTER_NEAREST))
        parseError("Unknown level filter.");
    if (!inRange(record.imageFilter, Texture2D::FILTER_BASE_LEVEL, Texture2D::FILTER_NEAREST))
        parseError("Unknown image filter.");
    if (!inRange(record.wrappingS, Texture2D::WRAP_CLAMP, Texture2D::WRAP_REPEAT))
        parseError("Unknown s-wrapping type.");
    if (!inRange(record.wrappingT, Texture2D::WRAP_CLAMP, Texture2D::WRAP_REPEAT))
        parseError("Unknown t-wrapping type.");
    if (!inRange(record.blending, Texture2D::FUNC_ADD, Texture2D::FUNC_REPLACE))
        parseError("Unknown blending type.");
}

core::Ref<Object3D> M3G_Loader::parseTexture2D()
{
    // The renderer's own texture class, which knows the device.
    return parseRecords<M3G_Object3D, M3G_Transformable, M3G_Texture2D>(Graphics3D::getInstance()->createNewTexture());
}

// ---- Image2D --------------------------------------------------------------------------

void M3G_Loader::fillPalette(const M3G_Image2D& record, core::Vector<unsigned char>& palette)
{
    // The image takes a whole palette; files often carry fewer entries (16
    // is common), and the rest stay black.
    palette.setSize(kPaletteEntries * Image2D::getBpp(record.format), 0);
    for (int i = 0; i < record.palette.m_size; ++i)
        palette.m_data[i] = record.palette.m_data[i];
}

void M3G_Loader::check(const M3G_Image2D& record)
{
    if (record.format != Image2D::RGB && record.format != Image2D::RGBA)
        parseError("Unsuported image format.");
    if (!record.isMutable && record.pixels.m_size == 0)
        parseError("No pixels specified for immutable object");
    checkImageData(record);
}

core::Ref<Object3D> M3G_Loader::parseImage2D()
{
    M3G_Object3D object3D;
    readRecord(object3D);
    M3G_Image2D record;
    readRecord(record);
    // Created here, so that the image's memory is tagged with this reader.
    const int width = static_cast<int>(record.width);
    const int height = static_cast<int>(record.height);
    core::Vector<unsigned char> palette;
    core::Ref<Image2D> image;
    if (record.isMutable) {
        image = VORNIC3D_NEW Image2D(record.format, width, height);
    } else if (record.palette.m_size == 0) {
        image = VORNIC3D_NEW Image2D(record.format, width, height, record.pixels.m_data);
    } else {
        fillPalette(record, palette);
        image = VORNIC3D_NEW Image2D(record.format, width, height, record.pixels.m_data, palette.m_data);
    }
    setToClass(image.get(), object3D);
    return core::Ref<Object3D>(image);
}

} // namespace render
