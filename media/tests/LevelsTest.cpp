#include "GameMediaTest.h"
#include "LevelMap.h"
#include "LevelRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

namespace {

using mediatest::checkLevel;

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

media::LevelMap mapFrom(const std::string& text)
{
    return media::parseLevelMap(text, "test.txt", "test");
}

} // namespace

// ---- the game's levels --------------------------------------------------------------

// Each row of the level table has its map, and no map is left over; every
// level keeps the rules. The first level has only floor and stars; every
// later one brings in something no earlier level had, and together they use
// every tile code.
TEST(LevelsTest, EveryLevelKeepsTheRulesAndBringsInSomethingNew)
{
    const std::vector<media::LevelMap> maps = media::readLevelMaps(mediatest::mediaFolder() + "/levels");
    EXPECT_EQ(maps.size(), mediatest::levelTable().size());
    std::set<int> seen;
    for (const mediatest::LevelRow& row : mediatest::levelTable()) {
        SCOPED_TRACE(row.fileName + " " + row.displayName);
        const auto map = std::find_if(maps.begin(), maps.end(),
                                      [&](const media::LevelMap& m) { return m.name + ".png" == row.fileName; });
        ASSERT_NE(map, maps.end());
        EXPECT_EQ("", joined(checkLevel(*map)));
        const std::set<int> codes(map->codes.begin(), map->codes.end());
        if (seen.empty()) {
            EXPECT_EQ((std::set<int>{0, 1, 2, 4}), codes);
        }
        EXPECT_FALSE(std::includes(seen.begin(), seen.end(), codes.begin(), codes.end())) << "nothing new";
        seen.insert(codes.begin(), codes.end());
    }
    EXPECT_EQ(static_cast<std::size_t>(media::kMaxTileCode + 1), seen.size());
}

// ---- reading maps -------------------------------------------------------------------

TEST(LevelsTest, MapsAreReadWithTheirCodes)
{
    const media::LevelMap map = mapFrom("; a comment\r\n#@*\r\n.kz\r\n\n");
    EXPECT_EQ(3, map.width);
    EXPECT_EQ(2, map.height);
    EXPECT_EQ((std::vector<int>{1, 2, 4, 0, 22, 28}), map.codes);
    EXPECT_EQ(0, map.code(-1, 0));
    EXPECT_EQ(0, map.code(0, 2));
}

TEST(LevelsTest, MalformedMapsAreRefusedWithTheirPlace)
{
    const std::string wide(33, '#');
    std::string tall;
    for (int i = 0; i < 33; ++i)
        tall += "#\n";
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"##\n#x\n", "test.txt:2:2: 'x' is not a tile character"},
        {"###\n##\n", "test.txt:2:3: row of 2 cells in a map 3 wide"},
        {"##\n\n##\n", "test.txt:2:1: empty row"},
        {"; only a comment\n", "test.txt:1:1: no rows"},
        {wide + "\n", "test.txt:1:33: more than 32 columns"},
        {tall, "test.txt:33:1: more than 32 rows"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            mapFrom(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(c.message, error.what());
        }
    }
}

// ---- the rules and the movement model -----------------------------------------------

// Faults only: the model's allowances (jump height and width, bouncers,
// lifts, doors opened by a key) are what the game's own levels need, so a
// stricter model fails them above.
TEST(LevelsTest, RulesFindFaultsOfSmallLevels)
{
    const struct {
        const char* what;
        std::string map;
        std::string faults; // every fault, each line ending in a line feed
    } cases[] = {
        {"no start", "####\n#*.#\n####\n", "0 starts, not one\n"},
        {"no star", "####\n#@.#\n####\n", "no star\n"},
        {"no floor", "#####\n#@.*#\n#...#\n#####\n", "no floor under the start at (1, 1)\n"},
        {"a breakable block is no floor", "#####\n#@.*#\n#c..#\n#####\n", "no floor under the start at (1, 1)\n"},
        {"open wall", "####.\n#@*.#\n#####\n", "wall open at (4, 0)\n"},
        {"four rows up", "#####\n#..*#\n#...#\n#...#\n#...#\n#@..#\n#####\n", "star at (3, 1) out of reach\n"},
        {"five across", "########\n#......#\n#@....*#\n##.....#\n#......#\n#......#\n#......#\n########\n",
         "star at (6, 2) out of reach\n"},
        {"no jump off a brake block", "#####\n#.*.#\n#@..#\n#mmm#\n#####\n", "star at (2, 1) out of reach\n"},
        {"a pusher carries left", "#######\n#@...*#\n##<<<##\n#######\n", "star at (5, 1) out of reach\n"},
        {"a star over a deadly fall is out of reach", "#######\n#.....#\n#@#*#.#\n###.###\n#..!..#\n#######\n",
         "star at (3, 2) out of reach\n"},
        {"a walker's run is out of bounds", "##########\n#........#\n#@.....*.#\n##.......#\n#...w....#\n##########\n",
         "star at (7, 2) out of reach\n"},
        {"a door needs a key", "#######\n#.....#\n#@.D.*#\n#######\n", "star at (5, 2) out of reach\n"},
        {"two keys at a door", "#########\n#.......#\n#@kk.D.*#\n#########\n",
         "door at (5, 2) can be touched holding 2 keys\n"},
        {"a long block covers its neighbours", "########\n#......#\n#@.=#.*#\n########\n",
         "object at (3, 2) covers the tile at (4, 2)\nobject at (4, 2) overlaps the one at (3, 2)\n"},
        {"a sliding beam's path", "#########\n#.......#\n#.......#\n#.>.....#\n#@.....*#\n#########\n",
         "start at (1, 4) next to a lethal object\nstar at (7, 4) out of reach\n"},
        {"a door in the top wall", "####D#\n#@..*#\n######\n",
         "object at (4, 0) reaches outside the map\nwall open at (4, 0)\n"},
        {"too many doors", "#############\n#...........#\n#@DDDDDDDDD*#\n#############\n", "more than 8 doors\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.faults, joined(checkLevel(mapFrom(c.map))));
    }
}
