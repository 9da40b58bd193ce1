#pragma once
// The world table over HTTP:
//   POST /api/scores[?initials=ABC]   a high score's replay (application/octet-stream)
//       201 the entry, when it played back in time (200: the same replay was an entry already)
//       202 {"id", "state": "queued"}, Location: /api/submissions/ID, when it is still waiting
//       400 bad initials, or none where the replay holds no entry of its own
//       409 a replay of another version of the game, or of another maps.dat
//       413 larger than a replay of two hours of play, or saying it is longer
//       422 it is not a replay of one game, or it does not play back (which picture differed)
//       429 this address sent too many lately; 503 too many wait; both with Retry-After
//   GET /api/submissions/ID   {"id", "state": "queued" | "accepted" | "refused", "entry" |
//                             "status" and "error"}
//   GET /api/scores[?period=day|month|all]   {"scores": [{"rank", "initials", "score",
//                             "level", "date", "id"}, ...]}, the best 100
//   GET /api/scores/ID/replay  an entry's replay
//   GET /                      the table as a page; /play/ the browser game, when it is here
// Every answer but the page's is JSON; errors are {"error": "why"}. Any page may ask (CORS).

#include <atomic>
#include <memory>
#include <string>

#include "platform/Replay.h"
#include "server/RateLimiter.h"
#include "server/ScoreStore.h"
#include "server/VerifierPool.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

struct SServerSetup {
    std::string host = "127.0.0.1";
    int port = 8080;
    size_t queueLimit = 1000;
    uint32_t ratePerMinute = 6;
    double answerWithin = 5;
    bool trustProxy = false;
    std::string pageFolder;  // the browser game, served under /play/; empty: none
    SGameIdentity game;      // the game whose replays are taken
};

class CScoreServer {
public:
    CScoreServer(CScoreStore& store, CVerifierPool& verifiers, const SServerSetup& setup);
    ~CScoreServer();
    // Binds the address. False, with a one-line reason.
    bool bind(std::string& error);
    int port() const { return port_; }
    // Takes requests until stop().
    void run();
    void stop();

private:
    void submit(const httplib::Request& request, httplib::Response& response);
    void submission(const httplib::Request& request, httplib::Response& response);
    void scores(const httplib::Request& request, httplib::Response& response);
    void replay(const httplib::Request& request, httplib::Response& response);
    void page(const httplib::Request& request, httplib::Response& response);
    // Where the request comes from, for the rate.
    std::string addressOf(const httplib::Request& request) const;

    CScoreStore& store_;
    CVerifierPool& verifiers_;
    SServerSetup setup_;
    CRateLimiter rate_;
    std::unique_ptr<httplib::Server> http_;
    int port_ = 0;
};
