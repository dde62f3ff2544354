#pragma once

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/HashTable.h"
#include "core/MemoryManager.h"

#include <climits>
#include <cstdint>
#include <new>

namespace core {

template <typename K, typename V>
const std::uint32_t HashTable<K, V>::s_primes[kPrimeCount] = {37,   67,   131,   257,   521,   1031,  2053,
                                                              4099, 8209, 16411, 32771, 65543, 129403};

// ---- node -----------------------------------------------------------------------

template <typename K, typename V>
HashTable<K, V>::Node::~Node()
{
    key = K();
    value = V();
    next = Ref<Node>();
    used = false;
}

// ---- construction and destruction ---------------------------------------------

template <typename K, typename V>
HashTable<K, V>::HashTable(int initialCapacity, float loadFactor) : m_loadFactor(loadFactor)
{
    VORNIC3D_CHECK(loadFactor >= 0.01f && loadFactor < 0.991f);
    // A negative capacity would wrap to a huge unsigned count.
    VORNIC3D_CHECK(initialCapacity >= 0);
    const std::uint32_t capacity = createNextLargerCapacity(static_cast<std::uint32_t>(initialCapacity));
    VORNIC3D_CHECK(capacity != 0 && capacity <= INT_MAX);
    m_buckets.setSize(static_cast<int>(capacity));
    m_capacity = capacity;
    try {
        makeFreeNodes(capacity, VORNIC3D_FUNCTION, __LINE__);
    } catch (...) {
        // No destructor runs for a table that was never made.
        releaseNodes();
        throw;
    }
}

template <typename K, typename V>
HashTable<K, V>::~HashTable()
{
    releaseNodes();
}

template <typename K, typename V>
std::uint32_t HashTable<K, V>::createNextLargerCapacity(std::uint32_t count)
{
    for (std::uint32_t prime : s_primes)
        if (prime > count)
            return prime;
    // Past the list the capacity grows in steps of the last prime.
    return count + s_primes[kPrimeCount - 1];
}

// ---- release ----------------------------------------------------------------------

// One node at a time: a chain released from its head would recurse once per
// node through the `next` references. The nodes' memory goes back with their
// blocks, once every node is destroyed.
template <typename K, typename V>
void HashTable<K, V>::releaseNodes()
{
    m_freeNodes.clear();
    for (int i = 0; i < m_buckets.m_size; ++i) {
        Ref<Node> node;
        node.swap(m_buckets[i]);
        while (node != nullptr) {
            // The rest of the chain is taken out first, so the node that dies
            // with `rest` at the end of the step has nothing left to release.
            Ref<Node> rest;
            rest.swap(node->next);
            node.swap(rest);
        }
    }
    m_buckets.clear();
    freeNodeBlocks();
}

template <typename K, typename V>
void HashTable<K, V>::freeNodeBlocks()
{
    while (m_nodeBlocks != nullptr) {
        NodeBlock* block = m_nodeBlocks;
        m_nodeBlocks = block->next;
        VORNIC3D_FREE(block);
    }
}

// ---- entries --------------------------------------------------------------------

template <typename K, typename V>
bool HashTable<K, V>::put(const K& key, const V& value)
{
    if (findNode(key) != nullptr) {
        Debug::printf(Debug::LEVEL_WARNING, "Key is already inserted to the hash table!\n");
        return false;
    }
    Ref<Node> node = getFreeHashNode();
    const std::uint32_t bucket = bucketOf(key);
    node->key = key;
    node->value = value;
    node->used = true;
    node->next = m_buckets[static_cast<int>(bucket)];
    m_buckets[static_cast<int>(bucket)] = node;
    ++m_count;
    return true;
}

template <typename K, typename V>
typename HashTable<K, V>::Node* HashTable<K, V>::findNode(const K& key) const
{
    for (Node* node = m_buckets[static_cast<int>(bucketOf(key))].get(); node != nullptr; node = node->next.get())
        if (node->key == key)
            return node;
    return nullptr;
}

template <typename K, typename V>
bool HashTable<K, V>::replace(const K& key, const V& value)
{
    Node* node = findNode(key);
    if (node == nullptr) {
        Debug::printf(Debug::LEVEL_WARNING, "Key is not found from the hash table!\n");
        return false;
    }
    node->value = value;
    return true;
}

// ---- node pool and growth -----------------------------------------------------

// The capacity changes only after the new pool and the relinked buckets are
// in place, so a full pool midway leaves a consistent table.
template <typename K, typename V>
Ref<typename HashTable<K, V>::Node> HashTable<K, V>::getFreeHashNode()
{
    if (m_freeNodes.m_size == 0) {
        const std::uint32_t capacity = createNextLargerCapacity(m_capacity);
        VORNIC3D_CHECK(capacity > m_capacity && capacity <= INT_MAX);
        makeFreeNodes(capacity, VORNIC3D_FUNCTION, __LINE__);
        rehash(capacity);
        VORNIC3D_CHECK(m_freeNodes.m_size > 0);
    }
    const int last = m_freeNodes.m_size - 1;
    Ref<Node> node = m_freeNodes[last];
    m_freeNodes.remove(last);
    VORNIC3D_CHECK(node != nullptr);
    return node;
}

// Fills the (empty) pool with capacity x load factor new nodes, in blocks
// allocated under the caller's name. A failure keeps only whole nodes in the
// pool.
template <typename K, typename V>
void HashTable<K, V>::makeFreeNodes(std::uint32_t capacity, const char* function, int line)
{
    const int poolSize = static_cast<int>(static_cast<float>(capacity) * m_loadFactor);
    m_freeNodes.setSize(poolSize);
    int made = 0;
    try {
        while (made < poolSize) {
            const int count = poolSize - made < kNodesPerBlock ? poolSize - made : kNodesPerBlock;
            Node* nodes = newNodeBlock(count, function, line);
            for (int i = 0; i < count; ++i, ++made)
                m_freeNodes[made] = ::new (static_cast<void*>(nodes + i)) Node();
        }
    } catch (...) {
        m_freeNodes.setSize(made);
        throw;
    }
}

template <typename K, typename V>
typename HashTable<K, V>::Node* HashTable<K, V>::newNodeBlock(int count, const char* function, int line)
{
    const std::size_t bytes = kNodesOffset + static_cast<std::size_t>(count) * sizeof(Node);
    void* memory = MemoryManager::memAlloc(static_cast<int>(bytes), function, line);
    m_nodeBlocks = ::new (memory) NodeBlock{m_nodeBlocks};
    return reinterpret_cast<Node*>(static_cast<unsigned char*>(memory) + kNodesOffset);
}

// Relinks every node into `newCapacity` buckets; nodes are never copied. Both
// bucket arrays are allocated before the first node moves.
template <typename K, typename V>
void HashTable<K, V>::rehash(std::uint32_t newCapacity)
{
    Vector<Ref<Node>> buckets;
    buckets.setSize(static_cast<int>(newCapacity));
    const int oldCapacity = m_buckets.m_size;
    m_buckets.setSize(static_cast<int>(newCapacity));
    for (int i = 0; i < oldCapacity; ++i) {
        Ref<Node> node = m_buckets[i];
        while (node != nullptr) {
            Ref<Node> next = node->next;
            const int bucket = static_cast<int>(HashCode<K>::hashCode(node->key) % newCapacity);
            node->next = buckets[bucket];
            buckets[bucket] = node;
            node = next;
        }
    }
    m_buckets = buckets;
    m_capacity = newCapacity;
}

} // namespace core
