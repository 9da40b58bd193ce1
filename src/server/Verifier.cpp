#include "server/Verifier.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "platform/Files.h"
#include "platform/Messages.h"

namespace {

constexpr int kTries = 2;
constexpr size_t kMostReportBytes = 64u << 10;
constexpr size_t kMostOutputBytes = 64u << 10;
constexpr const char* kGamePrefix = "boltfever: ";
constexpr const char* kMismatch = "replay mismatch: ";

bool isInitials(const nlohmann::json& value) {
    if (!value.is_string()) return false;
    const std::string text = value.get<std::string>();
    return text.size() == 3 &&
           text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos;
}

bool isNumber(const nlohmann::json& object, const char* key) {
    return object.is_object() && object.contains(key) && object[key].is_number_integer();
}

// The game's own last line of what it said, without its name.
std::string lastLine(const std::string& output) {
    std::string text = output;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    std::string line = text.substr(text.rfind('\n') == text.npos ? 0 : text.rfind('\n') + 1);
    if (line.compare(0, std::strlen(kGamePrefix), kGamePrefix) == 0)
        line = line.substr(std::strlen(kGamePrefix));
    return printable(line.substr(0, 300));
}

SVerdict refused(int status, const std::string& reason) {
    SVerdict verdict;
    verdict.status = status;
    verdict.reason = reason;
    return verdict;
}

std::string readSome(const std::string& path, size_t most) {
    std::vector<uint8_t> bytes;
    std::string ignored;
    readFileUpTo(path, bytes, most, ignored);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

SVerdict verdictOfReport(const std::string& report, const std::string& askedInitials) {
    const nlohmann::json json = nlohmann::json::parse(report, nullptr, false);
    if (!isNumber(json, "score") || !isNumber(json, "level") || !isNumber(json, "game_overs"))
        return refused(0, "");
    if (json["game_overs"].get<int64_t>() < 1)
        return refused(422, "the game does not end in this replay (no GAME OVER)");
    SVerdict verdict;
    verdict.initials = askedInitials;
    int64_t score = json["score"].get<int64_t>(), level = json["level"].get<int64_t>();
    // The entry the replay itself made, initials and all, is the one that counts.
    if (json.contains("last_entry")) {
        const nlohmann::json& entry = json["last_entry"];
        if (!isNumber(entry, "score") || !isNumber(entry, "level") || !entry.contains("initials") ||
            !isInitials(entry["initials"]))
            return refused(0, "");
        verdict.initials = entry["initials"].get<std::string>();
        score = entry["score"].get<int64_t>();
        level = entry["level"].get<int64_t>();
    }
    if (score <= 0 || score > INT32_MAX || level < 1 || level > INT32_MAX)
        return refused(422, "a game that ends with a score of " + std::to_string(score) +
                                " at level " + std::to_string(level) + " does not enter");
    if (verdict.initials.empty())
        return refused(400, "the replay holds no initials' entry: send them (?initials=ABC)");
    verdict.accepted = true;
    verdict.status = 201;
    verdict.score = static_cast<int32_t>(score);
    verdict.level = static_cast<int32_t>(level);
    return verdict;
}

SProcessLimits CVerifier::limitsFor(uint32_t pictures, uint32_t polls) const {
    // Generous beside what the game takes (about 30 microseconds a picture, and far less for
    // a poll of a wait), for a game built with the sanitizers too: ten seconds, a millisecond a
    // picture, 50 microseconds a poll. Two hours of play get ten minutes.
    SProcessLimits limits;
    const double cpu = 10.0 + pictures * 1e-3 + polls * 5e-5;
    double wall = 2 * cpu + 5;
    double capped = cpu;
    if (setup_.mostSeconds > 0) {
        capped = std::min(cpu, setup_.mostSeconds);
        wall = std::min(wall, setup_.mostSeconds);
    }
    limits.cpuSeconds = static_cast<uint32_t>(std::ceil(capped));
    limits.wallSeconds = wall;
    limits.memoryBytes = setup_.memoryBytes;
    return limits;
}

SPlay CVerifier::play(const SJob& job, const std::string& name,
                      const std::atomic<bool>* stop) const {
    namespace fs = std::filesystem;
    const std::string folder = setup_.workFolder + "/" + name;
    std::error_code failed;
    fs::remove_all(folder, failed);
    SPlay result;
    result.failed = true;
    std::string error;
    if (!fs::create_directory(folder, failed) ||
        !writeFileAtomically(folder + "/replay.bfr", job.replay.data(), job.replay.size(), error)) {
        result.verdict = refused(422, "the server could not set the replay down to play it");
        fs::remove_all(folder, failed);
        return result;
    }
    const SProcessLimits limits = limitsFor(job.pictures, job.polls);
    const SProcessEnd end = runLimited(
        {setup_.game, "--headless", "--mute", "--replay", "replay.bfr", "--report", "report.json"},
        {"HOME=" + folder, "XDG_DATA_HOME=" + folder + "/data", "LANG=C", "PATH=/usr/bin:/bin"},
        folder, folder + "/output.txt", limits, stop);
    const std::string output = readSome(folder + "/output.txt", kMostOutputBytes);
    const std::string report = readSome(folder + "/report.json", kMostReportBytes);
    fs::remove_all(folder, failed);

    if (end.exited && end.status == 0) {
        result.verdict = verdictOfReport(report, job.initials);
        result.failed = result.verdict.status == 0;
        if (result.failed) result.verdict = refused(422, "the game left no report of its play");
    } else if (end.exited && end.status == 3) {
        const size_t at = output.rfind(kMismatch);
        result.failed = false;
        const std::string why = at == output.npos ? "" : output.substr(at + std::strlen(kMismatch));
        result.verdict = refused(
            422, why.empty() ? "it does not play back" : printable(why.substr(0, why.find('\n'))));
    } else if (end.exited && end.status == 2) {
        result.failed = false;
        result.verdict = refused(422, "the game cannot play it: " + lastLine(output));
    } else if (end.exited) {
        result.verdict = refused(422, "the game stopped playing it (status " +
                                          std::to_string(end.status) + "): " + lastLine(output));
    } else if (end.overTime || end.signal == SIGXCPU ||
               (end.signal == SIGKILL && end.cpuSeconds >= limits.cpuSeconds)) {
        result.verdict =
            refused(422, "the game did not finish it within its limits (" +
                             std::to_string(limits.cpuSeconds) + " s of processor time)");
    } else if (end.started) {
        result.verdict =
            refused(422, "the game crashed playing it (signal " + std::to_string(end.signal) + ")");
    } else {
        result.verdict = refused(422, "the server could not start the game");
    }
    return result;
}

bool CVerifier::verify(const SJob& job, SVerdict& verdict, const std::atomic<bool>* stop) const {
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        const SPlay play =
            this->play(job, "job-" + std::to_string(job.id) + "-" + std::to_string(attempt), stop);
        if (stop && stop->load()) return false;
        verdict = play.verdict;
        if (!play.failed) return true;
    }
    return true;
}
