#pragma once

#include <cstddef>
#include <type_traits>

namespace core {

// The owning, counted reference to a core::Object (or a class derived from
// it): a non-empty reference contributes exactly one to its object's count,
// and the release that brings the count to 0 deletes the object.
// Contract: T derives from core::Object and is complete wherever a reference
// is copied, assigned or destroyed. Assignment takes the new reference before
// it drops the old one, so self- and alias assignment are safe. Reading the
// plain pointer (get, comparisons) never touches the count. `->` and `*` on an
// empty reference log "NULL pointer" and throw the engine assertion.
template <typename T>
class Ref {
public:
    Ref() noexcept = default;
    // Implicit, so that `Ref<Node> node = VORNIC3D_NEW Node();` reads naturally.
    Ref(T* object);
    Ref(const Ref& other);
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other);
    // Deleting the last holder's object may throw the engine's exceptions.
    ~Ref() noexcept(false);

    Ref& operator=(const Ref& other);
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref& operator=(const Ref<U>& other);

    // ---- access ----
    T* operator->() const;
    T& operator*() const;
    T* get() const noexcept { return m_object; }
    // Exchanges the two objects held; no count changes, so a chain can be
    // taken apart link by link without a release that deletes early.
    void swap(Ref& other) noexcept
    {
        T* held = m_object;
        m_object = other.m_object;
        other.m_object = held;
    }

    // ---- comparison with plain pointers (nullptr included) ----
    friend bool operator==(const Ref& a, const T* b) noexcept { return a.m_object == b; }
    friend bool operator==(const T* a, const Ref& b) noexcept { return a == b.m_object; }
    friend bool operator!=(const Ref& a, const T* b) noexcept { return a.m_object != b; }
    friend bool operator!=(const T* a, const Ref& b) noexcept { return a != b.m_object; }

private:
    // Takes one count on `object` (may be null) and drops the one held now.
    void reset(T* object);

    T* m_object = nullptr;
};

template <typename T, typename U>
bool operator==(const Ref<T>& a, const Ref<U>& b) noexcept
{
    return a.get() == b.get();
}

template <typename T, typename U>
bool operator!=(const Ref<T>& a, const Ref<U>& b) noexcept
{
    return a.get() != b.get();
}

} // namespace core

#include "core/Ref.inl"
