#include "render/KeyHints.h"

#include <cstring>
#include <string_view>

#include "platform/Controls.h"
#include "platform/KeyMap.h"
#include "render/Draw.h"
#include "render/Font.h"

namespace {

SHintScene gScene;

constexpr uint16_t kHintColour = 0x9FFF;  // pale cyan: the window's, not the game's
constexpr uint16_t kStrip = 0x0000;
constexpr int32_t kStripShift = 2;  // the picture under a line kept at a quarter
constexpr uint16_t kScale = 256;
constexpr int32_t kCentreX = 160;

// Where the title's lines go: above the tutorial's help line (it is centred on 141, the box
// begins below it), and in the bottom row under "PRESS "START"", left of the version.
constexpr int32_t kTitleHelpHintY = 130;
constexpr int32_t kTitleStartHintY = 235;
constexpr int kTitleStartHintChars = 42;
// Once there are high scores the bottom row begins with the way to them ("SELECT": HIGH SCORES,
// 21 letters from x 2): SELECT's keys and START's take the room between that and the version,
// short, and F1's goes up, right of "PRESS "START"" (which ends at x 238).
constexpr int32_t kBesideScoresX = 209;
constexpr int kBesideScoresChars = 26;
constexpr int32_t kPageHintY = 224;
constexpr int32_t kPageHintRight = 319;  // the strip's right edge
// The menus' second line, under the first.
constexpr int32_t kLineSpacing = 9;

// A line of at most `limit` characters, built in place; from the first part that does not fit
// on, nothing more is added.
class CLine {
public:
    // `brief`: keys by their short names, for a line that does not fit with the whole ones.
    CLine(char* text, int limit, bool brief = false) : text_(text), limit_(limit), brief_(brief) {
        text_[0] = '\0';
    }
    CLine& operator<<(std::string_view part) {
        if (!fits_ || length_ + static_cast<int>(part.size()) > limit_) {
            fits_ = false;
            return *this;
        }
        for (const char c : part)
            text_[length_++] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        text_[length_] = '\0';
        return *this;
    }
    bool fits() const { return fits_; }
    bool brief() const { return brief_; }
    // Ends the line with `last`, whatever did not fit before it (room was kept for it).
    void end(std::string_view last) {
        while (length_ > 0 && text_[length_ - 1] == ' ') --length_;
        fits_ = true;
        limit_ += static_cast<int>(last.size()) + 3;
        *this << "   " << last;
    }

private:
    char* text_;
    int limit_;
    int length_ = 0;
    bool fits_ = true;
    bool brief_ = false;
};

// The first `most` keys of a button, parted by `join`: "ESCAPE/RETURN".
void addKeys(CLine& line, EButton button, int most, std::string_view join) {
    const uint8_t* keys = CControls::instance().keys[button];
    if (keys[0] == 0) {
        line << "NO KEY";
        return;
    }
    for (int i = 0; i < most && i < CControls::kMaxKeysPerAction && keys[i] != 0; ++i) {
        if (i > 0) line << join;
        line << (line.brief() ? shortKeyName(keys[i]) : keyName(keys[i]));
    }
}

// Two buttons' first keys: "UP/DOWN".
void addPair(CLine& line, EButton first, EButton second) {
    addKeys(line, first, 1, "");
    line << "/";
    addKeys(line, second, 1, "");
}

// START's keys, or the controller's button.
void addStart(CLine& line, bool pad, int most, std::string_view join) {
    if (pad)
        line << "START";
    else
        addKeys(line, kButtonStart, most, join);
}

// The four directions: "ARROWS OR W A S D", by the first and then the second key of each.
void addMoveKeys(CLine& line) {
    const CControls& controls = CControls::instance();
    constexpr EButton kWays[4] = {kButtonUp, kButtonLeft, kButtonDown, kButtonRight};
    constexpr uint8_t kArrows[4] = {kKeyUp, kKeyLeft, kKeyDown, kKeyRight};
    bool any = false;
    for (int i = 0; i < 2; ++i) {
        bool whole = true, arrows = true;
        for (int w = 0; w < 4; ++w) {
            whole &= controls.keys[kWays[w]][i] != 0;
            arrows &= controls.keys[kWays[w]][i] == kArrows[w];
        }
        if (!whole) continue;
        if (any) line << " OR ";
        any = true;
        if (arrows) {
            line << "ARROWS";
            continue;
        }
        for (int w = 0; w < 4; ++w) {
            if (w > 0) line << " ";
            line << keyName(controls.keys[kWays[w]][i]);
        }
    }
    if (!any) line << "SEE F1";
}

// The handheld's joystick: the keys of the four directions, or the controller's.
void addJoystick(CLine& line, bool pad) {
    line << "JOYSTICK: ";
    if (pad)
        line << "D-PAD OR LEFT STICK";
    else
        addMoveKeys(line);
}

// Builds a line with up to `most` keys a button, or fewer when it would not fit, and then with
// their short names; `last` (the controls page's key) ends it always.
template <class TBuild>
void build(char* text, int limit, std::string_view last, TBuild how) {
    const int room = last.empty() ? limit : limit - static_cast<int>(last.size()) - 3;
    for (int most = CControls::kMaxKeysPerAction; most >= 0; --most) {
        CLine line(text, room, most == 0);
        how(line, most == 0 ? 1 : most);
        if (!line.fits() && most > 0) continue;
        if (!last.empty()) line.end(last);
        return;
    }
}

// "START: ESCAPE/RETURN   F1: CONTROLS", where the game says START without quotes.
void buildStartLine(char* text, bool pad, std::string_view page) {
    build(text, kHintChars, page, [&](CLine& line, int most) {
        line << "START: ";
        addStart(line, pad, most > 2 ? 2 : most, "/");
    });
}

}  // namespace

