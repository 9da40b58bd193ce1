#include "server/Submission.h"

#include <openssl/evp.h>

#include "platform/Messages.h"

SRefusal checkInitials(const std::optional<std::string>& initials) {
    if (!initials) return {};
    const std::string& text = *initials;
    if (text.size() != 3 || text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != text.npos)
        return {400, "initials are three capitals A-Z, not " + printable(quoted(text))};
    return {};
}

double playSeconds(uint32_t pictures, uint32_t polls) {
    const uint64_t waits = polls > 2ull * pictures ? polls - 2ull * pictures : 0;
    return (static_cast<double>(pictures) * kPictureMicros +
            static_cast<double>(waits) * kWaitPollMicros) /
           1e6;
}

SRefusal checkReplay(std::string_view body, const SGameIdentity& ours, SSubmission& out) {
    if (body.size() > kMostReplayBytes)
        return {413, "a replay of two hours of play takes at most " +
                         std::to_string(kMostReplayBytes) + " bytes; this one has " +
                         std::to_string(body.size())};
    CReplayReader replay;
    std::string error;
    if (!replay.parse(reinterpret_cast<const uint8_t*>(body.data()), body.size(), error))
        return {422, error};
    const SReplayHeader& header = replay.header();
    if (header.version < 4)
        return {409, "a replay of replay format " + std::to_string(header.version) +
                         ", from an older version of the game; this server plays Bolt Fever " +
                         ours.version};
    if (header.game.version != ours.version)
        return {409, "a replay of Bolt Fever " + printable(header.game.version) +
                         "; this server plays Bolt Fever " + ours.version};
    if (header.game.maps != ours.maps)
        return {409, "a replay of other levels (another maps.dat) than this server's"};
    if (header.gameStart.empty() || header.startLevel < 1)
        return {422, "not the replay of one game from its start (a high score's replay is)"};
    if (playSeconds(replay.totalPictures(), replay.totalPolls()) > kMostPlaySeconds)
        return {413, "a replay of more than two hours of play"};
    out.pictures = replay.totalPictures();
    out.polls = replay.totalPolls();
    out.digest = sha256Hex(body);
    return {};
}

SRefusal checkSubmission(std::string_view body, const std::optional<std::string>& initials,
                         const SGameIdentity& ours, SSubmission& out) {
    if (SRefusal refused = checkInitials(initials)) return refused;
    if (SRefusal refused = checkReplay(body, ours, out)) return refused;
    out.initials = initials.value_or("");
    return {};
}

std::string sha256Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1)
        return {};
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}
