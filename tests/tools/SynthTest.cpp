#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "soundgen/DetMath.h"
#include "soundgen/Parser.h"
#include "soundgen/Render.h"
#include "soundgen/Score.h"

// The synthesiser's own math must agree with the C library's to far below what 16-bit samples
// can show, in every quadrant and octave: it replaces sin and exp only to be the same
// everywhere, not to be different.
TEST(SoundgenMath, AgreesWithTheLibrary) {
    for (double x = -40.0; x <= 40.0; x += 0.0137) {
        EXPECT_NEAR(det::sin(x), std::sin(x), 1e-12) << x;
        EXPECT_NEAR(det::cos(x), std::cos(x), 1e-12) << x;
        EXPECT_NEAR(det::exp2(x), std::exp2(x), 1e-12 * std::exp2(x)) << x;
        EXPECT_NEAR(det::tanh(x / 8.0), std::tanh(x / 8.0), 1e-12) << x;
        const double p = std::exp2(x / 2.0);
        EXPECT_NEAR(det::log2(p), x / 2.0, 1e-12) << p;
    }
    for (double t = -2.0; t <= 2.0; t += 0.001)
        EXPECT_NEAR(det::sinTurn(t), std::sin(2.0 * std::numbers::pi * t), 1e-6) << t;
    EXPECT_DOUBLE_EQ(det::noteToHz(69), 440.0);
    EXPECT_NEAR(det::noteToHz(60), 261.6255653, 1e-6);
}

TEST(SoundgenNotes, NamesAndOctaves) {
    const struct {
        const char* name;
        int midi;
    } good[] = {{"C4", 60}, {"A4", 69}, {"Bb3", 58}, {"C#5", 73}, {"E0", 16}, {"B9", 131}};
    for (const auto& g : good) {
        int midi = -1;
        EXPECT_TRUE(parseNoteName(g.name, midi)) << g.name;
        EXPECT_EQ(midi, g.midi) << g.name;
    }
    for (const char* bad : {"H4", "C", "a4", "A10", "Bbb3", "C#", "-", "4"}) {
        int midi = 0;
        EXPECT_FALSE(parseNoteName(bad, midi)) << bad;
    }
}

// Swing 1/3 over eighths (units of two steps) stretches the first eighth of every pair to
// 4/3 and squeezes the second to 2/3; the sixteenths inside follow. With 1200 samples a step:
// the pair spans 4800 samples, the first eighth 3200, its second sixteenth starts at 1600,
// the second eighth at 3200 and its sixteenth at 3200 + 800.
TEST(SoundgenScore, SwingKeepsPairsAndOrder) {
    SSound s;
    s.samplesPerStep = 1200;
    s.swing = 1.0 / 3.0;
    s.swingUnit = 2;
    const int64_t expected[] = {0, 1600, 3200, 4000, 4800, 6400, 8000, 8800, 9600};
    for (int64_t step = 0; step < 9; ++step) EXPECT_EQ(stepStart(s, step), expected[step]) << step;
    s.swing = 0.0;
    EXPECT_EQ(stepStart(s, 7), 8400);
}

// How the notation becomes notes: holds lengthen, rests end, a note tied on with glide joins
// the phrase, chords stay chords, ! and ? set the velocity, tracks transpose and repeat.
TEST(SoundgenScore, NotationBecomesNotes) {
    const char* text = R"(
tempo 120
meter 4 4
length 200000
instrument slide
  glide 20ms
end
instrument plain
end
pattern p
  A4 - B4 - . . C5:m! - - D4? - - - - . .
end
track slide p
track plain p+12*2
)";
    SSound sound;
    std::string error;
    ASSERT_TRUE(parseSound(text, "test", sound, error)) << error;
    ASSERT_EQ(sound.samplesPerStep, 2756);  // 22050 * 60 / (120 * 4) = 2756.25
    std::vector<SScoreNote> notes;
    std::vector<SDrumHit> hits;
    collectScore(sound, notes, hits);
    EXPECT_TRUE(hits.empty());
    const int64_t sps = 2756;

    ASSERT_EQ(notes.size(), 3u + 8u);
    // slide: A4 then B4 glided in one phrase, ended by the rest at step 4.
    EXPECT_EQ(notes[0].instrument, 0);
    EXPECT_EQ(notes[0].event.start, 0);
    EXPECT_EQ(notes[0].event.gateLength, 4 * sps);
    ASSERT_EQ(notes[0].event.pitches.size(), 2u);
    EXPECT_EQ(notes[0].event.pitches[0], (std::pair<int64_t, int>{0, 69}));
    EXPECT_EQ(notes[0].event.pitches[1], (std::pair<int64_t, int>{2 * sps, 71}));
    // The accented C minor chord is not glided into; nor is the soft D4 after it.
    EXPECT_EQ(notes[1].event.start, 6 * sps);
    EXPECT_EQ(notes[1].event.gateLength, 3 * sps);
    EXPECT_EQ(notes[1].event.chord, (std::vector<int>{0, 3, 7}));
    EXPECT_DOUBLE_EQ(notes[1].event.velocity, 1.0);
    EXPECT_EQ(notes[2].event.pitches.front().second, 62);
    EXPECT_EQ(notes[2].event.gateLength, 5 * sps);
    EXPECT_DOUBLE_EQ(notes[2].event.velocity, 0.55);
    // plain, an octave up and twice over: every note starts on its own.
    EXPECT_EQ(notes[3].event.pitches.front().second, 81);
    EXPECT_EQ(notes[3].event.gateLength, 2 * sps);
    EXPECT_EQ(notes[4].event.pitches.front().second, 83);
    EXPECT_EQ(notes[4].event.start, 2 * sps);
    EXPECT_EQ(notes[7].event.start, 16 * sps);
    EXPECT_EQ(notes[10].event.pitches.front().second, 74);
    EXPECT_EQ(notes[10].event.start, 25 * sps);
}

