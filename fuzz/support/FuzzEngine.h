#pragma once

#include "core/AssertationFailedException.h"
#include "core/IOException.h"
#include "core/MemoryManagerException.h"
#include "render/ArithmeticException.h"

#include <cstddef>
#include <cstdint>

namespace fuzzsupport {

// The engine singletons a harness needs (registry, log, both memory managers,
// the string pool, a renderer without a display), made on the first call and
// kept for the whole run.
// Both managers run on their malloc/free hooks, so every engine block is a
// heap block of its own and AddressSanitizer sees any overrun of it; a
// request beyond the game's main pool fails as that pool would, with the
// pool's exception.
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

} // namespace fuzzsupport
