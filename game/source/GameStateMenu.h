#pragma once

#include "GameState.h"

#include "core/Ref.h"
#include "core/String.h"
#include "core/Vector.h"

#include <cstdint>

namespace render {
class Appearance;
class Text2D;
} // namespace render

namespace game {

// The state "menu": the title menu and the hub between levels. A list of
// SELECT LEVEL, START GAME, INFO and QUIT GAME, driven by stylus taps on
// zones of the window: the bottom and top quarters move the highlight, the
// centre activates the highlighted entry, the sides change the level while
// SELECT LEVEL is highlighted. A tap acts when the stylus is lifted. The
// settings' quit key ends the program on every page.
// Contract: made after the set-up has filled the globals (font, inputs,
// camera, level table, sprites). It owns the choice of the level "run"
// plays: entering and leaving build the selected level into the globals'
// m_level. Entering after a finished level moves the selection on (after
// the last level back to the first), and a next level that was locked is
// opened and started at once. Locked levels can be selected but not
// started. The selection and the highlight stay between visits.
class GameStateMenu : public GameState {
public:
    // One entry of the list; the menu knows an entry only by its label.
    struct MenuItem {
        core::String text = "";
        bool selected = false;
    };

    enum Page { PAGE_MAIN = 0, PAGE_INFO = 1, PAGE_STARTING = 2 };

    GameStateMenu(Game* game, const core::String& name);
    ~GameStateMenu() override;

protected:
    int update(int elapsedMs) override;
    void init() override;
    void deinit() override;
    void render(render::Graphics3D* g3d) override;

private:
    static constexpr const char* kSelectLevel = "SELECT LEVEL";
    static constexpr const char* kStartGame = "START GAME";
    static constexpr const char* kInfo = "INFO";
    static constexpr const char* kQuitGame = "QUIT GAME";

    // ---- update ----
    // The stylus on the list page: press, hold and release; 0 ends the program.
    int handleStylus();
    int tapAt(float x, float y);
    // The highlighted entry's action; 0 ends the program.
    int activateHighlighted();
    void moveHighlight(int step);
    void buildSelectedLevel();
    bool isHighlighted(const char* label) const;

    // ---- drawing (GameStateMenuDraw.cpp) ----
    void drawArrows(render::Graphics3D* g3d);
    void drawTexts(render::Graphics3D* g3d);
    void drawList(render::Graphics3D* g3d);
    void drawCredits(render::Graphics3D* g3d);
    void drawDust(render::Graphics3D* g3d);

    // The appearance of the entries that are not highlighted, and the text
    // node's own one, put back after them.
    core::Ref<render::Appearance> m_itemAppearance;
    core::Ref<render::Appearance> m_textAppearance;
    // Every line of the menu is drawn with this one node.
    core::Ref<render::Text2D> m_menuText;
    std::int32_t m_page = PAGE_MAIN;
    std::int32_t m_selectedLevel = 0;
    // Updates counted on PAGE_STARTING.
    std::int32_t m_startCounter = 0;
    // Tap feedback: 1000 ms while the stylus is down, then counting down.
    std::int32_t m_tapTime = 0;
    // Where the last handled release was, each -1 to 1.
    float m_stylusX = -2.0f;
    float m_stylusY = -2.0f;
    core::Vector<MenuItem> m_items;
    std::int32_t m_selectedItem = 0;
};

} // namespace game
