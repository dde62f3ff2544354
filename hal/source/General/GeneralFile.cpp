#include "hal/General/GeneralFile.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"
#include "hal/HALException.h"

#include "wince/FileOpen.h"

#include <cerrno>
#include <climits>

namespace HAL {

namespace {

// The longest path and flags a log line shows: the line must stay within the
// log's limit.
constexpr int kLoggedPathLength = 180;
constexpr int kLoggedFlagsLength = 16;

// A failed call of the C library: logged, then thrown with its own text.
[[noreturn]] void failCall(const char* logged, const char* thrown)
{
    core::Debug::printf(core::Debug::LEVEL_ERROR, "%s", logged);
    throw HALException(thrown);
}

// A failed call of the C library on a file, with the system's error number
// taken before logging, which may change it. Path and flags (an open's mode,
// or null) are cut for the log (the exception keeps the path), so that a long
// one cannot turn the outcome into the log's own exception.
[[noreturn]] void failOnFile(const char* call, const char* path, int error, const char* thrown,
                             const char* flags = nullptr)
{
    if (flags != nullptr)
        core::Debug::printf(core::Debug::LEVEL_ERROR, "GeneralFile::%s : %.*s failed. Flags: %.*s\n", call,
                            kLoggedPathLength, path, kLoggedFlagsLength, flags);
    else
        core::Debug::printf(core::Debug::LEVEL_ERROR, "GeneralFile::%s : %.*s failed\n", call, kLoggedPathLength, path);
    throw HALException(thrown, path, error);
}

[[noreturn]] void failOpen(const char* path, const char* flags, int error)
{
    failOnFile("fopen", path, error, "GeneralFile: can not open the file", flags);
}

// A path as the system takes it, one byte a character, in the main pool.
class NarrowPath {
public:
    explicit NarrowPath(const core::String& path)
    {
        const int length = path.length();
        VORNIC3D_CHECK(length > 0);
        // A character that does not fit one byte, or a zero, would silently
        // name another file.
        for (int i = 0; i < length; ++i) {
            const unsigned short c = path.charAt(i);
            VORNIC3D_CHECK(c != 0 && c <= 0xFF);
        }
        m_text = static_cast<char*>(VORNIC3D_ALLOC(length + 1));
        path.toASCII(m_text, length + 1);
    }
    ~NarrowPath() { VORNIC3D_FREE(m_text); }
    NarrowPath(const NarrowPath&) = delete;
    NarrowPath& operator=(const NarrowPath&) = delete;

