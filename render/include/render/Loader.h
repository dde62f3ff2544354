#pragma once

#include "core/Ref.h"
#include "core/String.h"
#include "core/Vector.h"
#include "render/Object3D.h"

namespace HAL {
class File;
}

namespace render {

// The one entry point for content files: reads a whole file (or takes a block
// of memory) and hands it to the reader its first bytes select: the M3G file
// identifier to render::M3G_Loader, the PNG signature to render::PNG_Loader;
// anything else is refused with the parse error "Unsupported file format\n".
// Contract: results are appended to the caller's vector, which is not
// cleared first; a failed load appends nothing (a PNG) and leaves no buffer
// taken and no file open. Content shorter than 12 bytes is refused as "Too
// small file!" before any reader sees it. Loading by path logs the file's
// folder and name and, once loaded, the load time (level 4). No state: all
// operations are static.
class Loader {
public:
    using Objects = core::Vector<core::Ref<Object3D>>;

    static void load(const core::String& path, Objects& out);
    // Through a file object that is not open yet; `path` only names the file
    // in the log. The file is closed again when the call ends.
    static void load(const core::String& path, Objects& out, HAL::File* file);
    // The content is the length - offset bytes from data + offset. Null data
    // or an offset outside 0..length is the bare assertion.
    static void load(const unsigned char* data, int length, int offset, Objects& out);
    // `file` names the source of the content (may be null), so that a scene
    // file's external references are looked for beside it.
    static void load(const unsigned char* data, int length, int offset, Objects& out, HAL::File* file);

    Loader() = delete;
};

} // namespace render
