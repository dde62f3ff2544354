#pragma once

#include "core/Vector.h"

#include <cstdint>

namespace render {

// The records of an M3G file as render::M3G_Loader reads them: one plain
// struct per class, its fields in file order, read whole before it is
// checked and applied to the scene object (M3G_Loader::setToClass). Object
// indices stay numbers here; applying a record resolves them. Counted arrays
// are vectors sized to their count. Writing goes the other way: a record is
// filled from an object (M3G_Loader::setToStruct), checked as the reader
// checks it, then written field by field.

// ---- base records ------------------------------------------------------------------

struct M3G_UserParameter {
    std::uint32_t parameterID = 0;
    core::Vector<unsigned char> parameterValue;
};

struct M3G_Object3D {
    std::uint32_t userID = 0;
    core::Vector<std::uint32_t> animationTracks;
    std::uint32_t userParameterCount = 0;
    core::Vector<M3G_UserParameter> userParameters;
};

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

struct M3G_Group {
    core::Vector<std::uint32_t> children;
};

// ---- vertex data ---------------------------------------------------------------------

struct M3G_VertexArray {
    unsigned char componentSize = 0;
    unsigned char componentCount = 0;
    unsigned char encoding = 0;
    std::uint16_t vertexCount = 0;
    // vertexCount x componentCount values, the components of a vertex
    // together; only the vector of the component size is filled (any size
    // but 1 is read as 16 bits).
    core::Vector<signed char> byteValues;
    core::Vector<short> shortValues;
};

struct M3G_TextureCoordinate {
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
    std::uint32_t textureCoordinateArrayCount = 0;
    core::Vector<M3G_TextureCoordinate> textureCoordinates;
};

struct M3G_TriangleStripArray {
    // Bit 7: explicit indices; bits 0..6: their width (0 u32, 1 u8, 2 u16).
    unsigned char encoding = 0;
    std::uint32_t startIndex = 0;
    // Only the vector of the encoding's width is filled.
    core::Vector<std::uint32_t> indices32;
    core::Vector<unsigned char> indices8;
    core::Vector<std::uint16_t> indices16;
    core::Vector<std::uint32_t> stripLengths;
};

// ---- meshes --------------------------------------------------------------------------

struct M3G_SubMesh {
    std::uint32_t indexBuffer = 0;
    std::uint32_t appearance = 0;
};

struct M3G_Mesh {
    std::uint32_t vertexBuffer = 0;
    std::uint32_t submeshCount = 0;
    core::Vector<M3G_SubMesh> submeshes;
};

struct M3G_MorphTarget {
    std::uint32_t morphTarget = 0;
    float initialWeight = 0.0f;
};

struct M3G_MorphingMesh {
    std::uint32_t morphTargetCount = 0;
    core::Vector<M3G_MorphTarget> morphTargets;
};

struct M3G_TransformReference {
    std::uint32_t transformNode = 0;
    std::uint32_t firstVertex = 0;
    std::uint32_t vertexCount = 0;
    std::int32_t weight = 0;
};

struct M3G_SkinnedMesh {
    std::uint32_t skeleton = 0;
    std::uint32_t transformReferenceCount = 0;
    core::Vector<M3G_TransformReference> transformReferences;
};

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

struct M3G_PolygonMode {
    unsigned char culling = 0;
    unsigned char shading = 0;
    unsigned char winding = 0;
    bool twoSidedLightingEnabled = false;
    bool localCameraLightingEnabled = false;
    bool perspectiveCorrectionEnabled = false;
};

struct M3G_Material {
    unsigned char ambientColor[3] = {};  // red, green, blue
    unsigned char diffuseColor[4] = {};  // red, green, blue, alpha
    unsigned char emissiveColor[3] = {};
    unsigned char specularColor[3] = {};
    float shininess = 0.0f;
    bool vertexColorTrackingEnabled = false;
};

struct M3G_Texture2D {
    std::uint32_t image = 0;
    unsigned char blendColor[3] = {}; // red, green, blue
    unsigned char blending = 0;
    unsigned char wrappingS = 0;
    unsigned char wrappingT = 0;
    unsigned char levelFilter = 0;
    unsigned char imageFilter = 0;
};

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

struct M3G_Fog {
    unsigned char color[3] = {}; // red, green, blue
    unsigned char mode = 0;
    float density = 0.0f;      // EXPONENTIAL only
    float nearDistance = 0.0f; // LINEAR only
    float farDistance = 0.0f;  // LINEAR only
};

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

struct M3G_World {
    std::uint32_t activeCamera = 0;
    std::uint32_t background = 0;
};

// ---- animation -----------------------------------------------------------------------

struct M3G_AnimationController {
    float speed = 0.0f;
    float weight = 0.0f;
    std::int32_t activeIntervalStart = 0;
    std::int32_t activeIntervalEnd = 0;
    float referenceSequenceTime = 0.0f;
    std::int32_t referenceWorldTime = 0;
};

struct M3G_AnimationTrack {
    std::uint32_t keyframeSequence = 0;
    std::uint32_t animationController = 0;
    std::uint32_t propertyID = 0;
};

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

} // namespace render
