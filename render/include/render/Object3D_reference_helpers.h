#pragma once

#include "core/Vector.h"

namespace render {

class AnimationTrack;
class Appearance;
class Background;
class Group;
class Object3D;
class Texture2D;

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
// The image.
int getRefsTexture2D(Texture2D* texture, core::Vector<Object3D*>* out);
// The controller, then the track's own animation tracks (not its keyframe
// sequence).
int getRefsAnimationTrack(AnimationTrack* track, core::Vector<Object3D*>* out);

} // namespace render
