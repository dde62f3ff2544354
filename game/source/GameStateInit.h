#pragma once

#include "GameState.h"

#include "core/Ref.h"

namespace render {
class Sprite3D;
}

namespace game {

// The state "init". Its construction sets the whole game up in the game
// globals: the level table, the light, the physics world, the two fonts and
// the intro's text node, the follow camera, the keyboard and stylus inputs,
// the menu's backdrop and the intro's sprites; then it reads the settings
// and the best times and plays the intro, so it returns only after the
// intro. Entering the state passes on to "menu" at once; its update goes on
// and its render draws nothing.
// Contract: made once, by the game's registration of its states, while the
// renderer exists; a missing media file, font or object fails the
// construction (start-up stops). The settings and best-time files never
// stop it, unless the pool runs full reading them or an engine assertion
// fails. The destructor writes the best times only once the game has started
// (entering "init" has passed on to "menu": a failed start-up leaves the
// file as it was) and when their file was read at start or was not there; a
// full pool while it writes them is logged, not thrown. It must run while
// the globals still hold the level table, as the game's teardown arranges;
// saveRecords writes them the same way before then.
class GameStateInit : public GameState {
public:
    GameStateInit(Game* game, const core::String& name);
    ~GameStateInit() override;

    // The 13 rows of the globals' level table: file names, display names,
    // only the first level open and none completed.
    static void fillLevelTable();

    // An unscaled sprite of the media image `fileName`, alpha-blended over
    // what is drawn before it (no depth test or write), its texture filtered
    // linearly; its material is opaque white, so its diffuse alpha fades it.
    static core::Ref<render::Sprite3D> createSprite(const char* fileName);

    // One screen of the intro: the text (null for none) in the intro's text
    // node and the sprite (null for none; it needs a material) in the middle
    // of the screen, fading in and slowly out over 270 frames while the
    // theme plays. Draws and presents each frame itself; 1 when the screen
    // ran out, 0 when a press of the stylus ended it. Needs the globals'
    // text node with its material, camera, light and stylus input.
    static int showInitText(const char* text, render::Sprite3D* sprite);

    // Writes the best times as the exit does: only once the game has started,
    // and never over a file that was there but could not be read at start; a
    // full pool while writing is logged, not thrown. The destructor calls it,
    // and the game when a failure ends the program after start-up.
    void saveRecords();

protected:
    int update(int elapsedMs) override;
    void init() override;
    void deinit() override;
    void render(render::Graphics3D* g3d) override;

private:
    void createLight();
    void createFonts();
    void createInputs();
    void createBackdrop();
    // The settings file beside the program and the best times in the media
    // folder, into the globals.
    void loadConfig();
    // Only over a best-time file that was read or was not there.
    void saveBestTimes();
    // The four screens, each only after the one before ran out.
    void playIntro();

    // False when the best-time file was there but could not be read.
    bool m_bestTimesWritable = true;
    // Entering "init" has passed on to "menu": the game has started.
    bool m_started = false;
};

} // namespace game
