#include "core/IOException.h"

#include "core/Assert.h"
#include "core/MemoryManager.h"
#include "core/String.h"

#include <cstdio>
#include <cstring>

namespace core {

namespace {

constexpr char kFormat[] = "IO Name: %s. Message: %s";

// A copy of `text` with its terminator in the main pool.
char* copyOf(const char* text)
{
    const std::size_t bytes = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(
        MemoryManager::memAlloc(static_cast<int>(bytes), "core::IOException::IOException", __LINE__));
    std::memcpy(copy, text, bytes);
    return copy;
}

} // namespace

IOException::IOException(const char* message_, const String& name) : Vornic3DException(""), buffer(nullptr)
{
    VORNIC3D_CHECK(message_ != nullptr);
    const int nameLength = name.length();
    const std::size_t bytes = static_cast<std::size_t>(nameLength) + std::strlen(kFormat) + std::strlen(message_) + 1;
    VORNIC3D_CHECK(bytes <= static_cast<std::size_t>(INT32_MAX));
    buffer = static_cast<char*>(VORNIC3D_ALLOC(static_cast<int>(bytes)));
    char* asciiName = nullptr;
    try {
        asciiName = static_cast<char*>(VORNIC3D_ALLOC(nameLength + 1));
        name.toASCII(asciiName, nameLength + 1);
    } catch (...) {
        if (asciiName != nullptr)
            VORNIC3D_FREE(asciiName);
        VORNIC3D_FREE(buffer);
        throw;
    }
    std::snprintf(buffer, bytes, kFormat, asciiName, message_);
    message = buffer;
    VORNIC3D_FREE(asciiName);
}

IOException::IOException(const IOException& other) : Vornic3DException(""), buffer(copyOf(other.message))
{
    message = buffer;
}

IOException& IOException::operator=(const IOException& other)
{
    if (&other == this)
        return *this;
    // The new text first: a failed allocation leaves this exception intact.
    char* text = copyOf(other.message);
    VORNIC3D_FREE(buffer);
    buffer = text;
    message = buffer;
    return *this;
}

IOException::~IOException()
{
    try {
        VORNIC3D_FREE(buffer);
    } catch (...) {
        // A destructor must not throw; without a main pool there is nothing to free.
    }
}

} // namespace core
