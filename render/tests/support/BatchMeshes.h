#pragma once

#include "render/Mesh.h"
#include "render/Transform.h"

#include "core/Ref.h"

#include <vector>

namespace testsupport {

using Shorts = std::vector<short>;
using Indices = std::vector<unsigned short>;

// The placement the batch writers read: a translation only.
render::Transform translation(float x, float y, float z);

// A batch mesh as the renderer builds it: 16-bit positions and texture
// coordinates for `quads` quads and a triangle list for `indexQuads`, each
// quad's base vertex already at its first index.
core::Ref<render::Mesh> batchMesh(int quads, int indexQuads);

// `count` vertices of submesh 0's arrays from firstVertex on, and `count`
// indices from `first` on.
Shorts positionsOf(render::Mesh& mesh, int firstVertex, int count);
Shorts texelsOf(render::Mesh& mesh, int firstVertex, int count);
Indices indicesOf(render::Mesh& mesh, int first, int count);
// Position scale and bias, then texture-coordinate scale and bias.
std::vector<float> scalesOf(render::Mesh& mesh);
// Every value the batching may write, to tell whether a call changed any.
std::vector<float> snapshot(render::Mesh& mesh);

} // namespace testsupport
