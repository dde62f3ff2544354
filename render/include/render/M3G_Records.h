#pragma once

#include "core/Vector.h"
#include "render/Camera.h"
#include "render/Fog.h"
#include "render/VertexArray.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace render {

// The records of an M3G file as render::M3G_Loader reads them: one plain
// struct per class, its fields in file order, read whole before it is
// checked and applied to the scene object (M3G_Loader::setToClass). Object
// indices stay numbers here; applying a record resolves them. Counted arrays
// are vectors whose size is their count. Writing goes the other way: a
// record is filled from an object (M3G_Loader::setToStruct), checked as the
// reader checks it, then written.
// Below each struct stands its one field list, fields(io, record), which
// both directions run: the reader with a cursor that reads each field it
// names, the writer with one that writes it, so the two cannot disagree on
// a layout. A field that decides what follows (a flag, a type, an encoding)
// chooses the same way in both. An element of a counted array names its
// smallest length, which a count read from a file is checked against.

// ---- base records ------------------------------------------------------------------

struct M3G_UserParameter {
    static constexpr int kSmallestLength = 8; // its id and the count of its bytes
    std::uint32_t parameterID = 0;
    core::Vector<unsigned char> parameterValue;
};

struct M3G_Object3D {
    std::uint32_t userID = 0;
    core::Vector<std::uint32_t> animationTracks;
    core::Vector<M3G_UserParameter> userParameters;
};

template <typename IO>
void fields(IO& io, M3G_Object3D& record)
{
    io(record.userID, record.animationTracks);
    io.counted(record.userParameters, [&](auto& parameter) { io(parameter.parameterID, parameter.parameterValue); });
}

struct M3G_Transformable {
    bool hasComponentTransform = false;
    float translation[3] = {};
    float scale[3] = {};
    float orientationAngle = 0.0f;
    float orientationAxis[3] = {};
    bool hasGeneralTransform = false;
    // Row order, as the file stores it.
    float transform[16] = {};
};

template <typename IO>
void fields(IO& io, M3G_Transformable& record)
{
    io(record.hasComponentTransform);
    if (record.hasComponentTransform)
        io(record.translation, record.scale, record.orientationAngle, record.orientationAxis);
    io(record.hasGeneralTransform);
    if (record.hasGeneralTransform)
        io(record.transform);
}

struct M3G_Node {
    bool enableRendering = true;
    bool enablePicking = true;
    unsigned char alphaFactor = 255;
    std::uint32_t scope = 0;
    bool hasAlignment = false;
    unsigned char zTarget = 0;
    unsigned char yTarget = 0;
    std::uint32_t zReference = 0;
    std::uint32_t yReference = 0;
};

template <typename IO>
void fields(IO& io, M3G_Node& record)
{
    io(record.enableRendering, record.enablePicking, record.alphaFactor, record.scope, record.hasAlignment);
    if (record.hasAlignment)
        io(record.zTarget, record.yTarget, record.zReference, record.yReference);
}

struct M3G_Group {
    core::Vector<std::uint32_t> children;
};

template <typename IO>
void fields(IO& io, M3G_Group& record)
{
    io(record.children);
}

// ---- vertex data ---------------------------------------------------------------------

struct M3G_VertexArray {
    unsigned char componentSize = 0;
    unsigned char componentCount = 0;
    unsigned char encoding = 0;
    std::uint16_t vertexCount = 0;
    // vertexCount x componentCount values, the components of a vertex
    // together; only the vector of the component size is filled.
    core::Vector<signed char> byteValues;
    core::Vector<short> shortValues;
};

template <typename IO>
void fields(IO& io, M3G_VertexArray& record)
{
    io(record.componentSize, record.componentCount, record.encoding, record.vertexCount);
    const std::uint32_t count = static_cast<std::uint32_t>(record.vertexCount) * record.componentCount;
    // Any size but 1 is read as 16 bits, so that a bad size still consumes
    // its values before the check refuses it.
    if (record.componentSize == VertexArray::BYTE)
        io.values(count, record.byteValues);
    else
        io.values(count, record.shortValues);
}

