#pragma once

#include "hal/DisplayConfig.h"

#include "core/Object.h"

namespace HAL {

// The engine's output window with its OpenGL ES drawing surface.
// Contract: made once by the framework with createDisplayHandle, which takes
// the first reference, and handed to the renderer; only one display can
// exist at a time. Between construction and destruction its EGL context and
// surface are current on the program's one thread. A constructor that throws
// leaves nothing behind, so the caller may try again.
class Display : public core::Object {
public:
    // A Win32Display on `parentWindow` (mode 2 only; otherwise ignored); null
    // only when the allocation gives null.
    static Display* createDisplayHandle(const DisplayConfig* config, void* parentWindow);

    ~Display() noexcept(false) override = default;

    // Shows the frame just drawn; the display's context must be current.
    virtual void swapBuffer() = 0;
    // Fetches (and so clears) the pending OpenGL ES and EGL errors; logs the
    // EGL one if there is one, else the OpenGL ES one, naming `name`. True
    // when neither was pending.
    virtual bool checkError(const char* name) = 0;

    // ---- geometry of the window in screen pixels ----
    virtual int getWidth() = 0;
    virtual int getHeight() = 0;
    virtual int getX() = 0;
    virtual int getY() = 0;
};

} // namespace HAL
