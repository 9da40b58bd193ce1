#pragma once
// Small samples of our own for the mixer, and an audio device that keeps what it is given.

#include <cstdint>
#include <vector>

#include "platform/headless/HeadlessBackend.h"
#include "sound/SampleBank.h"

// The headless device (cap and virtual-clock drain), recording every accepted sample. With a
// script, each write takes at most the next scripted number of bytes instead.
class CRecordingBackend : public CHeadlessBackend {
public:
    std::vector<int16_t> stream;
    std::vector<int> script;
    size_t scriptPos = 0;
    int writeCalls = 0;

    int audioWrite(const void* data, int bytes) override {
        ++writeCalls;
        int taken = 0;
        if (scriptPos < script.size())
            taken = bytes < script[scriptPos] ? bytes : script[scriptPos];
        else
            taken = CHeadlessBackend::audioWrite(data, bytes);
        if (scriptPos < script.size()) ++scriptPos;
        const int16_t* samples = static_cast<const int16_t*>(data);
        stream.insert(stream.end(), samples, samples + taken / 2);
        return taken;
    }
};

// Counter ticks in which the device plays the given number of frames.
inline uint32_t ticksForFrames(uint32_t frames) {
    return static_cast<uint32_t>((uint64_t{frames} * kTimerHz + 22049) / 22050);
}

// A sample that counts 0, 1, 2 ... (length - 1): where it stands in the output shows which of
// its samples was played.
inline std::vector<int16_t> rampSample(int length) {
    std::vector<int16_t> s(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) s[static_cast<size_t>(i)] = static_cast<int16_t>(i);
    return s;
}

inline SSample sampleOf(const std::vector<int16_t>& data) {
    return {data.data(), static_cast<uint32_t>(data.size())};
}