// An effect is scaled so that its loudest sample sits at the asked level, and it starts and
// ends at rest however its layers begin and end.
TEST(SoundgenRender, EffectsMeetTheirPeakAndEndAtRest) {
    const char* text = R"(
length 11025
peak -6
layer
  wave square
  pitch 300
  amp 0 1, 0.6 1
end
)";
    SSound sound;
    std::string error;
    ASSERT_TRUE(parseSound(text, "test", sound, error)) << error;
    const std::vector<int16_t> x = renderSound(sound);
    ASSERT_EQ(x.size(), 11025u);
    int peak = 0;
    for (int16_t v : x) peak = std::max(peak, std::abs(int{v}));
    EXPECT_NEAR(peak, 16423, 1);  // 32767 * 10^(-6/20)
    EXPECT_EQ(x.front(), 0);
    EXPECT_EQ(x.back(), 0);
}

namespace {

SSound parseOrFail(const char* text) {
    SSound sound;
    std::string error;
    EXPECT_TRUE(parseSound(text, "test", sound, error)) << error;
    return sound;
}

int peakIn(const std::vector<int16_t>& x, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i < to && i < x.size(); ++i) peak = std::max(peak, std::abs(int{x[i]}));
    return peak;
}

int upCrossingsIn(const std::vector<int16_t>& x, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from + 1; i < to; ++i) n += x[i - 1] < 0 && x[i] >= 0;
    return n;
}

}  // namespace

// The echo of a loop's last note falls past the end and must come back at the start. A bar
// at 120 is 44096 samples; the blip on step 15 starts at 15 * 2756 = 41340 and is over 700
// samples later; its echo half a second (11025 samples) on starts at 52365, that is at 8269.
TEST(SoundgenRender, LoopEchoesComeRound) {
    const SSound sound = parseOrFail(R"(
loop
tempo 120
meter 4 4
bars 1
peak -6
echo 0.5 0 1
instrument blip
  wave sine
  env 0.001 1 1 0.01
  gate 0.2
  echo 1
end
pattern last
  . . . . . . . . . . . . . . . A5
end
track blip last
)");
    const std::vector<int16_t> x = renderSound(sound);
    ASSERT_EQ(x.size(), 44096u);
    EXPECT_GT(peakIn(x, 41340, 41600), 10000);  // the blip
    EXPECT_LT(peakIn(x, 300, 8200), 50);        // silence until the echo comes round
    EXPECT_GT(peakIn(x, 8300, 8800), 10000);    // the echo, as loud as the blip
}

// An arpeggio of A4 and its octave, one note a step, up: the steps (2756 samples, 1/8 s)
// alternate 440 and 880 Hz. Plucked, each note falls (60 dB in 0.3 s: to a sixteenth by the
// step's end) and starts again.
TEST(SoundgenRender, ArpeggiosStepThroughTheChord) {
    const SSound sound = parseOrFail(R"(
length 44096
tempo 120
meter 4 4
peak -6
instrument arp
  wave sine
  env 0.001 0.3 0 0.01
  arp 1 up pluck
end
pattern chord
  A4:o - - - - - - - - - - - - - - -
end
track arp chord
)");
    const std::vector<int16_t> x = renderSound(sound);
    for (size_t step = 0; step < 4; ++step) {
        const size_t from = step * 2756;
        EXPECT_NEAR(upCrossingsIn(x, from + 50, from + 2706),
                    (step % 2 ? 880 : 440) * 2656 / 22050.0, 2)
            << "step " << step;
        // The pluck has died away before the next note and rises again at its start.
        EXPECT_LT(peakIn(x, from + 2600, from + 2756), peakIn(x, from + 20, from + 200) / 10)
            << step;
    }
}
