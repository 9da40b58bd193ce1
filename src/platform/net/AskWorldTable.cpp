// The world table's requests through cpp-httplib's client.

#include <httplib.h>

#include "platform/Replay.h"
#include "platform/WorldClient.h"
#include "platform/net/WorldAnswer.h"

namespace {

constexpr time_t kConnectSeconds = 3;
// A sent replay is played before the answer comes: the server takes up to 5 s before it says
// the replay waits its turn.
constexpr time_t kAnswerSeconds = 12;

}  // namespace

bool worldRequestsThreaded() {
    return true;
}

SWorldAnswer askWorldTable(const std::string& url, EWorldAsk what, int64_t id,
                           const std::vector<uint8_t>& replay, const std::string& initials) {
    SWorldAnswer answer;
    // The host part goes to the client, the folder before every path.
    const size_t slash = url.find('/', url.find("//") + 2);
    const std::string folder = slash == std::string::npos ? "" : url.substr(slash);
    httplib::Client client(url.substr(0, slash));
    client.set_connection_timeout(kConnectSeconds, 0);
    client.set_read_timeout(kAnswerSeconds, 0);
    client.set_write_timeout(kAnswerSeconds, 0);
    // What a GET brings is taken up to what its answer can be: a server sends no more.
    std::string body;
    const size_t most = mostWorldAnswerBytes(what);
    bool cut = false;
    const auto receive = [&body, &cut, most](const char* data, size_t size) {
        cut = body.size() + size > most;
        if (cut) return false;
        body.append(data, size);
        return true;
    };
    const auto request = [&]() -> httplib::Result {
        if (what == EWorldAsk::kScores) return client.Get(folder + "/api/scores", receive);
        if (what == EWorldAsk::kReplay)
            return client.Get(folder + "/api/scores/" + std::to_string(id) + "/replay", receive);
        return client.Post(folder + "/api/scores?initials=" + initials,
                           reinterpret_cast<const char*>(replay.data()), replay.size(),
                           "application/octet-stream");
    };
    const httplib::Result result = request();
    if (!result) {
        answer.reached = cut;
        answer.error = cut ? kTooLargeAnswer
                           : url + ": not reached (" + httplib::to_string(result.error()) + ")";
        return answer;
    }
    readWorldAnswer(what, result->status, what == EWorldAsk::kSend ? result->body : body, answer);
    return answer;
}
