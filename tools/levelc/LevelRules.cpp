#include "LevelRules.h"

#include <array>
#include <vector>

#include "MonsterNames.h"
#include "world/LevelFile.h"

namespace {

// Moving actors treat column 39 as column 0 and row 28 as row 0: the maze they walk is a ring
// of 39 x 28 tiles.
constexpr int32_t kLoopColumns = kMazeColumns - 1;
constexpr int32_t kLoopRows = kMazeRows - 1;
// Kinds a level may bring that no earlier level brought.
constexpr int32_t kNewKindsPerLevel = 2;
// Beyond this many problems of one rule in one file, the rest are only counted.
constexpr int32_t kProblemsPerRule = 12;

class CRuleReporter {
public:
    CRuleReporter(const SLevelSource& level, ProblemList& problems)
        : level_(level), problems_(problems) {}
    ~CRuleReporter() {
        for (size_t rule = 0; rule < counts_.size(); ++rule)
            if (counts_[rule] > kProblemsPerRule)
                problems_.push_back({level_.path, 0, 0,
                                     "... and " + std::to_string(counts_[rule] - kProblemsPerRule) +
                                         " more like the last"});
    }
    CRuleReporter(const CRuleReporter&) = delete;
    CRuleReporter& operator=(const CRuleReporter&) = delete;

    void atTile(size_t rule, int32_t column, int32_t row, const std::string& message) {
        if (++counts_[rule] > kProblemsPerRule) return;
        problems_.push_back(
            {level_.path, level_.gridLines[row], column + 1,
             "tile (" + std::to_string(column) + ", " + std::to_string(row) + "): " + message});
    }
    void atLine(int32_t line, int32_t column, const std::string& message) {
        problems_.push_back({level_.path, line, column, message});
    }

private:
    const SLevelSource& level_;
    ProblemList& problems_;
    std::array<int32_t, 8> counts_{};
};

enum : size_t { kSeam, kCrossing, kWidth, kDeadEnd, kReach };

bool floorAt(const SMapRecord& map, int32_t column, int32_t row) {
    return map.tileAt(column, row) == 0;
}

// Floor on the ring the actors walk, any column and row.
bool loopFloor(const SMapRecord& map, int32_t column, int32_t row) {
    column = ((column % kLoopColumns) + kLoopColumns) % kLoopColumns;
    row = ((row % kLoopRows) + kLoopRows) % kLoopRows;
    return floorAt(map, column, row);
}

constexpr int32_t kStepX[4] = {-1, 0, 1, 0};
constexpr int32_t kStepY[4] = {0, -1, 0, 1};

void checkMonsters(const SLevelSource& level, CRuleReporter& out) {
    const SMapRecord& map = level.map;
    if (level.monstersLine == 0) return;  // the parser has said so already
    if (map.monsterTypeCount == 0)
        out.atLine(level.monstersLine, 0, "a level needs at least one monster type");
    for (int32_t i = 0; i < map.monsterTypeCount; ++i)
        if (monsterName(map.monsterTypes[i]).empty())
            out.atLine(level.monstersLine, level.monsterColumns[i],
                       "type " + std::to_string(map.monsterTypes[i]) +
                           " is no monster (the game would make nothing of it)");
}

// The last column and row are the first ones again for a moving actor, and an actor that
// reaches the seam is carried one tile past it without a wall test: an opening in the edge
// must repeat on the far side and continue straight on both sides.
void checkSeams(const SMapRecord& map, CRuleReporter& out) {
    for (int32_t row = 0; row < kMazeRows; ++row)
        if (map.tileAt(kLoopColumns, row) != map.tileAt(0, row))
            out.atTile(kSeam, kLoopColumns, row, "column 39 must repeat column 0");
    for (int32_t column = 0; column < kMazeColumns; ++column)
        if (map.tileAt(column, kLoopRows) != map.tileAt(column, 0))
            out.atTile(kSeam, column, kLoopRows, "row 28 must repeat row 0");
    for (int32_t row = 0; row < kLoopRows; ++row) {
        if (!floorAt(map, 0, row)) continue;
        for (const int32_t column : {1, kLoopColumns - 1})
            if (!floorAt(map, column, row))
                out.atTile(kCrossing, column, row,
                           "the opening in the side edge at row " + std::to_string(row) +
                               " must run straight across: this tile must be floor");
    }
    bool sideExit = false, topExit = false;
    for (int32_t row = 0; row < kLoopRows; ++row) sideExit = sideExit || floorAt(map, 0, row);
    for (int32_t column = 0; column < kLoopColumns; ++column)
        topExit = topExit || floorAt(map, column, 0);
    // The way round the edges is what makes the screen one place: every maze offers it.
    if (!sideExit)
        out.atTile(kCrossing, 0, 1, "no opening in the side edge: give the maze a way round");
    if (!topExit)
        out.atTile(kCrossing, 1, 0, "no opening in the top edge: give the maze a way round");
    for (int32_t column = 0; column < kLoopColumns; ++column) {
        if (!floorAt(map, column, 0)) continue;
        for (const int32_t row : {1, kLoopRows - 1})
            if (!floorAt(map, column, row))
                out.atTile(kCrossing, column, row,
                           "the opening in the top edge at column " + std::to_string(column) +
                               " must run straight across: this tile must be floor");
    }
}

void checkCorridors(const SMapRecord& map, CRuleReporter& out) {
    for (int32_t row = 0; row < kLoopRows; ++row)
        for (int32_t column = 0; column < kLoopColumns; ++column) {
            if (!floorAt(map, column, row)) continue;
            if (loopFloor(map, column + 1, row) && loopFloor(map, column, row + 1) &&
                loopFloor(map, column + 1, row + 1))
                out.atTile(kWidth, column, row,
                           "2 x 2 floor from here to the lower right: corridors are one tile wide");
            int32_t ways = 0;
            for (int32_t dir = 0; dir < 4; ++dir)
                ways += loopFloor(map, column + kStepX[dir], row + kStepY[dir]);
            if (ways < 2)
                out.atTile(kDeadEnd, column, row,
                           ways ? "dead end: a corridor must lead on both ways"
                                : "floor walled in on every side");
        }
}

void checkReach(const SMapRecord& map, CRuleReporter& out) {
    if (!floorAt(map, 1, 1)) {
        out.atTile(kReach, 1, 1, "the player starts here; it must be floor");
        return;
    }
    // Flood from the start, then once from each part it missed, to report each part once.
    std::array<int8_t, kLoopColumns * kLoopRows> seen{};
    std::vector<int32_t> stack;
    auto flood = [&](int32_t column, int32_t row) {
        int32_t count = 0;
        stack.push_back(row * kLoopColumns + column);
        seen[static_cast<size_t>(stack.back())] = 1;
        while (!stack.empty()) {
            const int32_t at = stack.back();
            stack.pop_back();
            ++count;
            for (int32_t dir = 0; dir < 4; ++dir) {
                const int32_t c = (at % kLoopColumns + kStepX[dir] + kLoopColumns) % kLoopColumns;
                const int32_t r = (at / kLoopColumns + kStepY[dir] + kLoopRows) % kLoopRows;
                const int32_t next = r * kLoopColumns + c;
                if (!floorAt(map, c, r) || seen[static_cast<size_t>(next)]) continue;
                seen[static_cast<size_t>(next)] = 1;
                stack.push_back(next);
            }
        }
        return count;
    };
    flood(1, 1);
    for (int32_t row = 0; row < kLoopRows; ++row)
        for (int32_t column = 0; column < kLoopColumns; ++column)
            if (floorAt(map, column, row) &&
                !seen[static_cast<size_t>(row * kLoopColumns + column)]) {
                const int32_t size = flood(column, row);
                out.atTile(kReach, column, row,
                           "cut off from the start at (1, 1), with " + std::to_string(size - 1) +
                               " more floor tiles around it");
            }
}

}  // namespace

