#pragma once

#include "BestTimeFile.h"
#include "LevelInfo.h"

#include "core/Object.h"
#include "core/Ref.h"
#include "core/Vector.h"

#include <array>
#include <cstdint>

namespace HAL {
class Input;
}
namespace render {
class Background;
class Font2D;
class Light;
class Sprite3D;
class Text2D;
} // namespace render

namespace game {

class GameCamera;
class GameLevel;
class GameObject;
class GameOde;

// The game's one shared object: what more than one state or game class needs
// lives here, read and written directly (no accessors).
// Contract: a singleton made by initClass before the first state and removed
// by deInitClass after the registered states are gone; a second initClass, a
// deInitClass without an instance, or making or deleting one any other way is
// the bare assertion. getInstance answers null outside that span, and stays
// set while the members are released, so the level's destructor still finds
// it. Members are released in reverse order of declaration: the objects go
// before the physics world their bodies live in, the level last. The three
// settings start at the settings file's defaults and the background index at
// 0, so nothing reads an unset value.
class GameGlobals : public core::Object {
public:
    // The places of m_objects: the four fixed objects that every level load
    // makes first, in this order, then the level's tiles in scan order.
    static constexpr int kPlayerSlot = 0;
    static constexpr int kArrowSlot = 1;
    static constexpr int kHudBandSlot = 2;
    static constexpr int kMarkerSlot = 3;
    static constexpr int kFirstTileSlot = 4;
    // The places of m_sprites: the set-up makes four, the last two empty.
    static constexpr int kLogoSlot = 0;
    static constexpr int kDustSlot = 1;
    static constexpr int kSpriteSlots = 4;

    static void initClass();
    static void deInitClass();
    // Null when there is none.
    static GameGlobals* getInstance();
    // For callers that need it: the bare assertion when there is none.
    static GameGlobals& get();

    ~GameGlobals() override;

    // The level being played; the menu builds and loads it.
    core::Ref<GameLevel> m_level;
    core::Ref<HAL::Input> m_keyboard;
    core::Ref<HAL::Input> m_mouse;
    core::Ref<GameOde> m_ode;
    core::Ref<render::Font2D> m_font;
    core::Ref<render::Font2D> m_font2;
    // The shared text node of the intro, drawn with m_font2.
    core::Ref<render::Text2D> m_text;
    core::Ref<GameCamera> m_camera;
    // The run state's backgrounds; m_backgroundIndex picks one.
    core::Vector<core::Ref<render::Background>> m_backgrounds;
    // The menu's backdrop.
    core::Ref<render::Background> m_background;
    core::Ref<render::Light> m_light;
    // The studio logo and the dust puff (kLogoSlot, kDustSlot).
    core::Vector<core::Ref<render::Sprite3D>> m_sprites;
    std::array<LevelInfo, BestTimeFile::kLevelCount> m_levels;
    // The player, the indicator arrow, the HUD band, the steering marker,
    // then the level's tiles (kPlayerSlot ... kFirstTileSlot).
    core::Vector<core::Ref<GameObject>> m_objects;
    std::int32_t m_quitKey;
    std::int32_t m_shadows;
    std::int32_t m_sounds;
    std::int32_t m_backgroundIndex = 0;
    // Where shadows fall, in pixels.
    std::int32_t m_shadowOffsetX = 10;
    std::int32_t m_shadowOffsetY = -10;

    GameGlobals(const GameGlobals&) = delete;
    GameGlobals& operator=(const GameGlobals&) = delete;

private:
    GameGlobals();

    // Holds the one reference of the instance; a plain pointer, so that it
    // still answers while the instance's members are released.
    static GameGlobals* s_instance;
};

} // namespace game
