#include "FileFailure.h"

#include "LoggedText.h"

namespace game {

namespace {

char g_refusedFile[kLoggedPathLength + 1];

} // namespace

void failOnFile(const char* path, const char* sourceFile, const char* function, int line)
{
    const char* shown = loggedPath(path);
    std::size_t i = 0;
    for (; shown[i] != '\0'; ++i)
        g_refusedFile[i] = shown[i] == '\\' ? '/' : shown[i];
    g_refusedFile[i] = '\0';
    AssertationFailedException failure(core::kBareAssertionText, sourceFile, function, line);
    failure.subject = g_refusedFile;
    throw failure;
}

} // namespace game
