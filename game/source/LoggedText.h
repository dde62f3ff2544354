#pragma once

namespace game {

// The longest path and system reason a log line of the game shows ("%.*s"):
// a line past the log's limit would turn the report into the log's own
// exception. Together with the words around them they stay well within it.
constexpr int kLoggedPathLength = 100;
constexpr int kLoggedReasonLength = 60;

} // namespace game
