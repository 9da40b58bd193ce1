#include "shell/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

bool parseNumber(const char* text, uint64_t max, uint64_t& out) {
    // Digits only: strtoull would also take leading spaces and a sign.
    if (!text || *text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || value > max) return false;
    out = value;
    return true;
}

}  // namespace

const char* helpText() {
    return "Usage: boltfever [options]\n"
           "\n"
           "Options:\n"
           "  --help               show this text and exit\n"
           "  --version            show the version and exit\n"
           "  --fullscreen         start fullscreen (Alt+Enter or F11 toggles)\n"
           "  --scale N            window size in multiples of 320x240 (1-16, default 3; at\n"
           "                       most what fits the screen)\n"
           "  --mute               play without a sound card\n"
           "  --seed N             random seed (default: the time of day)\n"
           "  --headless           no window and no sound card; the clock runs as fast as the\n"
           "                       computer allows and every run with the same seed and input\n"
           "                       is the same\n"
           "  --frames N           leave after N shown pictures (settings are saved)\n"
           "  --autoplay           the game plays itself: a demo to watch, or a soak run\n"
           "  --level N            start a game at level N (1-999), for practice\n"
           "  --report FILE        write a JSON summary of the run when leaving\n"
           "  --screenshot FILE    write the last picture as PNG when leaving\n"
           "  --input FILE         buttons, keys and the mouse for a --headless run, from an\n"
           "                       input script\n"
           "  --record FILE        record a replay of this run\n"
           "  --replay FILE        play a replay back and check it (status 3 on a mismatch)\n"
           "  --dump-frames DIR    write every shown picture as a numbered PNG\n"
           "  --audio-wav FILE     write the sound the game played as WAV (with --headless)\n"
           "  --contact-sheet FILE  write every image of the game as one PNG and exit\n"
           "  --test-card FILE     write the drawing test card as PNG and exit\n"
           "  --scores             print the high scores and their replay files, then exit\n"
           "  --world URL          the world high-score table to send to and show (kept for\n"
           "                       the next runs; --world off forgets it)\n"
           "\n"
           "Keyboard:\n"
           "  Arrows or WASD       move (two arrows: diagonal; keypad 7 9 1 3 too)\n"
           "  Space, Z, Left Ctrl  fire (A)\n"
           "  X                    show where you are (locator)\n"
           "  Enter or Escape      START: menu\n"
           "  Tab                  SELECT: next menu item; on the title, the high scores\n"
           "  = and -              volume up and down (keypad + and - too)\n"
           "  F1                   the controls page: master volume, keys to change\n"
           "  F11 or Alt+Enter     fullscreen\n"
           "  F12                  screenshot (saved in ~/.local/share/boltfever)\n"
           "\n"
           "Game controller:\n"
           "  D-pad or left stick  move\n"
           "  South button (A)     fire\n"
           "  West button (X)      show where you are (locator)\n"
           "  Start                START: menu\n"
           "  Back                 SELECT: next menu item\n"
           "  Shoulders            volume down (left) and up (right)\n"
           "  Y                    the controls page (B goes back there)\n"
           "\n"
           "Mouse: in the menus and on the controls page, point at an item and click.\n"
           "The keys are kept in boltfever-keys.txt beside the settings.\n";
}

