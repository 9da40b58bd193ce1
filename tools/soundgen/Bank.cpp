#include "Bank.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "PageMusic.h"
#include "Parser.h"
#include "Render.h"
#include "platform/WavWriter.h"

namespace {

std::string directoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string stemOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    std::string stem = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = stem.find_last_of('.');
    return dot == std::string::npos ? stem : stem.substr(0, dot);
}

bool readFile(const std::string& path, std::string& text, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

std::string arrayName(int id) {
    return "kSample" + std::to_string(id);
}

void appendArray(std::string& out, const SBankEntry& e) {
    out += "// " + std::to_string(e.id) + ": " + e.name + "\n";
    out +=
        "extern const int16_t " + arrayName(e.id) + "[" + std::to_string(e.samples.size()) + "];\n";
    out += "const int16_t " + arrayName(e.id) + "[" + std::to_string(e.samples.size()) + "] = {\n";
    for (size_t i = 0; i < e.samples.size(); ++i) {
        out += std::to_string(e.samples[i]);
        out += (i % 20 == 19 || i + 1 == e.samples.size()) ? ",\n" : ",";
    }
    out += "};\n\n";
}

double dbfs(double v) {
    return v > 0.0 ? 20.0 * std::log10(v / 32768.0) : -120.0;
}

}  // namespace

bool readManifest(const std::string& path, int count, std::vector<SBankEntry>& entries,
                  std::string& error) {
    std::string text;
    if (!readFile(path, text, error)) return false;
    entries.assign(static_cast<size_t>(count), SBankEntry{});
    std::vector<bool> seen(static_cast<size_t>(count), false);
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string idText, file, extra;
        if (!(words >> idText)) continue;
        const std::string where = path + ":" + std::to_string(number) + ": ";
        if (!(words >> file) || (words >> extra)) {
            error = where + "expected an id and a file";
            return false;
        }
        char* end = nullptr;
        const long id = std::strtol(idText.c_str(), &end, 10);
        if (*end != '\0' || id < 0 || id >= count) {
            error = where + "'" + idText + "' is not an id from 0 to " + std::to_string(count - 1);
            return false;
        }
        if (seen[static_cast<size_t>(id)]) {
            error = where + "id " + idText + " is listed twice";
            return false;
        }
        seen[static_cast<size_t>(id)] = true;
        SBankEntry& e = entries[static_cast<size_t>(id)];
        e.id = static_cast<int>(id);
        e.source = directoryOf(path) + "/" + file;
        e.name = stemOf(file);
    }
    for (int id = 0; id < count; ++id) {
        if (!seen[static_cast<size_t>(id)]) {
            error = path + ": no sound for id " + std::to_string(id);
            return false;
        }
    }
    return true;
}

