#pragma once

#include <string>
#include <vector>

namespace media {

// The highest tile code a level holds.
constexpr int kMaxTileCode = 28;
// A level image is at most this many cells each way.
constexpr int kMaxLevelSide = 32;

// The character of each tile code in a level map, indexed by code:
//   .  0 empty              [  8 platform, first half  !  17 barrier
//   #  1 block              w  9 walker                I  18 bobbing bar
//   @  2 player start       ]  10 platform, 2nd half   ~  19 swaying bar
//   -  3 thin platform      ^  11 lift                 =  20 long block
//   *  4 star               c  12 crackable block      H  21 long block upright
//   +  5 spinning bar       C  13 cracked block        k  22 key
//   S  6 swinging bar       m  14 brake block          D  23 door
//   B  7 bouncer            <  15 pusher               _  24 ledge
//                           X  16 crate                T  25 turning bar
//   u 26 beam sliding up, > 27 beam sliding sideways, z 28 scrolling beam
extern const char kTileCharacters[kMaxTileCode + 2];

// A level as the text map in the repository reads: one character a cell,
// one line a row from the top. The level image is the same grid, each
// pixel's red byte the cell's tile code.
struct LevelMap {
    std::string name; // the image's name without ".png", e.g. "level0_1"
    int width = 0;
    int height = 0;
    std::vector<int> codes; // row by row from the top

    // The code of cell (x, y); 0 outside the map.
    int code(int x, int y) const;
};

// Reads a map from its text. Lines starting with ';' are comments; every
// other line is a row; all rows have the same length, at most
// kMaxLevelSide, and there are at most kMaxLevelSide of them; a line end may
// be "\r\n". Throws std::runtime_error "<source>:<line>:<column>: <what>" for
// a character outside kTileCharacters, a row of another length, an empty row
// or a map too large or empty.
LevelMap parseLevelMap(const std::string& text, const std::string& source, const std::string& name);

// Every "*.txt" map of `folder`, by file name; each named after its file.
std::vector<LevelMap> readLevelMaps(const std::string& folder);

} // namespace media
