#include "server/ServerCommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>

#include "platform/Messages.h"

namespace {

bool wholeNumber(const std::string& text, int64_t low, int64_t high, int64_t& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != text.npos || text.size() > 12)
        return false;
    out = std::strtoll(text.c_str(), nullptr, 10);
    return out >= low && out <= high;
}

bool seconds(const std::string& text, double high, double& out) {
    if (text.empty() || text.find_first_not_of("0123456789.") != text.npos) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(out) && out >= 0 && out <= high;
}

}  // namespace

const char* serverHelpText() {
    return "Usage: boltfever-server [OPTION]...\n"
           "The Bolt Fever world high-score table: every entry is kept only once the game has\n"
           "played its replay back to its end, picture for picture.\n"
           "\n"
           "  --listen HOST:PORT      where to take requests (default 127.0.0.1:8080; port 0:\n"
           "                          any free one, said on stdout)\n"
           "  --database FILE         the SQLite file of the table (default boltfever-world.db)\n"
           "  --postgres URL          keep the table in PostgreSQL instead, shared by every\n"
           "                          server given the same URL\n"
           "  --verifiers N           replays played at once (default: one per core; 0: none,\n"
           "                          others sharing the PostgreSQL table play them)\n"
           "  --game PATH             the game that plays the replays (default: boltfever\n"
           "                          beside this program)\n"
           "  --page DIR              the browser game's page, served under /play/ (default:\n"
           "                          build/web of a build tree, when there)\n"
           "  --queue N               most submissions waiting to be played (default 1000)\n"
           "  --rate N                submissions an address may send a minute (default 6;\n"
           "                          0: no limit)\n"
           "  --answer-within SECONDS how long a submission waits for its verdict before the\n"
           "                          answer says where to ask (default 5)\n"
           "  --trust-proxy           behind a reverse proxy on this machine: the address is\n"
           "                          the last one its X-Forwarded-For names\n"
           "  --verify-seconds S      most time for playing one replay (default: from its\n"
           "                          length, ten minutes for two hours of play)\n"
           "  --verify-memory MB      most memory for playing one replay (default 512; 0: none)\n"
           "  --help, --version\n";
}

EServerCommand parseServerCommandLine(int argc, const char* const* argv, SServerOptions& options,
                                      std::string& message) {
    std::set<std::string> seen;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            message = serverHelpText();
            return EServerCommand::kDone;
        }
        if (option == "--version") {
            message = "Bolt Fever world server " BOLTFEVER_VERSION "\n";
            return EServerCommand::kDone;
        }
        const auto fail = [&](const std::string& why) {
            message = option + ": " + why + " (see --help)";
            return EServerCommand::kError;
        };
        if (!seen.insert(option).second) return fail("given twice");
        if (option == "--trust-proxy") {
            options.trustProxy = true;
            continue;
        }
        static const std::set<std::string> kWithValue = {
            "--listen",        "--database",       "--postgres",     "--verifiers",
            "--game",          "--page",           "--queue",        "--rate",
            "--answer-within", "--verify-seconds", "--verify-memory"};
        if (!kWithValue.count(option)) return fail("not an option of this program");
        if (i + 1 >= argc) return fail("needs a value");
        const std::string value = argv[++i];
        int64_t number = 0;
        if (option == "--listen") {
            const size_t colon = value.rfind(':');
            if (colon == value.npos || colon == 0 ||
                !wholeNumber(value.substr(colon + 1), 0, 65535, number))
                return fail("takes HOST:PORT, not " + quoted(value));
            options.host = value.substr(0, colon);
            options.port = static_cast<int>(number);
        } else if (option == "--database" || option == "--postgres" || option == "--game" ||
                   option == "--page") {
            if (value.empty()) return fail("needs a value");
            (option == "--database"   ? options.database
             : option == "--postgres" ? options.postgres
             : option == "--game"     ? options.game
                                      : options.page) = value;
        } else if (option == "--verifiers" || option == "--queue" || option == "--rate" ||
                   option == "--verify-memory") {
            if (!wholeNumber(value, option == "--queue" ? 1 : 0, 1000000, number))
                return fail("takes a whole number, not " + quoted(value));
            if (option == "--verifiers") options.verifiers = static_cast<int>(number);
            if (option == "--queue") options.queue = static_cast<uint32_t>(number);
            if (option == "--rate") options.rate = static_cast<uint32_t>(number);
            if (option == "--verify-memory") options.verifyMemoryMb = number;
        } else {
            double& target =
                option == "--answer-within" ? options.answerWithin : options.verifySeconds;
            if (!seconds(value, 86400, target)) return fail("takes seconds, not " + quoted(value));
        }
    }
    return EServerCommand::kServe;
}
