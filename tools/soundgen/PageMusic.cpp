#include "PageMusic.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Parser.h"
#include "Render.h"

uint64_t sampleHash(const int16_t* samples, size_t count) {
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < count; ++i) {
        const auto word = static_cast<uint16_t>(samples[i]);
        for (const uint8_t byte : {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)})
            hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

bool makePageLoops(const SPageLoop* loops, int count, std::string& error) {
    bool all = true;
    for (const SPageLoop* loop = loops; loop != loops + count; ++loop) {
        SSound sound;
        std::string problem;
        if (!parseSound(loop->score, loop->name, sound, problem)) {
            error = problem;
            all = false;
            continue;
        }
        const std::vector<int16_t> made = renderSound(sound);
        std::memcpy(loop->samples, made.data(),
                    std::min<size_t>(made.size(), loop->length) * sizeof(int16_t));
        if (made.size() != loop->length || sampleHash(made.data(), made.size()) != loop->hash) {
            error = std::string("the music loop ") + loop->name +
                    " came out other than the build's (" + std::to_string(made.size()) + " of " +
                    std::to_string(loop->length) + " samples)";
            all = false;
        }
    }
    return all;
}