void setHintScene(const SHintScene& scene) {
    gScene = scene;
}

SHintScene takeHintScene() {
    const SHintScene scene = gScene;
    gScene = SHintScene{};
    return scene;
}

int hintLines(const SHintScene& scene, bool pad, SHintLine lines[kMostHintLines]) {
    const std::string_view page = pad ? "Y: CONTROLS" : "F1: CONTROLS";
    for (int i = 0; i < kMostHintLines; ++i) lines[i].x = kCentreX;
    int count = 0;
    switch (scene.what) {
        case EHintScene::kNone:
            return 0;
        case EHintScene::kTitle: {
            const int32_t line = scene.helpLine;
            if (line == 1 || line == 2 || line == 8) {
                lines[count].y = kTitleHelpHintY;
                build(lines[count++].text, kHintChars, "", [&](CLine& text, int most) {
                    if (line == 1) {
                        addJoystick(text, pad);
                    } else if (line == 2) {
                        text << "\"A\" BUTTON: ";
                        if (pad)
                            text << "A";
                        else
                            addKeys(text, kButtonA, most, ", ");
                    } else {
                        text << "\"START\": ";
                        addStart(text, pad, most, ", ");
                    }
                });
            }
            SHintLine& start = lines[count++];
            start.y = kTitleStartHintY;
            if (scene.besideScores) {
                start.x = kBesideScoresX;
                build(start.text, kBesideScoresChars, "", [&](CLine& text, int most) {
                    text << "SELECT: ";
                    if (pad)
                        text << "BACK";
                    else
                        addKeys(text, kButtonSelect, most > 2 ? 2 : most, "/");
                    // START's keys whole, or not at all.
                    char keys[kHintChars + 1];
                    CLine part(keys, kHintChars, text.brief());
                    part << (text.brief() ? "  START: " : "   START: ");
                    addStart(part, pad, most > 2 ? 2 : most, "/");
                    text << keys;
                });
                SHintLine& controls = lines[count++];
                controls.y = kPageHintY;
                CLine(controls.text, kHintChars) << page;
                controls.x =
                    kPageHintRight - static_cast<int32_t>(std::strlen(controls.text)) * 3 - 3;
                return count;
            }
            build(start.text, kTitleStartHintChars, page, [&](CLine& text, int most) {
                text << "\"START\": ";
                addStart(text, pad, most > 2 ? 2 : most, "/");
            });
            return count;
        }
        case EHintScene::kMenu:
            lines[0].y = scene.y;
            build(lines[0].text, kHintChars, page, [&](CLine& text, int most) {
                if (pad) {
                    text << "D-PAD: MOVE   START: CHOOSE";
                    return;
                }
                addPair(text, kButtonUp, kButtonDown);
                text << ": MOVE   ";
                addStart(text, pad, most > 2 ? 2 : most, "/");
                text << ": CHOOSE";
            });
            if (!scene.leftRight) return 1;
            lines[1].y = scene.y + kLineSpacing;
            build(lines[1].text, kHintChars, "", [&](CLine& text, int) {
                if (pad) {
                    text << "D-PAD LEFT/RIGHT: CHANGE";
                    return;
                }
                addPair(text, kButtonLeft, kButtonRight);
                text << ": CHANGE";
            });
            return 2;
        case EHintScene::kLevelComplete:
            lines[0].y = scene.y;
            buildStartLine(lines[0].text, pad, page);
            return 1;
        case EHintScene::kInitials:
            lines[0].y = scene.y;
            build(lines[0].text, kHintChars, "", [&](CLine& text, int) { addJoystick(text, pad); });
            lines[1].y = scene.y + kLineSpacing;
            buildStartLine(lines[1].text, pad, page);
            return 2;
        case EHintScene::kScores:
            lines[0].y = scene.y;
            build(lines[0].text, kHintChars, page, [&](CLine& text, int most) {
                if (pad)
                    text << "A";
                else
                    addKeys(text, kButtonA, most > 2 ? 2 : most, "/");
                text << ": WATCH   ";
                addStart(text, pad, most > 2 ? 2 : most, "/");
                text << ": BACK";
            });
            if (!scene.world) return 1;
            lines[1].y = scene.y + kLineSpacing;
            build(lines[1].text, kHintChars, "", [&](CLine& text, int most) {
                if (pad)
                    text << "X";
                else
                    addKeys(text, kButtonX, most > 2 ? 2 : most, "/");
                text << ": SEND   ";
                if (pad)
                    text << "D-PAD LEFT/RIGHT";
                else
                    addPair(text, kButtonLeft, kButtonRight);
                text << ": LOCAL/WORLD";
            });
            return 2;
    }
    return 0;
}

void drawHints(const SHintScene& scene, bool pad, uint16_t* picture) {
    SHintLine lines[kMostHintLines];
    const int count = hintLines(scene, pad, lines);
    for (int i = 0; i < count; ++i) {
        const SHintLine& line = lines[i];
        const int32_t width = static_cast<int32_t>(std::strlen(line.text)) * textAdvance(kScale);
        fillRectBlendCentred(line.x, line.y, width + 6, 9, kStrip, kStripShift, picture);
        drawWindowTextCentred(line.text, line.x, line.y, kHintColour, picture, kScale);
    }
}
