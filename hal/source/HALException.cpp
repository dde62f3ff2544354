#include "hal/HALException.h"

#include <cerrno>
#include <cstring>

namespace HAL {

HALException::HALException(const char* message, const char* path, int systemError_)
    : Vornic3DException(message), systemError(systemError_)
{
    keepPath(path);
}

HALException::HALException(const HALException& other) : Vornic3DException(other), systemError(other.systemError)
{
    keepPath(other.subject);
}

HALException& HALException::operator=(const HALException& other)
{
    if (&other == this)
        return *this;
    Vornic3DException::operator=(other);
    systemError = other.systemError;
    keepPath(other.subject);
    return *this;
}

// The subject points into this exception's own buffer, never into the
// other's, which may be gone first.
void HALException::keepPath(const char* path)
{
    subject = m_path;
    if (path == nullptr)
        return;
    const std::size_t length = std::strlen(path);
    const std::size_t room = kPathCapacity - 1;
    if (length <= room) {
        std::memcpy(m_path, path, length + 1);
        return;
    }
    // The end names the file; "..." shows that the front was cut.
    std::memcpy(m_path, "...", 3);
    std::memcpy(m_path + 3, path + length - (room - 3), room - 3 + 1);
}

bool HALException::isMissingFile() const
{
    return systemError == ENOENT;
}

const char* HALException::reason() const
{
    return systemError != 0 ? std::strerror(systemError) : message;
}

} // namespace HAL
