#pragma once

#include "core/Object.h"
#include "core/Ref.h"
#include "core/Vector.h"
#include "render/Object3D.h"

#include <cstddef>

struct png_struct_def;

namespace render {

// Turns a PNG image held in memory into one Image2D with 8 bits a channel:
// RGB (format 99) for an image without an alpha channel, palette and grey
// images included (a palette's or grey's transparency entry is dropped), and
// RGBA (format 100) for one with an alpha channel. libpng does the decoding.
// Contract: the caller keeps the block alive during load. Every complaint of
// libpng, warnings included, ends the load with the parse error
// (core::IOException with libpng's text); a failed load appends nothing and
// releases everything it took. libpng is left by its long jump and the
// exception thrown only after it, since libpng's C frames cannot be unwound.
class PNG_Loader : public core::Object {
public:
    PNG_Loader() = default;
    ~PNG_Loader() noexcept(false) override = default;

    // True exactly when the first 8 bytes are the PNG signature. Null data is
    // the bare assertion, fewer than 8 bytes the parse error "Too small file!".
    static bool canHandle(const unsigned char* data, unsigned int length);

    // Appends one new Image2D to `out`. The pixels are rows tightly packed,
    // top row first, as the PNG stores them.
    void load(const unsigned char* data, unsigned int length, core::Vector<core::Ref<Object3D>>& out);

private:
    // libpng's error and warning handler: keeps the text and jumps back out
    // of libpng; never returns.
    static void pngErrorCallback(png_struct_def* png, const char* message);
    // libpng's read function over the load's core::DataIO cursor; a read past
    // the end is libpng's error "Small stream buffer".
    static void pngReadCallback(png_struct_def* png, unsigned char* destination, std::size_t length);
};

} // namespace render
