#pragma once

#include "core/Assert.h"
#include "core/AssertationFailedException.h"
#include "core/Debug.h"
#include "core/IOException.h"
#include "core/MemoryManagerException.h"
#include "hal/HALException.h"
#include "render/ArithmeticException.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace fuzzsupport {

// The engine singletons a harness needs (registry, log, both memory managers,
// the string pool, a renderer without a display), made on the first call and
// kept for the whole run.
// By default both managers run on their malloc/free hooks, so every engine
// block is a heap block of its own and AddressSanitizer sees any overrun of
// it; a request beyond the game's main pool fails as that pool would, with
// the pool's exception. With VORNIC3D_FUZZ_GAME_POOLS=1 in the environment
// they are the game's own pools instead (game/source/GamePools.h) and
// every request meets the memory manager's own checks, as on the phone.
void startEngine();

// The project's root folder, ending in '/', as the build saw it.
const char* sourceRoot();

// True for an assertion thrown by the scene graph's own sources (render's
// sources and the math library under them, the path taken below `root`) but
// not by a reader's file: a scene-graph setter or constructor that refused a
// value of the file. The readers' own checks end in their parse and I/O
// errors, and the core library, the platform layer and the game are no scene
// graph, so an assertion of any of them marks a fault.
bool isSceneGraphRefusal(const AssertationFailedException& e, const std::string& root = sourceRoot());

// Runs one input: an accepted file and the engine's refusal of a bad one
// (core::IOException, or the full pool's exception) end quietly; any other
// exception escapes to libFuzzer, which reports it as a crash.
template <typename Load>
void runInput(Load load)
{
    startEngine();
    try {
        load();
    } catch (const core::IOException&) {
    } catch (const core::MemoryManagerException&) {
    }
}

// Runs one input of a scene reader: as runInput, and the file layer's refusal
// of a path (HAL::HALException) and a value of the file that the scene graph
// refuses also end quietly, the latter with the refusing setter's own
// exception (its assertion, or render::ArithmeticException).
template <typename Load>
void runSceneInput(Load load)
{
    runInput([&] {
        try {
            load();
        } catch (const HAL::HALException&) {
        } catch (const render::ArithmeticException&) {
        } catch (const AssertationFailedException& e) {
            if (!isSceneGraphRefusal(e))
                throw;
        }
    });
}

// The same for the game's own use of a file, whose checks refuse by logging
// their line and failing the bare engine assertion: a bare assertion with an
// error line logged during the input ends quietly; one with nothing logged
// is a crash, unless the scene graph refused.
template <typename Load>
void runGameInput(Load load)
{
    runSceneInput([&] {
        const std::int32_t errors = core::Debug::getErrorCount();
        try {
            load();
        } catch (const AssertationFailedException& e) {
            if (std::strcmp(e.message, core::kBareAssertionText) != 0 || core::Debug::getErrorCount() == errors)
                throw;
        }
    });
}

} // namespace fuzzsupport
