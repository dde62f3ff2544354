#pragma once

#include "core/Assert.h"
#include "core/Ref.h"

namespace core {

// ---- construction and destruction ------------------------------------------

template <typename T>
Ref<T>::Ref(T* object) : m_object(object)
{
    if (m_object != nullptr)
        m_object->addRef();
}

template <typename T>
Ref<T>::Ref(const Ref& other) : Ref(other.m_object)
{
}

template <typename T>
template <typename U, typename>
Ref<T>::Ref(const Ref<U>& other) : Ref(static_cast<T*>(other.get()))
{
}

template <typename T>
Ref<T>::~Ref() noexcept(false)
{
    reset(nullptr);
}

// ---- assignment ---------------------------------------------------------------

template <typename T>
Ref<T>& Ref<T>::operator=(const Ref& other)
{
    reset(other.m_object);
    return *this;
}

template <typename T>
template <typename U, typename>
Ref<T>& Ref<T>::operator=(const Ref<U>& other)
{
    reset(static_cast<T*>(other.get()));
    return *this;
}

template <typename T>
void Ref<T>::reset(T* object)
{
    if (object != nullptr)
        object->addRef();
    T* old = m_object;
    // Stored before the old object goes, so its destructor never meets a
    // reference that still points at it.
    m_object = object;
    if (old != nullptr && old->releaseRef() == 0)
        delete old;
}

// ---- access ---------------------------------------------------------------------

template <typename T>
T* Ref<T>::operator->() const
{
    VORNIC3D_ASSERT(m_object != nullptr, "NULL pointer");
    return m_object;
}

template <typename T>
T& Ref<T>::operator*() const
{
    VORNIC3D_ASSERT(m_object != nullptr, "NULL pointer");
    return *m_object;
}

} // namespace core
