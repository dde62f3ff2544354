#pragma once

namespace render {
class Graphics3D;
}

namespace framework {

struct FrameworkSettings;

// The application interface: the framework knows the game only through it.
// Contract: the application factory (createApplication) makes the one object
// on the system heap with plain new, and the framework deletes it at
// shut-down through the virtual destructor; it is not a core::Object, so it
// has no reference count. The framework calls createDevice once, after the
// renderer has its window, then update and render once per main-loop pass.
class App {
public:
    App() = default;

    // Advances the application by elapsedMs; 1 goes on, 0 ends the program.
    virtual int update(int elapsedMs) = 0;
    // Draws into the screen target, which the framework has bound.
    virtual void render(render::Graphics3D* g3d) = 0;
    // Builds the application's content once the renderer and window exist.
    virtual void createDevice(render::Graphics3D* g3d) = 0;
    // Part of the interface for hosts that suspend an application; nothing in
    // this program calls them.
    virtual void suspend() = 0;
    virtual void resume() = 0;

    virtual ~App() = default;

    App(const App&) = delete;
    App& operator=(const App&) = delete;
};

// The application factory, defined by the application, not by the framework.
// Called first at start-up, before any engine singleton exists (so it must
// not log or make engine objects): it may change any field of `settings`
// and returns a new application.
App* createApplication(FrameworkSettings* settings);

} // namespace framework
