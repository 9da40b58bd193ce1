#include "render/ContactSheet.h"

#include <cstdint>
#include <vector>

#include "platform/PngWriter.h"
#include "render/ImageBank.h"

namespace {

// The sheet shows the bank by families rather than in index order: a monster's four facings
// side by side, its faction marked by the colour of the stripe at the start of its row.
struct SGroup {
    int first;
    int last;
};

struct SRow {
    uint16_t stripe;
    SGroup groups[3];
};

constexpr uint16_t kNeutral = 0x8410;
// The faction colours are the eye colours of its monsters.
constexpr uint16_t kFactionA = 0xF904;  // red: chicken, scorpion, beaver, L-bug
constexpr uint16_t kFactionB = 0x77E6;  // green: zombie, grim, biter, ghost
constexpr uint16_t kFactionC = 0xFF46;  // yellow: soldier, rocketeer, grenadier, joust
constexpr uint16_t kFactionD = 0xFA1F;  // magenta: lemon shark, wizard, berzerker, eye
constexpr SGroup kNone = {-1, -2};

constexpr SRow kRows[] = {
    {kNeutral, {{0, 3}, {46, 49}, {56, 56}}},      // bullets, the player, the practice target
    {kFactionA, {{34, 37}, {97, 100}, kNone}},     // chicken, scorpion
    {kFactionA, {{57, 60}, {81, 84}, kNone}},      // beaver, L-bug
    {kFactionB, {{50, 53}, {17, 20}, kNone}},      // zombie, grim
    {kFactionB, {{73, 76}, {77, 80}, kNone}},      // biter, jaws open and shut
    {kFactionB, {{101, 104}, kNone, kNone}},       // ghost
    {kFactionC, {{5, 8}, {85, 88}, kNone}},        // soldier, rocketeer
    {kFactionC, {{93, 96}, {13, 16}, kNone}},      // grenadier, joust
    {kFactionD, {{42, 45}, {21, 24}, kNone}},      // lemon shark, wizard
    {kFactionD, {{61, 64}, {9, 12}, kNone}},       // berzerker, eye
    {kNeutral, {{105, 108}, {69, 72}, kNone}},     // spit, tele-bullet
    {kNeutral, {{89, 92}, {38, 41}, kNone}},       // rocket, egg
    {kNeutral, {{25, 27}, {28, 30}, {31, 33}}},    // speed, rapid-fire and plain disks
    {kNeutral, {{109, 111}, {112, 114}, kNone}},   // shield disk, the spare disk
    {kNeutral, {{54, 55}, {115, 116}, {65, 68}}},  // maze tiles, the spare monster
};

// Every image but the title picture appears exactly once.
constexpr bool coversTheBank() {
    for (int index = 0; index < kImageCount; ++index) {
        int seen = 0;
        for (const SRow& row : kRows)
            for (const SGroup& g : row.groups) seen += g.first <= index && index <= g.last;
        if (seen != (index == 4 ? 0 : 1)) return false;
    }
    return true;
}
static_assert(coversTheBank());

constexpr int kScale = 4;
constexpr int kCell = 8 * kScale;
constexpr int kDigitScale = 2;
constexpr int kLabelWidth = 3 * 4 * kDigitScale;  // three digits of 3 + 1 columns
constexpr int kCellWidth = kLabelWidth + 4 + kCell + 10;
constexpr int kGroupGap = 14;
constexpr int kRowHeight = kCell + 12;
constexpr int kMargin = 16;
constexpr int kStripe = 6;
constexpr int kTitleScale = 2;
constexpr int kSceneScale = 2;
constexpr int kSceneTiles = 9;  // rows of the maze scene

constexpr uint16_t kBackground = 0x2124;
constexpr uint16_t kFrame = 0x52AA;
constexpr uint16_t kLabel = 0xCE59;

// A 3 x 5 digit font, one row a nibble, most significant of three bits on the left.
constexpr uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

class CSheet {
public:
    CSheet(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w * h), kBackground) {}

    void fill(int x, int y, int w, int h, uint16_t colour) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (i >= 0 && i < width && j >= 0 && j < height)
                    pixels[static_cast<size_t>(j * width + i)] = colour;
    }

    void image(const SImage& img, int x, int y, int scale) {
        for (int j = 0; j < img.height; ++j)
            for (int i = 0; i < img.width; ++i)
                fill(x + i * scale, y + j * scale, scale, scale, img.pixels[j * img.width + i]);
    }

    // Right-aligned at `right`.
    void number(int value, int right, int y, uint16_t colour) {
        int x = right;
        do {
            x -= 4 * kDigitScale;
            const uint8_t* rows = kDigits[value % 10];
            for (int r = 0; r < 5; ++r)
                for (int c = 0; c < 3; ++c)
                    if (rows[r] >> (2 - c) & 1)
                        fill(x + c * kDigitScale, y + r * kDigitScale, kDigitScale, kDigitScale,
                             colour);
            value /= 10;
        } while (value > 0);
    }

    const int width;
    const int height;
    std::vector<uint16_t> pixels;
};

