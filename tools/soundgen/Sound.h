#pragma once
// Everything one sound file describes: a music loop with its score, or an effect made of layers
// (and, for the fanfare, a short score of its own).

#include <cstdint>
#include <string>
#include <vector>

#include "Instrument.h"
#include "Layer.h"

// A drum of the score: a one-shot stack of layers, played at a velocity.
struct SDrum {
    std::string name;
    std::vector<SLayer> layers;
    double gain = 1.0;
    double echo = 0.0, reverb = 0.0;
    int line = 0;
};

// One step of a melody: a note or chord starts, the sounding note is held, or silence.
struct SStep {
    enum class EKind { Note, Hold, Rest };
    EKind kind = EKind::Rest;
    int note = 0;            // MIDI
    std::vector<int> chord;  // intervals above the note; empty: a single note
    double velocity = 0.85;
};

// A drum lane: one velocity per step, 0 where the drum is silent.
struct SLane {
    int drum = 0;
    std::vector<double> hits;
};

struct SPattern {
    std::string name;
    bool isBeat = false;       // drum lanes rather than a melody
    std::vector<SStep> steps;  // melody
    std::vector<SLane> lanes;  // beat
    int length = 0;            // steps
    int line = 0;
};

struct STrackEntry {
    int pattern = 0;
    int transpose = 0;  // semitones
    int repeat = 1;
};

struct STrack {
    int instrument = -1;  // -1: a drum track playing beats
    std::vector<STrackEntry> entries;
    int line = 0;
};

struct SEcho {
    double delay = 0.0;  // seconds
    double feedback = 0.0, wet = 0.0, damp = 4000.0;
};

struct SReverb {
    double size = 0.5, wet = 0.0, damp = 0.3;
};

struct SSound {
    std::string file;  // for messages
    std::string title;
    bool loop = false;
    int64_t length = 0;  // samples; a loop's length follows from its tempo and bars
    double peakDb = -6.0;

    // The score's clock: a step is the smallest note (usually a sixteenth).
    double tempo = 120.0;  // beats per minute
    int stepsPerBeat = 4;
    int beatsPerBar = 4;
    int bars = 0;
    double swing = 0.0;  // part of a swing unit by which every second unit comes late
    int swingUnit = 2;   // steps
    int64_t samplesPerStep = 0;

    SEcho echo;
    SReverb reverb;
    double drive = 0.0;  // gentle saturation of the whole mix

    std::vector<SInstrument> instruments;
    std::vector<SDrum> drums;
    std::vector<SPattern> patterns;
    std::vector<STrack> tracks;
    std::vector<SLayer> layers;

    int stepsPerBar() const { return stepsPerBeat * beatsPerBar; }
};
