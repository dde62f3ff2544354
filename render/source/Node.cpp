#include "render/Node.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Node::Node() = default;

Node::~Node() noexcept(false) = default;

// ---- drawing switches ----------------------------------------------------------

void Node::setAlphaFactor(float alpha)
{
    VORNIC3D_CHECK(alpha >= 0.0f && alpha <= 1.0f);
    m_alphaFactor = alpha;
}

float Node::getAlphaFactor() const
{
    VORNIC3D_CHECK(m_alphaFactor >= 0.0f && m_alphaFactor <= 1.0f);
    return m_alphaFactor;
}

// ---- tree ----------------------------------------------------------------------

bool Node::getTransformTo(Node* target, Transform* out) const
{
    VORNIC3D_ASSERT(target != nullptr, "Node::getTransformTo - Given Node is NULL");
    VORNIC3D_ASSERT(out != nullptr, "Node::getTransformTo - Given Transform is NULL");
    Transform result;
    getCompositeTransform(&result);
    result.invert();
    Transform targetComposite;
    target->getCompositeTransform(&targetComposite);
    result.postMultiply(targetComposite);
    *out = result;
    return true;
}

// ---- alignment -------------------------------------------------------------------

void Node::setAlignment(Node* zReference, int zTarget, Node* yReference, int yTarget)
{
    VORNIC3D_ASSERT(zTarget == Z_AXIS || zTarget == ORIGIN || zTarget == NONE, "Invalid z-target axis");
    VORNIC3D_ASSERT(yTarget == Y_AXIS || yTarget == ORIGIN || yTarget == NONE, "Invalid y-target axis");
    VORNIC3D_ASSERT(!(zTarget == Z_AXIS && zReference == nullptr), "z-axis reference object is NULL");
    VORNIC3D_ASSERT(!(yTarget == Y_AXIS && yReference == nullptr), "y-axis reference object is NULL");
    m_zReference = zReference;
    m_zTarget = zTarget;
    m_yReference = yReference;
    m_yTarget = yTarget;
}

int Node::getAlignmentTarget(int axis) const
{
    VORNIC3D_ASSERT(axis == Z_AXIS || axis == Y_AXIS, "axis not Z_AXIS or Y_AXIS");
    return axis == Z_AXIS ? m_zTarget : m_yTarget;
}

} // namespace render
