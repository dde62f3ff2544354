#pragma once

#include "render/Node.h"

namespace render {

// A node that owns children, in the order they were added.
// Contract: each child is held by counted reference and names the group as
// its parent; a node has at most one parent, the graph has no cycles and no
// World is ever a child (addChild refuses all of these). Children leave only
// when the group dies: its destructor clears their parents first, so a child
// that lives on elsewhere can join another group.
class Group : public Node {
public:
    Group();
    ~Group() noexcept(false) override;

    // Appends child and makes this group its parent.
    void addChild(Node* child);
    // No reference is taken; an index outside 0..count-1 is the bare assertion.
    Node* getChild(int index) const;
    int getChildCount() const { return m_children.m_size; }

private:
    core::Vector<core::Ref<Node>> m_children;
};

} // namespace render
