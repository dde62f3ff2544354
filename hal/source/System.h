#pragma once

#include "hal/SystemInfo.h"

#include <cstddef>
#include <cstdint>

namespace core {
class String;
}

namespace HAL {

// The platform layer's system services: the device's fixed facts (screen
// size, colour depth, default pool sizes) and the console output of the log.
// Contract: a plain object on the system heap (plain new, no reference count),
// made once by the framework right after core::Debug, registered in the
// m_system slot of core::Globals and deleted after the memory managers. It
// never allocates from the engine's pools: the pools are sized from its
// record, and the memory managers log through printf while locked.
class System {
public:
    static constexpr int kMaxPrintLength = 999;
    static constexpr std::int32_t kDefaultMemoryPoolSize = 102400000;
    static constexpr std::int32_t kDefaultStringPoolSize = 51200000;

    // Reads the screen metrics and the screen's colour depth. A console cannot
    // be had on this platform: asking for one only logs a warning.
    explicit System(bool console);
    ~System() = default;

    // The registered object's record; fails when no System is registered.
    static const SystemInfo& getSystemInfo();

    // A finished line and its length (0..999) go to the standard output whole
    // and flushed, with nothing added.
    static void printf(const char* text, int length);

    System(const System&) = delete;
    System& operator=(const System&) = delete;

private:
    SystemInfo m_info;
};

// ---- free services ----------------------------------------------------------

// The platform's millisecond tick; wraps after 2^32 ms, so measure intervals
// by unsigned subtraction.
std::uint32_t getTime();

// The system heap, nothing added: the memory managers take their pools here.
// malloc returns null when the heap is exhausted.
void* malloc(std::size_t size);
void free(void* pointer);

// One step of the window message pump: 1 when the queue was empty or a
// message was translated and dispatched, 0 when the quit message was taken
// (it is removed, neither translated nor dispatched). It waits only when it
// finds the queue empty in the same tick as the empty step before it: then
// for a message, at most until the next tick, so that a loop with nothing
// new to show runs once a tick instead of spinning.
int processMessages();

// The HAL library's build date as the compiler writes it ("Jul  4 2009").
const char* getBuildDate();

// The full screen's width and height in pixels, read from the platform on
// each call. They need no engine object, so an application can size its
// display before the engine exists.
int getScreenWidth();
int getScreenHeight();

// Starts the WAV file at `path` ('\' or '/' separated, of any length) and
// returns at once; the sound plays alongside and replaces the one playing.
// False when it can not be played (no such file, no audio device): then
// nothing plays. Sounds are never worth stopping the program for; the first
// failure for want of an audio device logs one warning.
bool playSound(const core::String& path);
// Stops the sound that plays, if any.
void stopSound();

} // namespace HAL

// A hook the framework calls with the System object after the pools are made
// and again at shut-down; this platform has nothing to do there.
void emptyFunction(void* system);
