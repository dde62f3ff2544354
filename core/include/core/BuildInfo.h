#pragma once

namespace core {

// The core library's build date as the compiler writes it ("Jul  4 2009"),
// for the build-information lines at start-up. Constant text.
const char* getBuildDate();

} // namespace core
