#include "core/FreeBlockIndex.h"

#include "core/Assert.h"
#include "hal/System.h"

#include <algorithm>
#include <cstring>

namespace core {

namespace {

constexpr std::uint32_t kFirstCapacity = 64;
// More nodes than a pool of 2 GB can have free blocks (a free block and the
// allocated one that must follow it take 48 bytes at least).
constexpr std::uint32_t kMaxCapacity = 1u << 26;

} // namespace

// ---- memory ---------------------------------------------------------------------

// Nodes are named by their index, so the array may move when it grows.
bool FreeBlockIndex::grow()
{
    const std::uint32_t capacity = m_capacity == 0 ? kFirstCapacity : m_capacity * 2;
    if (capacity > kMaxCapacity)
        return false;
    auto* nodes = static_cast<Node*>(HAL::malloc(static_cast<std::size_t>(capacity) * sizeof(Node)));
    if (nodes == nullptr)
        return false;
    if (m_nodes != nullptr)
        std::memcpy(nodes, m_nodes, static_cast<std::size_t>(m_capacity) * sizeof(Node));
    else
        nodes[0] = Node{};
    const std::uint32_t first = std::max(m_capacity, 1u);
    for (std::uint32_t n = first; n < capacity; ++n)
        nodes[n] = Node{0, 0, {0, 0}, {0, 0}, n + 1 < capacity ? n + 1 : 0, {0, 0}, 0};
    m_spare = first;
    HAL::free(m_nodes);
    m_nodes = nodes;
    m_capacity = capacity;
    return true;
}

void FreeBlockIndex::release()
{
    HAL::free(m_nodes);
    m_nodes = nullptr;
    m_capacity = m_root = m_spare = 0;
    m_count = 0;
    m_recent[0] = m_recent[1] = 0;
    m_neighboursOf = 0;
}

// ---- queries --------------------------------------------------------------------

// Down the lower side while the lower subtree holds a block that fits, so the
// first node that fits itself is the lowest such offset.
std::uint32_t FreeBlockIndex::findFirstFit(std::int32_t size) const
{
    m_neighboursOf = 0;
    if (m_root == 0 || largestOf(m_root) < size)
        return 0;
    for (std::uint32_t n = m_root;;) {
        const Node& node = m_nodes[n];
        const bool lower = node.childLargest[0] >= size;
        if (!lower && node.size >= size) {
            m_recent[0] = n;
            return node.offset;
        }
        n = node.child[lower ? 0 : 1];
        VORNIC3D_CHECK(n != 0);
    }
}

void FreeBlockIndex::findNeighbours(std::uint32_t offset, std::uint32_t* below, std::uint32_t* above) const
{
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    for (std::uint32_t n = m_root; n != 0;) {
        const Node& node = m_nodes[n];
        const bool higher = node.offset < offset;
        low = higher ? n : low;
        high = higher ? high : n;
        n = node.child[higher];
    }
    m_recent[0] = low;
    m_recent[1] = high;
    m_neighboursOf = offset;
    *below = low != 0 ? m_nodes[low].offset : 0;
    *above = high != 0 ? m_nodes[high].offset : 0;
}

std::int32_t FreeBlockIndex::sizeAt(std::uint32_t offset) const
{
    const std::uint32_t n = find(offset);
    return n != 0 ? m_nodes[n].size : 0;
}

std::uint32_t FreeBlockIndex::find(std::uint32_t offset) const
{
    if (offset == 0)
        return 0;
    // A spare node holds offset 0, so a stale recent node never matches.
    for (std::uint32_t n : m_recent)
        if (n != 0 && m_nodes[n].offset == offset)
            return n;
    std::uint32_t n = m_root;
    while (n != 0 && m_nodes[n].offset != offset)
        n = m_nodes[n].child[m_nodes[n].offset < offset];
    return n;
}

std::int32_t FreeBlockIndex::largestOf(std::uint32_t n) const
{
    const Node& node = m_nodes[n];
    return std::max(node.size, std::max(node.childLargest[0], node.childLargest[1]));
}

int FreeBlockIndex::heightOf(std::uint32_t n) const
{
    const Node& node = m_nodes[n];
    return 1 + std::max(node.childHeight[0], node.childHeight[1]);
}

// ---- changes --------------------------------------------------------------------

void FreeBlockIndex::insert(std::uint32_t offset, std::int32_t size)
{
    VORNIC3D_CHECK(offset != 0 && size > 0);
    VORNIC3D_CHECK(m_spare != 0);
    // Right after findNeighbours the place is known: above the lower
    // neighbour when it has no higher subtree, else below the higher one.
    std::uint32_t parent = 0;
    int side = 0;
    if (m_neighboursOf == offset) {
        const std::uint32_t low = m_recent[0];
        const std::uint32_t high = m_recent[1];
        VORNIC3D_CHECK(high == 0 || m_nodes[high].offset != offset);
        if (low != 0 && m_nodes[low].child[1] == 0) {
            parent = low;
            side = 1;
        } else {
            parent = high;
        }
    } else {
        for (std::uint32_t n = m_root; n != 0;) {
            VORNIC3D_CHECK(m_nodes[n].offset != offset);
            parent = n;
            side = m_nodes[n].offset < offset;
            n = m_nodes[n].child[side];
        }
    }
    VORNIC3D_CHECK(parent == 0 ? m_root == 0 : m_nodes[parent].child[side] == 0);
    const std::uint32_t n = m_spare;
    m_spare = m_nodes[n].parent;
    m_nodes[n] = Node{offset, size, {0, 0}, {0, 0}, parent, {0, 0}, 0};
    if (parent == 0)
        m_root = n;
    else
        m_nodes[parent].child[side] = n;
    ++m_count;
    m_neighboursOf = 0;
    rebalanceFrom(n);
}

void FreeBlockIndex::erase(std::uint32_t offset)
{
    std::uint32_t n = find(offset);
    VORNIC3D_CHECK(n != 0);
    // A node with two children takes its successor's entry, and the
    // successor's node (which has no lower child) goes instead.
    std::uint32_t changed = 0;
    if (m_nodes[n].child[0] != 0 && m_nodes[n].child[1] != 0) {
        std::uint32_t successor = m_nodes[n].child[1];
        while (m_nodes[successor].child[0] != 0)
            successor = m_nodes[successor].child[0];
        m_nodes[n].offset = m_nodes[successor].offset;
        m_nodes[n].size = m_nodes[successor].size;
        changed = n;
        n = successor;
    }
    // Its only subtree (if any) takes its place, summary and all.
    const Node& gone = m_nodes[n];
    const int side = gone.child[0] != 0 ? 0 : 1;
    const std::uint32_t child = gone.child[side];
    const std::uint32_t parent = gone.parent;
    if (parent != 0) {
        Node& above = m_nodes[parent];
        const int at = above.child[1] == n;
        above.child[at] = child;
        above.childLargest[at] = gone.childLargest[side];
        above.childHeight[at] = gone.childHeight[side];
    } else {
        m_root = child;
    }
    if (child != 0)
        m_nodes[child].parent = parent;
    m_nodes[n].offset = 0;
    m_nodes[n].parent = m_spare;
    m_spare = n;
    --m_count;
    m_neighboursOf = 0;
    if (parent != 0)
        rebalanceFrom(parent);
    // The rebalancing may stop below the node whose entry changed.
    if (changed != 0)
        refreshLargestFrom(changed);
}

void FreeBlockIndex::update(std::uint32_t offset, std::uint32_t newOffset, std::int32_t newSize)
{
    const std::uint32_t n = find(offset);
    VORNIC3D_CHECK(n != 0 && newOffset != 0 && newSize > 0);
    m_nodes[n].offset = newOffset;
    m_nodes[n].size = newSize;
    refreshLargestFrom(n);
}

// ---- balance --------------------------------------------------------------------

void FreeBlockIndex::replaceChild(std::uint32_t parent, std::uint32_t from, std::uint32_t to)
{
    if (parent == 0)
        m_root = to;
    else
        m_nodes[parent].child[m_nodes[parent].child[1] == from] = to;
}

// Up from `n` while the largest size of a subtree changes.
void FreeBlockIndex::refreshLargestFrom(std::uint32_t n)
{
    for (std::uint32_t parent = m_nodes[n].parent; parent != 0; n = parent, parent = m_nodes[n].parent) {
        Node& above = m_nodes[parent];
        const int side = above.child[1] == n;
        const std::int32_t largest = largestOf(n);
        if (above.childLargest[side] == largest)
            return;
        above.childLargest[side] = largest;
    }
}

// Lifts n's child on `side` into n's place and returns it; the summaries
// above the lifted node are left to the caller.
std::uint32_t FreeBlockIndex::rotate(std::uint32_t n, int side)
{
    Node& node = m_nodes[n];
    const std::uint32_t top = node.child[side];
    Node& lifted = m_nodes[top];
    const std::uint32_t inner = lifted.child[1 - side];
    node.child[side] = inner;
    node.childLargest[side] = lifted.childLargest[1 - side];
    node.childHeight[side] = lifted.childHeight[1 - side];
    if (inner != 0)
        m_nodes[inner].parent = n;
    const std::uint32_t parent = node.parent;
    lifted.parent = parent;
    replaceChild(parent, n, top);
    lifted.child[1 - side] = n;
    lifted.childLargest[1 - side] = largestOf(n);
    lifted.childHeight[1 - side] = static_cast<std::uint8_t>(heightOf(n));
    node.parent = top;
    return top;
}

// From the changed node `n` up to the root: each parent takes its child's
// new summary and is rebalanced; where a summary comes out as it was, nothing
// above it changes.
void FreeBlockIndex::rebalanceFrom(std::uint32_t n)
{
    for (;;) {
        Node& node = m_nodes[n];
        const int balance = node.childHeight[0] - node.childHeight[1];
        if (balance > 1 || balance < -1) {
            const int heavy = balance > 1 ? 0 : 1;
            const Node& child = m_nodes[node.child[heavy]];
            if (child.childHeight[heavy] < child.childHeight[1 - heavy])
                rotate(node.child[heavy], 1 - heavy);
            n = rotate(n, heavy);
        }
        const std::uint32_t parent = m_nodes[n].parent;
        if (parent == 0)
            return;
        Node& above = m_nodes[parent];
        const int side = above.child[1] == n;
        const std::int32_t largest = largestOf(n);
        const auto height = static_cast<std::uint8_t>(heightOf(n));
        if (above.childLargest[side] == largest && above.childHeight[side] == height)
            return;
        above.childLargest[side] = largest;
        above.childHeight[side] = height;
        n = parent;
    }
}

} // namespace core
