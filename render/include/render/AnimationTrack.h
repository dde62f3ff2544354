#pragma once

#include "render/Object3D.h"

namespace render {

// Binds keyframe data to one animated property of a scene object; objects
// keep their tracks in Object3D's track list, which accepts nothing else.
// Contract: for now only the type exists, so that the track list can check
// what it is given and hand tracks back by their own type; the keyframe
// sequence, the controller and the target property come with the keyframe
// data, and until then only a subclass can make a track.
class AnimationTrack : public Object3D {
public:
    ~AnimationTrack() noexcept(false) override;

protected:
    AnimationTrack();
};

} // namespace render
