#pragma once

#include "core/Object.h"
#include "core/Ref.h"
#include "core/Vector.h"

namespace render {

class AnimationTrack;

// Base of every scene-graph object: nodes, components, images, textures,
// vertex data, animation data and fonts. Carries a user id (free for the
// application and the file reader), an optional user object and the list of
// animation tracks that animate it.
// Contract: scene objects are core objects made with VORNIC3D_NEW and held by
// core::Ref; they are told apart by dynamic_cast, never by type codes.
// Objects that hold other scene objects hold them by counted reference and
// return plain pointers from their getters. Setters check every argument
// before they store, so a refused call leaves the object as it was. Scene
// objects are not copied: a copy would break the parent links of the graph.
class Object3D : public core::Object {
public:
    Object3D();
    ~Object3D() noexcept(false) override;

    Object3D(const Object3D&) = delete;
    Object3D& operator=(const Object3D&) = delete;

    // ---- user data ----
    int getUserID() const;
    void setUserID(int id);
    // Null when none; released with the object.
    core::Object* getUserObject() const { return m_userObject.get(); }

    // ---- animation tracks ----
    int getAnimationTrackCount() const { return m_animationTracks.m_size; }
    // The bare assertion for an index outside 0..count-1.
    AnimationTrack* getAnimationTrack(int index) const;
    // Appends the track with a counted reference; the same track may be added
    // more than once, and nothing removes one.
    void addAnimationTrack(AnimationTrack* track);

    // ---- references ----
    // Appends the scene objects this one refers to (plain pointers, in a
    // fixed order per class) to a non-null out and returns their number.
    int getReferences(core::Vector<Object3D*>* out);

private:
    core::Ref<core::Object> m_userObject;
    core::Vector<core::Ref<Object3D>> m_animationTracks;
    int m_userID = 0;
};

} // namespace render
