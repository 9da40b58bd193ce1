#include "state/GameReport.h"

#include <cstdio>

#include "platform/Pacing.h"

namespace {

CGameReport* gInstance = nullptr;

constexpr const char* kEffectNames[] = {"particles", "laser", "shockwave"};

void appendf(std::string& out, const char* format, auto... values) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, values...);
    out += buffer;
}

// "name": {"kind": n, ...} for the kinds with a non-zero count in any of the tables.
template <size_t N>
void appendKinds(std::string& out, const char* title, const char* const (&labels)[N],
                 const uint32_t* const (&tables)[N]) {
    appendf(out, "  \"%s\": {", title);
    const char* separator = "\n";
    for (int32_t kind = 0; kind < kKindCount; ++kind) {
        bool any = false;
        for (const uint32_t* table : tables) any = any || table[kind] != 0;
        if (!any) continue;
        appendf(out, "%s    \"%.*s\": {", separator, static_cast<int>(kindName(kind).size()),
                kindName(kind).data());
        for (size_t i = 0; i < N; ++i)
            appendf(out, "%s\"%s\": %u", i ? ", " : "", labels[i], tables[i][kind]);
        out += "}";
        separator = ",\n";
    }
    out += *separator == ',' ? "\n  },\n" : "},\n";
}

}  // namespace

CGameReport& CGameReport::instance() {
    if (!gInstance) gInstance = new CGameReport;
    return *gInstance;
}

void CGameReport::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

std::string CGameReport::json(const SRunFacts& facts) const {
    std::string out = "{\n";
    appendf(out, "  \"version\": \"%s\",\n", BOLTFEVER_VERSION);
    appendf(out, "  \"seed\": %u,\n", facts.seed);
    appendf(out, "  \"pictures\": %u,\n", facts.pictures);
    appendf(out, "  \"world_updates\": %u,\n", worldUpdates);
    appendf(out, "  \"level\": %d,\n", facts.level);
    appendf(out, "  \"score\": %d,\n", facts.score);
    appendf(out, "  \"lives\": %d,\n", facts.lives);
    appendf(out, "  \"disks\": %u,\n", facts.disks);
    appendf(out, "  \"levels_completed\": %u,\n", levelsCompleted);
    appendf(out, "  \"game_overs\": %u,\n", gameOvers);
    appendf(out, "  \"high_scores_entered\": %u,\n", highScoresEntered);
    if (highScoresEntered != 0)
        appendf(out, "  \"last_entry\": {\"initials\": \"%.3s\", \"score\": %d, \"level\": %d},\n",
                lastEntryInitials, lastEntryScore, lastEntryLevel);
    appendf(out, "  \"replays_watched\": %u,\n", replaysWatched);
    appendf(out, "  \"replays_not_matching\": %u,\n", replaysNotMatching);
    if (worldRequests != 0)
        appendf(out,
                "  \"world\": {\"requests\": %u, \"unreached\": %u, \"rows\": %u, "
                "\"accepted\": %u, \"last_rank\": %d},\n",
                worldRequests, worldUnreached, worldRows, worldAccepted, worldLastRank);
    const char* const actorLabels[] = {"created", "killed", "killed_by_player"};
    const uint32_t* const actorTables[] = {created, killed, killedByPlayer};
    appendKinds(out, "actors", actorLabels, actorTables);
    const char* const shotLabels[] = {"fired"};
    const uint32_t* const shotTables[] = {shotsFired};
    appendKinds(out, "shots", shotLabels, shotTables);
    out += "  \"effects\": {";
    for (int i = 0; i < static_cast<int>(EEffectClass::kCount); ++i)
        appendf(out, "%s\"%s\": %u", i ? ", " : "", kEffectNames[i], effects[i]);
    out += "},\n  \"samples\": {";
    const char* separator = "";
    for (int id = 0; id < kSampleCount; ++id) {
        if (samples[id] == 0) continue;
        appendf(out, "%s\"%d\": %u", separator, id, samples[id]);
        separator = ", ";
    }
    out += "}";
    if (residentStartKb != 0 && facts.residentKb != 0)
        appendf(out, ",\n  \"resident_kb\": {\"start\": %u, \"end\": %u}", residentStartKb,
                facts.residentKb);
    const CPacing& pacing = CPacing::instance();
    if (pacing.count != 0) {
        appendf(out,
                ",\n  \"pacing_us\": {\"pictures\": %u, \"mean\": %llu, \"p1\": %u, "
                "\"p99\": %u}",
                pacing.count, static_cast<unsigned long long>(pacing.totalMicros / pacing.count),
                pacing.percentile(0.01), pacing.percentile(0.99));
    }
    out += "\n}\n";
    return out;
}
