#include "render/Group.h"

#include "render/World.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Group::Group() = default;

Group::~Group() noexcept(false)
{
    // Parents first: a child that outlives the group must not point at it.
    for (int i = 0; i < m_children.m_size; ++i) {
        VORNIC3D_CHECK(m_children[i] != nullptr);
        m_children[i]->setParent(nullptr);
    }
    m_children.clear();
}

// ---- children ----------------------------------------------------------------------

void Group::addChild(Node* child)
{
    VORNIC3D_ASSERT(child != nullptr, "can not add child node because child pointer is 0");
    VORNIC3D_ASSERT(child != this, "can not add child node because child is this node");
    VORNIC3D_ASSERT(dynamic_cast<World*>(child) == nullptr, "can not add child node because node is World object");
    VORNIC3D_ASSERT(child->getParent() == nullptr, "can not add child node because child has a parent");
    for (const Node* p = this; p->getParent() != nullptr; p = p->getParent())
        VORNIC3D_ASSERT(p->getParent() != child, "addChild failed because child is ancestor of this group");
    m_children.pushBack(core::Ref<Node>(child));
    child->setParent(this);
}

Node* Group::getChild(int index) const
{
    VORNIC3D_CHECK(index >= 0 && index < m_children.m_size);
    Node* child = m_children[index].get();
    VORNIC3D_CHECK(child != nullptr);
    return child;
}

} // namespace render
