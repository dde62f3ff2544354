#pragma once

#include "render/Appearance.h"

#include "core/Ref.h"

namespace render {

// A new appearance for drawing flat over a frame (texts, the background
// image, textures drawn as quads): no culling, alpha blending, neither depth
// test nor depth write, and a white material (ambient 0x00FFFFFF, diffuse
// 0xFFFFFFFF). Made only while the renderer singleton exists.
core::Ref<Appearance> createOverlayAppearance();

} // namespace render
