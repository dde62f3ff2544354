#pragma once

namespace framework {

class App;
struct FrameworkSettings;

// The application factory the framework calls once at start-up, before any
// engine singleton exists: configures the engine for the game and returns
// the game's application, which the framework deletes at shut-down.
App* createApplication(FrameworkSettings* settings);

} // namespace framework
