// The world table's requests in a browser: the page's fetch, waited for as the game's sleeps are
// (the tab goes on; the game's picture waits at most the fetch's time limit). A replay sent while
// the browser is offline is kept by the page and sent once it is online again.

#include <cstdlib>

#include "platform/WorldClient.h"
#include "platform/net/WorldAnswer.h"

extern "C" {
// The answer's status (0: not reached; -1: not reached, and the replay kept to send later), its
// body in memory of the game's (freed by the caller) and the body's size, at most `most` bytes.
int bf_world_ask(const char* url, int what, double id, const uint8_t* replay, int replaySize,
                 const char* initials, int most, uint8_t** body, int* bodySize);
}

bool worldRequestsThreaded() {
    return false;
}

SWorldAnswer askWorldTable(const std::string& url, EWorldAsk what, int64_t id,
                           const std::vector<uint8_t>& replay, const std::string& initials) {
    SWorldAnswer answer;
    uint8_t* body = nullptr;
    int size = 0;
    const int status =
        bf_world_ask(url.c_str(), static_cast<int>(what), static_cast<double>(id), replay.data(),
                     static_cast<int>(replay.size()), initials.c_str(),
                     static_cast<int>(mostWorldAnswerBytes(what)), &body, &size);
    const std::string text(reinterpret_cast<const char*>(body),
                           body ? static_cast<size_t>(size) : 0);
    std::free(body);
    if (status > 0) {
        readWorldAnswer(what, status, text, answer);
    } else {
        answer.keptToSend = status < 0;
        answer.error = url + ": not reached (" + text + ")";
    }
    return answer;
}
