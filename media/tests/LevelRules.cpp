#include "LevelRules.h"

#include <algorithm>
#include <array>
#include <deque>
#include <set>
#include <tuple>

namespace mediatest {

namespace {

// ---- the movement model -------------------------------------------------------------
//
// The player is a ball one cell across, pushed sideways by the stylus and
// jumping only off something below it. A jump adds 10 units/s to the speed it
// lands with, so by bouncing in place the ball climbs a little higher each
// time; about five bounces (~60 units/s against gravity 18.6) lift it three
// cells, which the model takes as the jump height. On the grid:
// - Solid cells block the ball and carry it; a closed door is solid, an open
//   one is gone. Breakable blocks are no floor (the ball breaks through them)
//   and no wall (it breaks them by pushing). Moving bars are neither: they
//   move or turn out of the way, and no route may need them. Lifts, stars and
//   keys are open cells.
// - Lethal objects kill when their bounding box meets the ball's, so every
//   cell within one cell (diagonals included) of a lethal object, of the
//   path a beam slides along, or of the run of open cells a walker can roll
//   along, is out of bounds.
// - The ball stands on an open cell above a solid one, or in a lift. From
//   there it may roll one cell sideways, or jump: rise straight up through
//   open cells (3 cells; 5 off a bouncer, none off a brake block, which eats
//   the speed), stop anywhere on the way and drift up to 4 cells sideways at
//   that height. Standing on a pusher it cannot roll right (it is carried
//   left). A lift pushes it up as a jump of two cells would.
// - Wherever a move ends, the ball falls straight down until it stands.
//   Every cell it passes picks up a star or key there, and touches every door
//   within one cell: a touched door with keys held opens and takes them all.

enum class Kind { Empty, Start, Solid, Breakable, Door, Star, Key, Lift, Moving, Lethal, Walker };

struct TileRule {
    Kind kind;
    int left, up, right, down; // cells the object reaches (or sweeps) beyond its own
    int jumpRows = 3;          // jump height off it, for a solid tile
    bool carriesLeft = false;
};

const std::array<TileRule, media::kMaxTileCode + 1>& tileRules()
{
    static const std::array<TileRule, media::kMaxTileCode + 1> rules = {{
        {Kind::Empty, 0, 0, 0, 0},          // 0
        {Kind::Solid, 0, 0, 0, 0},          // 1 block
        {Kind::Start, 0, 0, 0, 0},          // 2
        {Kind::Solid, 0, 0, 0, 0},          // 3 thin platform
        {Kind::Star, 0, 0, 0, 0},           // 4
        {Kind::Moving, 1, 0, 1, 1},         // 5 spinning bar, 20 units low
        {Kind::Moving, 1, 1, 1, 1},         // 6 swinging bar, 96 wide
        {Kind::Solid, 1, 0, 1, 0, 5},       // 7 bouncer, 64 wide
        {Kind::Solid, 1, 0, 1, 0},          // 8 timed platform, 64 wide
        {Kind::Walker, 0, 0, 0, 0},         // 9
        {Kind::Solid, 1, 0, 1, 0},          // 10 timed platform, 64 wide
        {Kind::Lift, 0, 0, 0, 0},           // 11
        {Kind::Breakable, 0, 0, 0, 0},      // 12
        {Kind::Breakable, 0, 0, 0, 0},      // 13
        {Kind::Solid, 0, 0, 0, 0, 0},       // 14 brake block
        {Kind::Solid, 0, 0, 0, 0, 3, true}, // 15 pusher
        {Kind::Solid, 0, 0, 0, 0},          // 16 crate
        {Kind::Lethal, 0, 0, 0, 0},         // 17 barrier
        {Kind::Moving, 0, 4, 0, 1},         // 18 upright bar, 64 high, bobbing up to 100
        {Kind::Moving, 1, 0, 1, 0},         // 19 swaying bar, 64 wide
        {Kind::Solid, 1, 0, 1, 0},          // 20 long block, 96 wide
        {Kind::Solid, 0, 1, 0, 1},          // 21 long block upright
        {Kind::Key, 0, 0, 0, 0},            // 22
        {Kind::Door, 0, 1, 0, 0},           // 23 door, two cells high
        {Kind::Solid, 0, 0, 1, 0},          // 24 ledge, 64 wide, 16 right
        {Kind::Moving, 3, 3, 3, 3},         // 25 bar 192 wide, turning about its middle
        {Kind::Lethal, 0, 3, 0, 1},         // 26 beam, 64 high, sliding 64 up
        {Kind::Lethal, 1, 0, 3, 0},         // 27 beam, 64 wide, sliding 64 right
        {Kind::Lethal, 0, 0, 0, 0},         // 28
    }};
    return rules;
}

constexpr int kJumpAcross = 4;
constexpr int kLiftRows = 2;
constexpr int kMaxKeysOrDoors = 8;

std::string at(int x, int y)
{
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// ---- the level as the model sees it -------------------------------------------------

class Level {
public:
    explicit Level(const media::LevelMap& map) : m_map(map)
    {
        const std::size_t cells = static_cast<std::size_t>(map.width * map.height);
        m_owner.assign(cells, -1);
        m_danger.assign(cells, false);
        m_door.assign(cells, -1);
    }

    const media::LevelMap& map() const { return m_map; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_map.width && y < m_map.height; }
    int index(int x, int y) const { return y * m_map.width + x; }
    const TileRule& ruleOf(int code) const { return tileRules()[static_cast<std::size_t>(code)]; }

    // Claims every cell an object covers; reports cells outside or claimed twice.
    void claimFootprints(std::vector<std::string>& faults)
    {
        for (int y = 0; y < m_map.height; ++y) {
            for (int x = 0; x < m_map.width; ++x) {
                const int code = m_map.code(x, y);
                if (code == 0)
                    continue;
                const TileRule& rule = ruleOf(code);
                for (int cy = y - rule.up; cy <= y + rule.down; ++cy) {
                    for (int cx = x - rule.left; cx <= x + rule.right; ++cx) {
                        if (!inside(cx, cy)) {
                            faults.push_back("object at " + at(x, y) + " reaches outside the map");
                            continue;
                        }
                        const int owner = m_owner[static_cast<std::size_t>(index(cx, cy))];
                        if (owner >= 0 && owner != index(x, y))
                            faults.push_back("object at " + at(x, y) + " overlaps the one at " +
                                             at(owner % m_map.width, owner / m_map.width));
                        else if ((cx != x || cy != y) && m_map.code(cx, cy) != 0)
                            faults.push_back("object at " + at(x, y) + " covers the tile at " + at(cx, cy));
                        m_owner[static_cast<std::size_t>(index(cx, cy))] = index(x, y);
                    }
                }
            }
        }
    }

    // Numbers the doors, marks every cell near a lethal object or a walker's
    // run as dangerous.
    void markDoorsAndDanger()
    {
        for (int y = 0; y < m_map.height; ++y) {
            for (int x = 0; x < m_map.width; ++x) {
                const TileRule& rule = ruleOf(m_map.code(x, y));
                if (rule.kind == Kind::Door) {
                    m_doorCells.push_back({x, y});
                    for (int cy = std::max(0, y - rule.up); cy <= y; ++cy)
                        m_door[static_cast<std::size_t>(index(x, cy))] = static_cast<int>(m_doorCells.size()) - 1;
                } else if (rule.kind == Kind::Lethal) {
                    for (int cy = y - rule.up; cy <= y + rule.down; ++cy) {
                        for (int cx = x - rule.left; cx <= x + rule.right; ++cx)
                            markDangerAround(cx, cy);
                    }
                } else if (rule.kind == Kind::Walker) {
                    markDangerAround(x, y);
                    for (int dir : {-1, 1}) {
                        for (int cx = x + dir; inside(cx, y) && !solid(cx, y, ~0u); cx += dir)
                            markDangerAround(cx, y);
                    }
                }
            }
        }
    }

    int doorCount() const { return static_cast<int>(m_doorCells.size()); }
    std::pair<int, int> doorCell(int door) const { return m_doorCells[static_cast<std::size_t>(door)]; }

    // Solid for the ball: outside the map, a solid object's cell, or a cell
    // of a door not in `openDoors`.
    bool solid(int x, int y, unsigned openDoors) const
    {
        if (!inside(x, y))
            return true;
        const int door = m_door[static_cast<std::size_t>(index(x, y))];
        if (door >= 0)
            return (openDoors >> door & 1u) == 0;
        const int owner = m_owner[static_cast<std::size_t>(index(x, y))];
        return owner >= 0 && ruleOf(m_map.codes[static_cast<std::size_t>(owner)]).kind == Kind::Solid;
    }
    bool dangerous(int x, int y) const { return inside(x, y) && m_danger[static_cast<std::size_t>(index(x, y))]; }
    bool open(int x, int y, unsigned openDoors) const { return !solid(x, y, openDoors) && !dangerous(x, y); }
    bool lift(int x, int y) const { return ruleOf(m_map.code(x, y)).kind == Kind::Lift; }
    bool standing(int x, int y, unsigned openDoors) const
    {
        return open(x, y, openDoors) && (lift(x, y) || solid(x, y + 1, openDoors));
    }
    // The rule of what the ball stands on at (x, y); a door counts as a block.
    const TileRule& support(int x, int y) const
    {
        const int owner = inside(x, y + 1) ? m_owner[static_cast<std::size_t>(index(x, y + 1))] : -1;
        return ruleOf(owner >= 0 && m_door[static_cast<std::size_t>(index(x, y + 1))] < 0
                          ? m_map.codes[static_cast<std::size_t>(owner)]
                          : 1);
    }
    int doorAt(int x, int y) const { return inside(x, y) ? m_door[static_cast<std::size_t>(index(x, y))] : -1; }

private:
    void markDangerAround(int x, int y)
    {
        for (int cy = y - 1; cy <= y + 1; ++cy) {
            for (int cx = x - 1; cx <= x + 1; ++cx) {
                if (inside(cx, cy))
                    m_danger[static_cast<std::size_t>(index(cx, cy))] = true;
            }
        }
    }

    const media::LevelMap& m_map;
    std::vector<int> m_owner; // the cell of the object covering a cell, or -1
    std::vector<bool> m_danger;
    std::vector<int> m_door; // the door covering a cell, or -1
    std::vector<std::pair<int, int>> m_doorCells;
};

// ---- the search ---------------------------------------------------------------------

struct State {
    int x, y;
    unsigned keys;  // keys taken, by number
    unsigned doors; // doors opened, by number
    int held;       // keys in hand

    bool operator<(const State& other) const
    {
        return std::tie(x, y, keys, doors, held) < std::tie(other.x, other.y, other.keys, other.doors, other.held);
    }
};

class Search {
public:
    Search(const Level& level, std::vector<std::string>& faults) : m_level(level), m_faults(faults)
    {
        const media::LevelMap& map = level.map();
        for (int y = 0; y < map.height; ++y) {
            for (int x = 0; x < map.width; ++x) {
                if (level.ruleOf(map.code(x, y)).kind == Kind::Key)
                    m_keyCells.push_back({x, y});
            }
        }
    }

    bool tooManyKeys() const { return static_cast<int>(m_keyCells.size()) > kMaxKeysOrDoors; }

    // Every cell the ball can pass through from the start.
    std::set<std::pair<int, int>> run(int startX, int startY)
    {
        State start{startX, startY, 0, 0, 0};
        travel(start, {});
        while (!m_queue.empty()) {
            const State state = m_queue.front();
            m_queue.pop_front();
            expand(state);
        }
        return m_visited;
    }

private:
    void push(const State& state)
    {
        if (m_seen.insert(state).second)
            m_queue.push_back(state);
    }

    // The ball passes (x, y): picks up a key there, touches doors nearby.
    void pass(State& state, int x, int y)
    {
        m_passed.push_back({x, y});
        for (std::size_t k = 0; k < m_keyCells.size(); ++k) {
            if (m_keyCells[k] == std::make_pair(x, y) && (state.keys >> k & 1u) == 0) {
                state.keys |= 1u << k;
                ++state.held;
            }
        }
        for (int cy = y - 1; cy <= y + 1; ++cy) {
            for (int cx = x - 1; cx <= x + 1; ++cx) {
                const int door = m_level.doorAt(cx, cy);
                if (door < 0 || (state.doors >> door & 1u) != 0 || state.held == 0)
                    continue;
                if (state.held > 1) {
                    const auto cell = m_level.doorCell(door);
                    m_faults.push_back("door at " + at(cell.first, cell.second) + " can be touched holding " +
                                       std::to_string(state.held) + " keys");
                }
                state.doors |= 1u << door;
                state.held = 0;
            }
        }
    }

    // Drops the ball from where it is until it stands; false when it would
    // fall into danger.
    bool fall(State& state)
    {
        pass(state, state.x, state.y);
        while (!m_level.standing(state.x, state.y, state.doors)) {
            if (!m_level.open(state.x, state.y + 1, state.doors))
                return false;
            ++state.y;
            pass(state, state.x, state.y);
        }
        return true;
    }

    // Follows a path of cells from the state's cell, then falls. What it
    // passed counts as reached only when it ends standing: a star taken on
    // the way into danger is no way to a star.
    void travel(State state, const std::vector<std::pair<int, int>>& path)
    {
        m_passed.clear();
        for (const auto& cell : path) {
            if (!m_level.open(cell.first, cell.second, state.doors))
                return;
            state.x = cell.first;
            state.y = cell.second;
            pass(state, cell.first, cell.second);
        }
        if (fall(state)) {
            m_visited.insert(m_passed.begin(), m_passed.end());
            push(state);
        }
    }

    void expand(const State& state)
    {
        const int x = state.x;
        const int y = state.y;
        const bool onFloor = m_level.solid(x, y + 1, state.doors);
        const TileRule& floor = m_level.support(x, y);
        for (int dir : {-1, 1}) {
            if (!(dir == 1 && onFloor && floor.carriesLeft))
                travel(state, {{x + dir, y}});
        }
        const int rows = onFloor ? floor.jumpRows : m_level.lift(x, y) ? kLiftRows : 0;
        std::vector<std::pair<int, int>> column;
        for (int h = 1; h <= rows && m_level.open(x, y - h, state.doors); ++h) {
            column.push_back({x, y - h});
            travel(state, column);
            for (int dir : {-1, 1}) {
                std::vector<std::pair<int, int>> path = column;
                for (int d = 1; d <= kJumpAcross && m_level.open(x + dir * d, y - h, state.doors); ++d) {
                    path.push_back({x + dir * d, y - h});
                    travel(state, path);
                }
            }
        }
    }

    const Level& m_level;
    std::vector<std::string>& m_faults;
    std::vector<std::pair<int, int>> m_keyCells;
    std::set<State> m_seen;
    std::deque<State> m_queue;
    std::vector<std::pair<int, int>> m_passed; // by the path being followed
    std::set<std::pair<int, int>> m_visited;
};

} // namespace

// ---- the rules ----------------------------------------------------------------------

std::vector<std::string> checkLevel(const media::LevelMap& map)
{
    std::vector<std::string> faults;
    Level level(map);
    level.claimFootprints(faults);
    level.markDoorsAndDanger();

    std::vector<std::pair<int, int>> starts;
    std::vector<std::pair<int, int>> pickups;
    for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; ++x) {
            const Kind kind = level.ruleOf(map.code(x, y)).kind;
            if (kind == Kind::Start)
                starts.push_back({x, y});
            if (kind == Kind::Star || kind == Kind::Key)
                pickups.push_back({x, y});
            const bool border = x == 0 || y == 0 || x == map.width - 1 || y == map.height - 1;
            if (border && map.code(x, y) != 1)
                faults.push_back("wall open at " + at(x, y));
        }
    }
    bool anyStar = false;
    for (const auto& cell : pickups)
        anyStar = anyStar || level.ruleOf(map.code(cell.first, cell.second)).kind == Kind::Star;
    if (!anyStar)
        faults.push_back("no star");
    if (level.doorCount() > kMaxKeysOrDoors) {
        faults.push_back("more than " + std::to_string(kMaxKeysOrDoors) + " doors");
        return faults;
    }
    if (starts.size() != 1) {
        faults.push_back(std::to_string(starts.size()) + " starts, not one");
        return faults;
    }
    const int sx = starts[0].first;
    const int sy = starts[0].second;
    if (!level.solid(sx, sy + 1, 0) || level.ruleOf(map.code(sx, sy + 1)).kind != Kind::Solid) {
        faults.push_back("no floor under the start at " + at(sx, sy));
        return faults;
    }
    if (level.dangerous(sx, sy))
        faults.push_back("start at " + at(sx, sy) + " next to a lethal object");

    Search search(level, faults);
    if (search.tooManyKeys()) {
        faults.push_back("more than " + std::to_string(kMaxKeysOrDoors) + " keys");
        return faults;
    }
    const std::set<std::pair<int, int>> reached = search.run(sx, sy);
    for (const auto& cell : pickups) {
        if (reached.count(cell) == 0)
            faults.push_back(
                std::string(level.ruleOf(map.code(cell.first, cell.second)).kind == Kind::Star ? "star" : "key") +
                " at " + at(cell.first, cell.second) + " out of reach");
    }
    // Each fault once, in the order found.
    std::vector<std::string> result;
    for (const std::string& fault : faults)
        if (std::find(result.begin(), result.end(), fault) == result.end())
            result.push_back(fault);
    return result;
}

} // namespace mediatest
