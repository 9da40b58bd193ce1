// A build without a network client (the browser's, whose page asks with fetch, and the other
// machines' builds): no world table is ever reached.

#include "platform/WorldClient.h"

bool worldRequestsThreaded() {
    return false;
}

SWorldAnswer askWorldTable(const std::string& url, EWorldAsk, int64_t, const std::vector<uint8_t>&,
                           const std::string&) {
    SWorldAnswer answer;
    answer.error = url + ": this build of the game has no network client";
    return answer;
}
