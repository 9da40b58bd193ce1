#pragma once
// The music loops of a bank that ships their scores instead of their samples (the page's, where
// every byte is downloaded): made at start by the same synthesiser the build runs, and checked
// against the build's own samples by length and hash.

#include <cstddef>
#include <cstdint>
#include <string>

struct SPageLoop {
    int16_t* samples;  // where the loop goes, `length` samples
    uint32_t length;
    uint64_t hash;      // sampleHash of the build's samples
    const char* name;   // the score's name, for messages
    const char* score;  // the score's text
};

// FNV-1a over the samples' little-endian bytes.
uint64_t sampleHash(const int16_t* samples, size_t count);

// Makes every loop; false with a one-line reason in `error` for the last that failed to read or
// came out other than the build's (it keeps what was made, or stays silent).
bool makePageLoops(const SPageLoop* loops, int count, std::string& error);
