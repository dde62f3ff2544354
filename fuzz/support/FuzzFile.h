#pragma once

#include <string>

namespace fuzzsupport {

// For harnesses of readers that take a path: the input written whole as the
// file `name` in a folder of the run's own under the system's temporary
// folder (made on the first call, removed when the run ends); its path.
std::string writeInputFile(const std::string& name, const std::string& bytes);

// A whole file's bytes; empty when it can not be read.
std::string readFile(const std::string& path);

// The folder of the running harness, where the game's media are linked.
std::string programFolder();

} // namespace fuzzsupport
