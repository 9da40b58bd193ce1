#include "Layer.h"

#include <cmath>

#include "DetMath.h"
#include "SoundFormat.h"

namespace {

double softClip(double x, double drive) {
    if (drive <= 0.0) return x;
    return det::tanh(drive * x) / det::tanh(drive);
}

}  // namespace

std::vector<double> renderLayer(const SLayer& layer) {
    const size_t length = static_cast<size_t>(std::ceil(layer.amp.endTime() * kRate));
    std::vector<double> out(length, 0.0);
    COscillator osc(layer.wave, layer.seed);
    COscillator twin(layer.wave, layer.seed * 7919u + 13u, 0.37);
    COscillator modulator(EWave::Sine, 1);
    CFilter filter;
    const bool pitched = !layer.pitch.empty();
    const double detuneRatio = det::exp2(layer.detune / 1200.0);
    double step = 0.0, duty = 0.5, fmIndex = 0.0, held = 0.0;
    for (size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kRate;
        if (i % kControlBlock == 0) {
            double hz = pitched ? layer.pitch.at(t) : 0.0;
            if (layer.vibratoDepth != 0.0)
                hz *= det::exp2(layer.vibratoDepth / 12.0 * det::sinTurn(layer.vibratoRate * t));
            step = hz / kRate;
            duty = layer.duty.at(t);
            fmIndex = layer.fmIndex.empty() ? 0.0 : layer.fmIndex.at(t);
            if (layer.filter != EFilter::None)
                filter.set(layer.filter, layer.cutoff.at(t), layer.q);
        }
        double phaseOffset = 0.0;
        if (layer.fmRatio > 0.0)
            phaseOffset = fmIndex / det::kTwoPi * modulator.next(step * layer.fmRatio);
        double x = osc.next(step, duty, phaseOffset);
        if (layer.detune != 0.0) x = 0.5 * (x + twin.next(step * detuneRatio, duty, phaseOffset));
        x = filter.process(x);
        x = softClip(x, layer.drive);
        double a = layer.amp.at(t);
        a = a <= 0.0 ? 0.0 : (layer.curve == 1.0 ? a : det::exp2(layer.curve * det::log2(a)));
        if (layer.tremoloDepth > 0.0)
            a *= 1.0 - layer.tremoloDepth * (0.5 + 0.5 * det::sinTurn(layer.tremoloRate * t));
        x *= a * layer.gain;
        if (layer.crush > 0.0) {
            // Hold the output between the ticks of a slower clock.
            const double ticks = layer.crush / kRate;
            if (std::floor(i * ticks) != std::floor((i + 1) * ticks) || i == 0) held = x;
            x = held;
        }
        out[i] = x;
    }
    return out;
}