void checkLevel(const SLevelSource& level, ProblemList& problems) {
    CRuleReporter out(level, problems);
    checkMonsters(level, out);
    checkSeams(level.map, out);
    checkCorridors(level.map, out);
    checkReach(level.map, out);
}

void checkLevelSet(const std::string& folder, const std::vector<SLevelSource>& levels,
                   ProblemList& problems) {
    if (levels.empty()) {
        problems.push_back({folder, 0, 0, "no level files (*.txt)"});
        return;
    }
    if (levels.size() > kMaxMapCount)
        problems.push_back({folder, 0, 0,
                            std::to_string(levels.size()) + " levels; maps.dat holds at most " +
                                std::to_string(kMaxMapCount)});

    std::array<bool, kFightingKinds> kindSeen{};
    std::array<bool, 5> styleSeen{};
    for (const SLevelSource& level : levels) {
        for (int32_t i = 0; i < level.map.monsterTypeCount; ++i)
            if (level.map.monsterTypes[i] < kFightingKinds)
                kindSeen[level.map.monsterTypes[i]] = true;
        for (const uint8_t t : level.map.tiles)
            if (t >= 1 && t <= 4) styleSeen[t] = true;
    }
    for (uint8_t kind = 0; kind < kFightingKinds; ++kind)
        if (!kindSeen[kind])
            problems.push_back({folder, 0, 0,
                                "no level brings the " + std::string(monsterName(kind)) +
                                    " (type " + std::to_string(kind) + ")"});
    for (int32_t style = 1; style <= 4; ++style)
        if (!styleSeen[static_cast<size_t>(style)])
            problems.push_back({folder, 0, 0,
                                "no level uses wall style " + std::to_string(style) + " ('" +
                                    std::string(1, kWallChars[style - 1]) + "')"});

    // Monsters come in gently: a level brings at most two kinds no earlier level brought.
    std::array<bool, 256> met{};
    for (const SLevelSource& level : levels) {
        int32_t fresh = 0;
        for (int32_t i = 0; i < level.map.monsterTypeCount; ++i) {
            const uint8_t type = level.map.monsterTypes[i];
            if (met[type]) continue;
            met[type] = true;
            if (++fresh > kNewKindsPerLevel)
                problems.push_back({level.path, level.monstersLine, level.monsterColumns[i],
                                    "'" + std::string(monsterName(type)) +
                                        "' would be the third kind new on this level; bring "
                                        "at most two at a time"});
        }
    }

    // Difficulty only rises: neither the ceiling nor the first wave may drop from one level
    // to the next.
    for (size_t i = 1; i < levels.size(); ++i) {
        const SLevelSource& before = levels[i - 1];
        const SLevelSource& level = levels[i];
        if (level.map.maxMonsters < before.map.maxMonsters)
            problems.push_back({level.path, level.ceilingLine, 0,
                                "ceiling " + std::to_string(level.map.maxMonsters) +
                                    " is below the " + std::to_string(before.map.maxMonsters) +
                                    " of the level before; difficulty must not fall"});
        if (level.map.firstWave < before.map.firstWave)
            problems.push_back({level.path, level.firstWaveLine, 0,
                                "first wave " + std::to_string(level.map.firstWave) +
                                    " is below the " + std::to_string(before.map.firstWave) +
                                    " of the level before; difficulty must not fall"});
    }
}
