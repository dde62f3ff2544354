#pragma once

#include "core/HashCode.h"
#include "core/Object.h"
#include "core/Ref.h"
#include "core/Vector.h"

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
template <typename K, typename V>
class HashTable : public Object {
public:
    // One entry; held by exactly one reference: a pool slot while free, then
    // its bucket's head or its predecessor's `next`.
    class Node : public Object {
    public:
        Node() : key(), value(), next(), used(false) {}
        ~Node() override;

        Node(const Node&) = delete;
        Node& operator=(const Node&) = delete;

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

    std::uint32_t bucketOf(const K& key) const { return HashCode<K>::hashCode(key) % m_capacity; }
    Ref<Node> getFreeHashNode();
    void makeFreeNodes(std::uint32_t capacity, const char* function, int line);
    void rehash(std::uint32_t newCapacity);
    void releaseNodes();

    std::uint32_t m_capacity = 0;
    std::int32_t m_count = 0;
    Vector<Ref<Node>> m_buckets;
    float m_loadFactor;
    Vector<Ref<Node>> m_freeNodes;
};

} // namespace core

#include "core/HashTable.inl"
