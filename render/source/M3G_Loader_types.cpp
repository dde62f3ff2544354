// The object-type table: the name, reader and writer of each object type.
#include "render/M3G_Loader.h"

#include "render/Loader_helpers.h"

namespace render {

// ---- the object-type table ---------------------------------------------------------------
//
// Indexed by the object type of the file. Type 0 (the header object) is read
// by the first section's reader, never through the table, and never written.

const M3G_Loader::ObjectType M3G_Loader::kObjectTypes[kObjectTypeCount] = {
    {"Header Object", nullptr, nullptr},
    {"render::AnimationController", &M3G_Loader::parseAnimationController, &M3G_Loader::saveAnimationController},
    {"render::AnimationTrack", &M3G_Loader::parseAnimationTrack, &M3G_Loader::saveAnimationTrack},
    {"render::Appearance", &M3G_Loader::parseAppearance, &M3G_Loader::saveAppearance},
    {"render::Background", &M3G_Loader::parseBackground, &M3G_Loader::saveBackground},
    {"render::Camera", &M3G_Loader::parseCamera, &M3G_Loader::saveCamera},
    {"render::CompositingMode", &M3G_Loader::parseCompositingMode, &M3G_Loader::saveCompositingMode},
    {"render::Fog", &M3G_Loader::parseFog, &M3G_Loader::saveFog},
    {"render::PolygonMode", &M3G_Loader::parsePolygonMode, &M3G_Loader::savePolygonMode},
    {"render::Group", &M3G_Loader::parseGroup, &M3G_Loader::saveGroup},
    {"render::Image2D", &M3G_Loader::parseImage2D, &M3G_Loader::saveImage2D},
    {"render::TriangleStripArray", &M3G_Loader::parseTriangleStripArray, &M3G_Loader::saveTriangleStripArray},
    {"render::Light", &M3G_Loader::parseLight, &M3G_Loader::saveLight},
    {"render::Material", &M3G_Loader::parseMaterial, &M3G_Loader::saveMaterial},
    {"render::Mesh", &M3G_Loader::parseMesh, &M3G_Loader::saveMesh},
    {"render::MorphingMesh", &M3G_Loader::parseMorphingMesh, &M3G_Loader::saveMorphingMesh},
    {"render::SkinnedMesh", &M3G_Loader::parseSkinnedMesh, &M3G_Loader::saveSkinnedMesh},
    {"render::Texture2D", &M3G_Loader::parseTexture2D, &M3G_Loader::saveTexture2D},
    // Sprites are never read from a file nor written to one.
    {"render::Sprite", &M3G_Loader::parseNotImplemented, &M3G_Loader::saveSprite},
    {"render::KeyframeSequence", &M3G_Loader::parseKeyframeSequence, &M3G_Loader::saveKeyframeSequence},
    {"render::VertexArray", &M3G_Loader::parseVertexArray, &M3G_Loader::saveVertexArray},
    {"render::VertexBuffer", &M3G_Loader::parseVertexBuffer, &M3G_Loader::saveVertexBuffer},
    {"render::World", &M3G_Loader::parseWorld, &M3G_Loader::saveWorld},
};

core::Ref<Object3D> M3G_Loader::parseNotImplemented()
{
    parseError("No implementation yet.");
}

} // namespace render
