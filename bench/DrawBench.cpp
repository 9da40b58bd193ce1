// The drawing primitives at the loads the game puts on them, each reported as a share of the
// 13.0 ms frame budget ("frame_%": percent of one shown picture's time).
//
// Every iteration first restores a busy backdrop (coloured blocks like a maze), since text and
// lines blend with what lies beneath; BM_RestoreBackdrop measures that copy alone so it can be
// taken off the others.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "BudgetShare.h"
#include "platform/Platform.h"
#include "render/Draw.h"
#include "render/Font.h"

namespace {

alignas(64) uint16_t gSurface[kScreenPixels];
alignas(64) uint16_t gBackdrop[kScreenPixels];

void makeBackdrop() {
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const bool wall = ((x >> 3) * 7 + (y >> 3) * 3) % 5 == 0;
            gBackdrop[y * kScreenWidth + x] =
                wall ? static_cast<uint16_t>(((x >> 4) << 11) | ((y >> 2) << 5) | 12) : 0;
        }
}

// Runs `draw` once per iteration over a fresh backdrop and reports the time per iteration as
// a percentage of the frame budget.
template <typename Draw>
void runFrames(benchmark::State& state, Draw draw) {
    makeBackdrop();
    for (auto _ : state) {
        std::memcpy(gSurface, gBackdrop, sizeof gSurface);
        draw();
        benchmark::DoNotOptimize(gSurface);
        benchmark::ClobberMemory();
    }
    addBudgetShare(state);
}

void BM_RestoreBackdrop(benchmark::State& state) {
    runFrames(state, [] {});
}
BENCHMARK(BM_RestoreBackdrop);

// A full screen of 1:1 text, 29 rows of 53 characters (every glyph and some spaces), and the
// pause dialog's panel over it.
void BM_TextScreenAndPanel(benchmark::State& state) {
    constexpr int kRows = 29, kColumns = 53;
    constexpr char kCharset[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789.\":, SCORE LEVEL ";
    std::array<std::array<char, kColumns + 1>, kRows> lines{};
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            lines[row][column] = kCharset[(row * 11 + column) % (sizeof kCharset - 1)];
    runFrames(state, [&lines] {
        for (int row = 0; row < kRows; ++row)
            drawText(lines[row].data(), 1, row * 8, 0xFFFF, gSurface, 256);
        drawPanel(160, 112, 240, 80, kDialogBorder, kDialogFill, gSurface);
    });
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_TextScreenAndPanel);

// A burst of anti-aliased lines of every slope and 4 to 120 pixels long, the kind of load the
// locator arrows, grenades and big letters put on a frame, many times over.
void BM_AntiAliasedLineBurst(benchmark::State& state) {
    struct SLine {
        int32_t x0, y0, x1, y1;
        uint16_t colour;
    };
    static std::array<SLine, 4096> lines;
    const int count = std::min(static_cast<int>(state.range(0)), static_cast<int>(lines.size()));
    uint32_t seed = 12345;  // a fixed little LCG: the same burst on every run
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int32_t>((seed >> 16) % n);
    };
    int64_t pixels = 0;
    for (int i = 0; i < count; ++i) {
        SLine& l = lines[i];
        l.x0 = next(kScreenWidth);
        l.y0 = next(kScreenHeight);
        const int32_t length = 4 + next(117);
        l.x1 = l.x0 + next(2 * length + 1) - length;
        l.y1 = l.y0 + next(2 * length + 1) - length;
        l.colour = static_cast<uint16_t>(next(65536));
        const int32_t dx = std::abs(std::clamp(l.x1, 0, kScreenWidth - 1) - l.x0);
        const int32_t dy = std::abs(std::clamp(l.y1, 0, kScreenHeight - 1) - l.y0);
        pixels += std::max(dx, dy) + 1;
    }
    runFrames(state, [count] {
        for (int i = 0; i < count; ++i) {
            const SLine& l = lines[i];
            drawLineAA(l.x0, l.y0, l.x1, l.y1, l.colour, gSurface);
        }
    });
    state.counters["px_per_line"] = static_cast<double>(pixels) / count;
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AntiAliasedLineBurst)->Arg(64)->Arg(512)->Arg(4096);

}  // namespace
