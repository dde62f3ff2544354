#pragma once

#include "core/Allocator.h"
#include "core/Assert.h"

#include <climits>
#include <new>

namespace core {

template <typename T>
T* Allocator<T>::allocate(int count)
{
    VORNIC3D_CHECK(count >= 1);
    // The pool takes a signed 32-bit size: refuse what would wrap.
    VORNIC3D_CHECK(static_cast<unsigned long long>(count) <= INT_MAX / sizeof(T));
    T* array = static_cast<T*>(VORNIC3D_ALLOC(static_cast<int>(count * sizeof(T))));
    int constructed = 0;
    try {
        // Global placement new: core objects hide it behind their own new.
        for (; constructed < count; ++constructed)
            ::new (static_cast<void*>(array + constructed)) T();
    } catch (...) {
        while (constructed > 0)
            array[--constructed].~T();
        VORNIC3D_FREE(array);
        throw;
    }
    return array;
}

template <typename T>
void Allocator<T>::deallocate(T* array, int count)
{
    VORNIC3D_CHECK(array != nullptr);
    try {
        for (int i = count; i-- > 0;)
            array[i].~T();
    } catch (...) {
        // A throwing element destructor must not also leak the array.
        VORNIC3D_FREE(array);
        throw;
    }
    VORNIC3D_FREE(array);
}

template <typename T>
void Allocator<T>::destroy(T* slot)
{
    VORNIC3D_CHECK(slot != nullptr);
    slot->~T();
}

} // namespace core
