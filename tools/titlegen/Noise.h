#pragma once
// The title's own little random generator, so that the picture comes out the same on every
// build whatever the C library.

#include <cstdint>

class CNoise {
public:
    explicit CNoise(uint32_t seed) : state_(seed ? seed : 1) {}
    uint32_t next() {  // xorshift32
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }  // 0 <= u < 1
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

private:
    uint32_t state_;
};

// A fixed pseudo-random number for a grid cell.
inline uint32_t cellHash(int32_t i, int32_t j) {
    uint32_t h = static_cast<uint32_t>(i) * 374761393u + static_cast<uint32_t>(j) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}
