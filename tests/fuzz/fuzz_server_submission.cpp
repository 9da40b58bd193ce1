// What the world server reads from a request before it plays anything: the initials asked for
// and the replay sent (its size, header, identity and totals), and then what it reads back from
// the game (the report). The first byte says whether initials are asked for, the next three are
// them, the rest is the body; the whole input is a report too.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "server/Submission.h"
#include "server/Verifier.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::optional<std::string> initials;
    std::string_view body = input;
    if (size >= 4) {
        if (data[0] & 1) initials = std::string(input.substr(1, 3));
        body = input.substr(4);
    }
    SSubmission submission;
    const SRefusal refused =
        checkSubmission(body, initials, {BOLTFEVER_VERSION, 0x1234}, submission);
    if (!refused && (submission.digest.size() != 64 ||
                     playSeconds(submission.pictures, submission.polls) > kMostPlaySeconds))
        __builtin_trap();
    const SVerdict verdict = verdictOfReport(std::string(input), "ABC");
    if (verdict.accepted && (verdict.score <= 0 || verdict.initials.size() != 3)) __builtin_trap();
    return 0;
}
