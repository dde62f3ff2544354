#pragma once

namespace render {

// The object types of an M3G scene file: the byte that opens every object's
// record and names the row of the loader's object-type table. The header is
// type 0; every other type is a class of the scene graph.
enum class M3G_ObjectType : unsigned char {
    HEADER = 0,
    ANIMATION_CONTROLLER = 1,
    ANIMATION_TRACK = 2,
    APPEARANCE = 3,
    BACKGROUND = 4,
    CAMERA = 5,
    COMPOSITING_MODE = 6,
    FOG = 7,
    POLYGON_MODE = 8,
    GROUP = 9,
    IMAGE_2D = 10,
    TRIANGLE_STRIP_ARRAY = 11,
    LIGHT = 12,
    MATERIAL = 13,
    MESH = 14,
    MORPHING_MESH = 15,
    SKINNED_MESH = 16,
    TEXTURE_2D = 17,
    SPRITE = 18,
    KEYFRAME_SEQUENCE = 19,
    VERTEX_ARRAY = 20,
    VERTEX_BUFFER = 21,
    WORLD = 22,
};

} // namespace render