struct M3G_TextureCoordinate {
    static constexpr int kSmallestLength = 20;
    std::uint32_t textureCoordinates = 0;
    float textureCoordinatesBias[3] = {};
    float textureCoordinatesScale = 0.0f;
};

struct M3G_VertexBuffer {
    unsigned char defaultColor[4] = {}; // red, green, blue, alpha
    std::uint32_t positions = 0;
    float positionBias[3] = {};
    float positionScale = 0.0f;
    std::uint32_t normals = 0;
    std::uint32_t colors = 0;
    core::Vector<M3G_TextureCoordinate> textureCoordinates;
};

template <typename IO>
void fields(IO& io, M3G_VertexBuffer& record)
{
    io(record.defaultColor, record.positions, record.positionBias, record.positionScale, record.normals, record.colors);
    io.counted(record.textureCoordinates,
               [&](auto& set) { io(set.textureCoordinates, set.textureCoordinatesBias, set.textureCoordinatesScale); });
}

struct M3G_TriangleStripArray {
    // Bit 7: explicit indices; bits 0..6: their width.
    static constexpr unsigned char kExplicitIndices = 0x80;
    static constexpr unsigned char kIndexWidthMask = 0x7F;
    enum IndexWidth { kWidth32 = 0, kWidth8 = 1, kWidth16 = 2 };

    unsigned char encoding = 0;
    std::uint32_t startIndex = 0;
    // Only the vector of the encoding's width is filled.
    core::Vector<std::uint32_t> indices32;
    core::Vector<unsigned char> indices8;
    core::Vector<std::uint16_t> indices16;
    core::Vector<std::uint32_t> stripLengths;
};

template <typename IO>
void fields(IO& io, M3G_TriangleStripArray& record)
{
    using Strips = M3G_TriangleStripArray;
    io(record.encoding);
    const int width = record.encoding & Strips::kIndexWidthMask;
    if ((record.encoding & Strips::kExplicitIndices) == 0) {
        // Implicit indices: only the first, in the encoding's width.
        if (width == Strips::kWidth32)
            io(record.startIndex);
        else if (width == Strips::kWidth8)
            io.narrowed(record.startIndex, std::uint8_t());
        else if (width == Strips::kWidth16)
            io.narrowed(record.startIndex, std::uint16_t());
    } else if (width == Strips::kWidth32) {
        io(record.indices32);
    } else if (width == Strips::kWidth8) {
        io(record.indices8);
    } else if (width == Strips::kWidth16) {
        io(record.indices16);
    }
    io(record.stripLengths);
}

// ---- meshes --------------------------------------------------------------------------

struct M3G_SubMesh {
    static constexpr int kSmallestLength = 8;
    std::uint32_t indexBuffer = 0;
    std::uint32_t appearance = 0;
};

struct M3G_Mesh {
    std::uint32_t vertexBuffer = 0;
    core::Vector<M3G_SubMesh> submeshes;
};

template <typename IO>
void fields(IO& io, M3G_Mesh& record)
{
    io(record.vertexBuffer);
    io.counted(record.submeshes, [&](auto& submesh) { io(submesh.indexBuffer, submesh.appearance); });
}

struct M3G_MorphTarget {
    static constexpr int kSmallestLength = 8;
    std::uint32_t morphTarget = 0;
    float initialWeight = 0.0f;
};

struct M3G_MorphingMesh {
    core::Vector<M3G_MorphTarget> morphTargets;
};

template <typename IO>
void fields(IO& io, M3G_MorphingMesh& record)
{
    io.counted(record.morphTargets, [&](auto& target) { io(target.morphTarget, target.initialWeight); });
}

