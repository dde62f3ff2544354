#include "render/Object3D.h"

#include "render/AnimationTrack.h"
#include "render/Object3D_reference_helpers.h"

#include "core/Assert.h"
#include "core/Debug.h"

#include <cinttypes>
#include <cstdint>

namespace render {

// ---- life cycle -------------------------------------------------------------

Object3D::Object3D() = default;

// The members go in reverse order: the tracks first, then the user object.
Object3D::~Object3D() noexcept(false) = default;

// ---- user data ----------------------------------------------------------------

int Object3D::getUserID() const
{
    core::Debug::printf(core::Debug::LEVEL_LOW, "Object3D: getUserID = %d\n", m_userID);
    return m_userID;
}

void Object3D::setUserID(int id)
{
    core::Debug::printf(core::Debug::LEVEL_LOW, "Object3D: setUserID = %d (old id = %d)\n", id, m_userID);
    m_userID = id;
}

// ---- animation tracks -----------------------------------------------------------

AnimationTrack* Object3D::getAnimationTrack(int index) const
{
    VORNIC3D_CHECK(index >= 0);
    VORNIC3D_CHECK(index < m_animationTracks.m_size);
    core::Debug::printf(core::Debug::LEVEL_NORMAL, "Object3D: getAnimationTrack (%d)\n", index);
    return dynamic_cast<AnimationTrack*>(m_animationTracks[index].get());
}

void Object3D::addAnimationTrack(AnimationTrack* track)
{
    core::Debug::printf(core::Debug::LEVEL_NORMAL, "Object3D: addAnimationTrack = 0x%" PRIXPTR "\n",
                        reinterpret_cast<std::uintptr_t>(track));
    VORNIC3D_ASSERT(track != nullptr, "NULL Object given as AnimationTrack.");
    // Callers that resolve references as Object3D may hand over anything.
    Object3D* object = track;
    VORNIC3D_ASSERT(dynamic_cast<AnimationTrack*>(object) != nullptr,
                    "Set AnimationTrack object is not AnimationTrack type.");
    m_animationTracks.pushBack(core::Ref<Object3D>(object));
}

// ---- references -------------------------------------------------------------------

int Object3D::getReferences(core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(out != nullptr);
    return getSubRefs(this, out);
}

} // namespace render
