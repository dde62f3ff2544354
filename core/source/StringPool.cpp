#include "core/StringPool.h"

#include "core/Assert.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"

#include <cstring>

namespace core {

namespace {

MemoryManager* textMemory()
{
    MemoryManager* mem = Globals::get()->m_stringPoolMemoryManager;
    VORNIC3D_CHECK(mem != nullptr);
    return mem;
}

} // namespace

// ---- life cycle -------------------------------------------------------------

StringPool::StringPool() = default;

StringPool::~StringPool()
{
    for (int i = 0; i < m_strings.m_size; ++i) {
        delete m_strings[i];
        m_strings[i] = nullptr;
    }
}

// ---- records ----------------------------------------------------------------

int StringPool::allocString(int size)
{
    Strings* record = new Strings{1, size, nullptr};
    try {
        record->data = static_cast<unsigned char*>(VORNIC3D_POOL_ALLOC(textMemory(), size));
        std::memset(record->data, 0, static_cast<std::size_t>(size));
        for (int i = 0; i < m_strings.m_size; ++i) {
            if (m_strings[i] == nullptr) {
                m_strings[i] = record;
                return i;
            }
        }
        m_strings.pushBack(record);
        return m_strings.m_size - 1;
    } catch (...) {
        // A full pool or a failed table growth must not strand the record.
        if (record->data != nullptr)
            VORNIC3D_POOL_FREE(textMemory(), record->data);
        delete record;
        throw;
    }
}

unsigned char* StringPool::reallocString(int handle, int newSize)
{
    Strings* record = recordOf(handle);
    MemoryManager* mem = textMemory();
    auto* newData = static_cast<unsigned char*>(VORNIC3D_POOL_ALLOC(mem, newSize));
    if (newData == nullptr)
        return nullptr;
    const int keep = newSize < record->size ? newSize : record->size;
    std::memcpy(newData, record->data, static_cast<std::size_t>(keep));
    VORNIC3D_POOL_FREE(mem, record->data);
    record->data = newData;
    record->size = newSize;
    return newData;
}

void StringPool::freeString(int handle)
{
    Strings* record = recordOf(handle);
    if (--record->refCount != 0)
        return;
    VORNIC3D_POOL_FREE(textMemory(), record->data);
    delete record;
    m_strings[handle] = nullptr;
}

void StringPool::addRef(int handle)
{
    ++recordOf(handle)->refCount;
}

// ---- access -----------------------------------------------------------------

int StringPool::getSize(int handle) const
{
    return recordOf(handle)->size;
}

unsigned short* StringPool::getData(int handle) const
{
    // Texts come 8-byte aligned from the memory manager, so the bytes can be
    // read as 16-bit units.
    return reinterpret_cast<unsigned short*>(recordOf(handle)->data);
}

bool StringPool::isValid(int handle) const
{
    if (handle < 0 || handle >= m_strings.m_size)
        return false;
    const Strings* record = m_strings[handle];
    return record != nullptr && record->data != nullptr;
}

StringPool::Strings* StringPool::recordOf(int handle) const
{
    // The table's own index check rejects handles outside the table.
    Strings* record = m_strings[handle];
    VORNIC3D_CHECK(record != nullptr && record->data != nullptr);
    return record;
}

} // namespace core