struct M3G_TransformReference {
    static constexpr int kSmallestLength = 16;
    std::uint32_t transformNode = 0;
    std::uint32_t firstVertex = 0;
    std::uint32_t vertexCount = 0;
    std::int32_t weight = 0;
};

struct M3G_SkinnedMesh {
    std::uint32_t skeleton = 0;
    core::Vector<M3G_TransformReference> transformReferences;
};

template <typename IO>
void fields(IO& io, M3G_SkinnedMesh& record)
{
    io(record.skeleton);
    io.counted(record.transformReferences,
               [&](auto& bone) { io(bone.transformNode, bone.firstVertex, bone.vertexCount, bone.weight); });
}

// ---- appearance ----------------------------------------------------------------------

struct M3G_Appearance {
    signed char layer = 0;
    std::uint32_t compositingMode = 0;
    std::uint32_t fog = 0;
    std::uint32_t polygonMode = 0;
    std::uint32_t material = 0;
    // One per texture unit, unit 0 first.
    core::Vector<std::uint32_t> textures;
};

template <typename IO>
void fields(IO& io, M3G_Appearance& record)
{
    io(record.layer, record.compositingMode, record.fog, record.polygonMode, record.material, record.textures);
}

struct M3G_CompositingMode {
    bool depthTestEnabled = true;
    bool depthWriteEnabled = true;
    bool colorWriteEnabled = true;
    bool alphaWriteEnabled = true;
    unsigned char blending = 0;
    unsigned char alphaThreshold = 0; // 0..255 for 0.0..1.0
    float depthOffsetFactor = 0.0f;
    float depthOffsetUnits = 0.0f;
};

template <typename IO>
void fields(IO& io, M3G_CompositingMode& record)
{
    io(record.depthTestEnabled, record.depthWriteEnabled, record.colorWriteEnabled, record.alphaWriteEnabled,
       record.blending, record.alphaThreshold, record.depthOffsetFactor, record.depthOffsetUnits);
}

struct M3G_PolygonMode {
    unsigned char culling = 0;
    unsigned char shading = 0;
    unsigned char winding = 0;
    bool twoSidedLightingEnabled = false;
    bool localCameraLightingEnabled = false;
    bool perspectiveCorrectionEnabled = false;
};

template <typename IO>
void fields(IO& io, M3G_PolygonMode& record)
{
    io(record.culling, record.shading, record.winding, record.twoSidedLightingEnabled,
       record.localCameraLightingEnabled, record.perspectiveCorrectionEnabled);
}

struct M3G_Material {
    unsigned char ambientColor[3] = {}; // red, green, blue
    unsigned char diffuseColor[4] = {}; // red, green, blue, alpha
    unsigned char emissiveColor[3] = {};
    unsigned char specularColor[3] = {};
    float shininess = 0.0f;
    bool vertexColorTrackingEnabled = false;
};

template <typename IO>
void fields(IO& io, M3G_Material& record)
{
    io(record.ambientColor, record.diffuseColor, record.emissiveColor, record.specularColor, record.shininess,
       record.vertexColorTrackingEnabled);
}

struct M3G_Texture2D {
    std::uint32_t image = 0;
    unsigned char blendColor[3] = {}; // red, green, blue
    unsigned char blending = 0;
    unsigned char wrappingS = 0;
    unsigned char wrappingT = 0;
    unsigned char levelFilter = 0;
    unsigned char imageFilter = 0;
};

template <typename IO>
void fields(IO& io, M3G_Texture2D& record)
{
    io(record.image, record.blendColor, record.blending, record.wrappingS, record.wrappingT, record.levelFilter,
       record.imageFilter);
}

struct M3G_Image2D {
    unsigned char format = 0;
    bool isMutable = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Only for an immutable image: palette entries of the format's pixel
    // size, then one byte per channel per pixel, or one palette index per
    // pixel when there is a palette.
    core::Vector<unsigned char> palette;
    core::Vector<unsigned char> pixels;
};

