#pragma once

namespace game {

// The game's two memory pools, in bytes, as the program asks the framework
// for them: the main pool (no block larger than it can be had) and the
// string pool. Header-only, so that other programs that run on the game's
// pools (the fuzz harnesses) take the same sizes without linking the game.
constexpr int kMainPoolSize = 5242880;
constexpr int kStringPoolSize = 40960;

} // namespace game
