// A bitmap-font description file through render::Font2D::createNewFont, as
// the game opens its fonts: every input must end in a font or in the
// engine's refusal of the description (its font, file, loader and pool
// exceptions, or an engine assertion that names what is wrong). A bare
// assertion is a crash here: bad content must get a message.
#include "FuzzEngine.h"
#include "FuzzFile.h"

#include "render/Font2D.h"
#include "render/FontException.h"

#include "hal/HALException.h"

#include "core/Assert.h"
#include "core/AssertationFailedException.h"
#include "core/Ref.h"

#include <cstdio>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path =
        fuzzsupport::writeInputFile("font.txt", std::string(reinterpret_cast<const char*>(data), size));
    fuzzsupport::runInput([&] {
        try {
            core::Ref<render::Font2D> font = render::Font2D::createNewFont(path.c_str());
        } catch (const render::FontException&) {
        } catch (const HAL::HALException&) {
        } catch (const AssertationFailedException& e) {
            if (std::strcmp(e.message, core::kBareAssertionText) == 0) {
                std::fprintf(stderr, "bare assertion in %s (%s:%d)\n", e.function, e.sourceFile, e.line);
                throw;
            }
        }
    });
    return 0;
}