template <typename IO>
void fields(IO& io, M3G_Image2D& record)
{
    io(record.format, record.isMutable, record.width, record.height);
    // A mutable image's record ends with its size: it starts blank.
    if (!record.isMutable)
        io(record.palette, record.pixels);
}

// ---- scene ---------------------------------------------------------------------------

struct M3G_Camera {
    unsigned char projectionType = 0;
    // GENERIC only, row order.
    float projectionMatrix[16] = {};
    // PARALLEL (fovy is the view height) and PERSPECTIVE only.
    float fovy = 0.0f;
    float aspectRatio = 0.0f;
    float nearDistance = 0.0f;
    float farDistance = 0.0f;
};

template <typename IO>
void fields(IO& io, M3G_Camera& record)
{
    io(record.projectionType);
    // Nothing follows a type the check refuses.
    if (record.projectionType == Camera::GENERIC)
        io(record.projectionMatrix);
    else if (record.projectionType == Camera::PARALLEL || record.projectionType == Camera::PERSPECTIVE)
        io(record.fovy, record.aspectRatio, record.nearDistance, record.farDistance);
}

struct M3G_Light {
    float attenuationConstant = 0.0f;
    float attenuationLinear = 0.0f;
    float attenuationQuadratic = 0.0f;
    unsigned char color[3] = {}; // red, green, blue
    unsigned char mode = 0;
    float intensity = 0.0f;
    float spotAngle = 0.0f;
    float spotExponent = 0.0f;
};

template <typename IO>
void fields(IO& io, M3G_Light& record)
{
    io(record.attenuationConstant, record.attenuationLinear, record.attenuationQuadratic, record.color, record.mode,
       record.intensity, record.spotAngle, record.spotExponent);
}

struct M3G_Fog {
    unsigned char color[3] = {}; // red, green, blue
    unsigned char mode = 0;
    float density = 0.0f;      // EXPONENTIAL only
    float nearDistance = 0.0f; // LINEAR only
    float farDistance = 0.0f;  // LINEAR only
};

template <typename IO>
void fields(IO& io, M3G_Fog& record)
{
    io(record.color, record.mode);
    // Nothing follows a mode the check refuses.
    if (record.mode == Fog::LINEAR)
        io(record.nearDistance, record.farDistance);
    else if (record.mode == Fog::EXPONENTIAL)
        io(record.density);
}

struct M3G_Background {
    unsigned char backgroundColor[4] = {}; // red, green, blue, alpha
    std::uint32_t backgroundImage = 0;
    unsigned char backgroundImageModeX = 0;
    unsigned char backgroundImageModeY = 0;
    std::int32_t cropX = 0;
    std::int32_t cropY = 0;
    std::int32_t cropWidth = 0;
    std::int32_t cropHeight = 0;
    bool depthClearEnabled = true;
    bool colorClearEnabled = true;
};

template <typename IO>
void fields(IO& io, M3G_Background& record)
{
    io(record.backgroundColor, record.backgroundImage, record.backgroundImageModeX, record.backgroundImageModeY,
       record.cropX, record.cropY, record.cropWidth, record.cropHeight, record.depthClearEnabled,
       record.colorClearEnabled);
}

struct M3G_World {
    std::uint32_t activeCamera = 0;
    std::uint32_t background = 0;
};

template <typename IO>
void fields(IO& io, M3G_World& record)
{
    io(record.activeCamera, record.background);
}

// ---- animation -----------------------------------------------------------------------

struct M3G_AnimationController {
    float speed = 0.0f;
    float weight = 0.0f;
    std::int32_t activeIntervalStart = 0;
    std::int32_t activeIntervalEnd = 0;
    float referenceSequenceTime = 0.0f;
    std::int32_t referenceWorldTime = 0;
};

template <typename IO>
void fields(IO& io, M3G_AnimationController& record)
{
    io(record.speed, record.weight, record.activeIntervalStart, record.activeIntervalEnd, record.referenceSequenceTime,
       record.referenceWorldTime);
}

