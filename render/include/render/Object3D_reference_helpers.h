#pragma once

#include "core/Vector.h"

namespace render {

class AnimationTrack;
class Appearance;
class Background;
class Group;
class Mesh;
class Object3D;
class SkinnedMesh;
class Sprite3D;
class Text2D;
class Texture2D;
class VertexBuffer;

// The scene objects an object refers to, by its dynamic type, in a fixed
// order per class (Object3D::getReferences hands its object to getSubRefs).
// Contract: each function appends plain pointers (no references taken) to
// out, or only counts when out is null, and returns how many; missing
// references are skipped. A null object is the bare assertion. A failure
// leaves out with what was appended before it. An object's own animation
// tracks and user object are not among its references (a track's own
// tracks are). Classes with no references of their own append nothing.

// Picks the first matching reference function below and returns its count.
int getSubRefs(Object3D* object, core::Vector<Object3D*>* out);

// A World's background and active camera, then the children from index 0.
int getRefsGroupAndWorld(Group* group, core::Vector<Object3D*>* out);
// The image.
int getRefsBackground(Background* background, core::Vector<Object3D*>* out);
// Compositing mode, material, polygon mode, the texture of each of the
// renderer's texture units, then the fog; fewer than one texture unit is
// refused after the components were appended.
int getRefsAppearance(Appearance* appearance, core::Vector<Object3D*>* out);
// Each submesh's appearance and index buffer, then the vertex buffer (a
// morphing mesh lists these only).
int getRefsMesh(Mesh* mesh, core::Vector<Object3D*>* out);
// The skeleton (after the mesh's own references).
int getRefsSkinnedMesh(SkinnedMesh* mesh, core::Vector<Object3D*>* out);
// The image.
int getRefsTexture2D(Texture2D* texture, core::Vector<Object3D*>* out);
// The controller, then the track's own animation tracks (not its keyframe
// sequence).
int getRefsAnimationTrack(AnimationTrack* track, core::Vector<Object3D*>* out);
// The appearance, then the image (a sprite without one fails).
int getRefsSprite3D(Sprite3D* sprite, core::Vector<Object3D*>* out);
// The font, then the appearance (a text missing either fails).
int getRefsText2D(Text2D* text, core::Vector<Object3D*>* out);
// Positions, normals, colours, then the coordinates of each of the
// renderer's texture units (none when it reports fewer than one).
int getRefsVertexBuffer(VertexBuffer* vertices, core::Vector<Object3D*>* out);

} // namespace render
