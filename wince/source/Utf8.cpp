// Stands in for: the phone's UTF-16 to UTF-8 conversion (internal). Limits:
// see Utf8.h. Depends on: SDL2's iconv (the C library's underneath).
#include "Utf8.h"

#include <SDL.h>

#include <memory>
#include <type_traits>

namespace wince {

bool appendUtf8(std::u16string_view text, std::string& out)
{
    if (text.empty())
        return true;
    const SDL_iconv_t opened = SDL_iconv_open("UTF-8", SDL_BYTEORDER == SDL_LIL_ENDIAN ? "UTF-16LE" : "UTF-16BE");
    if (opened == reinterpret_cast<SDL_iconv_t>(-1))
        return false;
    // Closed on every way out, the throwing append included.
    const std::unique_ptr<std::remove_pointer_t<SDL_iconv_t>, decltype(&SDL_iconv_close)> converter(opened,
                                                                                                    &SDL_iconv_close);

    bool paired = true;
    const char* in = reinterpret_cast<const char*>(text.data());
    std::size_t inLeft = text.size() * sizeof(char16_t);
    char buffer[256];
    while (inLeft > 0) {
        char* next = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = SDL_iconv(converter.get(), &in, &inLeft, &next, &outLeft);
        out.append(buffer, next);
        if (result == SDL_ICONV_EILSEQ || result == SDL_ICONV_EINVAL) {
            // An unpaired surrogate (EINVAL: a high one at the end). SDL's
            // own SDL_iconv_string would step over one byte, not one unit,
            // and garble the rest.
            out += "\xEF\xBF\xBD";
            in += sizeof(char16_t);
            inLeft -= sizeof(char16_t);
            paired = false;
        } else if (result == SDL_ICONV_ERROR) {
            return false;
        }
        // SDL_ICONV_E2BIG only says the buffer is full: go on.
    }
    return paired;
}

} // namespace wince
