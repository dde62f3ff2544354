// Stands in for: the module calls. Limits: see wince/Module.h. Depends on:
// readlink on /proc/self/exe.
#include "wince/Module.h"

#include <unistd.h>

#include <string>

// The program's module handle points at this object; nothing reads it.
struct WinceModule {};

namespace {

WinceModule program;

// The executable's path as Linux gives it, or empty when it cannot be read.
std::string executablePath()
{
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return std::string();
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        // The link may have been cut at the buffer's end: try a larger one.
        path.resize(path.size() * 2);
    }
}

} // namespace

HMODULE GetModuleHandleW(LPCWSTR moduleName)
{
    return moduleName == nullptr ? &program : nullptr;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size)
{
    if ((module != nullptr && module != &program) || buffer == nullptr || size == 0)
        return 0;
    const std::string path = executablePath();
    if (path.empty())
        return 0;
    const bool fits = path.size() < size;
    const std::size_t count = fits ? path.size() : size - 1;
    for (std::size_t i = 0; i < count; ++i)
        buffer[i] = static_cast<WCHAR>(static_cast<unsigned char>(path[i]));
    buffer[count] = 0;
    return fits ? static_cast<DWORD>(count) : size;
}
