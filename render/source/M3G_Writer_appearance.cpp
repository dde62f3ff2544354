// Writing appearances and their parts: compositing and polygon modes, materials, textures and images.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "render/Appearance.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Graphics3D.h"
#include "render/Graphics3DProperties.h"
#include "render/Image2D.h"
#include "render/Loader_helpers.h"
#include "render/Material.h"
#include "render/PolygonMode.h"
#include "render/Texture2D.h"

#include <cstring>

namespace render {

namespace {

constexpr int kByteLimit = 255;
constexpr int kPaletteEntries = 256;

} // namespace

// ---- Appearance -----------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Appearance& record, Appearance* appearance)
{
    VORNIC3D_CHECK(appearance != nullptr);
    const int layer = appearance->getLayer();
    if (layer > kByteLimit)
        parseError("Too big layer in Appearance!");
    record.layer = static_cast<signed char>(layer);
    record.compositingMode = getObjectIndex(appearance->getCompositingMode());
    record.fog = getObjectIndex(appearance->getFog());
    record.polygonMode = getObjectIndex(appearance->getPolygonMode());
    record.material = getObjectIndex(appearance->getMaterial());
    // The file cannot leave a unit out (an entry of 0 is refused), so the
    // units that hold a texture follow each other and read back from unit 0.
    const int units = Graphics3D::getInstance()->getProperties().numTextureUnits;
    for (int unit = 0; unit < units; ++unit) {
        if (const Texture2D* texture = appearance->getTexture(unit))
            record.textures.pushBack(getObjectIndex(texture));
    }
}

void M3G_Loader::saveAppearance(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_Appearance>(savedAs<Appearance>(object));
}

// ---- CompositingMode ------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_CompositingMode& record, CompositingMode* mode)
{
    VORNIC3D_CHECK(mode != nullptr);
    const float threshold = mode->getAlphaThreshold();
    if (!(threshold >= 0.0f && threshold <= 1.0f))
        parseError("Invalid alpha treshold value in CompositingMode!");
    record.depthTestEnabled = mode->isDepthTestEnabled();
    record.depthWriteEnabled = mode->isDepthWriteEnabled();
    record.colorWriteEnabled = mode->isColorWriteEnabled();
    record.alphaWriteEnabled = mode->isAlphaWriteEnabled();
    record.blending = static_cast<unsigned char>(mode->getBlending());
    record.alphaThreshold = static_cast<unsigned char>(threshold * 255.0);
    record.depthOffsetFactor = mode->getDepthOffsetFactor();
    record.depthOffsetUnits = mode->getDepthOffsetUnits();
}

void M3G_Loader::saveCompositingMode(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_CompositingMode>(savedAs<CompositingMode>(object));
}

// ---- PolygonMode ----------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_PolygonMode& record, PolygonMode* mode)
{
    VORNIC3D_CHECK(mode != nullptr);
    record.culling = static_cast<unsigned char>(mode->getCulling());
    record.shading = static_cast<unsigned char>(mode->getShading());
    record.winding = static_cast<unsigned char>(mode->getWinding());
    record.twoSidedLightingEnabled = mode->isTwoSidedLightingEnabled();
    record.localCameraLightingEnabled = mode->isLocalCameraLightingEnabled();
    record.perspectiveCorrectionEnabled = mode->isPerspectiveCorrectionEnabled();
}

void M3G_Loader::savePolygonMode(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_PolygonMode>(savedAs<PolygonMode>(object));
}

// ---- Material -------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Material& record, Material* material)
{
    VORNIC3D_CHECK(material != nullptr);
    unpackRGB(material->getColor(Material::AMBIENT), record.ambientColor);
    unpackARGB(material->getColor(Material::DIFFUSE), record.diffuseColor);
    unpackRGB(material->getColor(Material::EMISSIVE), record.emissiveColor);
    unpackRGB(material->getColor(Material::SPECULAR), record.specularColor);
    record.shininess = material->getShininess();
    record.vertexColorTrackingEnabled = material->isVertexColorTrackingEnabled();
}

void M3G_Loader::saveMaterial(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_Material>(savedAs<Material>(object));
}

// ---- Texture2D ------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Texture2D& record, Texture2D* texture)
{
    VORNIC3D_CHECK(texture != nullptr);
    record.image = getObjectIndex(texture->getImage());
    unpackRGB(texture->getBlendColor(), record.blendColor);
    record.blending = static_cast<unsigned char>(texture->getBlending());
    record.wrappingS = static_cast<unsigned char>(texture->getWrappingS());
    record.wrappingT = static_cast<unsigned char>(texture->getWrappingT());
    record.levelFilter = static_cast<unsigned char>(texture->getLevelFilter());
    record.imageFilter = static_cast<unsigned char>(texture->getImageFilter());
}

void M3G_Loader::saveTexture2D(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_Transformable, M3G_Texture2D>(savedAs<Texture2D>(object));
}

// ---- Image2D --------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Image2D& record, Image2D* image)
{
    VORNIC3D_CHECK(image != nullptr);
    record.format = static_cast<unsigned char>(image->getFormat());
    record.isMutable = image->isMutable();
    record.width = static_cast<std::uint32_t>(image->getWidth());
    record.height = static_cast<std::uint32_t>(image->getHeight());
    // A mutable image's record ends with its size; the reader makes it blank.
    if (record.isMutable)
        return;
    const int bytesPerPixel = Image2D::getBpp(image->getFormat());
    const int pixelCount = image->getWidth() * image->getHeight();
    // A palette image holds one index byte per pixel: width x height x bytes
    // per pixel would read past its index block.
    int pixelBytes = pixelCount * bytesPerPixel;
    if (image->getPalette() != nullptr) {
        record.palette.setSize(kPaletteEntries * bytesPerPixel);
        std::memcpy(record.palette.m_data, image->getPalette(), static_cast<std::size_t>(record.palette.m_size));
        pixelBytes = pixelCount;
    }
    record.pixels.setSize(pixelBytes);
    if (pixelBytes > 0)
        std::memcpy(record.pixels.m_data, image->getPixels(), static_cast<std::size_t>(pixelBytes));
}

void M3G_Loader::saveImage2D(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_Image2D>(savedAs<Image2D>(object));
}

} // namespace render
