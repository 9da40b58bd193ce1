// Feeds arbitrary bytes to the replay reader, then plays back a bounded part of whatever it
// accepted.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CReplayReader reader;
    std::string error;
    if (!reader.parse(data, size, error)) return 0;
    ButtonMask buttons;
    uint32_t picture = kReplayCheckInterval;
    for (int step = 0; step < 100000 && !reader.finished(); ++step) {
        if (reader.nextPoll(buttons)) continue;
        if (!reader.checkPicture(picture, 0, 0, true, error)) break;
        picture += kReplayCheckInterval;
    }
    return 0;
}
