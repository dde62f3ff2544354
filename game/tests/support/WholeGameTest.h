#pragma once

#include "GameTest.h"

#include "Game.h"

#include "core/Ref.h"

#include <filesystem>

namespace gametest {

// The whole game on the recording renderer, held in m_game by the test. Its
// settings and best-time files are the program's own beside the test
// program, so these tests run one at a time (game/CMakeLists.txt); each
// starts without them, and the stylus is held so that the intro ends after
// its first frame. The game makes the globals itself: SetUp removes the
// fixture's.
class WholeGameTest : public GameTest {
protected:
    // TearDown has released the game; nothing here can throw.
    ~WholeGameTest() noexcept override {}

    void SetUp() override;
    void TearDown() override;

    // A file of the media folder, by the name the game opens it with.
    static std::filesystem::path fileOf(const char* name);
    static void removeFiles();

    core::Ref<game::Game> m_game;
};

} // namespace gametest
