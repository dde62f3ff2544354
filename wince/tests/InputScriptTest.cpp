#include "InputScript.h"
#include "WindowTestSupport.h"

#include "wince/Input.h"

#include <string>
#include <vector>

namespace {

class InputScriptTest : public StandInTest {};

// The events written back as script lines, each ended by "; ".
std::string describe(const std::vector<ScriptEvent>& events)
{
    static const char* const names[] = {"move", "press", "release", "key-down", "key-up"};
    std::string text;
    for (const ScriptEvent& e : events) {
        text += std::to_string(e.delayMs) + " " + names[e.kind];
        if (e.kind == ScriptEvent::KEY_DOWN || e.kind == ScriptEvent::KEY_UP)
            text += " " + std::to_string(e.virtualKey) + "; ";
        else
            text += " " + std::to_string(e.x) + " " + std::to_string(e.y) + "; ";
    }
    return text;
}

} // namespace

TEST(InputScriptParse, LinesBecomeEventsOrNameTheLineThatIsWrong)
{
    const struct {
        const char* text;
        const char* events;
        const char* error;
    } cases[] = {
        {"", "", ""},
        {"# comment only\n\n   \n", "", ""},
        {"100 press 120 200\n50 release 120 200 # lifted\n", "100 press 120 200; 50 release 120 200; ", ""},
        {"0 move -32768 32767\n2147483647 key-down 114\n1 key-up 1\n1 key-up 254",
         "0 move -32768 32767; 2147483647 key-down 114; 1 key-up 1; 1 key-up 254; ", ""},
        {"\t7\tpress\t1\t2\r\n", "7 press 1 2; ", ""},
        {"10 press 1 2\n-1 move 0 0\n", "", "line 2: the delay"},
        {"2147483648 move 0 0", "", "line 1: the delay"},
        {"ten move 0 0", "", "line 1: the delay"},
        {"10 tap 0 0", "", "line 1: no event"},
        {"10", "", "line 1: no event"},
        {"10 press 1", "", "line 1: a stylus event"},
        {"10 press 1 2 3", "", "line 1: a stylus event"},
        {"10 press 32768 0", "", "line 1: a stylus event"},
        {"10 press 1 2x", "", "line 1: a stylus event"},
        {"10 key-down 0", "", "line 1: a key event"},
        {"10 key-down 255", "", "line 1: a key event"},
        {"10 key-up", "", "line 1: a key event"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<ScriptEvent> events;
        std::string error;
        const bool read = parseInputScript(c.text, events, error);
        EXPECT_EQ(read, c.error[0] == '\0');
        if (read)
            EXPECT_EQ(describe(events), c.events);
        else
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
}

TEST_F(InputScriptTest, EventsComeOneACallToTheForegroundWindowOnceTheProgramTookItsMessages)
{
    TestWindow window(u"InputScriptTest", WS_VISIBLE, 50, 60, 240, 400);
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(parseInputScript("0 press 10 20\n0 release 10 20\n0 key-down 114\n0 key-up 114\n"
                                 "0 move 30 40\n600000 press 0 0\n",
                                 events, error));
    InputScript script(events);

    // Each row: replay calls, then the messages taken from the queue.
    const struct {
        const char* what;
        int calls;
        std::vector<UINT> taken;
    } steps[] = {
        {"no foreground window: the press waits", 1, {}},
        {"the release comes though the press is not taken; the key waits", 3, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {"the key, its release, then the move waits", 3, {WM_KEYDOWN, WM_KEYUP}},
        {"the move; the last press is ten minutes away", 2, {WM_MOUSEMOVE}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        for (int i = 0; i < step.calls; ++i)
            script.replay();
        std::vector<UINT> taken;
        for (MSG message{}; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            taken.push_back(message.message);
        EXPECT_EQ(taken, step.taken);
        SetForegroundWindow(window.handle());
    }
    EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 0x0001);
    EXPECT_EQ(GetAsyncKeyState(VK_F3), 0x0001);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(xy(cursor), std::pair(80, 100));
}
