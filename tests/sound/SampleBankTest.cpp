#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "sound/SampleBank.h"

namespace {

// The lengths the game was designed around, in samples: the music loops are about 14.8 s and
// each effect fits its event. Ours may differ a little, not a lot.
constexpr uint32_t kDesignedLength[kSampleCount] = {
    325775, 325606, 325658, 325654, 3233,  7236,  13894, 3285,  15677, 17261, 5063,
    29161,  25728,  13115,  24849,  10653, 19472, 15377, 34673, 5427,  22462};

int peakOf(const SSample& s) {
    int peak = 0;
    for (uint32_t i = 0; i < s.length; ++i) peak = std::max(peak, std::abs(int{s.data[i]}));
    return peak;
}

int stepAt(const SSample& s, uint32_t i) {  // from sample i to the next, round the loop
    return std::abs(s.data[(i + 1) % s.length] - s.data[i]);
}

}  // namespace

// Every id holds real sound of about its designed length: a silent or swapped entry (an
// explosion where the shot should be) shows up here.
TEST(SampleBank, EveryIdHoldsSoundOfItsDesignedLength) {
    for (int id = 0; id < kSampleCount; ++id) {
        const SSample& s = kSampleBank[id];
        ASSERT_NE(s.data, nullptr) << "id " << id;
        const double ratio = static_cast<double>(s.length) / kDesignedLength[id];
        EXPECT_GT(ratio, id < 4 ? 0.95 : 0.8) << "id " << id;
        EXPECT_LT(ratio, id < 4 ? 1.05 : 1.2) << "id " << id;
        EXPECT_GT(peakOf(s), 3277) << "id " << id << " is (nearly) silent";  // -20 dBFS
    }
    for (int id = 0; id < 4; ++id) {
        EXPECT_GT(kSampleBank[id].length, 14u * kSampleRate) << "music " << id;
        EXPECT_LT(kSampleBank[id].length, 16u * kSampleRate) << "music " << id;
    }
}

// The mixer sums the music and up to eight effects before it clamps: nothing may reach full
// scale on its own. Effects stay under -3 dBFS, the music well under, below -6 dBFS.
TEST(SampleBank, LeavesHeadroom) {
    for (int id = 0; id < kSampleCount; ++id)
        EXPECT_LT(peakOf(kSampleBank[id]), id < 4 ? 16423 : 23198) << "id " << id;
}

// The mixer wraps the music position over the whole length, so the step from the last sample
// to the first must be an ordinary one: no larger than the steps around it (a click stands
// out against its neighbours) and no larger than nearly every step of the loop.
TEST(SampleBank, MusicLoopsWrapWithoutAJump) {
    for (int id = 0; id < 4; ++id) {
        const SSample& s = kSampleBank[id];
        const int seam = stepAt(s, s.length - 1);
        int neighbours = 0;
        for (uint32_t k = 1; k <= 64; ++k)
            neighbours = std::max({neighbours, stepAt(s, s.length - 1 - k), stepAt(s, k - 1)});
        EXPECT_LE(seam, neighbours) << "music " << id;

        std::vector<int> steps;
        for (uint32_t i = 0; i + 1 < s.length; ++i) steps.push_back(stepAt(s, i));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        EXPECT_LE(seam, steps[steps.size() * 99 / 100]) << "music " << id;
    }
}

// An effect is cut off when it ends (the mixer never plays its last sample): it must start
// and end at rest, or every shot would click.
TEST(SampleBank, EffectsStartAndEndAtRest) {
    for (int id = 4; id < kSampleCount; ++id) {
        const SSample& s = kSampleBank[id];
        EXPECT_LE(std::abs(int{s.data[0]}), 64) << "id " << id;
        EXPECT_LE(std::abs(int{s.data[s.length - 2]}), 64) << "id " << id;
        EXPECT_LE(std::abs(int{s.data[s.length - 1]}), 64) << "id " << id;
    }
}

// Each sound is its own: none is another one copied, cut to a new length or played louder.
// Their common beginnings must not be alike (normalised correlation well under 1).
TEST(SampleBank, NoSoundIsACopyOfAnother) {
    for (int a = 0; a < kSampleCount; ++a)
        for (int b = a + 1; b < kSampleCount; ++b) {
            const SSample &x = kSampleBank[a], &y = kSampleBank[b];
            double xy = 0.0, xx = 0.0, yy = 0.0;
            for (uint32_t i = 0; i < std::min(x.length, y.length); ++i) {
                const double u = x.data[i], v = y.data[i];
                xy += u * v;
                xx += u * u;
                yy += v * v;
            }
            EXPECT_LT(std::abs(xy) / std::sqrt(xx * yy), 0.9) << "ids " << a << " and " << b;
        }
}