    const char* text() const { return m_text; }

private:
    char* m_text = nullptr;
};

} // namespace

// ---- life cycle -----------------------------------------------------------------

GeneralFile::GeneralFile(const core::String& path)
{
    // An empty path stays empty (fopen refuses it).
    if (path.length() != 0)
        setFullPath(path);
}

void GeneralFile::setFullPath(const core::String& path)
{
    const core::String full = path.replace('\\', '/');
    const int last = full.lastIndexOf('/');
    if (last < 0)
        setPathAndName(core::String(""), full);
    else if (last == full.length() - 1)
        setPathAndName(full, core::String("")); // a folder: no name, which fopen refuses
    else
        setPathAndName(full.substring(0, last), full.substring(last + 1));
}

GeneralFile::~GeneralFile()
{
    if (m_handle == nullptr)
        return;
    std::FILE* stream = m_handle;
    m_handle = nullptr;
    // A throw here could end the program while another exception unwinds.
    if (std::fclose(stream) != 0)
        core::Debug::printf(core::Debug::LEVEL_ERROR, "GeneralFile::fclose failed\n");
    else
        core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::fclose ok\n");
}

// ---- opening and closing ----------------------------------------------------------

void GeneralFile::fopen(const char* flags)
{
    VORNIC3D_CHECK(flags != nullptr);
    // Opening again would lose the open stream.
    VORNIC3D_ASSERT(m_handle == nullptr, "GeneralFile: fopen failed (file is already open)");
    const core::String full = getPath() + getName();
    // An empty path names no file (and has no system path); any other,
    // a folder's too, the system answers for.
    if (full.length() == 0)
        failOpen("", flags, ENOENT);
    const NarrowPath path(full);
    // Only a regular file, and without waiting: a FIFO would block the
    // caller until something writes to it.
    m_handle = WinceFopen(path.text(), flags);
    if (m_handle == nullptr)
        failOpen(path.text(), flags, errno);
    core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::fopen : %.*s ok\n", kLoggedPathLength, path.text());
}

void GeneralFile::fclose()
{
    VORNIC3D_ASSERT(m_handle != nullptr, "GeneralFile: fclose failed (file is closed?)");
    // The C library releases the stream even when closing fails, so the
    // handle goes either way: keeping it would close a released stream again.
    std::FILE* stream = m_handle;
    m_handle = nullptr;
    if (std::fclose(stream) != 0)
        failCall("GeneralFile::fclose failed\n", "HAL: can not close the file");
    core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::fclose ok\n");
}

void GeneralFile::rename(const core::String& newPath)
{
    // Not every system renames an open file.
    VORNIC3D_ASSERT(m_handle == nullptr, "GeneralFile: rename failed (file is open)");
    const NarrowPath from(getPath() + getName());
    const NarrowPath to(newPath.replace('\\', '/'));
    if (std::rename(from.text(), to.text()) != 0)
        failOnFile("rename", from.text(), errno, "GeneralFile: can not rename the file");
    setFullPath(newPath);
    core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::rename ok\n");
}

void GeneralFile::remove()
{
    VORNIC3D_ASSERT(m_handle == nullptr, "GeneralFile: remove failed (file is open)");
    const NarrowPath path(getPath() + getName());
    if (std::remove(path.text()) != 0)
        failOnFile("remove", path.text(), errno, "GeneralFile: can not remove the file");
    core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::remove ok\n");
}

// ---- reading and writing ----------------------------------------------------------

int GeneralFile::fread(void* buffer, int size)
{
    VORNIC3D_CHECK(buffer != nullptr);
    VORNIC3D_CHECK(size >= 1);
    VORNIC3D_ASSERT(m_handle != nullptr, "GeneralFile: can not read the file (file is closed?)");
    core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::fread %d bytes\n", size);
    return static_cast<int>(std::fread(buffer, 1, static_cast<std::size_t>(size), m_handle));
}

void GeneralFile::fwrite(const void* buffer, int size)
{
    VORNIC3D_CHECK(buffer != nullptr);
    VORNIC3D_CHECK(size >= 1);
    VORNIC3D_ASSERT(m_handle != nullptr, "GeneralFile: can not write (file is closed?)");
    if (std::fwrite(buffer, static_cast<std::size_t>(size), 1, m_handle) != 1)
        failCall("GeneralFile::fwrite failed\n", "GeneralFile: file write failed");
    core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::fwrite %d bytes\n", size);
    // A full disk often shows only here; the write has not reached the file.
    if (std::fflush(m_handle) != 0)
        failCall("GeneralFile::fwrite failed\n", "GeneralFile: file write failed");
}

// ---- size and position --------------------------------------------------------------

int GeneralFile::fsize()
{
    VORNIC3D_ASSERT(m_handle != nullptr, "GeneralFile: fsize failed (file is closed?)");
    const int position = fgetpos();
    long start = -1;
    long end = -1;
    if (std::fseek(m_handle, 0, SEEK_SET) == 0)
        start = std::ftell(m_handle);
    if (start >= 0 && std::fseek(m_handle, 0, SEEK_END) == 0)
        end = std::ftell(m_handle);
    // A size beyond int cannot be reported: failing beats a wrapped length.
    if (start < 0 || end < start || end - start > INT_MAX) {
        std::fseek(m_handle, position, SEEK_SET);
        failCall("GeneralFile::fsize failed\n", "GeneralFile: file size reading failed");
    }
    fsetpos(position);
    const int size = static_cast<int>(end - start);
    core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::fsize = %d bytes\n", size);
    return size;
}

void GeneralFile::fsetpos(int position)
{
    VORNIC3D_ASSERT(m_handle != nullptr, "GeneralFile: fsetpos failed (file is closed?)");
    if (std::fseek(m_handle, position, SEEK_SET) != 0)
        failCall("GeneralFile::fsetpos failed\n", "GeneralFile: file set position failed");
    core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::fsetpos ok\n");
}

int GeneralFile::fgetpos()
{
    VORNIC3D_ASSERT(m_handle != nullptr, "GeneralFile: fgetpos failed (file is closed?)");
    const long position = std::ftell(m_handle);
    if (position < 0 || position > INT_MAX)
        failCall("GeneralFile::fgetpos failed\n", "GeneralFile: get file position failed");
    core::Debug::printf(core::Debug::LEVEL_LOW, "GeneralFile::fgetpos = %d ok\n", static_cast<int>(position));
    return static_cast<int>(position);
}

} // namespace HAL
