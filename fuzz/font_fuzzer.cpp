// A bitmap-font description file through render::Font2D::createNewFont, as
// the game opens its fonts: every input must end in a font or in the
// engine's refusal of the description (its font, file, loader and pool
// exceptions, or an engine assertion that names what is wrong). A bare
// assertion is a crash here: bad content must get a message.
#include "FuzzEngine.h"

#include "render/Font2D.h"
#include "render/FontException.h"
#include "render/Graphics3D.h"

#include "HALException.h"

#include "core/AssertationFailedException.h"
#include "core/Globals.h"
#include "core/Ref.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// One unlinked temporary file for the whole run, reached through the
// process's descriptor table: nothing is left behind.
const std::string& descriptionPath()
{
    static const std::string path = [] {
        char name[] = "/tmp/vornic3d-font-fuzzer-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0)
            std::abort();
        unlink(name);
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

void writeDescription(const std::uint8_t* data, std::size_t size)
{
    const int fd = std::atoi(descriptionPath().c_str() + std::strlen("/proc/self/fd/"));
    if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();
}

// The font's texture comes from the renderer singleton: one without a
// display, which makes textures but draws nothing.
void startRenderer()
{
    core::Globals* globals = core::Globals::get();
    if (globals->m_graphics3D == nullptr) {
        render::Graphics3D* renderer =
            render::Graphics3D::createGraphics3D(render::Graphics3D::OPENGL_ES, nullptr, nullptr);
        renderer->addRef();
        globals->m_graphics3D = renderer;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeDescription(data, size);
    fuzzsupport::runInput([&] {
        startRenderer();
        try {
            core::Ref<render::Font2D> font = render::Font2D::createNewFont(descriptionPath().c_str());
        } catch (const render::FontException&) {
        } catch (const HAL::HALException&) {
        } catch (const AssertationFailedException& e) {
            if (std::strcmp(e.message, "Vornic3D exception") == 0) {
                std::fprintf(stderr, "bare assertion in %s (%s:%d)\n", e.function, e.sourceFile, e.line);
                throw;
            }
        }
    });
    return 0;
}
