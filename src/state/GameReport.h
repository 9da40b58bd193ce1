#pragma once
// The counts of a run, for --report: what was created and killed (and by whom), what was fired,
// which effects started and which sounds played; the report adds how evenly the window showed
// its pictures (CPacing). Every count is a plain increment where the thing happens, cheap enough
// for the hottest path.

#include <cstdint>
#include <string>

#include "state/KindNames.h"
#include "state/SampleCount.h"

enum class EEffectClass : uint8_t { kParticles, kLaser, kShockwave, kCount };

class CGameReport {
public:
    static CGameReport& instance();
    static void resetInstance();

    void actorCreated(int32_t kind) { count(created, kind); }
    // killer: the player number that made the kill, 0 or less for anything else.
    void actorKilled(int32_t kind, int32_t killer) {
        count(killed, kind);
        if (killer > 0) count(killedByPlayer, kind);
    }
    // A shooter of this kind fired (a shot, an egg, a grenade, a beam).
    void shotFired(int32_t shooterKind) { count(shotsFired, shooterKind); }
    void effectStarted(EEffectClass effect) { ++effects[static_cast<int>(effect)]; }
    void samplePlayed(int32_t id) {
        if (id >= 0 && id < kSampleCount) ++samples[id];
    }
    void worldUpdated() { ++worldUpdates; }
    void levelCompleted() { ++levelsCompleted; }
    void gameEnded() { ++gameOvers; }
    // A high score's initials were entered (in a player's run, or as a game's replay plays
    // them): the report names the last.
    void highScoreEntered(const char initials[4], int32_t score, int32_t level) {
        ++highScoresEntered;
        for (int i = 0; i < 4; ++i) lastEntryInitials[i] = initials[i];
        lastEntryScore = score;
        lastEntryLevel = level;
    }
    // An entry's replay watched from the high scores; `matched`: it played to its end, or until
    // the player left it, picture for picture.
    void replayWatched(bool matched) {
        ++replaysWatched;
        if (!matched) ++replaysNotMatching;
    }

    // The report as JSON, with what the game state shows at the end.
    // The world table's page: an answer to a request (`reached`: the server answered), a table
    // of `rows` shown, a sent entry it kept at `rank`.
    void worldAnswered(bool reached) {
        ++worldRequests;
        if (!reached) ++worldUnreached;
    }
    void worldTableShown(uint32_t rows) { worldRows = rows; }
    void worldEntryKept(int32_t rank) {
        ++worldAccepted;
        worldLastRank = rank;
    }
    struct SRunFacts {
        uint32_t seed;
        uint32_t pictures;
        int32_t level;  // as the panel shows it
        int32_t score;
        int32_t lives;
        uint32_t disks;
        uint32_t residentKb;  // at the end; 0 when unknown
    };
    std::string json(const SRunFacts& facts) const;

    uint32_t created[kKindCount] = {};
    uint32_t killed[kKindCount] = {};
    uint32_t killedByPlayer[kKindCount] = {};
    uint32_t shotsFired[kKindCount] = {};
    uint32_t effects[static_cast<int>(EEffectClass::kCount)] = {};
    uint32_t samples[kSampleCount] = {};
    uint32_t worldUpdates = 0;
    uint32_t levelsCompleted = 0;
    uint32_t gameOvers = 0;
    uint32_t highScoresEntered = 0;
    char lastEntryInitials[4] = "";
    int32_t lastEntryScore = 0;
    int32_t lastEntryLevel = 0;
    uint32_t replaysWatched = 0;
    uint32_t replaysNotMatching = 0;
    uint32_t worldRequests = 0;
    uint32_t worldUnreached = 0;
    uint32_t worldRows = 0;
    uint32_t worldAccepted = 0;
    int32_t worldLastRank = 0;
    uint32_t residentStartKb = 0;  // once the first level has started; 0 when unknown

private:
    static void count(uint32_t (&table)[kKindCount], int32_t kind) {
        if (kind >= 0 && kind < kKindCount) ++table[kind];
    }
};
