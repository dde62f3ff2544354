#include "render/M3G_Loader.h"

#include "render/Loader_helpers.h"

namespace render {

// ---- the object-type table ---------------------------------------------------------------
//
// Indexed by the object type of the file. Type 0 (the header object) is read
// by the first section's reader, never through the table.

const M3G_Loader::ObjectType M3G_Loader::kObjectTypes[kObjectTypeCount] = {
    {"Header Object", nullptr},
    {"render::AnimationController", &M3G_Loader::parseAnimationController},
    {"render::AnimationTrack", &M3G_Loader::parseAnimationTrack},
    {"render::Appearance", &M3G_Loader::parseAppearance},
    {"render::Background", &M3G_Loader::parseBackground},
    {"render::Camera", &M3G_Loader::parseCamera},
    {"render::CompositingMode", &M3G_Loader::parseCompositingMode},
    {"render::Fog", &M3G_Loader::parseFog},
    {"render::PolygonMode", &M3G_Loader::parsePolygonMode},
    {"render::Group", &M3G_Loader::parseGroup},
    {"render::Image2D", &M3G_Loader::parseImage2D},
    {"render::TriangleStripArray", &M3G_Loader::parseTriangleStripArray},
    {"render::Light", &M3G_Loader::parseLight},
    {"render::Material", &M3G_Loader::parseMaterial},
    {"render::Mesh", &M3G_Loader::parseMesh},
    {"render::MorphingMesh", &M3G_Loader::parseMorphingMesh},
    {"render::SkinnedMesh", &M3G_Loader::parseSkinnedMesh},
    {"render::Texture2D", &M3G_Loader::parseTexture2D},
    // Sprites are never read from a file.
    {"render::Sprite", &M3G_Loader::parseNotImplemented},
    {"render::KeyframeSequence", &M3G_Loader::parseKeyframeSequence},
    {"render::VertexArray", &M3G_Loader::parseVertexArray},
    {"render::VertexBuffer", &M3G_Loader::parseVertexBuffer},
    {"render::World", &M3G_Loader::parseWorld},
};

core::Ref<Object3D> M3G_Loader::parseNotImplemented()
{
    parseError("No implementation yet.");
}

} // namespace render
