// Stands in for: the declaration of the program entry that the phone's
// start-up code calls once the static initialisers have run. Limits: the
// program defines WinMain; the stand-in's entry target (wince_main, see
// source/entry/Main.cpp) provides the process entry main that calls it.
// Depends on: nothing but the basic types.
#pragma once

#include "wince/Types.h"

// The program's entry: the program's module, no previous instance, the
// command line without the program's name (each byte widened to one
// character) and a show command. Its result is the process's exit code.
int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);
