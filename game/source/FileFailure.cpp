#include "FileFailure.h"

#include <cstring>

namespace game {

namespace {

constexpr std::size_t kKeptPathCapacity = 512;

char g_refusedFile[kKeptPathCapacity];

} // namespace

void failOnFile(const char* path, const char* sourceFile, const char* function, int line)
{
    const std::size_t length = std::strlen(path);
    const char* shown = length < kKeptPathCapacity ? path : path + (length - (kKeptPathCapacity - 1));
    std::size_t i = 0;
    for (; shown[i] != '\0'; ++i)
        g_refusedFile[i] = shown[i] == '\\' ? '/' : shown[i];
    g_refusedFile[i] = '\0';
    AssertationFailedException failure(core::kBareAssertionText, sourceFile, function, line);
    failure.subject = g_refusedFile;
    throw failure;
}

} // namespace game
