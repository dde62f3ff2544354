#pragma once

#include "core/IOException.h"
#include "core/MemoryManagerException.h"

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

} // namespace fuzzsupport
