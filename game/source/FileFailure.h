#pragma once

#include "core/Assert.h"

namespace game {

// The bare engine assertion for a file the game refuses, raised after the
// game has logged why: the exception names the file beside its message, as
// the file layer's own failures name theirs, so that the program's stopping
// line says which file to look at and not only which source line refused
// it. The message, type and place of the check are those of the bare
// assertion. The path is shown as the file layer opens it ('/' for '\'),
// cut to the end that the game's log lines show (loggedPath).
// The copy lives in one buffer of the program's, since the exception may
// outlive whatever held the path; a later refusal writes over it, which is
// harmless as only the failure that ends the program is shown.
[[noreturn]] void failOnFile(const char* path, const char* sourceFile, const char* function, int line);

} // namespace game

#define GAME_FAIL_ON_FILE(path) ::game::failOnFile((path), __FILE__, VORNIC3D_FUNCTION, __LINE__)
