#pragma once

#include "core/Allocator.h"
#include "core/Assert.h"
#include "core/Object.h"

#include <cstdint>

namespace core {

// The engine's growable array, itself a core object (held by value or by
// core::Ref). Elements live in the main pool and are copied by assignment,
// never by raw memory copies, so counted references keep their counts right.
// Contract: m_data and m_size are read directly by users (read only: never
// write them); elements 0 .. m_size-1 are live, the spare slots up to
// m_capacity are destroyed storage that is never read. The capacity only
// grows (steps of 16, at least doubling); only clear gives the array back, so
// a vector reused every frame allocates only while it reaches its largest
// size. A failed growth (full pool) leaves the vector unchanged.
template <typename T, typename A = Allocator<T>>
class Vector : public Object {
public:
    Vector() = default;
    Vector(const Vector& other);
    ~Vector() override;

    Vector& operator=(const Vector& other);

    // ---- size ----
    static int getCapacity(int count);
    void setSize(int size, const T& fill);
    void setSize(int size) { setSize(size, T()); }
    void pushBack(const T& value);
    void remove(int index);
    void removeAll() { setSize(0); }
    void clear();

    // ---- elements ----
    T& operator[](int index)
    {
        VORNIC3D_CHECK(index >= 0 && index < m_size);
        return m_data[index];
    }
    const T& operator[](int index) const
    {
        VORNIC3D_CHECK(index >= 0 && index < m_size);
        return m_data[index];
    }

    T* m_data = nullptr;
    std::int32_t m_size = 0;
    std::int32_t m_capacity = 0;

private:
    void grow(int size, const T& fill);
    static void copyElements(T* destination, const T* source, int count);

    A m_allocator;
};

} // namespace core

#include "core/Vector.inl"
