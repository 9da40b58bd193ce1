// What the sound costs: one second of audio mixed from all eight effect channels and the music,
// and handed to a device that takes everything. The "share" counter is CPU time per second of
// audio, which is also the share of each 13.0 ms frame that goes to mixing that frame's sound.

#include <benchmark/benchmark.h>

#include <vector>

#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"
#include "sound/SoundMixer.h"

namespace {

constexpr int kFramesPerSecond = 22050;
// The device takes all, so every update mixes a whole ring.
constexpr int kFramesPerUpdate = CSoundMixer::kRingSamples / 2;

// Samples as long as the game's longest so that no channel falls silent mid-measurement; the
// contents are noise so that nothing is folded away.
std::vector<int16_t> noise(uint32_t length, uint32_t seed) {
    std::vector<int16_t> s(length);
    for (int16_t& v : s) {
        seed = seed * 1103515245u + 12345u;
        v = static_cast<int16_t>(seed >> 16);
    }
    return s;
}

void BM_MixOneSecond(benchmark::State& state) {
    const std::vector<int16_t> music = noise(325775, 1);
    const std::vector<int16_t> effect = noise(34673, 2);
    const SSample bank[2] = {{music.data(), static_cast<uint32_t>(music.size())},
                             {effect.data(), static_cast<uint32_t>(effect.size())}};

    CHeadlessBackend backend;
    backend.setAudioUnlimited(true);
    platformStartup(backend);
    CSoundMixer::resetInstance();
    CSoundMixer& mixer = CSoundMixer::instance();
    mixer.bank = bank;
    mixer.bankSize = 2;
    mixer.openDevice();
    mixer.setMasterVolume(200);
    mixer.startMusic(0);

    int64_t frames = 0;
    for (auto _ : state) {
        for (int mixed = 0; mixed < kFramesPerSecond; mixed += kFramesPerUpdate) {
            // Keep all eight channels busy, at uneven volumes on both sides.
            for (int c = 0; c < CSoundMixer::kChannelCount; ++c)
                if (!mixer.channels[c].active) mixer.play(1, 32 * c, 256 - 32 * c, 1);
            mixer.update();
        }
        frames += (kFramesPerSecond + kFramesPerUpdate - 1) / kFramesPerUpdate * kFramesPerUpdate;
        benchmark::DoNotOptimize(mixer.ring);
    }
    mixer.closeDevice();
    CSoundMixer::resetInstance();

    const double seconds = static_cast<double>(frames) / kFramesPerSecond;
    state.SetItemsProcessed(frames);
    // CPU seconds per second of audio: the share of real time, and of every frame budget.
    state.counters["share"] =
        benchmark::Counter(seconds, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixOneSecond)->Unit(benchmark::kMicrosecond);

}  // namespace
