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

// The level being played, held by the globals' m_level: built from a level
// image into the globals' object list, its name, its star and key counts, the
// map from physics geom to game object that the contact rules read, the
// sprite atlas and the one sprite all its objects are drawn with.
// Contract: made for one row of the level table while the game globals
// exist (bare assertion otherwise), and destroyed while they still do. load
// needs the physics world and fills the level once. The geom map is keyed by
// the full geom handle (64 bits here): a handle cut to 32 bits could map two
// geoms to one entry. Entries are never removed: an object's entry stays
// when it dies and is overwritten when a new geom gets the same handle.
// Level images are read with their own bytes per pixel (RGB or RGBA), and a
// level without a start tile starts the player at the origin.
class GameLevel : public core::Object {
public:
    static constexpr int kMaxImageSize = 32;
    static constexpr int kCellSize = 32;

    explicit GameLevel(int levelIndex);
    ~GameLevel() override;

    // ---- loading ----
    // Empties the globals' object list and fills it from the level image at
    // `path`: the player, the indicator arrow, the HUD band and the steering
    // marker, then one object per tile, column by column, each column top to
    // bottom; tiles start inactive. A file that can not be opened fails with
    // the file layer's exception, one that is no image or is larger than
    // 32 x 32 with the bare assertion, each logged and with no image kept; a
    // tile code above 28 fails with the tiles before it made.
    void load(const core::String& path, const core::String& name);
    // A new object drawn with the level's sprite, its picture the sheet cell
    // (cellX, cellY) of width x height, which is copied into the atlas. The
    // first call takes the sheet (the media folder's "sprites.png" unless
    // one was set) and makes the atlas and the shared sprite. The object is
    // inactive at the origin.
    core::Ref<GameObject> createGameObject(int type, int cellX, int cellY, int flags, int width, int height);
    // The sheet to cut the pictures from in place of "sprites.png", checked
    // as that one is; before the first object only.
    void setSheet(render::Image2D* sheet);

    // ---- play ----
    // Every second call (once per drawn frame): which tiles are near enough
    // the view to take part, the fall line, pick-ups, timed platforms, the
    // lift, pusher, barriers and beams. Always 1.
    int update(int ms);
    // Puts the player at its start.
    void reset();
    // Marks the level's row completed and keeps the time when it is strictly
    // better than the best; true for a new record.
    bool end(int timeMs);

    // ---- read by the drawing and tests ----
    render::Image2D* getImage() const { return m_image.get(); }
    render::Image2D* getAtlas() const { return m_atlas.get(); }
    render::Sprite3D* getSprite() const { return m_sprite.get(); }
    const slmath::vec3& getStartPosition() const { return m_startPosition; }

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
    void loadImage(const core::String& path);
    void addFixedObjects();
    // The tile code of pixel (x, y); TILE_EMPTY outside the image.
    int codeAt(int x, int y) const;
    void addTile(int code, int x, int y);
    // What an active tile at `p` does on a working update by its type: the
    // pick-ups, the timed platforms, the lift, the pusher and the barriers.
    void updateByType(GameObject& o, const slmath::vec3& p, GameObject& player, const slmath::vec3& playerPosition);

    core::HashTable<std::intptr_t, GameObject*> m_geomToObject;
    core::Ref<render::Sprite3D> m_sprite;
    core::Ref<render::Appearance> m_appearance;
    core::Ref<render::Image2D> m_image;
    slmath::vec3 m_startPosition;
    core::Ref<render::Image2D> m_atlas;
    core::Ref<render::Image2D> m_sheet;
};

} // namespace game
