// What a world table answers, read with nlohmann-json whichever way it came. A server is trusted
// with nothing: rows that are not what a table lists are left out, and an answer that is not a
// table or an entry says so.

#include "platform/net/WorldAnswer.h"

#include <nlohmann/json.hpp>

#include "platform/Replay.h"

namespace {

using nlohmann::json;

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

size_t mostWorldAnswerBytes(EWorldAsk what) {
    return what == EWorldAsk::kReplay ? kMaxReplayBytes : kMostTableBytes;
}

void readWorldAnswer(EWorldAsk what, int status, const std::string& body, SWorldAnswer& answer) {
    answer.reached = true;
    answer.status = status;
    if (answer.status < 200 || answer.status > 299) {
        answer.error = refusal(body, answer.status);
        return;
    }
    if (what == EWorldAsk::kReplay) {
        answer.replay.assign(body.begin(), body.end());
        return;
    }
    const json table = json::parse(body, nullptr, false);
    if (what == EWorldAsk::kSend) {
        // 202: it waits its turn to be played, and has no entry yet.
        if (answer.status != 202 && !readRow(table, answer.entry))
            answer.error = "an answer that is not an entry";
        return;
    }
    const json* rows = table.is_object() && table.contains("scores") ? &table["scores"] : nullptr;
    if (!rows || !rows->is_array()) {
        answer.error = "an answer that is not a table";
        return;
    }
    for (const json& item : *rows) {
        SWorldRow row;
        if (answer.rows.size() < kMostWorldRows && readRow(item, row)) answer.rows.push_back(row);
    }
    return;
}
