#pragma once

#include "core/Assert.h"
#include "render/Loader_helpers.h"

namespace render {

// ---- references -------------------------------------------------------------------

// Only objects already read are in the table, so a record can name only
// objects before it; positions 0 (nil) and 1 (the header) hold nothing.
template <typename T>
core::Ref<T> M3G_Loader::getRef(std::uint32_t index)
{
    if (index >= static_cast<std::uint32_t>(m_objectIndex.m_size))
        parseError("Reference to unloaded object detected.");
    Object3D* object = m_objectIndex[static_cast<int>(index)].get();
    if (object == nullptr)
        parseError("Reference to unloaded object detected. Reference is nil.");
    T* typed = dynamic_cast<T*>(object);
    if (typed == nullptr)
        parseError("Referenced object is not correct type.");
    m_objectReferenced[static_cast<int>(index)] = true;
    return core::Ref<T>(typed);
}

// ---- saved objects ---------------------------------------------------------------

// Type tables and callers can disagree; writing one class's record for an
// object of another would read back as garbage, so it is a program bug.
template <typename T>
T* M3G_Loader::savedAs(Object3D* object)
{
    T* typed = dynamic_cast<T*>(object);
    VORNIC3D_ASSERT(typed != nullptr, "Bug in save functionality. Object type mismatch.");
    return typed;
}

} // namespace render
