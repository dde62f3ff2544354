#pragma once

#include <string>

namespace media {

// Writes "dust.png" (RGBA 32 x 32, a soft puff, transparent at its edges;
// the game zooms it over the whole screen between phases) and
// "tessly_mordane_logo_2.png" (RGBA 256 x 128, the game's title under the
// studio's name, shown at the end of the intro).
void writePictures(const std::string& folder);

} // namespace media
