#pragma once

#include "core/Object.h"
#include "core/Ref.h"
#include "core/Vector.h"
#include "render/Object3D.h"

namespace HAL {
class File;
}

namespace render {

// The reader of M3G scene files, reached through render::Loader when content
// starts with the 12-byte M3G file identifier.
// Contract: the front end builds one on its stack for each load and destroys
// it when the load ends, also when it threw. A reader made with the file the
// content came from keeps a counted reference to it, so that files named by
// external references can be looked for beside it. The scene-file reader is
// not built yet: load refuses every file with the parse error, after
// canHandle has routed it here.
class M3G_Loader : public core::Object {
public:
    M3G_Loader();
    // `file` may be null: a reader with no source file.
    explicit M3G_Loader(HAL::File* file);
    ~M3G_Loader() noexcept(false) override;

    // True exactly when the first 12 bytes are the M3G file identifier; reads
    // nothing beyond them. Below 12 bytes: the parse error "Too small file!".
    static bool canHandle(const unsigned char* data, int length);

    // Appends the file's root objects to `out`; the caller keeps `data` alive
    // during the call. Every failure throws.
    void load(const unsigned char* data, int length, core::Vector<core::Ref<Object3D>>& out);

private:
    core::Ref<HAL::File> m_file;
};

} // namespace render
