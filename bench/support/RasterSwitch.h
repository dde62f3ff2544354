#pragma once

namespace benchsupport {

// Rasterisation as a switch, so that a benchmark can weigh the CPU work in
// front of the device apart from the pixels: while it is off, glClear,
// glDrawElements and glDrawArrays return at once, for the engine and for a
// baseline alike, and nothing is cleared, transformed or filled; every
// other call still reaches the driver. Its definitions (RasterSwitch.cpp)
// stand in front of the OpenGL ES library's, as a program's own symbols do,
// and hand each call on to the library while rasterisation is on. On at
// start.
void setRasterization(bool on);

// Rasterisation switched for the life of the object, and back on after.
class RasterizationScope {
public:
    explicit RasterizationScope(bool on) { setRasterization(on); }
    ~RasterizationScope() { setRasterization(true); }
    RasterizationScope(const RasterizationScope&) = delete;
    RasterizationScope& operator=(const RasterizationScope&) = delete;
};

} // namespace benchsupport
