#include "state/Random.h"

namespace {

// glibc's TYPE_3 generator: r[i] = r[i - 31] + r[i - 3], the first 344 outputs discarded,
// results shifted right by one. Only the last 34 values are needed, kept in a ring.
constexpr int kLag = static_cast<int>(sizeof(SRandomState::ring) / sizeof(int32_t));
int32_t gRing[kLag];
int gIndex = 0;

int32_t step() {
    const int32_t value =
        static_cast<int32_t>(static_cast<uint32_t>(gRing[(gIndex + kLag - 31) % kLag]) +
                             static_cast<uint32_t>(gRing[(gIndex + kLag - 3) % kLag]));
    gRing[gIndex] = value;
    gIndex = (gIndex + 1) % kLag;
    return value;
}

struct SInit {
    SInit() { seedGameRand(1); }
} gInit;

}  // namespace

void seedGameRand(uint32_t seed) {
    int32_t r[kLag];
    r[0] = static_cast<int32_t>(seed == 0 ? 1 : seed);
    for (int i = 1; i < 31; ++i) {
        // 16807 * r % (2^31 - 1) without overflow (Schrage's method, as glibc does it).
        const int32_t hi = r[i - 1] / 127773;
        const int32_t lo = r[i - 1] % 127773;
        int32_t word = 16807 * lo - 2836 * hi;
        if (word < 0) word += 2147483647;
        r[i] = word;
    }
    for (int i = 31; i < kLag; ++i) r[i] = r[i - 31];
    for (int i = 0; i < kLag; ++i) gRing[i] = r[i];
    gIndex = 0;
    for (int i = kLag; i < 344; ++i) step();
}

int gameRand() {
    return static_cast<int>(static_cast<uint32_t>(step()) >> 1);
}

SRandomState gameRandState() {
    SRandomState state{};
    for (int i = 0; i < kLag; ++i) state.ring[i] = gRing[i];
    state.index = gIndex;
    return state;
}

bool setGameRandState(const SRandomState& state) {
    if (state.index < 0 || state.index >= kLag) return false;
    for (int i = 0; i < kLag; ++i) gRing[i] = state.ring[i];
    gIndex = state.index;
    return true;
}
