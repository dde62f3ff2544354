#pragma once

#include <cstdint>

namespace core {

// The free blocks of a memory manager's pool by offset and size, kept beside
// its address-ordered free list so that the block a first-fit walk of that
// list would take, and the free neighbours of a block being released, are
// found in O(log n) instead of by walking the list: an AVL tree ordered by
// offset in which every node also knows the largest size and the height of
// each of its two subtrees.
// Contract: offsets are non-zero and distinct; the owner mirrors every change
// of its free list here, and a change never moves an entry past another
// (update). Nodes come from the system heap and grow with the number of free
// blocks; reserve() is the only step that asks for memory, so an insert after
// a successful reserve, and every other step, cannot fail for lack of it.
class FreeBlockIndex {
public:
    FreeBlockIndex() = default;
    ~FreeBlockIndex() { release(); }

    FreeBlockIndex(const FreeBlockIndex&) = delete;
    FreeBlockIndex& operator=(const FreeBlockIndex&) = delete;

    // Makes sure one more entry can be inserted; false when the heap refuses.
    bool reserve() { return m_spare != 0 || grow(); }
    // Drops every entry and gives the memory back.
    void release();

    std::int32_t getCount() const { return m_count; }

    // ---- queries ----
    // The lowest offset whose block holds `size` bytes; 0 when none does.
    std::uint32_t findFirstFit(std::int32_t size) const;
    // The entries closest below and above `offset` (0: none). An entry at
    // `offset` itself is reported as `above`.
    void findNeighbours(std::uint32_t offset, std::uint32_t* below, std::uint32_t* above) const;
    // The size recorded for the entry at `offset`; 0 when there is none.
    std::int32_t sizeAt(std::uint32_t offset) const;

    // ---- changes ----
    void insert(std::uint32_t offset, std::int32_t size);
    void erase(std::uint32_t offset);
    // Moves the entry at `offset` to `newOffset` with `newSize`; no other
    // entry may lie between the two offsets.
    void update(std::uint32_t offset, std::uint32_t newOffset, std::int32_t newSize);

private:
    // A node carries its subtrees' summaries itself, so that a search reads
    // one node a level and the way back up reads only the nodes just passed;
    // 32 bytes, so that a node never straddles two cache lines.
    struct Node {
        std::uint32_t offset; // 0 while the node is spare
        std::int32_t size;
        std::uint32_t child[2];       // lower, higher offsets (0: none)
        std::int32_t childLargest[2]; // 0 for no subtree
        std::uint32_t parent;         // the next spare node while spare
        std::uint8_t childHeight[2];
        std::uint16_t unused;
    };

    bool grow();
    std::uint32_t find(std::uint32_t offset) const;
    std::int32_t largestOf(std::uint32_t n) const;
    int heightOf(std::uint32_t n) const;
    void replaceChild(std::uint32_t parent, std::uint32_t from, std::uint32_t to);
    std::uint32_t rotate(std::uint32_t n, int side);
    void rebalanceFrom(std::uint32_t n);
    void refreshLargestFrom(std::uint32_t n);

    Node* m_nodes = nullptr; // node 0 stands for "none" and is never used
    std::uint32_t m_capacity = 0;
    std::uint32_t m_root = 0;
    std::uint32_t m_spare = 0;
    std::int32_t m_count = 0;
    // The nodes the last query found, so that the change that follows it
    // needs no second descent: the first fit, or the neighbours below and
    // above `m_neighboursOf` (0: the tree's shape changed since).
    mutable std::uint32_t m_recent[2] = {0, 0};
    mutable std::uint32_t m_neighboursOf = 0;
};

} // namespace core
