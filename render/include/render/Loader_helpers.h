#pragma once

namespace render {

// The loaders' one way to refuse content: logs "Parse error: \"<message>\"\n"
// at level 1 and throws core::IOException with the message and an empty
// stream name. Every reader (PNG, scene files) and the loading front end
// fail through it, so a refused file always looks the same to the caller.
[[noreturn]] void parseError(const char* message);

} // namespace render