struct M3G_AnimationTrack {
    std::uint32_t keyframeSequence = 0;
    std::uint32_t animationController = 0;
    std::uint32_t propertyID = 0;
};

template <typename IO>
void fields(IO& io, M3G_AnimationTrack& record)
{
    io(record.keyframeSequence, record.animationController, record.propertyID);
}

// One keyframe of each encoding: its time and componentCount values.
struct M3G_Float32KeyframeSequence {
    std::int32_t time = 0;
    core::Vector<float> values;
};

struct M3G_ByteKeyframeSequence {
    std::int32_t time = 0;
    core::Vector<unsigned char> values;
};

struct M3G_Uint16KeyframeSequence {
    std::int32_t time = 0;
    core::Vector<unsigned short> values;
};

struct M3G_KeyframeSequence {
    enum Encoding { kFloat32Values = 0, kByteValues = 1, kUint16Values = 2 };

    unsigned char interpolation = 0;
    unsigned char repeatMode = 0;
    unsigned char encoding = 0;
    std::uint32_t duration = 0;
    std::uint32_t validRangeFirst = 0;
    std::uint32_t validRangeLast = 0;
    std::uint32_t componentCount = 0;
    std::uint32_t keyframeCount = 0;
    // Only the keyframes of the record's encoding are filled; bias and scale
    // belong to encodings 1 and 2: value = bias + scale x stored / max.
    core::Vector<M3G_Float32KeyframeSequence> floatKeyframes;
    core::Vector<float> vectorBias;
    core::Vector<float> vectorScale;
    core::Vector<M3G_ByteKeyframeSequence> byteKeyframes;
    core::Vector<M3G_Uint16KeyframeSequence> uint16Keyframes;
};

// The keyframes of one encoding: each its time, then its values.
template <typename IO, typename Keyframe>
void keyframeFields(IO& io, const M3G_KeyframeSequence& record, core::Vector<Keyframe>& keyframes)
{
    io.sized(record.keyframeCount, keyframes, [&](Keyframe& keyframe) {
        io(keyframe.time);
        io.sized(record.componentCount, keyframe.values);
    });
}

// Only ever read (its writer stops before this record), so the list checks
// its counts against the bytes left itself, as a reader must.
template <typename IO>
void fields(IO& io, M3G_KeyframeSequence& record)
{
    using Sequence = M3G_KeyframeSequence;
    io(record.interpolation, record.repeatMode, record.encoding, record.duration, record.validRangeFirst,
       record.validRangeLast, record.componentCount, record.keyframeCount);
    // Nothing follows an encoding the check refuses.
    if (record.encoding > Sequence::kUint16Values)
        return;

    const std::uint32_t components = record.componentCount;
    if (record.encoding != Sequence::kFloat32Values) {
        io.require(components, 2 * static_cast<int>(sizeof(float)));
        io.sized(components, record.vectorBias);
        io.sized(components, record.vectorScale);
    }
    // Both counts are checked against the bytes left before anything is
    // sized for them: a keyframe is its time and its values.
    constexpr int kValueSize[] = {4, 1, 2}; // by encoding
    const int valueSize = kValueSize[record.encoding];
    if (record.keyframeCount > 0)
        io.require(components, valueSize);
    const std::uint64_t keyframeSize = 4 + static_cast<std::uint64_t>(components) * valueSize;
    io.require(record.keyframeCount, static_cast<int>(std::min<std::uint64_t>(keyframeSize, INT_MAX)));

    switch (record.encoding) {
    case Sequence::kFloat32Values: keyframeFields(io, record, record.floatKeyframes); break;
    case Sequence::kByteValues: keyframeFields(io, record, record.byteKeyframes); break;
    default: keyframeFields(io, record, record.uint16Keyframes); break;
    }
}

} // namespace render
