#pragma once
// A playable synthesiser voice for the scores: oscillators, an envelope, a filter with its own
// envelope, vibrato, glide and arpeggios, rendered one note at a time.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Filter.h"
#include "Oscillator.h"

enum class EArp { Up, Down, UpDown };

struct SInstrument {
    std::string name;
    EWave wave = EWave::Pulse;
    double duty = 0.5;
    double pwmRate = 0.0, pwmDepth = 0.0;  // Hz, duty swing
    // A second oscillator, detuned in cents and shifted in octaves, mixed at its level.
    EWave wave2 = EWave::Saw;
    double osc2Level = 0.0, detune = 0.0;
    int osc2Octave = 0;
    double subLevel = 0.0;    // a square an octave down, for weight
    double noiseLevel = 0.0;  // breath
    // Envelope: attack in seconds; decay and release are the seconds to fall by 60 dB.
    double attack = 0.003, decay = 0.4, sustain = 0.7, release = 0.15;
    EFilter filter = EFilter::None;
    double cutoff = 2000.0, q = 0.7;
    double filterEnv = 0.0;    // octaves the cutoff opens at the start of a note
    double filterDecay = 0.3;  // seconds for that opening to fall by 60 dB
    double keytrack = 0.0;     // 1: the cutoff follows the note
    double vibratoRate = 0.0, vibratoDepth = 0.0, vibratoDelay = 0.0;  // Hz, semitones, seconds
    double glide = 0.0;  // seconds to slide into a tied-on note; 0 retriggers every note
    double punch = 0.0, punchTime = 0.03;  // semitones the note starts above, seconds to settle
    double arpRate = 0.0;                  // chord notes per step; 0 plays chords as chords
    EArp arpMode = EArp::Up;
    bool arpPluck = false;  // every arpeggio note starts the envelope again
    double gate = 1.0;      // part of the written length held before the release
    int octave = 0;
    double drive = 0.0;
    double gain = 1.0;
    double echo = 0.0, reverb = 0.0;
    int line = 0;
};

struct SNoteEvent {
    int64_t start = 0;       // sample of the sound
    int64_t gateLength = 0;  // samples until the release
    // MIDI notes and the offsets (from start) where they begin: more than one when notes are
    // tied together with glide.
    std::vector<std::pair<int64_t, int>> pitches;
    std::vector<int> chord;  // intervals an arpeggio cycles through
    double velocity = 1.0;
};

// The note from its start to the end of its release.
std::vector<double> renderNote(const SInstrument& inst, const SNoteEvent& note,
                               double samplesPerStep);
