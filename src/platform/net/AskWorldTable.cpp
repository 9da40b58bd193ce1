// The world table's requests through cpp-httplib's client, their answers read with nlohmann-json.
// A server is trusted with nothing: rows that are not what a table lists are left out, and a
// replay larger than any replay can be is not taken.

#include <httplib.h>

#include <nlohmann/json.hpp>

#include "platform/Replay.h"
#include "platform/WorldClient.h"

namespace {

using nlohmann::json;

constexpr time_t kConnectSeconds = 3;
// A sent replay is played before the answer comes: the server takes up to 5 s before it says
// the replay waits its turn.
constexpr time_t kAnswerSeconds = 12;
// A table of the best 100 takes about 8 KB.
constexpr size_t kMostTableBytes = 1u << 20;

bool copyInitials(const json& value, char (&out)[4]) {
    if (!value.is_string()) return false;
    const std::string text = value.get<std::string>();
    if (text.size() != 3) return false;
    for (int i = 0; i < 3; ++i) {
        if (text[i] < 'A' || text[i] > 'Z') return false;
        out[i] = text[i];
    }
    out[3] = '\0';
    return true;
}

bool readRow(const json& item, SWorldRow& row) {
    if (!item.is_object()) return false;
    const auto number = [&item](const char* key, int64_t most, int64_t& out) {
        const auto it = item.find(key);
        if (it == item.end() || !it->is_number_integer()) return false;
        out = it->get<int64_t>();
        return out >= 0 && out <= most;
    };
    int64_t rank = 0, score = 0, level = 0, id = 0;
    if (!number("rank", INT32_MAX, rank) || !number("score", INT32_MAX, score) ||
        !number("level", INT32_MAX, level) || !number("id", INT64_MAX, id) ||
        !copyInitials(item.value("initials", json()), row.initials))
        return false;
    row.rank = static_cast<int32_t>(rank);
    row.score = static_cast<int32_t>(score);
    row.level = static_cast<int32_t>(level);
    row.id = id;
    const json date = item.value("date", json());
    const std::string text = date.is_string() ? date.get<std::string>() : "";
    row.date[0] = '\0';
    if (text.size() == 10) text.copy(row.date, 10), row.date[10] = '\0';
    return true;
}

// The error a refusal gives, or its status when it gives none.
std::string refusal(const std::string& text, int status) {
    const json body = json::parse(text, nullptr, false);
    if (body.is_object() && body.contains("error") && body["error"].is_string())
        return body["error"].get<std::string>();
    return "HTTP " + std::to_string(status);
}

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
    const size_t most = what == EWorldAsk::kReplay ? kMaxReplayBytes : kMostTableBytes;
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
        answer.error = cut ? "an answer larger than a world table gives"
                           : url + ": not reached (" + httplib::to_string(result.error()) + ")";
        return answer;
    }
    answer.reached = true;
    answer.status = result->status;
    if (what == EWorldAsk::kSend) body = result->body;
    if (answer.status < 200 || answer.status > 299) {
        answer.error = refusal(body, answer.status);
        return answer;
    }
    if (what == EWorldAsk::kReplay) {
        answer.replay.assign(body.begin(), body.end());
        return answer;
    }
    const json table = json::parse(body, nullptr, false);
    if (what == EWorldAsk::kSend) {
        // 202: it waits its turn to be played, and has no entry yet.
        if (answer.status != 202 && !readRow(table, answer.entry))
            answer.error = "an answer that is not an entry";
        return answer;
    }
    const json* rows = table.is_object() && table.contains("scores") ? &table["scores"] : nullptr;
    if (!rows || !rows->is_array()) {
        answer.error = "an answer that is not a table";
        return answer;
    }
    for (const json& item : *rows) {
        SWorldRow row;
        if (answer.rows.size() < kMostWorldRows && readRow(item, row)) answer.rows.push_back(row);
    }
    return answer;
}
