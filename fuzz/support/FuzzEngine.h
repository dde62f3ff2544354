#pragma once

#include "core/AssertationFailedException.h"
#include "core/Debug.h"
#include "core/IOException.h"
#include "core/MemoryManagerException.h"
#include "hal/HALException.h"
#include "render/ArithmeticException.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzzsupport {

// The engine singletons a harness needs (registry, log, both memory managers,
// the string pool, a renderer without a display), made on the first call and
// kept for the whole run.
// By default both managers run on their malloc/free hooks, so every engine
// block is a heap block of its own and AddressSanitizer sees any overrun of
// it; a request beyond the game's main pool fails as that pool would, with
// the pool's exception. With VORNIC3D_FUZZ_GAME_POOLS=1 in the environment
// they are the game's own pools instead (5,242,880 and 40,960 bytes) and
// every request meets the memory manager's own checks, as on the phone.
void startEngine();

// True for an assertion thrown outside the readers and the core library: by
// a scene-graph setter or constructor, or the math library under it, that
// refused a value of the file. The readers' own checks end in their parse
// and I/O errors, so an assertion of theirs, or of the core containers and
// cursor they read with, marks a fault.
bool isSceneGraphRefusal(const AssertationFailedException& e);

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

// Runs one input of a scene reader: as runInput, and a value of the file
// that the scene graph refuses also ends quietly, with the refusing setter's
// own exception (its assertion, or render::ArithmeticException).
template <typename Load>
void runSceneInput(Load load)
{
    runInput([&] {
        try {
            load();
        } catch (const render::ArithmeticException&) {
        } catch (const AssertationFailedException& e) {
            if (!isSceneGraphRefusal(e))
                throw;
        }
    });
}

// The same for a load through the file layer, whose refusal of a path
// (HAL::HALException) ends quietly too.
template <typename Load>
void runFileInput(Load load)
{
    runSceneInput([&] {
        try {
            load();
        } catch (const HAL::HALException&) {
        }
    });
}

// The same for the game's own use of a file, whose checks refuse by logging
// their line and failing the bare engine assertion: a bare assertion with an
// error line logged during the input ends quietly; one with nothing logged
// is a crash.
template <typename Load>
void runGameInput(Load load)
{
    runFileInput([&] {
        const std::int32_t errors = core::Debug::getErrorCount();
        try {
            load();
        } catch (const AssertationFailedException& e) {
            if (std::strcmp(e.message, "Vornic3D exception") != 0 || core::Debug::getErrorCount() == errors)
                throw;
        }
    });
}

} // namespace fuzzsupport
