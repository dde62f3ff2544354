#include "render/IndexBuffer.h"

#include "core/Assert.h"
#include "core/MemoryManager.h"

#include <climits>
#include <cstring>

namespace render {

// ---- life cycle -------------------------------------------------------------

IndexBuffer::IndexBuffer() = default;

IndexBuffer::~IndexBuffer() noexcept(false)
{
    if (m_indices != nullptr)
        VORNIC3D_FREE(m_indices);
}

// An empty block fails in the memory manager; one whose byte size passes
// the pool's int sizes is refused before it can wrap.
void IndexBuffer::allocateIndices(int count)
{
    VORNIC3D_CHECK(m_indices == nullptr);
    VORNIC3D_CHECK(count <= INT_MAX / 2);
    const int bytes = count * static_cast<int>(sizeof(unsigned short));
    m_indices = static_cast<unsigned short*>(VORNIC3D_ALLOC(bytes));
    std::memset(m_indices, 0, static_cast<std::size_t>(bytes));
    m_indexCount = count;
    m_capacity = count;
}

// ---- count in use --------------------------------------------------------------

void IndexBuffer::setIndexCount(int count)
{
    VORNIC3D_CHECK(count >= 0 && count <= m_capacity);
    m_indexCount = count;
}

} // namespace render
