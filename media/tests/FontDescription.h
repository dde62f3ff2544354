#pragma once

#include <string>

namespace mediatest {

// A bitmap-font description read by the rules the engine's font reader
// follows: a first byte 'B'; the cell width as exactly four hexadecimal
// characters; a marker, where 'C' brings three four-character hexadecimal
// separator colour parts and anything else none; the image name between
// double quotes, relative to the executable's folder; then the characters,
// one per cell of the image in order, to the end of the file (at most 1024).
// Everywhere carriage return, line feed and tab are dropped and an
// apostrophe starts or ends a comment; spaces are dropped up to the opening
// quote and before the first character. `error` names the first problem.
struct FontDescription {
    std::string error;
    int cellWidth = 0;
    bool hasSeparatorColour = false;
    std::string imageName;
    std::string characters;
};

FontDescription parseFontDescription(const std::string& text);

} // namespace mediatest