// One bank image at 4x in a thin frame, its index on the left.
void drawCell(CSheet& sheet, int index, int x, int y) {
    const SImage& img = kImageBank[index];
    const int w = img.width * kScale, h = img.height * kScale;
    const int ix = x + kLabelWidth + 4 + (kCell - w) / 2, iy = y + (kCell - h) / 2;
    sheet.fill(ix - 1, iy - 1, w + 2, h + 2, kFrame);
    sheet.image(img, ix, iy, kScale);
    sheet.number(index, x + kLabelWidth, y + (kCell - 5 * kDigitScale) / 2, kLabel);
}

// A strip of maze at game size: all four wall styles with every sprite standing in the
// corridors, to judge how the art reads at play scale.
void drawScene(CSheet& sheet, int x, int y) {
    constexpr int cols = 40;
    std::vector<uint16_t> scene(static_cast<size_t>(cols * 8 * kSceneTiles * 8), 0);
    auto put = [&](int index, int tx, int ty) {
        const SImage& img = kImageBank[index];
        for (int j = 0; j < img.height; ++j)
            for (int i = 0; i < img.width; ++i)
                scene[static_cast<size_t>((ty * 8 + j) * cols * 8 + tx * 8 + i)] =
                    img.pixels[j * img.width + i];
    };
    constexpr int tiles[4] = {54, 55, 115, 116};
    for (int c = 0; c < cols; ++c) {
        put(tiles[c / 10], c, 0);
        put(tiles[c / 10], c, kSceneTiles - 1);
        if (c % 10 == 0) {
            for (int r = 1; r < kSceneTiles - 1; ++r)
                if (r != 4) put(tiles[c / 10], c, r);
        }
    }
    // Monsters in corridors by faction, the player and pickups in the middle corridor.
    constexpr int sprites[3][16] = {
        {34, 98, 59, 83, 50, 18, 75, 103, 7, 86, 95, 15, 44, 21, 62, 10},
        {48, 56, 25, 28, 31, 109, 112, 39, 105, 70, 91, 41, 96, 9, 79, 24},
        {36, 100, 57, 81, 52, 20, 73, 101, 5, 88, 93, 13, 42, 23, 64, 12},
    };
    for (int r = 0; r < 3; ++r)
        for (int i = 0; i < 16; ++i) put(sprites[r][i], 1 + i / 4 * 10 + i % 4 * 2, 2 + r * 2);
    for (int j = 0; j < kSceneTiles * 8; ++j)
        for (int i = 0; i < cols * 8; ++i)
            sheet.fill(x + i * kSceneScale, y + j * kSceneScale, kSceneScale, kSceneScale,
                       scene[static_cast<size_t>(j * cols * 8 + i)]);
}

}  // namespace

bool writeContactSheet(const std::string& path, std::string& error) {
    constexpr int gridWidth = kStripe + 8 + 9 * kCellWidth + 2 * kGroupGap;
    constexpr int sceneWidth = 320 * kSceneScale;
    constexpr int width = 2 * kMargin + (gridWidth > sceneWidth ? gridWidth : sceneWidth);
    constexpr int rows = static_cast<int>(sizeof kRows / sizeof kRows[0]);
    constexpr int sceneY = kMargin + rows * kRowHeight + kMargin;
    constexpr int titleY = sceneY + kSceneTiles * 8 * kSceneScale + kMargin;
    constexpr int height = titleY + 240 * kTitleScale + kMargin + 10;
    CSheet sheet(width, height);

    for (int r = 0; r < rows; ++r) {
        const int y = kMargin + r * kRowHeight;
        sheet.fill(kMargin, y, kStripe, kCell, kRows[r].stripe);
        int x = kMargin + kStripe + 8;
        for (const SGroup& g : kRows[r].groups) {
            if (g.first > g.last) continue;
            for (int index = g.first; index <= g.last; ++index, x += kCellWidth)
                drawCell(sheet, index, x, y);
            x += kGroupGap;
        }
    }
    drawScene(sheet, kMargin, sceneY);
    sheet.number(4, kMargin + kLabelWidth, titleY, kLabel);
    sheet.image(kImageBank[4], kMargin + kLabelWidth + 4, titleY, kTitleScale);
    return writePng(path, sheet.pixels.data(), width, height, 1, error);
}
