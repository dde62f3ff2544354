#pragma once

#include "core/Object.h"
#include "core/String.h"

#include <cstdio>

namespace HAL {

// A file named by a path: a counted core object, made closed by
// createFileHandle and held through core::Ref<HAL::File>.
// Contract: the caller opens it with fopen (run-time library flags), reads or
// writes, and closes it; releasing the last reference closes it too. The path
// is kept as folder (up to and including the last '/', or empty) and name,
// with every '\' turned into '/'. Every failure is an exception: misuse and a
// closed file fail the engine assertion, a failing system call throws
// HAL::HALException, as does opening a path that names no regular file. The
// string pool and the main memory pool must exist while a file is made or
// opened.
class File : public core::Object {
public:
    // A GeneralFile for `path`, not yet open; null only when the main pool
    // gives no memory. The caller takes the first reference.
    static File* createFileHandle(const core::String& path);
    // The running executable's folder with '/' separators and one trailing '/'.
    static core::String getWorkingDirectory();

    File();
    ~File() override = default;

    // ---- stream operations ----
    virtual void fopen(const char* flags) = 0;
    // Reads up to `size` bytes; fewer (0 at the very end) is no failure.
    virtual int fread(void* buffer, int size) = 0;
    // Writes all `size` bytes and flushes them to the system.
    virtual void fwrite(const void* buffer, int size) = 0;
    // The length in bytes; the position stays where it was.
    virtual int fsize() = 0;
    virtual void fsetpos(int position) = 0;
    virtual int fgetpos() = 0;
    // Null while the file is closed.
    virtual std::FILE* getHandle() const = 0;
    virtual void fclose() = 0;
    // Moves the closed file to `newPath`, replacing a file there in one step,
    // and names it so from then on; on failure both files stay as they were.
    virtual void rename(const core::String& newPath) = 0;
    // Deletes the closed file; the handle keeps its name, which then names
    // nothing. On failure the file stays.
    virtual void remove() = 0;
    virtual bool isOpen() const = 0;

    // ---- path ----
    const core::String& getName() const { return m_name; }
    const core::String& getPath() const { return m_path; }
    void setPathAndName(const core::String& path, const core::String& name);

private:
    core::String m_name;
    core::String m_path;
};

} // namespace HAL
