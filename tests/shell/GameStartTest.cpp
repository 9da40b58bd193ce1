#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "shell/GameStart.h"

namespace {

auto fieldsOf(const SGameStart& s) {
    return std::tuple(std::vector<int32_t>(std::begin(s.random.ring), std::end(s.random.ring)),
                      s.random.index, s.frameCounter, s.bestLevel, s.startLevelChoice, s.menuRepeat,
                      s.menuOpen, s.locatorScale, s.locatorScaleStep, s.playerUpdateParity,
                      s.flash.level, s.flash.step, s.gameOverScale, s.gameOverStep, s.drawIteration,
                      s.startLatched);
}

// A game's start goes through its replay's block and back as it was, every field of it (none at
// its default, a START held over included); a block no game could give is refused, such as one
// whose start level is above the best level it gives itself.
TEST(GameStart, TheBlockKeepsEveryFieldAndRefusesWhatNoGameGives) {
    SGameStart start;
    for (int32_t i = 0; i < 34; ++i) start.random.ring[i] = i * 7919 - 100000;
    start.random.index = 33;
    start = {start.random, 0xFFFFFFF0u, 8,        8,   1 << 30, true,  512,
             -4,           1,           {31, -1}, 600, -8,      false, true};
    SGameStart back;
    ASSERT_TRUE(decodeGameStart(encodeGameStart(start), back));
    EXPECT_EQ(fieldsOf(back), fieldsOf(start));

    const struct {
        const char* what;
        std::function<void(SGameStart&)> change;
    } refused[] = {
        {"a start level above its best level", [](SGameStart& s) { s.bestLevel = 7; }},
        {"a best level past the last start level", [](SGameStart& s) { s.bestLevel = 9; }},
        {"no place in the generator's ring", [](SGameStart& s) { s.random.index = 34; }},
        {"the GAME OVER letters too small", [](SGameStart& s) { s.gameOverScale = 599; }},
    };
    for (const auto& r : refused) {
        SGameStart wrong = start;
        r.change(wrong);
        EXPECT_FALSE(decodeGameStart(encodeGameStart(wrong), back)) << r.what;
    }
    std::vector<uint8_t> block = encodeGameStart(start);
    block.pop_back();
    EXPECT_FALSE(decodeGameStart(block, back));
}

}  // namespace
