#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every numeric option at both ends of its range and one past each: the ends are taken, the
// values past them refused with the range in the message.
TEST(CommandLine, NumericOptionsTakeTheirWholeRangeAndNothingPastIt) {
    using Get = int64_t (*)(const SOptions&);
    const Get scale = [](const SOptions& o) -> int64_t { return o.scale; };
    const Get frames = [](const SOptions& o) -> int64_t { return o.frames; };
    const Get level = [](const SOptions& o) -> int64_t { return o.level; };
    const Get seed = [](const SOptions& o) -> int64_t { return o.seed.value_or(-1); };
    const struct {
        const char* option;
        const char* value;
        Get get;
        int64_t taken;  // -1: refused
    } cases[] = {
        {"--scale", "0", scale, -1},
        {"--scale", "1", scale, 1},
        {"--scale", "16", scale, 16},
        {"--scale", "17", scale, -1},
        {"--frames", "0", frames, -1},
        {"--frames", "1", frames, 1},
        {"--frames", "4294967295", frames, 4294967295},
        {"--frames", "4294967296", frames, -1},
        {"--level", "0", level, -1},
        {"--level", "1", level, 1},
        {"--level", "999", level, 999},
        {"--level", "1000", level, -1},
        {"--seed", "-1", seed, -1},
        {"--seed", "0", seed, 0},
        {"--seed", "4294967295", seed, 4294967295},
        {"--seed", "4294967296", seed, -1},
    };
    for (const auto& c : cases) {
        const char* argv[] = {"boltfever", c.option, c.value};
        SOptions options;
        std::string message;
        const ECommand command = parseCommandLine(3, argv, options, message);
        const std::string what = std::string(c.option) + " " + c.value;
        if (c.taken == -1) {
            EXPECT_EQ(command, ECommand::kError) << what;
            EXPECT_NE(message.find("needs a whole number from"), std::string::npos) << what;
        } else {
            EXPECT_EQ(command, ECommand::kPlay) << what << ": " << message;
            EXPECT_EQ(c.get(options), c.taken) << what;
        }
    }
}

}  // namespace
