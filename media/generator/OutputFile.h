#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

// Writes `bytes` as the whole file `folder` + "/" + `name`, replacing it;
// throws std::runtime_error naming the path when that fails.
void writeOutputFile(const std::string& folder, const std::string& name, const std::vector<std::uint8_t>& bytes);

// The file's bytes; throws std::runtime_error naming the path when it cannot
// be read.
std::vector<std::uint8_t> readInputFile(const std::string& path);

} // namespace media
