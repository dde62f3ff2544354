#pragma once

#include "core/Vector.h"

#include <climits>
#include <new>

namespace core {

// ---- construction and assignment ----------------------------------------------

template <typename T, typename A>
Vector<T, A>::Vector(const Vector& other) : Object(other)
{
    *this = other;
}

template <typename T, typename A>
Vector<T, A>::~Vector()
{
    clear();
}

template <typename T, typename A>
Vector<T, A>& Vector<T, A>::operator=(const Vector& other)
{
    if (this == &other)
        return *this;
    setSize(other.m_size);
    copyElements(m_data, other.m_data, other.m_size);
    return *this;
}

// ---- size -----------------------------------------------------------------------

// The smallest multiple of 16 above `count`.
template <typename T, typename A>
int Vector<T, A>::getCapacity(int count)
{
    VORNIC3D_CHECK(count >= 0);
    const long long capacity = (static_cast<long long>(count) + 16) & ~15LL;
    VORNIC3D_CHECK(capacity <= INT_MAX);
    return static_cast<int>(capacity);
}

template <typename T, typename A>
void Vector<T, A>::setSize(int size, const T& fill)
{
    VORNIC3D_CHECK(size >= 0);
    if (size <= m_size) {
        while (m_size > size) {
            --m_size;
            m_allocator.destroy(m_data + m_size);
        }
    } else if (size <= m_capacity) {
        while (m_size < size) {
            ::new (static_cast<void*>(m_data + m_size)) T(fill);
            ++m_size;
        }
    } else {
        grow(size, fill);
    }
}

// `fill` may be an element of this vector: it is read before the old array goes.
template <typename T, typename A>
void Vector<T, A>::grow(int size, const T& fill)
{
    int newCapacity = getCapacity(size);
    if (m_capacity <= INT_MAX / 2 && newCapacity < 2 * m_capacity)
        newCapacity = 2 * m_capacity;

    T* newArray = m_allocator.allocate(newCapacity);
    try {
        copyElements(newArray, m_data, m_size);
        for (int i = m_size; i < size; ++i)
            newArray[i] = fill;
        // The copies hold their own counts, so no referenced object dies here.
        clear();
    } catch (...) {
        m_allocator.deallocate(newArray, newCapacity);
        throw;
    }
    for (int i = size; i < newCapacity; ++i)
        m_allocator.destroy(newArray + i);
    m_data = newArray;
    m_size = size;
    m_capacity = newCapacity;
}

// A copy constructed straight into the new slot: `value` may be an element of
// this vector, and growth copies it before the old array is freed.
template <typename T, typename A>
void Vector<T, A>::pushBack(const T& value)
{
    setSize(m_size + 1, value);
}

template <typename T, typename A>
void Vector<T, A>::remove(int index)
{
    VORNIC3D_CHECK(index >= 0 && index < m_size);
    copyElements(m_data + index, m_data + index + 1, m_size - index - 1);
    m_allocator.destroy(m_data + m_size - 1);
    --m_size;
}

template <typename T, typename A>
void Vector<T, A>::clear()
{
    // The allocator destroys every slot of the array it frees: the spare
    // slots become live defaults first.
    while (m_size < m_capacity) {
        ::new (static_cast<void*>(m_data + m_size)) T();
        ++m_size;
    }
    if (m_data != nullptr) {
        T* data = m_data;
        const int capacity = m_capacity;
        m_data = nullptr;
        m_size = 0;
        m_capacity = 0;
        m_allocator.deallocate(data, capacity);
    }
    m_size = 0;
    m_capacity = 0;
}

// ---- elements -------------------------------------------------------------------

template <typename T, typename A>
void Vector<T, A>::copyElements(T* destination, const T* source, int count)
{
    for (int i = 0; i < count; ++i)
        destination[i] = source[i];
}

} // namespace core
