#pragma once

#include "render/Transformable.h"

namespace render {

class Group;
class SkinnedMesh;

// A member of the scene graph: a transformable object with a parent, an
// alpha factor, a scope mask, rendering and picking switches and alignment
// targets. The renderer reads the rendering switch and the scope; alignment
// and picking are stored and read back only.
// Contract: the parent is a plain pointer that never keeps the parent alive;
// only a group (when it adopts the node or dies) and a skinned mesh (for its
// skeleton) set it, which keeps the tree's links consistent. The alignment
// references are plain pointers too and may name the node itself.
class Node : public Transformable {
public:
    enum AlignmentTarget { NONE = 144, ORIGIN = 145, X_AXIS = 146, Y_AXIS = 147, Z_AXIS = 148 };

    Node();
    ~Node() noexcept(false) override;

    // ---- drawing switches ----
    // 0..1 inclusive, else the bare assertion.
    void setAlphaFactor(float alpha);
    float getAlphaFactor() const;
    void setRenderingEnable(bool enable) { m_renderingEnable = enable; }
    bool isRenderingEnabled() const { return m_renderingEnable; }
    void setPickingEnable(bool enable) { m_pickingEnable = enable; }
    bool isPickingEnabled() const { return m_pickingEnable; }
    void setScope(int scope) { m_scope = scope; }
    int getScope() const { return m_scope; }

    // ---- tree ----
    // Null for a root.
    Node* getParent() const { return m_parent; }
    // out := (this node's composite)⁻¹ · (target's composite): maps the
    // target's coordinates into this node's. Parents are not consulted, so
    // the result is right for two nodes of the same parent. Always true.
    bool getTransformTo(Node* target, Transform* out) const;

    // ---- alignment ----
    // zTarget NONE, ORIGIN or Z_AXIS; yTarget NONE, ORIGIN or Y_AXIS; a
    // Z_AXIS or Y_AXIS target needs its reference node.
    void setAlignment(Node* zReference, int zTarget, Node* yReference, int yTarget);
    // axis Z_AXIS or Y_AXIS.
    int getAlignmentTarget(int axis) const;

private:
    friend class Group;
    friend class SkinnedMesh;

    void setParent(Node* parent) { m_parent = parent; }

    Node* m_yReference = nullptr;
    Node* m_zReference = nullptr;
    Node* m_parent = nullptr;
    float m_alphaFactor = 1.0f;
    int m_zTarget = NONE;
    int m_yTarget = NONE;
    int m_scope = -1;
    bool m_renderingEnable = true;
    bool m_pickingEnable = true;
};

} // namespace render
