#include "platform/WorldClient.h"

#include <atomic>
#include <cctype>
#include <thread>

#include "platform/Files.h"
#include "platform/Messages.h"

namespace {

CWorldClient* gInstance = nullptr;

// An address longer than this is nobody's table.
constexpr size_t kMostUrlChars = 200;

bool isHostChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-';
}

bool isFolderChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_' ||
           c == '~' || c == '/';
}

}  // namespace

bool parseWorldUrl(const std::string& text, std::string& url, std::string& error) {
    const auto refuse = [&](const char* why) {
        error = "the world table " + quoted(text) + " is not an address the game asks: " + why;
        return false;
    };
    if (text.size() > kMostUrlChars) return refuse("too long");
    size_t at = 0;
    if (text.rfind("http://", 0) == 0)
        at = 7;
    else if (text.rfind("https://", 0) == 0)
        at = 8;
    else
        return refuse("it begins with http:// or https://");
    // The host: a name or an IPv4 address, or an IPv6 one in brackets.
    const size_t hostStart = at;
    if (at < text.size() && text[at] == '[') {
        const size_t close = text.find(']', at);
        if (close == std::string::npos || close == at + 1) return refuse("an unclosed [");
        for (size_t i = at + 1; i < close; ++i)
            if (!std::isxdigit(static_cast<unsigned char>(text[i])) && text[i] != ':')
                return refuse("not an IPv6 address in the brackets");
        at = close + 1;
    } else {
        while (at < text.size() && isHostChar(text[at])) ++at;
    }
    if (at == hostStart) return refuse("no host");
    if (at < text.size() && text[at] == ':') {
        uint32_t port = 0;
        const size_t digits = ++at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) &&
               port <= 65535)
            port = port * 10 + static_cast<uint32_t>(text[at++] - '0');
        if (at == digits || port == 0 || port > 65535) return refuse("a port is 1-65535");
    }
    const size_t folder = at;
    if (at < text.size() && text[at] != '/') return refuse("a character a host cannot have");
    while (at < text.size() && isFolderChar(text[at])) ++at;
    if (at != text.size()) return refuse("a query, a user name or a space in it");
    url = text.substr(0, folder);
    std::string path = text.substr(folder);
    while (!path.empty() && path.back() == '/') path.pop_back();
    url += path;
    return true;
}

void loadWorldUrl(const std::string& path, std::string& url, std::string& error) {
    url.clear();
    std::vector<uint8_t> bytes;
    std::string read;
    switch (readFileUpTo(path, bytes, kMostUrlChars + 2, read)) {
        case EFileRead::kMissing:
            return;
        case EFileRead::kWhole:
            break;
        case EFileRead::kCut:
        case EFileRead::kFailed:
            error = read + " (no world table)";
            return;
    }
    std::string text(bytes.begin(), bytes.end());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (!parseWorldUrl(text, url, error)) {
        url.clear();
        error = path + ": " + error + " (no world table)";
    }
}

// ---- The client --------------------------------------------------------------------------------

struct CWorldClient::SPending {
    std::thread thread;
    std::atomic<bool> done{false};
    SWorldAnswer answer;
};

CWorldClient& CWorldClient::instance() {
    if (!gInstance) gInstance = new CWorldClient;
    return *gInstance;
}

void CWorldClient::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

CWorldClient::CWorldClient() = default;

CWorldClient::~CWorldClient() {
    if (pending_ && pending_->thread.joinable()) pending_->thread.join();
}

bool CWorldClient::ask(EWorldAsk what, int64_t id, std::vector<uint8_t> replay,
                       std::string initials) {
    if (pending_ || url.empty() || what == EWorldAsk::kNone) return false;
    pending_ = std::make_unique<SPending>();
    SPending& pending = *pending_;
    const auto request = [&pending, what](SWorldAnswer answer) {
        pending.answer = std::move(answer);
        pending.answer.asked = what;
        pending.done = true;
    };
#ifndef __EMSCRIPTEN__
    // The page's requests are waits of the page itself (the browser's fetch), never a thread:
    // what a thread runs is called through a pointer, past which the page could not sleep.
    if (!awaitAnswers && worldRequestsThreaded()) {
        pending.thread = std::thread([request, what, id, where = url, replay = std::move(replay),
                                      initials = std::move(initials)] {
            request(askWorldTable(where, what, id, replay, initials));
        });
        return true;
    }
#endif
    request(askWorldTable(url, what, id, replay, initials));
    return true;
}

bool CWorldClient::busy() const {
    return pending_ != nullptr;
}

bool CWorldClient::take(SWorldAnswer& answer) {
    if (!pending_ || !pending_->done) return false;
    if (pending_->thread.joinable()) pending_->thread.join();
    answer = std::move(pending_->answer);
    pending_.reset();
    return true;
}
