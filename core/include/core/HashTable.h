#pragma once

#include "core/HashCode.h"
#include "core/MemoryManager.h"
#include "core/Object.h"
#include "core/Ref.h"
#include "core/Vector.h"

#include <cstddef>
#include <cstdint>

namespace core {

// A map from key to value: chained buckets whose number is a prime of a fixed
// list, fed from a pool of chain nodes made ahead of time, so that a put
// allocates nothing until the pool runs dry; then the table grows to the next
// capacity, makes a whole new pool and relinks every node.
// Contract: K has a core::HashCode and ==; K and V are default-constructible
// and assignable. Entries are put and their values replaced, never removed;
// a duplicate put or a replace of an absent key logs a warning and returns
// false. Lookups hand out plain node pointers, valid while the table lives.
// A failed growth (full pool) leaves every entry in place and findable.
// Nodes are made in blocks of the main pool, taken under the name of the
// function that made the pool and given back when the table dies, so a node
// never outlives its table and n entries cost a few allocations instead of
// n checked allocations and n checked releases.
template <typename K, typename V>
class HashTable : public Object {
public:
    // One entry; held by exactly one reference: a pool slot while free, then
    // its bucket's head or its predecessor's `next`. Made in place in its
    // table's node block, so the release of its last reference runs the
    // destructor and leaves the memory to the block.
    class Node : public Object {
    public:
        Node() : key(), value(), next(), used(false) {}
        ~Node() override;

        Node(const Node&) = delete;
        Node& operator=(const Node&) = delete;

        static void* operator new(std::size_t, const char*, int) = delete;
        static void operator delete(void*) noexcept {}

        K key;
        V value;
        Ref<Node> next;
        bool used;
    };

    // loadFactor: nodes made per bucket at each growth, 0.01 <= loadFactor < 0.991.
    HashTable(int initialCapacity, float loadFactor);
    ~HashTable() override;

    HashTable(const HashTable&) = delete;
    HashTable& operator=(const HashTable&) = delete;

    static std::uint32_t createNextLargerCapacity(std::uint32_t count);

    // ---- entries ----
    bool put(const K& key, const V& value);
    Node* findNode(const K& key) const;
    bool replace(const K& key, const V& value);

    // ---- statistics ----
    std::uint32_t getCapacity() const { return m_capacity; }
    std::int32_t getCount() const { return m_count; }
    std::int32_t getFreeNodeCount() const { return m_freeNodes.m_size; }

private:
    static constexpr int kPrimeCount = 13;
    static const std::uint32_t s_primes[kPrimeCount];

    // ---- node blocks ----
    // The head of a block of nodes; the nodes follow it. A pool is made of
    // blocks of at most kNodesPerBlock nodes, so that a growth needs no
    // large contiguous piece of a crowded pool.
    struct NodeBlock {
        NodeBlock* next;
    };
    static constexpr int kNodesPerBlock = 256;
    static constexpr std::size_t kNodesOffset = (sizeof(NodeBlock) + alignof(Node) - 1) / alignof(Node) * alignof(Node);
    static_assert(alignof(Node) <= MemoryManager::kBlockAlignment, "the pool's blocks are aligned to 8 bytes only");

    std::uint32_t bucketOf(const K& key) const { return HashCode<K>::hashCode(key) % m_capacity; }
    Ref<Node> getFreeHashNode();
    void makeFreeNodes(std::uint32_t capacity, const char* function, int line);
    // Room for `count` nodes (not yet made) in a new block of the table.
    Node* newNodeBlock(int count, const char* function, int line);
    void rehash(std::uint32_t newCapacity);
    void releaseNodes();
    void freeNodeBlocks();

    std::uint32_t m_capacity = 0;
    std::int32_t m_count = 0;
    Vector<Ref<Node>> m_buckets;
    float m_loadFactor;
    Vector<Ref<Node>> m_freeNodes;
    // Every node block of the table, the newest first.
    NodeBlock* m_nodeBlocks = nullptr;
};

} // namespace core

#include "core/HashTable.inl"
