#include "render/M3G_Loader.h"

#include "core/Assert.h"
#include "render/Appearance.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Graphics3D.h"
#include "render/Graphics3DProperties.h"
#include "render/Image2D.h"
#include "render/Loader_helpers.h"
#include "render/M3G_Records.h"
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
    Appearance* appearance = savedAs<Appearance>(object);
    saveObject3DPart(appearance);
    M3G_Appearance record;
    setToStruct(record, appearance);
    validateAppearance(record);
    writeByte(static_cast<unsigned char>(record.layer));
    writeUInt32(record.compositingMode);
    writeUInt32(record.fog);
    writeUInt32(record.polygonMode);
    writeUInt32(record.material);
    writeArray(record.textures);
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
    CompositingMode* mode = savedAs<CompositingMode>(object);
    saveObject3DPart(mode);
    M3G_CompositingMode record;
    setToStruct(record, mode);
    validateCompositingMode(record);
    writeBoolean(record.depthTestEnabled);
    writeBoolean(record.depthWriteEnabled);
    writeBoolean(record.colorWriteEnabled);
    writeBoolean(record.alphaWriteEnabled);
    writeByte(record.blending);
    writeByte(record.alphaThreshold);
    writeFloat32(record.depthOffsetFactor);
    writeFloat32(record.depthOffsetUnits);
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
    PolygonMode* mode = savedAs<PolygonMode>(object);
    saveObject3DPart(mode);
    M3G_PolygonMode record;
    setToStruct(record, mode);
    validatePolygonMode(record);
    writeByte(record.culling);
    writeByte(record.shading);
    writeByte(record.winding);
    writeBoolean(record.twoSidedLightingEnabled);
    writeBoolean(record.localCameraLightingEnabled);
    writeBoolean(record.perspectiveCorrectionEnabled);
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
    Material* material = savedAs<Material>(object);
    saveObject3DPart(material);
    M3G_Material record;
    setToStruct(record, material);
    writeColor(record.ambientColor, 3);
    writeColor(record.diffuseColor, 4);
    writeColor(record.emissiveColor, 3);
    writeColor(record.specularColor, 3);
    writeFloat32(record.shininess);
    writeBoolean(record.vertexColorTrackingEnabled);
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
    Texture2D* texture = savedAs<Texture2D>(object);
    saveObject3DPart(texture);
    saveTransformablePart(texture);
    M3G_Texture2D record;
    setToStruct(record, texture);
    validateTexture2D(record);
    writeUInt32(record.image);
    writeColor(record.blendColor, 3);
    writeByte(record.blending);
    writeByte(record.wrappingS);
    writeByte(record.wrappingT);
    writeByte(record.levelFilter);
    writeByte(record.imageFilter);
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
    Image2D* image = savedAs<Image2D>(object);
    saveObject3DPart(image);
    M3G_Image2D record;
    setToStruct(record, image);
    validateImage2D(record);
    writeByte(record.format);
    writeBoolean(record.isMutable);
    writeUInt32(record.width);
    writeUInt32(record.height);
    if (!record.isMutable) {
        writeArray(record.palette);
        writeArray(record.pixels);
    }
}

} // namespace render
