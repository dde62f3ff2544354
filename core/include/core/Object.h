#pragma once

#include "core/Assert.h"
#include "core/FunctionName.h"

#include <cstddef>
#include <cstdint>

namespace core {

// Root of the engine's and the game's objects: an intrusive reference count
// and allocation from the main memory pool under the creating function's name
// and line, so that every object shows in the allocation table and the leak
// report.
// Contract: create objects with VORNIC3D_NEW (there is no plain operator new);
// hold them through core::Ref, whose last release deletes them. An object may
// also live by value as long as nobody takes a reference to it. A copy starts
// with no references, and assignment never touches the target's count: the
// count belongs to the holders of one particular object, not to its value.
// Deleting an object that is still referenced logs and throws; the memory goes
// back to the pool all the same.
class Object {
public:
    Object() noexcept = default;
    Object(const Object&) noexcept {}
    Object& operator=(const Object&) noexcept { return *this; }
    virtual ~Object() noexcept(false);

    // ---- reference count (inline: every reference copy runs them) ----
    void addRef()
    {
        VORNIC3D_CHECK(m_refCount >= 0 && m_refCount < INT32_MAX);
        ++m_refCount;
    }
    // Returns the new count; never deletes (the holder that sees 0 does).
    std::int32_t releaseRef()
    {
        VORNIC3D_CHECK(m_refCount >= 1);
        return --m_refCount;
    }
    std::int32_t getRefCount() const { return m_refCount; }

    // ---- allocation from the main pool ----
    static void* operator new(std::size_t size, const char* function, int line);
    // Runs only when a constructor throws during creation.
    static void operator delete(void* pointer, const char* function, int line);
    static void operator delete(void* pointer);

private:
    std::int32_t m_refCount = 0;
};

} // namespace core

// Creates a core object in the main pool, naming the calling function and line:
// `core::Ref<Node> node = VORNIC3D_NEW Node();`
#define VORNIC3D_NEW new (VORNIC3D_FUNCTION, __LINE__)
