// Stands in for: the user's hand, replayed from a script file (internal).
// Limits: see InputScript.h. Depends on: GetTickCount, the test API's
// posting, InputState (the foreground), MessageQueue (whether the program
// has taken its messages), getenv and the C++ streams.
#include "InputScript.h"

#include "InputState.h"
#include "MessageQueue.h"
#include "wince/Messages.h"
#include "wince/TestApi.h"
#include "wince/Tick.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// A whole decimal token in [low, high].
bool readNumber(const std::string& token, long long low, long long high, long long& value)
{
    if (token.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(token.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

struct EventName {
    const char* name;
    ScriptEvent::Kind kind;
    bool point;
};

constexpr EventName kEventNames[] = {
    {"move", ScriptEvent::MOVE, true},       {"press", ScriptEvent::PRESS, true},
    {"release", ScriptEvent::RELEASE, true}, {"key-down", ScriptEvent::KEY_DOWN, false},
    {"key-up", ScriptEvent::KEY_UP, false},
};

// One line without its comment; an empty line leaves `events` alone.
bool parseLine(const std::string& line, std::vector<ScriptEvent>& events, std::string& reason)
{
    std::istringstream fields(line.substr(0, line.find('#')));
    std::vector<std::string> tokens;
    for (std::string token; fields >> token;)
        tokens.push_back(token);
    if (tokens.empty())
        return true;

    ScriptEvent event;
    long long delay = 0;
    if (!readNumber(tokens[0], 0, INT_MAX, delay)) {
        reason = "the delay is not a number of milliseconds from 0 to 2147483647";
        return false;
    }
    event.delayMs = static_cast<DWORD>(delay);
    const EventName* found = nullptr;
    if (tokens.size() > 1)
        for (const EventName& name : kEventNames)
            if (tokens[1] == name.name)
                found = &name;
    if (found == nullptr) {
        reason = "no event: move, press, release, key-down or key-up";
        return false;
    }
    event.kind = found->kind;
    if (found->point) {
        long long x = 0;
        long long y = 0;
        // Client coordinates travel in 16 bits of the message.
        if (tokens.size() != 4 || !readNumber(tokens[2], -32768, 32767, x) ||
            !readNumber(tokens[3], -32768, 32767, y)) {
            reason = "a stylus event takes a client point x y, each from -32768 to 32767";
            return false;
        }
        event.x = static_cast<int>(x);
        event.y = static_cast<int>(y);
    } else {
        long long key = 0;
        if (tokens.size() != 3 || !readNumber(tokens[2], 1, 254, key)) {
            reason = "a key event takes one virtual-key code from 1 to 254";
            return false;
        }
        event.virtualKey = static_cast<UINT>(key);
    }
    events.push_back(event);
    return true;
}

std::vector<ScriptEvent> loadScriptOrExit(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::vector<ScriptEvent> events;
    std::string error = "can not be read";
    if (file.is_open() && !file.bad() && parseInputScript(text.str(), events, error))
        return events;
    std::fprintf(stderr, "VORNIC3D_INPUT_SCRIPT %s: %s\n", path, error.c_str());
    std::fflush(stderr);
    // At once: the program is somewhere in its run, and no shut-down of
    // it could be trusted from inside a message peek.
    std::_Exit(EXIT_FAILURE);
}

} // namespace

bool parseInputScript(const std::string& text, std::vector<ScriptEvent>& events, std::string& error)
{
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        std::string reason;
        if (!parseLine(line, events, reason)) {
            error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
    }
    return true;
}

// ---- replay ----

InputScript& InputScript::instance()
{
    static InputScript script([] {
        const char* path = std::getenv("VORNIC3D_INPUT_SCRIPT");
        return path != nullptr && path[0] != '\0' ? loadScriptOrExit(path) : std::vector<ScriptEvent>();
    }());
    return script;
}

InputScript::InputScript(std::vector<ScriptEvent> events) : m_events(std::move(events)) {}

bool InputScript::due(const ScriptEvent& event, DWORD now)
{
    // Unsigned: the tick may wrap between two events.
    if (now - m_lastTime < event.delayMs)
        return false;
    if (event.kind == ScriptEvent::RELEASE || event.kind == ScriptEvent::KEY_UP)
        return true;
    MSG waiting{};
    return !MessageQueue::instance().take(waiting, nullptr, 0, 0, false);
}

void InputScript::replay()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_next == m_events.size())
        return;
    const DWORD now = GetTickCount();
    if (!m_started) {
        m_started = true;
        m_lastTime = now;
    }
    const ScriptEvent& event = m_events[m_next];
    const HWND window = InputState::instance().foreground();
    if (window == nullptr || !due(event, now))
        return;
    switch (event.kind) {
    case ScriptEvent::MOVE: WinceTestPostMouse(window, WM_MOUSEMOVE, event.x, event.y); break;
    case ScriptEvent::PRESS: WinceTestPostMouse(window, WM_LBUTTONDOWN, event.x, event.y); break;
    case ScriptEvent::RELEASE: WinceTestPostMouse(window, WM_LBUTTONUP, event.x, event.y); break;
    case ScriptEvent::KEY_DOWN:
    case ScriptEvent::KEY_UP: WinceTestPostKey(window, event.virtualKey, event.kind == ScriptEvent::KEY_DOWN); break;
    }
    ++m_next;
    m_lastTime = now;
}