ECommand parseCommandLine(int argc, const char* const* argv, SOptions& options,
                          std::string& message) {
    std::vector<std::string_view> seen;  // the options so far, their values left out
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        // An option given twice is a mistake, whichever of the two was meant.
        if (std::find(seen.begin(), seen.end(), arg) != seen.end()) {
            message = std::string("option ") + arg + " given twice";
            return ECommand::kError;
        }
        seen.push_back(arg);
        // Options that take a value read it from the next argument.
        auto value = [&](const char*& out) -> bool {
            if (i + 1 >= argc) {
                message = std::string("option ") + arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        auto text = [&](std::string& out) -> bool {
            const char* v = nullptr;
            if (!value(v)) return false;
            if (!*v) {
                message = std::string("option ") + arg + " needs a non-empty value";
                return false;
            }
            out = v;
            return true;
        };
        auto number = [&](uint64_t min, uint64_t max, uint64_t& out) -> bool {
            const char* v = nullptr;
            if (!value(v)) return false;
            if (!parseNumber(v, max, out) || out < min) {
                message = std::string("option ") + arg + " needs a whole number from " +
                          std::to_string(min) + " to " + std::to_string(max) + ", not '" + v + "'";
                return false;
            }
            return true;
        };
        uint64_t n = 0;
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            message = helpText();
            return ECommand::kDone;
        } else if (!std::strcmp(arg, "--version")) {
            message = "Bolt Fever " BOLTFEVER_VERSION "\n";
            return ECommand::kDone;
        } else if (!std::strcmp(arg, "--headless")) {
            options.headless = true;
        } else if (!std::strcmp(arg, "--autoplay")) {
            options.autoplay = true;
        } else if (!std::strcmp(arg, "--mute")) {
            options.mute = true;
        } else if (!std::strcmp(arg, "--scores")) {
            options.scores = true;
        } else if (!std::strcmp(arg, "--fullscreen")) {
            options.fullscreen = true;
        } else if (!std::strcmp(arg, "--scale")) {
            if (!number(1, 16, n)) return ECommand::kError;
            options.scale = static_cast<int>(n);
        } else if (!std::strcmp(arg, "--frames")) {
            if (!number(1, UINT32_MAX, n)) return ECommand::kError;
            options.frames = static_cast<uint32_t>(n);
        } else if (!std::strcmp(arg, "--level")) {
            if (!number(1, kMaxStartLevel, n)) return ECommand::kError;
            options.level = static_cast<int32_t>(n);
        } else if (!std::strcmp(arg, "--report")) {
            if (!text(options.report)) return ECommand::kError;
        } else if (!std::strcmp(arg, "--seed")) {
            if (!number(0, UINT32_MAX, n)) return ECommand::kError;
            options.seed = static_cast<uint32_t>(n);
        } else if (!std::strcmp(arg, "--screenshot")) {
            if (!text(options.screenshot)) return ECommand::kError;
        } else if (!std::strcmp(arg, "--input")) {
            if (!text(options.inputScript)) return ECommand::kError;
        } else if (!std::strcmp(arg, "--record")) {
            if (!text(options.record)) return ECommand::kError;
        } else if (!std::strcmp(arg, "--replay")) {
            if (!text(options.replay)) return ECommand::kError;
        } else if (!std::strcmp(arg, "--dump-frames")) {
            if (!text(options.dumpFrames)) return ECommand::kError;
        } else if (!std::strcmp(arg, "--audio-wav")) {
            if (!text(options.audioWav)) return ECommand::kError;
        } else if (!std::strcmp(arg, "--contact-sheet")) {
            if (!text(options.contactSheet)) return ECommand::kError;
        } else if (!std::strcmp(arg, "--world")) {
            if (!text(options.world)) return ECommand::kError;
        } else if (!std::strcmp(arg, "--test-card")) {
            if (!text(options.testCard)) return ECommand::kError;
        } else {
            message = std::string("unknown option '") + arg + "' (try --help)";
            return ECommand::kError;
        }
    }
    if (!options.inputScript.empty() && !options.headless) {
        message = "--input drives a --headless run; add --headless";
        return ECommand::kError;
    }
    if (!options.replay.empty() && (!options.inputScript.empty() || !options.record.empty() ||
                                    options.seed || options.autoplay || options.level)) {
        message =
            "--replay takes its buttons, seed and level from the replay; drop --input, --record, "
            "--seed, --level and --autoplay";
        return ECommand::kError;
    }
    if (!options.audioWav.empty() && !options.headless) {
        message = "--audio-wav records a --headless run; add --headless";
        return ECommand::kError;
    }
    return ECommand::kPlay;
}
