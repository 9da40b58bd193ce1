#include "Render.h"

#include <cmath>

#include "Bus.h"
#include "DetMath.h"
#include "Filter.h"
#include "Score.h"
#include "SoundFormat.h"

namespace {

// The dry mix and what goes to the echo and the reverb. A loop's buffers wrap round: a note
// that rings past the end of the loop rings on at its start.
struct SMixBuffers {
    std::vector<double> dry, echo, reverb;
    bool loop = false;

    explicit SMixBuffers(size_t length, bool isLoop)
        : dry(length, 0.0), echo(length, 0.0), reverb(length, 0.0), loop(isLoop) {}

    void add(int64_t start, const std::vector<double>& samples, double gain, double echoSend,
             double reverbSend) {
        const int64_t length = static_cast<int64_t>(dry.size());
        for (size_t j = 0; j < samples.size(); ++j) {
            int64_t at = start + static_cast<int64_t>(j);
            if (loop) {
                at %= length;
            } else if (at >= length) {
                break;
            }
            const double x = samples[j] * gain;
            dry[static_cast<size_t>(at)] += x;
            echo[static_cast<size_t>(at)] += x * echoSend;
            reverb[static_cast<size_t>(at)] += x * reverbSend;
        }
    }
};

// All layers of a stack, each at its start.
std::vector<double> renderLayers(const std::vector<SLayer>& layers) {
    std::vector<double> out;
    for (const SLayer& layer : layers) {
        const std::vector<double> part = renderLayer(layer);
        const size_t start = static_cast<size_t>(std::llround(layer.start * kRate));
        if (out.size() < start + part.size()) out.resize(start + part.size(), 0.0);
        for (size_t i = 0; i < part.size(); ++i) out[start + i] += part[i];
    }
    return out;
}

double peakOf(const std::vector<double>& x) {
    double peak = 0.0;
    for (double v : x) peak = std::max(peak, std::fabs(v));
    return peak;
}

void scale(std::vector<double>& x, double gain) {
    for (double& v : x) v *= gain;
}

}  // namespace

std::vector<int16_t> renderSound(const SSound& sound, double* gainUsed, double fixedGain) {
    const size_t length = static_cast<size_t>(sound.length);
    SMixBuffers mix(length, sound.loop);

    for (const SLayer& layer : sound.layers)
        mix.add(std::llround(layer.start * kRate), renderLayer(layer), 1.0, layer.echo,
                layer.reverb);

    std::vector<SScoreNote> notes;
    std::vector<SDrumHit> hits;
    collectScore(sound, notes, hits);

    std::vector<std::vector<double>> drums;
    for (const SDrum& drum : sound.drums) drums.push_back(renderLayers(drum.layers));
    for (const SDrumHit& hit : hits) {
        const SDrum& drum = sound.drums[static_cast<size_t>(hit.drum)];
        mix.add(hit.start, drums[static_cast<size_t>(hit.drum)], hit.velocity * drum.gain,
                drum.echo, drum.reverb);
    }

    const double sps = static_cast<double>(sound.samplesPerStep);
    for (const SScoreNote& note : notes) {
        const SInstrument& inst = sound.instruments[static_cast<size_t>(note.instrument)];
        if (!note.event.chord.empty() && inst.arpRate <= 0.0) {
            // A chord without an arpeggio: every note of it sounds.
            for (int interval : note.event.chord) {
                SNoteEvent single = note.event;
                single.chord.clear();
                for (auto& p : single.pitches) p.second += interval;
                mix.add(single.start, renderNote(inst, single, sps), 1.0, inst.echo, inst.reverb);
            }
        } else {
            mix.add(note.event.start, renderNote(inst, note.event, sps), 1.0, inst.echo,
                    inst.reverb);
        }
    }

    std::vector<double> out = mix.dry;
    if (sound.echo.wet > 0.0) {
        const std::vector<double> wet = applyEcho(sound.echo, mix.echo, sound.loop);
        for (size_t i = 0; i < length; ++i) out[i] += sound.echo.wet * wet[i];
    }
    if (sound.reverb.wet > 0.0) {
        const std::vector<double> wet = applyReverb(sound.reverb, mix.reverb, sound.loop);
        for (size_t i = 0; i < length; ++i) out[i] += sound.reverb.wet * wet[i];
    }

    // Saturate the loudest moments a little, so that the rest can sit louder under the peak.
    double gain = 1.0;
    if (sound.drive > 0.0 && peakOf(out) > 0.0) {
        gain = fixedGain > 0.0 ? 1.0 : 1.0 / peakOf(out);
        scale(out, gain);
        const double norm = det::tanh(sound.drive);
        for (double& v : out) v = det::tanh(sound.drive * v) / norm;
    }

    // Take out any offset; a loop first runs once through so that its end leads into its start.
    CDcBlocker dc;
    if (sound.loop)
        for (double v : out) dc.process(v);
    for (double& v : out) v = dc.process(v);

    const double peak = peakOf(out);
    const double finalGain =
        fixedGain > 0.0 ? fixedGain : (peak > 0.0 ? det::dbToGain(sound.peakDb) / peak : 1.0);
    scale(out, finalGain);
    if (gainUsed) *gainUsed = gain * finalGain;

    if (!sound.loop) {
        // Fade in over 1.5 ms and out over the last 10 ms: no click at either end.
        const size_t in = std::min<size_t>(32, length), fade = std::min<size_t>(220, length);
        for (size_t i = 0; i < in; ++i) out[i] *= static_cast<double>(i) / in;
        for (size_t i = 0; i < fade; ++i) out[length - 1 - i] *= static_cast<double>(i) / fade;
    }

    std::vector<int16_t> samples(length);
    for (size_t i = 0; i < length; ++i) {
        const double v = std::floor(out[i] * 32767.0 + 0.5);
        samples[i] = static_cast<int16_t>(v > 32767.0 ? 32767.0 : (v < -32768.0 ? -32768.0 : v));
    }
    return samples;
}