bool renderFile(const std::string& path, std::vector<int16_t>& samples, bool& loop,
                std::string& error, const std::string& solo) {
    std::string text;
    if (!readFile(path, text, error)) return false;
    SSound sound;
    if (!parseSound(text, path, sound, error)) return false;
    double gain = 0.0;
    if (!solo.empty()) {
        renderSound(sound, &gain);  // the whole mix's gain, so the part keeps its level
        sound.drive = 0.0;
        std::vector<STrack> kept;
        for (const STrack& t : sound.tracks) {
            const std::string name =
                t.instrument < 0 ? "drums"
                                 : sound.instruments[static_cast<size_t>(t.instrument)].name;
            if (name == solo) kept.push_back(t);
        }
        if (kept.empty()) {
            error = path + ": no track plays '" + solo + "'";
            return false;
        }
        sound.tracks = kept;
        sound.layers.clear();
    }
    samples = renderSound(sound, nullptr, gain);
    loop = sound.loop;
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error) {
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        error = temp + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        error = path + ": cannot write: " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

namespace {

std::string tableOf(const std::vector<SBankEntry>& entries) {
    std::string table = "const SSample kSampleBank[kSampleCount] = {\n";
    for (const SBankEntry& e : entries)
        table +=
            "    {soundbank::" + arrayName(e.id) + ", " + std::to_string(e.samples.size()) + "},\n";
    return table + "};\n";
}

std::string declarationOf(const SBankEntry& e, bool constant) {
    return std::string(constant ? "extern const " : "") + "int16_t " + arrayName(e.id) + "[" +
           std::to_string(e.samples.size()) + "];  // " + e.name + "\n";
}

// The page's bank: its loops are made from their scores at start (PageMusic.h), into arrays
// that take no room in the download until then.
bool writePageBank(const std::vector<SBankEntry>& entries, const std::string& dir,
                   const std::string& header, std::string& error) {
    std::string out = header +
                      "#include <iterator>\n\n#include \"sound/SampleBank.h\"\n#include "
                      "\"soundgen/PageMusic.h\"\n\n"
                      "namespace soundbank {\n\n";
    for (const SBankEntry& e : entries) out += declarationOf(e, !e.loop);
    out += "\n}  // namespace soundbank\n\n" + tableOf(entries) +
           "\nnamespace {\n\nconst SPageLoop kLoops[] = {\n";
    const std::string fence = "bfscore";
    for (const SBankEntry& e : entries) {
        if (!e.loop) continue;
        std::string score;
        if (!readFile(e.source, score, error)) return false;
        if (score.find(")" + fence + "\"") != std::string::npos) {
            error = e.source + ": holds )" + fence + "\", which ends the page's copy of it";
            return false;
        }
        char hash[24];
        std::snprintf(
            hash, sizeof hash, "0x%016llxull",
            static_cast<unsigned long long>(sampleHash(e.samples.data(), e.samples.size())));
        out += "    {soundbank::" + arrayName(e.id) + ", " + std::to_string(e.samples.size()) +
               ", " + hash + ", \"" + e.name + "\",\n     R\"" + fence + "(" + score + ")" + fence +
               "\"},\n";
    }
    out +=
        "};\nbool gReady = false;\n\n}  // namespace\n\n"
        "bool prepareSampleBank(std::string& error) {\n"
        "    gReady = makePageLoops(kLoops, static_cast<int>(std::size(kLoops)), error);\n"
        "    return gReady;\n}\n\n"
        "bool sampleBankReady() {\n    return gReady;\n}\n";
    return writeFileAtomically(dir + "/page/SampleBank.cpp", out, error);
}

}  // namespace

bool writeBankSources(const std::vector<SBankEntry>& entries, const std::string& dir,
                      std::string& error) {
    const std::string header =
        "// Made by tools/soundgen from assets/sounds: edit those and rebuild, not this.\n";
    int musicFile = 0;
    std::string effects = header + "#include <cstdint>\n\nnamespace soundbank {\n\n";
    for (const SBankEntry& e : entries) {
        std::string music = header + "#include <cstdint>\n\nnamespace soundbank {\n\n";
        appendArray(e.loop ? music : effects, e);
        if (!e.loop) continue;
        music += "}  // namespace soundbank\n";
        const std::string name = dir + "/SampleBankMusic" + std::to_string(musicFile++) + ".cpp";
        if (!writeFileAtomically(name, music, error)) return false;
    }
    if (musicFile != 4) {
        error = "the bank needs exactly four music loops, not " + std::to_string(musicFile);
        return false;
    }
    effects += "}  // namespace soundbank\n";
    if (!writeFileAtomically(dir + "/SampleBankEffects.cpp", effects, error)) return false;

    // The table, which the game's own build links with every sample as made here.
    std::string table = header + "#include \"sound/SampleBank.h\"\n\nnamespace soundbank {\n\n";
    for (const SBankEntry& e : entries) table += declarationOf(e, true);
    table += "\n}  // namespace soundbank\n\n" + tableOf(entries) +
             "\nbool prepareSampleBank(std::string&) {\n    return true;\n}\n\n"
             "bool sampleBankReady() {\n    return true;\n}\n";
    return writeFileAtomically(dir + "/SampleBank.cpp", table, error) &&
           writePageBank(entries, dir, header, error);
}

bool writeBankWavs(const std::vector<SBankEntry>& entries, const std::string& dir,
                   std::string& error) {
    for (const SBankEntry& e : entries) {
        char id[8];
        std::snprintf(id, sizeof id, "%02d", e.id);
        const std::string path = dir + "/" + id + "_" + e.name + ".wav";
        if (!writeWav(path, e.samples.data(), e.samples.size(), 1, 22050, error)) return false;
    }
    return true;
}

void printReport(const std::vector<SBankEntry>& entries) {
    std::printf("%-3s %-22s %8s %7s %8s %8s %s\n", "id", "name", "samples", "seconds", "peak dB",
                "rms dB", "loop point");
    for (const SBankEntry& e : entries) {
        const auto& s = e.samples;
        double peak = 0.0, sum = 0.0;
        std::vector<int> steps;
        for (size_t i = 0; i < s.size(); ++i) {
            peak = std::max(peak, std::fabs(static_cast<double>(s[i])));
            sum += static_cast<double>(s[i]) * s[i];
            if (i > 0) steps.push_back(std::abs(s[i] - s[i - 1]));
        }
        std::string seam;
        if (e.loop && !steps.empty()) {
            std::sort(steps.begin(), steps.end());
            const int jump = std::abs(s.front() - s.back());
            seam = "jump " + std::to_string(jump) + " (steps: median " +
                   std::to_string(steps[steps.size() / 2]) + ", 99% " +
                   std::to_string(steps[steps.size() * 99 / 100]) + ")";
        }
        std::printf("%-3d %-22s %8zu %7.3f %8.2f %8.2f %s\n", e.id, e.name.c_str(), s.size(),
                    s.size() / 22050.0, dbfs(peak),
                    dbfs(std::sqrt(sum / std::max<size_t>(1, s.size()))), seam.c_str());
    }
}
