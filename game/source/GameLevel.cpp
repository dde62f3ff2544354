#include "GameLevel.h"

#include "GameGlobals.h"
#include "GameObject.h"

#include "render/Appearance.h"
#include "render/Image2D.h"
#include "render/Sprite3D.h"

namespace game {

namespace {

constexpr int kGeomMapCapacity = 256;
constexpr float kGeomMapLoadFactor = 0.9f;

std::intptr_t geomKey(dGeomID geom)
{
    return reinterpret_cast<std::intptr_t>(geom);
}

} // namespace

// ---- life cycle -----------------------------------------------------------------------

GameLevel::GameLevel(int levelIndex)
    : m_name(""), m_levelIndex(levelIndex), m_geomToObject(kGeomMapCapacity, kGeomMapLoadFactor)
{
    VORNIC3D_CHECK(GameGlobals::getInstance() != nullptr);
}

GameLevel::~GameLevel()
{
    VORNIC3D_CHECK(GameGlobals::getInstance() != nullptr);
}

// ---- the geom map -------------------------------------------------------------------

void GameLevel::mapGeom(dGeomID geom, GameObject* object)
{
    VORNIC3D_CHECK(geom != nullptr);
    if (!m_geomToObject.put(geomKey(geom), object))
        VORNIC3D_CHECK(m_geomToObject.replace(geomKey(geom), object));
}

GameObject* GameLevel::findObject(dGeomID geom) const
{
    const auto* node = m_geomToObject.findNode(geomKey(geom));
    return node != nullptr ? node->value : nullptr;
}

} // namespace game
