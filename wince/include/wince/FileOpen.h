// Stands in for: the run-time library's fopen on the phone, whose file system
// holds only files and folders. The file layer and the sound player call it
// instead of fopen. Limits: opens regular files only; a path that names a
// FIFO, a device, a socket or a folder is refused at once, where Linux's
// fopen would open it or wait for a FIFO's other end; mode letters r, w and
// a with '+' and 'b' ("rb", "r+", "wb+", ...). Depends on: POSIX open, fstat
// and fdopen.
#pragma once

#include <cstdio>

// The stream of the regular file at `path` opened with the run-time
// library's `mode`, as fopen would give it; null, with errno set and without
// waiting, when fopen would fail, the mode is not one of the above (EINVAL)
// or the path names anything but a regular file (EISDIR for a folder, ENXIO
// for the rest), which is then left as it was.
std::FILE* WinceFopen(const char* path, const char* mode);
