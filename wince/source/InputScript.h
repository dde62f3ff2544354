// Stands in for: the user's hand on the stylus and the keys, replayed from a
// script file named by VORNIC3D_INPUT_SCRIPT, so a headless program can be
// driven from outside (internal). Limits: the left button only; events go to
// the foreground window; with video the X pointer does not move. Depends on:
// GetTickCount, the test API's posting (MessageQueue, InputState), getenv
// and the C++ streams.
#pragma once

#include "wince/Types.h"

#include <mutex>
#include <string>
#include <vector>

// One line of a script: after `delayMs`, the stylus moves, is pressed or is
// released at client point (x, y), or key `virtualKey` goes down or up.
struct ScriptEvent {
    enum Kind { MOVE, PRESS, RELEASE, KEY_DOWN, KEY_UP };

    DWORD delayMs = 0;
    Kind kind = MOVE;
    int x = 0;
    int y = 0;
    UINT virtualKey = 0;
};

// The events of a script's text, one a line: "<delay> move|press|release <x>
// <y>" or "<delay> key-down|key-up <virtual key>", decimal numbers, blank
// lines and lines from '#' ignored. False on the first line that is not one
// of these (a delay of 0 to 2^31 - 1, a point in 16 bits, a key 1 to 254);
// `error` then names the line and what is wrong with it.
bool parseInputScript(const std::string& text, std::vector<ScriptEvent>& events, std::string& error);

// Replays events as the program looks for input: each one comes `delayMs`
// after the one before it (the first after the first replay call), posted as
// the window system would post it (WinceTestPostMouse, WinceTestPostKey) to
// the foreground window. A move, press or key-down also waits until the
// program has taken every message before it and there is a foreground
// window, so input meant for a running game does not pile up while a slow
// start-up takes no messages; a release comes at its time, as the press it
// ends must not last longer than the script says. At most one event a call,
// so the program takes each before the next. Locked.
class InputScript {
public:
    // The program's script: read from VORNIC3D_INPUT_SCRIPT on first use
    // (none when unset). A script that can not be read or parsed ends the
    // process at once with a line on the standard error and exit code 1: a
    // run that silently missed its input would look like a passing one.
    static InputScript& instance();

    explicit InputScript(std::vector<ScriptEvent> events);

    // Posts the next event when it is due; called on every message peek and
    // key-state query.
    void replay();

private:
    bool due(const ScriptEvent& event, DWORD now);

    std::mutex m_lock;
    std::vector<ScriptEvent> m_events;
    std::size_t m_next = 0;
    bool m_started = false;
    // When the previous event came (or the replay began).
    DWORD m_lastTime = 0;
};
