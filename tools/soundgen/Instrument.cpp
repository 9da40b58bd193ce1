#include "Instrument.h"

#include <algorithm>
#include <cmath>

#include "DetMath.h"
#include "SoundFormat.h"

namespace {

// The per-sample factor that takes a level down by 60 dB in `seconds`.
double fallFactor(double seconds) {
    if (seconds <= 0.0) return 0.0;
    return det::exp2(-9.965784284662087 / (seconds * kRate));  // log2(1000) = 9.97
}

int arpIndex(EArp mode, int64_t tick, int size) {
    if (size <= 1) return 0;
    switch (mode) {
        case EArp::Up:
            return static_cast<int>(tick % size);
        case EArp::Down:
            return size - 1 - static_cast<int>(tick % size);
        case EArp::UpDown: {
            const int period = 2 * size - 2;
            const int k = static_cast<int>(tick % period);
            return k < size ? k : period - k;
        }
    }
    return 0;
}

}  // namespace

std::vector<double> renderNote(const SInstrument& inst, const SNoteEvent& note,
                               double samplesPerStep) {
    // The gate shortens the last note of a phrase, not the whole phrase.
    const int64_t lastStart = note.pitches.back().first;
    const int64_t gateLength =
        std::max<int64_t>(1, lastStart + std::llround((note.gateLength - lastStart) * inst.gate));
    const int64_t releaseLength = std::max<int64_t>(64, std::llround(inst.release * kRate));
    const int64_t length = gateLength + releaseLength;
    std::vector<double> out(static_cast<size_t>(length), 0.0);

    COscillator osc1(inst.wave, 11), osc2(inst.wave2, 23, 0.31), sub(EWave::Pulse, 37, 0.5);
    COscillator noise(EWave::Noise, 41);
    CFilter filter;
    const double decayFactor = fallFactor(inst.decay);
    const double releaseFactor = fallFactor(inst.release);
    const double filterFactor = fallFactor(inst.filterDecay);
    const int64_t attackLength = std::max<int64_t>(8, std::llround(inst.attack * kRate));
    const double arpTick = inst.arpRate > 0.0 ? samplesPerStep / inst.arpRate : 0.0;

    double level = 0.0, filterLevel = 1.0, attackFrom = 0.0;
    int64_t envStart = 0, lastTick = 0;
    size_t segment = 0;
    double fromNote = note.pitches.front().second, glideStart = 0.0;
    double step1 = 0.0, step2 = 0.0, stepSub = 0.0, duty = inst.duty, midi = fromNote;
    for (int64_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kRate;
        // Tied notes: slide from wherever the pitch is to the next one.
        while (segment + 1 < note.pitches.size() && i >= note.pitches[segment + 1].first) {
            ++segment;
            fromNote = midi;
            glideStart = t;
        }
        if (i % kControlBlock == 0) {
            const double target = note.pitches[segment].second;
            double m = target;
            if (inst.glide > 0.0 && t - glideStart < inst.glide)
                m = fromNote + (target - fromNote) * (t - glideStart) / inst.glide;
            midi = m;
            if (!note.chord.empty() && arpTick > 0.0) {
                const int64_t tick = static_cast<int64_t>(i / arpTick);
                m += note.chord[static_cast<size_t>(
                    arpIndex(inst.arpMode, tick, static_cast<int>(note.chord.size())))];
                if (inst.arpPluck && tick != lastTick && i < gateLength) {
                    // Pluck again, rising from wherever the last note has fallen to.
                    envStart = i;
                    attackFrom = level;
                    filterLevel = 1.0;
                }
                lastTick = tick;
            }
            if (inst.punch != 0.0)
                m += inst.punch * det::exp2(-t / (inst.punchTime > 0.0 ? inst.punchTime : 0.01));
            if (inst.vibratoDepth != 0.0 && t > inst.vibratoDelay) {
                const double ramp = std::min(1.0, (t - inst.vibratoDelay) / 0.15);
                m += ramp * inst.vibratoDepth * det::sinTurn(inst.vibratoRate * t);
            }
            m += 12.0 * inst.octave;
            const double hz = det::noteToHz(m);
            step1 = hz / kRate;
            step2 = step1 * det::exp2(inst.osc2Octave + inst.detune / 1200.0);
            stepSub = step1 * 0.5;
            duty = inst.duty;
            if (inst.pwmDepth != 0.0) duty += inst.pwmDepth * det::sinTurn(inst.pwmRate * t);
            if (inst.filter != EFilter::None) {
                const double cutoff = inst.cutoff * det::exp2(inst.keytrack * (m - 60.0) / 12.0 +
                                                              inst.filterEnv * filterLevel);
                filter.set(inst.filter, cutoff, inst.q);
            }
        }
        double x = osc1.next(step1, duty);
        if (inst.osc2Level > 0.0) x += inst.osc2Level * osc2.next(step2, duty);
        if (inst.subLevel > 0.0) x += inst.subLevel * sub.next(stepSub, 0.5);
        if (inst.noiseLevel > 0.0) x += inst.noiseLevel * noise.next(0.0);
        x = filter.process(x);
        if (inst.drive > 0.0) x = det::tanh(inst.drive * x) / det::tanh(inst.drive);

        const int64_t e = i - envStart;
        if (e < attackLength && i < gateLength) {
            level = attackFrom + (1.0 - attackFrom) * static_cast<double>(e + 1) / attackLength;
        } else if (i < gateLength) {
            level = inst.sustain + (level - inst.sustain) * decayFactor;
        } else {
            level *= releaseFactor;
        }
        filterLevel *= filterFactor;
        double fade = 1.0;  // the last few samples go to exactly nothing
        if (length - i < 64) fade = static_cast<double>(length - i) / 64.0;
        out[static_cast<size_t>(i)] = x * level * fade * note.velocity * inst.gain;
    }
    return out;
}
