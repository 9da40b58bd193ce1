#pragma once
// One layer of a one-shot sound: an oscillator with its own pitch sweep, envelope, filter sweep
// and colour. Effects are stacks of layers; so are the drums of the music.

#include <cstdint>
#include <vector>

#include "Curve.h"
#include "Filter.h"
#include "Oscillator.h"

struct SLayer {
    double start = 0.0;  // seconds after the sound starts
    EWave wave = EWave::Pulse;
    SCurve pitch;  // Hz; for noise the hold rate (none: a fresh value every sample)
    SCurve duty = SCurve::constant(0.5);
    SCurve amp;           // 0..1; its last point ends the layer
    double curve = 1.0;   // amp is raised to this power: 2 or 3 turn straight fades into decays
    double detune = 0.0;  // cents: a second oscillator this far above thickens the tone
    double vibratoRate = 0.0, vibratoDepth = 0.0;  // Hz, semitones
    double tremoloRate = 0.0, tremoloDepth = 0.0;  // Hz, 0..1
    double fmRatio = 0.0;                          // phase modulation by a sine at ratio x pitch
    SCurve fmIndex;                                // radians
    EFilter filter = EFilter::None;
    SCurve cutoff;  // Hz
    double q = 0.7;
    double drive = 0.0;  // soft saturation: 0 clean, 1..10 from warm to torn
    double crush = 0.0;  // Hz: the output is held at this rate, the grit of old chips (0 off)
    double gain = 1.0;
    double echo = 0.0, reverb = 0.0;  // how much goes to the sound's echo and reverb
    uint32_t seed = 1;
    int line = 0;  // where the layer is written, for messages
};

// The layer alone, from its start (not delayed by `start`), as long as its amp curve.
std::vector<double> renderLayer(const SLayer& layer);
