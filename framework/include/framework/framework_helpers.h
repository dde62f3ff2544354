#pragma once

namespace HAL {
class Display;
}

namespace framework {

class App;
struct FrameworkSettings;

// The program's life between WinMain and the application: start-up, the
// hand-over, one pass of the main loop and shut-down.
// Contract: one thread; createFramework runs once, then frameworkGameLoop
// while it returns 1, then destroyFramework. The framework keeps no state
// of its own: the application pointer belongs to the caller, everything else
// lives in core::Globals. Nothing here catches: a failure leaves the caller
// with the engine singletons as they stood.

// ---- start-up and shut-down ----------------------------------------------------

// Asks the application factory for the application (with `settings`, or a
// record with the defaults when null), makes the engine singletons, the
// display (on `parentWindow` in host mode when one is given) and the
// renderer on it, logs the build information and hands the renderer to the
// application. Refuses a display width or height of 0 ("set display width
// and height") once the singletons exist, before any window is made.
App* createFramework(void* parentWindow, FrameworkSettings* settings);

// Checks that the renderer has a window ("Graphics3D does not have a
// window") and calls the application's createDevice; returns 1.
int frameworkStartGameApplication(App* app);

// Deletes the application (when not null), then the engine singletons with
// the leak check.
void destroyFramework(App* app);

// Replaces the registered renderer by one drawing into `display` with the
// settings' renderer configuration; the renderer holds the display.
void initGraphics(FrameworkSettings* settings, HAL::Display* display);

// ---- main loop -------------------------------------------------------------------

// One pass: at most one window message (the quit message returns 0 before
// the update), the application's update (0 returns 0 at once), then the
// screen bound, the application's render and the target released (swap).
// Returns 1 to go on. Checks the renderer's window on every pass.
int frameworkGameLoop(App* app, int elapsedMs);

// ---- build information -------------------------------------------------------------

// The framework library's build date as the compiler writes it ("Jul  4 2009").
const char* getBuildDate();

} // namespace framework
