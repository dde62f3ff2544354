#pragma once

#include <cstddef>
#include <cstdint>

namespace HAL {

// Console output of the debug log.
// Contract: a finished line and its length (0..999) go to the standard output
// whole and flushed, with nothing added; nothing here allocates from the
// engine's pools, because the memory managers log through it while locked.
class System {
public:
    static constexpr int kMaxPrintLength = 999;

    static void printf(const char* text, int length);
};

// The platform's millisecond tick; wraps after 2^32 ms, so measure intervals
// by unsigned subtraction.
std::uint32_t getTime();

// The system heap, nothing added: the memory managers take their pools here.
// malloc returns null when the heap is exhausted.
void* malloc(std::size_t size);
void free(void* pointer);

} // namespace HAL
