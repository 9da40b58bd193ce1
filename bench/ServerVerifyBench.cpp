// The world server's verification beside the game's own playback, on the same real replays:
// seconds of play verified per second of processor time (the server's and its game's). The
// server plays each replay with the game, so what it adds is its own work around the play:
// the checks of the request, the store, the play's folder, the limits, the report.
// "play_s_per_cpu_s" is the figure; the server's should be at least 0.9 times the game's.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Replay.h"
#include "server/LimitedProcess.h"
#include "server/SqliteStore.h"
#include "server/Verifier.h"
#include "world/LevelFile.h"

namespace {

namespace fs = std::filesystem;

struct SBenchReplay {
    std::string path;
    std::string bytes;
    double playSeconds;
};

std::string benchFolder() {
    static const std::string folder = [] {
        std::string made = (fs::temp_directory_path() / "boltfever-bench-XXXXXX").string();
        if (!::mkdtemp(made.data())) std::abort();
        std::atexit([] { fs::remove_all(benchFolder()); });
        return made;
    }();
    return folder;
}

// Six high scores' replays, made by the game beside this program: games at level 9 with fire
// held until GAME OVER, about 1,200 to 2,200 pictures each.
const std::vector<SBenchReplay>& replays() {
    static const std::vector<SBenchReplay> made = [] {
        std::vector<SBenchReplay> out;
        for (int seed = 1; out.size() < 6 && seed < 30; ++seed) {
            const fs::path home = fs::path(benchFolder()) / ("game-" + std::to_string(seed));
            fs::create_directories(home);
            const std::string command = "cd '" + home.string() +
                                        "' && echo '10 a' >fire.txt && HOME='" + home.string() +
                                        "' XDG_DATA_HOME= '" + executableDir() +
                                        "boltfever' --headless --mute --level 9 --input fire.txt "
                                        "--frames 4000 --seed " +
                                        std::to_string(seed) + " >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0) continue;
            for (const auto& entry : fs::recursive_directory_iterator(home)) {
                if (entry.path().extension() != ".bfr") continue;
                std::vector<uint8_t> bytes;
                std::string error;
                CReplayReader reader;
                if (!readFile(entry.path().string(), bytes, error) ||
                    !reader.parse(bytes.data(), bytes.size(), error))
                    continue;
                out.push_back({entry.path().string(), std::string(bytes.begin(), bytes.end()),
                               playSeconds(reader.totalPictures(), reader.totalPolls())});
            }
        }
        return out;
    }();
    return made;
}

// This thread's processor time and that of every process it has waited for.
double cpuSeconds() {
    const auto seconds = [](int who) {
        rusage usage{};
        getrusage(who, &usage);
        return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    return seconds(RUSAGE_THREAD) + seconds(RUSAGE_CHILDREN);
}

// The figure, over every iteration.
void addPlayRate(benchmark::State& state, double play, double cpu) {
    state.counters["play_s_per_cpu_s"] = benchmark::Counter(play / cpu);
}

// The game's own check: boltfever --headless --mute --replay FILE, each replay in turn.
void BM_GamePlaysReplays(benchmark::State& state) {
    const std::string game = executableDir() + "boltfever";
    const std::vector<SBenchReplay>& all = replays();
    SProcessLimits limits;
    limits.cpuSeconds = 600;
    limits.wallSeconds = 1200;
    double play = 0, cpu = 0;
    for (auto _ : state) {
        const double before = cpuSeconds();
        for (const SBenchReplay& r : all) {
            const SProcessEnd end = runLimited({game, "--headless", "--mute", "--replay", r.path},
                                               {"HOME=" + benchFolder()}, benchFolder(),
                                               benchFolder() + "/game-output.txt", limits);
            if (!end.exited || end.status != 0) state.SkipWithError("a replay did not play back");
            play += r.playSeconds;
        }
        const double used = cpuSeconds() - before;
        cpu += used;
        state.SetIterationTime(used);
    }
    addPlayRate(state, play, cpu);
}
BENCHMARK(BM_GamePlaysReplays)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);

// The server's: each replay checked and kept in a fresh SQLite table, claimed, played by the
// verifier and its verdict kept.
void BM_ServerVerifiesReplays(benchmark::State& state) {
    const std::vector<SBenchReplay>& all = replays();
    const SGameIdentity ours{BOLTFEVER_VERSION, mapFileIdentity(findMapFileFor(executableDir()))};
    const CVerifier verifier({executableDir() + "boltfever", benchFolder(), 0, 512u << 20});
    double play = 0, cpu = 0;
    static int round = 0;  // a fresh table each time, over every run of this function
    for (auto _ : state) {
        CSqliteStore store;
        std::string error;
        if (!store.open(benchFolder() + "/world-" + std::to_string(round++) + ".db", error))
            state.SkipWithError(error.c_str());
        const double before = cpuSeconds();
        for (const SBenchReplay& r : all) {
            SSubmission submission;
            ESubmitted result;
            SSubmissionState submitted;
            SVerdict verdict;
            if (checkSubmission(r.bytes, std::string("ABC"), ours, submission) ||
                !store.submit(submission, r.bytes, 0, 1000, result, submitted, error)) {
                state.SkipWithError("a replay was not taken");
                break;
            }
            std::unique_ptr<CJobClaim> claim = store.claim(error);

            if (!claim || !verifier.verify(claim->job(), verdict) || !verdict.accepted ||
                !claim->finish(verdict, error))
                state.SkipWithError(
                    ("a replay was not verified: " + verdict.reason + error).c_str());
            play += r.playSeconds;
        }
        const double used = cpuSeconds() - before;
        cpu += used;
        state.SetIterationTime(used);
    }
    addPlayRate(state, play, cpu);
}
BENCHMARK(BM_ServerVerifiesReplays)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
