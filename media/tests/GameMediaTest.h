#pragma once

#include "OGLESTest.h"

#include "core/Ref.h"
#include "core/String.h"

namespace render {
class Font2D;
class Image2D;
} // namespace render

namespace mediatest {

// The engine as the game starts it, for the media: the game's 5 MiB main
// pool and 40 KiB string pool, the real renderer with the game's switches
// (six batching buffers of 1,500 quads, no default light, no overlay) on a
// headless frame wide enough for the game's longest line of text, and the
// media opened the game's way, from the media folder beside the executable
// (a link to the committed media). Every test is a leak test, as under the
// engine fixture.
class GameMediaTest : public testsupport::OGLESTest {
protected:
    static constexpr int kGameMainPoolSize = 5242880;
    static constexpr int kFrameWidth = 288;
    static constexpr int kFrameHeight = 40;
    static_assert(kStringPoolSize == 40960, "the engine fixture's string pool is the game's");

    GameMediaTest() : OGLESTest(kFrameWidth, kFrameHeight) {}
    ~GameMediaTest() noexcept override {}

    void SetUp() override;
    int mainPoolSize() const override { return kGameMainPoolSize; }

    // The path the game opens: the executable's folder, "\media\" and the name.
    static core::String mediaPath(const char* name);
    // The first object of the file, which must be an image.
    static core::Ref<render::Image2D> loadImage(const char* name);
    static core::Ref<render::Font2D> loadFont(const char* name);
};

} // namespace mediatest
