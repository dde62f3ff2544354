#include "render/AnimationTrack.h"

namespace render {

AnimationTrack::AnimationTrack() = default;

AnimationTrack::~AnimationTrack() noexcept(false) = default;

} // namespace render
