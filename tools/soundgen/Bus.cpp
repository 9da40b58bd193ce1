#include "Bus.h"

#include <array>
#include <cmath>

#include "DetMath.h"
#include "SoundFormat.h"

namespace {

// Runs `process` over the input (twice for a loop) and keeps the last pass.
template <typename F>
std::vector<double> overLoop(const std::vector<double>& in, bool loop, F&& process) {
    std::vector<double> out(in.size(), 0.0);
    const int passes = loop ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (size_t i = 0; i < in.size(); ++i) out[i] = process(in[i]);
    return out;
}

class CDelayLine {
public:
    explicit CDelayLine(size_t length) : buffer_(length ? length : 1, 0.0) {}
    double read() const { return buffer_[pos_]; }
    void write(double x) {
        buffer_[pos_] = x;
        pos_ = (pos_ + 1) % buffer_.size();
    }

private:
    std::vector<double> buffer_;
    size_t pos_ = 0;
};

}  // namespace

std::vector<double> applyEcho(const SEcho& echo, const std::vector<double>& in, bool loop) {
    CDelayLine line(static_cast<size_t>(std::llround(echo.delay * kRate)));
    const double a = 1.0 - det::exp(-det::kTwoPi * echo.damp / kRate);
    double damped = 0.0;
    return overLoop(in, loop, [&](double x) {
        const double delayed = line.read();
        damped += a * (delayed - damped);  // each repeat a little darker
        line.write(x + echo.feedback * damped);
        return delayed;
    });
}

std::vector<double> applyReverb(const SReverb& reverb, const std::vector<double>& in, bool loop) {
    // Four damped combs into two allpasses, tuned for 22 kHz.
    static constexpr std::array<size_t, 4> kCombs = {557, 593, 641, 677};
    static constexpr std::array<size_t, 2> kAllpasses = {277, 113};
    std::vector<CDelayLine> combs, allpasses;
    for (size_t c : kCombs) combs.emplace_back(c);
    for (size_t c : kAllpasses) allpasses.emplace_back(c);
    std::array<double, 4> damped{};
    const double feedback = 0.7 + 0.28 * reverb.size;
    return overLoop(in, loop, [&](double x) {
        double sum = 0.0;
        for (size_t i = 0; i < combs.size(); ++i) {
            const double y = combs[i].read();
            damped[i] = y * (1.0 - reverb.damp) + damped[i] * reverb.damp;
            combs[i].write(x * 0.25 + damped[i] * feedback);
            sum += y;
        }
        for (auto& ap : allpasses) {
            const double buffered = ap.read();
            ap.write(sum + buffered * 0.5);
            sum = buffered - sum;
        }
        return sum * 0.5;
    });
}
