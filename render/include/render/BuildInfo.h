#pragma once

namespace render {

// The render library's build date as the compiler writes it ("Jul  4 2009"),
// for the build-information lines at start-up. Constant text.
const char* getBuildDate();

} // namespace render
