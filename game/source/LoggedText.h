#pragma once

#include <cstring>

namespace game {

// The longest path and system reason a log line of the game shows: a line
// past the log's limit would turn the report into the log's own exception.
// Together with the words around them they stay well within it.
constexpr int kLoggedPathLength = 100;
constexpr int kLoggedReasonLength = 60;

// The end of `path` a log line shows, at most kLoggedPathLength characters:
// the end names the file, where a deep folder's start would push it out.
inline const char* loggedPath(const char* path)
{
    const std::size_t length = std::strlen(path);
    const std::size_t shown = kLoggedPathLength;
    return length > shown ? path + (length - shown) : path;
}

} // namespace game
