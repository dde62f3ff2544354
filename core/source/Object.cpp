#include "core/Object.h"

#include "core/Assert.h"
#include "core/MemoryManager.h"

#include <climits>

namespace core {

// ---- life cycle -------------------------------------------------------------

// A throw out of here still frees the memory: a delete-expression calls the
// deallocation function even when the destructor throws.
Object::~Object() noexcept(false)
{
    VORNIC3D_ASSERT(m_refCount == 0, "Can not delete core::Object, when it have references some where else");
}

// ---- allocation -----------------------------------------------------------------

void* Object::operator new(std::size_t size, const char* function, int line)
{
    VORNIC3D_CHECK(size != 0);
    VORNIC3D_CHECK(size <= static_cast<std::size_t>(INT_MAX));
    return MemoryManager::memAlloc(static_cast<int>(size), function, line);
}

void Object::operator delete(void* pointer, const char* function, int line)
{
    if (pointer != nullptr)
        MemoryManager::memFree(&pointer, function, line);
}

// Every object's free is logged under one fixed name and line, so free lines
// and a bad block's failure lines read the same whatever this file's layout.
void Object::operator delete(void* pointer)
{
    constexpr int kLoggedLine = 47;
    if (pointer != nullptr)
        MemoryManager::memFree(&pointer, "core::Object::operator delete", kLoggedLine);
}

} // namespace core
