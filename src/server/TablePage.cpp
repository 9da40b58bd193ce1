#include "server/TablePage.h"

namespace {

// Everything a row shows is the server's own (numbers, three capitals, a date), but it is
// escaped all the same.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string grouped(int32_t score) {
    std::string digits = std::to_string(score), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

constexpr const char* kStyle =
    "body{background:#000;color:#fff;font:16px/1.4 monospace;margin:2em auto;max-width:40em}"
    "h1{text-align:center;letter-spacing:.2em}nav{text-align:center;margin-bottom:1em}"
    "nav a{color:#7fef7f;margin:0 1em}nav a.on{color:#fff;text-decoration:none}"
    "table{width:100%;border-collapse:collapse}th{color:#7fef7f;text-align:left}"
    "td,th{padding:.2em .6em}td.n{text-align:right}tr:hover{background:#223}"
    "a{color:#c6c6ff}p{text-align:center;color:#888}";

}  // namespace

std::string watchLink(int64_t id) {
    return "/play/?watch=/api/scores/" + std::to_string(id) + "/replay";
}

std::string tablePage(const std::vector<SEntry>& entries, EPeriod period, bool gamePage) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
        "<title>Bolt Fever world high scores</title><style>";
    page += kStyle;
    page += "</style></head><body><h1>BOLT FEVER<br>WORLD HIGH SCORES</h1><nav>";
    const struct {
        EPeriod period;
        const char* query;
        const char* label;
    } tabs[] = {{EPeriod::kDay, "?period=day", "TODAY"},
                {EPeriod::kMonth, "?period=month", "THIS MONTH"},
                {EPeriod::kAll, "?period=all", "ALL TIME"}};
    for (const auto& tab : tabs)
        page += std::string("<a href=\"/") + tab.query + "\"" +
                (tab.period == period ? " class=\"on\"" : "") + ">" + tab.label + "</a>";
    page += "</nav>\n";
    if (entries.empty()) {
        page += "<p>No entries yet.</p>";
    } else {
        page +=
            "<table><tr><th>#</th><th>NAME</th><th class=\"n\">SCORE</th><th class=\"n\">LEVEL"
            "</th><th>DATE</th><th></th></tr>\n";
        for (const SEntry& e : entries) {
            const std::string link =
                gamePage ? watchLink(e.id) : "/api/scores/" + std::to_string(e.id) + "/replay";
            page += "<tr><td class=\"n\">" + std::to_string(e.rank) + "</td><td>" +
                    escaped(e.initials) + "</td><td class=\"n\">" + grouped(e.score) +
                    "</td><td class=\"n\">" + std::to_string(e.level) + "</td><td>" +
                    dateOf(e.time) + "</td><td><a href=\"" + escaped(link) + "\">" +
                    (gamePage ? "WATCH" : "REPLAY") + "</a></td></tr>\n";
        }
        page += "</table>";
    }
    page +=
        "<p>Every entry here was played back by the server, picture for picture, before it "
        "entered.</p></body></html>\n";
    return page;
}
