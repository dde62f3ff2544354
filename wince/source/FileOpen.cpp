// Stands in for: the run-time library's fopen on the phone, for regular
// files only. Limits: see FileOpen.h. Depends on: POSIX open, fstat, fdopen.
#include "wince/FileOpen.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// open's flags for a mode in fopen's notation; false for any other mode.
bool openFlags(const char* mode, int& flags)
{
    const bool update = std::strchr(mode, '+') != nullptr;
    switch (mode[0]) {
    case 'r': flags = update ? O_RDWR : O_RDONLY; break;
    case 'w': flags = (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC; break;
    case 'a': flags = (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND; break;
    default: return false;
    }
    return std::strspn(mode + 1, "+b") == std::strlen(mode + 1);
}

} // namespace

std::FILE* WinceFopen(const char* path, const char* mode)
{
    int flags = 0;
    if (path == nullptr || mode == nullptr || !openFlags(mode, flags)) {
        errno = EINVAL;
        return nullptr;
    }
    // Without O_NONBLOCK, opening a FIFO waits for its other end; a regular
    // file ignores the flag. Without O_NOCTTY, a terminal opened only to be
    // refused could become the process's controlling terminal.
    const int fd = open(path, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    int error = 0;
    if (fstat(fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : ENXIO;
    else if (std::FILE* stream = fdopen(fd, mode))
        return stream;
    else
        error = errno;
    close(fd);
    errno = error;
    return nullptr;
}
