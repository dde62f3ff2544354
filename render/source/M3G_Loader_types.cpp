#include "render/M3G_Loader.h"

#include "render/Loader_helpers.h"

namespace render {

// ---- the object-type table ---------------------------------------------------------------
//
// Indexed by the object type of the file. Type 0 (the header object) is read
// by the first section's reader, never through the table.

const M3G_Loader::ObjectType M3G_Loader::kObjectTypes[kObjectTypeCount] = {
    {"Header Object", nullptr},
    {"render::AnimationController", &M3G_Loader::parseNotImplemented},
    {"render::AnimationTrack", &M3G_Loader::parseNotImplemented},
    {"render::Appearance", &M3G_Loader::parseNotImplemented},
    {"render::Background", &M3G_Loader::parseNotImplemented},
    {"render::Camera", &M3G_Loader::parseNotImplemented},
    {"render::CompositingMode", &M3G_Loader::parseNotImplemented},
    {"render::Fog", &M3G_Loader::parseNotImplemented},
    {"render::PolygonMode", &M3G_Loader::parseNotImplemented},
    {"render::Group", &M3G_Loader::parseGroup},
    {"render::Image2D", &M3G_Loader::parseNotImplemented},
    {"render::TriangleStripArray", &M3G_Loader::parseNotImplemented},
    {"render::Light", &M3G_Loader::parseNotImplemented},
    {"render::Material", &M3G_Loader::parseNotImplemented},
    {"render::Mesh", &M3G_Loader::parseNotImplemented},
    {"render::MorphingMesh", &M3G_Loader::parseNotImplemented},
    {"render::SkinnedMesh", &M3G_Loader::parseNotImplemented},
    {"render::Texture2D", &M3G_Loader::parseNotImplemented},
    // Sprites are never read from a file.
    {"render::Sprite", &M3G_Loader::parseNotImplemented},
    {"render::KeyframeSequence", &M3G_Loader::parseNotImplemented},
    {"render::VertexArray", &M3G_Loader::parseNotImplemented},
    {"render::VertexBuffer", &M3G_Loader::parseNotImplemented},
    {"render::World", &M3G_Loader::parseNotImplemented},
};

core::Ref<Object3D> M3G_Loader::parseNotImplemented()
{
    parseError("No implementation yet.");
}

} // namespace render
