// What ends a harness's input quietly, and what escapes to libFuzzer as a
// crash.
#include "FuzzEngine.h"

#include "core/Assert.h"
#include "core/Debug.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kRoot = fuzzsupport::sourceRoot();

} // namespace

TEST(FuzzEngineTest, OnlyTheSceneGraphsOwnSourcesRefuseAValue)
{
    const std::string checkout = "/home/core/vornic3d/";
    const struct {
        const char* name;
        std::string root;
        std::string file;
        bool refusal;
    } cases[] = {
        {"a setter", kRoot, kRoot + "render/source/Node.cpp", true},
        {"the renderer", kRoot, kRoot + "render/source/OGLES2/OGLES_Graphics3D.cpp", true},
        {"the math library", kRoot, kRoot + "external/slmath/source/vec3.cpp", true},
        {"the scene-file reader", kRoot, kRoot + "render/source/M3G_Loader_mesh.cpp", false},
        {"the image reader", kRoot, kRoot + "render/source/PNG_Loader.cpp", false},
        {"the loading front end", kRoot, kRoot + "render/source/Loader.cpp", false},
        {"the reader's header", kRoot, kRoot + "render/include/render/M3G_Loader.inl", false},
        {"the core library", kRoot, kRoot + "core/include/core/Vector.h", false},
        {"the platform layer", kRoot, kRoot + "hal/source/File.cpp", false},
        {"the stand-in", kRoot, kRoot + "wince/source/Tick.cpp", false},
        {"the game", kRoot, kRoot + "game/source/GameLevel.cpp", false},
        {"outside the project", kRoot, "/elsewhere/render/source/Node.cpp", false},
        {"a checkout under a folder named core", checkout, checkout + "render/source/Node.cpp", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const AssertationFailedException e(core::kBareAssertionText, c.file.c_str(), "test", 1);
        EXPECT_EQ(fuzzsupport::isSceneGraphRefusal(e, c.root), c.refusal);
    }
}

TEST(FuzzEngineTest, AGameInputEndsQuietlyOnlyInARefusal)
{
    // Each row's load fails the bare assertion in `file`, after an error line
    // when `logged`.
    const struct {
        const char* name;
        std::string file;
        bool logged;
        bool quiet;
    } cases[] = {
        {"the game's logged refusal", kRoot + "game/source/GameLevel.cpp", true, true},
        {"a setter's refusal", kRoot + "render/source/Node.cpp", false, true},
        {"a silent assertion of the game", kRoot + "game/source/GameLevel.cpp", false, false},
        {"a silent assertion of the platform layer", kRoot + "hal/source/File.cpp", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool escaped = false;
        try {
            fuzzsupport::runGameInput([&] {
                if (c.logged)
                    core::Debug::printf(core::Debug::LEVEL_ERROR, "refused\n");
                throw AssertationFailedException(core::kBareAssertionText, c.file.c_str(), "test", 1);
            });
        } catch (const AssertationFailedException&) {
            escaped = true;
        }
        EXPECT_EQ(escaped, !c.quiet);
    }
}
