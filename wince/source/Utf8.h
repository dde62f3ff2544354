// Stands in for: the phone's own UTF-16 text, turned into the UTF-8 that
// Linux paths and SDL take (internal). Limits: UTF-16 to UTF-8 only.
// Depends on: SDL2's iconv.
#pragma once

#include <string>
#include <string_view>

namespace wince {

// Appends `text`, UTF-16 in the machine's byte order, to `out` as UTF-8.
// Each surrogate without its pair becomes U+FFFD. False when there was one,
// or when the conversion cannot be had at all (then `out` may hold a part).
bool appendUtf8(std::u16string_view text, std::string& out);

} // namespace wince
