#include "render/ScoresTable.h"

#include <cstdio>
#include <cstring>

#include "render/Draw.h"
#include "render/Font.h"
#include "state/HighScores.h"

namespace {

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kHeading = 0x7FEF;
constexpr int32_t kScoreRight = 150;  // scores end here, right-aligned

}  // namespace

void drawScoresTable(const CHighScores& scores, int32_t highlighted, uint16_t highlight, bool dates,
                     uint16_t* surface, const char* title) {
    drawPanel(160, 116, 296, 184, kDialogBorder, kDialogFill, surface);
    static_assert(kScoresTableBottom == 116 + 184 / 2);
    drawTextCentredBold(title, 160, 36, kWhite, surface, 512);
    const int32_t heading = scoresRowTop(-1);
    drawText("NAME", 54, heading, kHeading, surface, 256);
    drawText("SCORE", kScoreRight - 5 * 6, heading, kHeading, surface, 256);
    drawText("LEVEL", 164, heading, kHeading, surface, 256);
    if (dates) drawText("DATE", 214, heading, kHeading, surface, 256);
    char text[16];
    for (size_t i = 0; i < scores.entries.size(); ++i) {
        const SHighScore& e = scores.entries[i];
        const int32_t y = scoresRowTop(static_cast<int32_t>(i));
        const uint16_t colour = static_cast<int32_t>(i) == highlighted ? highlight : kWhite;
        std::snprintf(text, sizeof text, "%2d.", static_cast<int>(i + 1));
        drawText(text, 24, y, colour, surface, 256);
        drawText(e.initials, 54, y, colour, surface, 256);
        CHighScores::scoreText(e.score, text);
        drawText(text, kScoreRight - 6 * static_cast<int32_t>(std::strlen(text)), y, colour,
                 surface, 256);
        std::snprintf(text, sizeof text, "%02d", static_cast<int>(e.level));
        drawText(text, 170, y, colour, surface, 256);
        if (!dates) continue;
        // The font has no dash: the date's parts are dotted apart.
        std::snprintf(text, sizeof text, "%.4s.%.2s.%.2s", e.date, e.date + 5, e.date + 8);
        drawText(text, 214, y, colour, surface, 256);
    }
}
