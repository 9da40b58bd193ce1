// soundgen: synthesises the game's sample bank from the scores and effect descriptions under
// assets/sounds and writes it as C++ to compile into the game.
//
//   soundgen MANIFEST --out DIR [--wav DIR] [--report]
//   soundgen --render SOUNDFILE OUT.wav [PART]  one sound (or one part of it), while composing

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "Bank.h"
#include "platform/WavWriter.h"

namespace {

constexpr int kBankSize = 21;

int usage() {
    std::fprintf(stderr,
                 "usage: soundgen MANIFEST --out DIR [--wav DIR] [--report]\n"
                 "       soundgen --render SOUNDFILE OUT.wav [PART]\n");
    return 2;
}

int failure(const std::string& error) {
    std::fprintf(stderr, "soundgen: %s\n", error.c_str());
    return 1;
}

int renderOne(const std::string& source, const std::string& wav, const std::string& solo) {
    std::vector<int16_t> samples;
    bool loop = false;
    std::string error;
    if (!renderFile(source, samples, loop, error, solo)) return failure(error);
    if (!writeWav(wav, samples.data(), samples.size(), 1, 22050, error)) return failure(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if ((args.size() == 3 || args.size() == 4) && args[0] == "--render")
        return renderOne(args[1], args[2], args.size() == 4 ? args[3] : "");

    std::string manifest, outDir, wavDir;
    bool report = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            outDir = args[++i];
        } else if (args[i] == "--wav" && i + 1 < args.size()) {
            wavDir = args[++i];
        } else if (args[i] == "--report") {
            report = true;
        } else if (manifest.empty() && !args[i].empty() && args[i][0] != '-') {
            manifest = args[i];
        } else {
            return usage();
        }
    }
    if (manifest.empty() || (outDir.empty() && wavDir.empty() && !report)) return usage();

    std::vector<SBankEntry> entries;
    std::string error;
    if (!readManifest(manifest, kBankSize, entries, error)) return failure(error);

    // The sounds are independent: render them on two threads (the loops dominate).
    std::vector<std::string> errors(entries.size());
    auto work = [&](size_t first) {
        for (size_t i = first; i < entries.size(); i += 2)
            renderFile(entries[i].source, entries[i].samples, entries[i].loop, errors[i]);
    };
    std::thread other(work, 1);
    work(0);
    other.join();
    for (const std::string& e : errors)
        if (!e.empty()) return failure(e);

    if (!outDir.empty() && !writeBankSources(entries, outDir, error)) return failure(error);
    if (!wavDir.empty() && !writeBankWavs(entries, wavDir, error)) return failure(error);
    if (report) printReport(entries);
    return 0;
}
