#pragma once

#include "core/HashTable.h"
#include "core/Object.h"
#include "core/Ref.h"
#include "core/String.h"
#include "slmath/vec3.h"

#include <ode/ode.h>

#include <cstdint>

namespace render {
class Appearance;
class Image2D;
class Sprite3D;
} // namespace render

namespace game {

class GameObject;

// The level being played, held by the globals' m_level: its name, its star
// and key counts, the map from physics geom to game object that the contact
// rules read, and the pictures its objects are drawn with.
// Contract: made for one row of the level table while the game globals
// exist (bare assertion otherwise), and destroyed while they still do. The
// geom map is keyed by the full geom handle (64 bits here): a handle cut to
// 32 bits could map two geoms to one entry. Entries are never removed: an
// object's entry stays when it dies and is overwritten when a new geom gets
// the same handle.
class GameLevel : public core::Object {
public:
    explicit GameLevel(int levelIndex);
    ~GameLevel() override;

    // ---- the geom map ----
    // Maps the geom to the object, replacing an entry left by a dead geom.
    void mapGeom(dGeomID geom, GameObject* object);
    // Null when the geom was never mapped.
    GameObject* findObject(dGeomID geom) const;

    // The name shown to the player; "" until the level is loaded.
    core::String m_name;
    // Stars still to collect (0 completes the level) and stars at the start.
    std::int32_t m_starsLeft = 0;
    std::int32_t m_starsTotal = 0;
    // Keys held; a door takes one.
    std::int32_t m_keys = 0;
    // The row of the globals' level table this level plays.
    std::int32_t m_levelIndex;

    GameLevel(const GameLevel&) = delete;
    GameLevel& operator=(const GameLevel&) = delete;

private:
    core::HashTable<std::intptr_t, GameObject*> m_geomToObject;
    core::Ref<render::Sprite3D> m_sprite;
    core::Ref<render::Appearance> m_appearance;
    core::Ref<render::Image2D> m_image;
    core::Ref<render::Sprite3D> m_shadowSprite;
    slmath::vec3 m_startPosition;
    core::Ref<render::Image2D> m_atlas;
    core::Ref<render::Image2D> m_sheet;
};

} // namespace game
