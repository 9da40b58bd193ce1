#pragma once
// The PC edition's options. With none the game behaves exactly as on the handheld.

#include <cstdint>
#include <optional>
#include <string>

// The highest level --level offers: the levels repeat their mazes, ever faster, long before.
constexpr int32_t kMaxStartLevel = 999;

struct SOptions {
    bool headless = false;         // no window, no sound card, virtual clock
    bool autoplay = false;         // the game plays itself
    bool mute = false;             // play without a sound card
    bool fullscreen = false;       // start on the whole desktop
    bool scores = false;           // print the high scores and exit
    int scale = 3;                 // window size in multiples of 320 x 240
    uint32_t frames = 0;           // leave after this many shown pictures; 0 = play on
    std::optional<uint32_t> seed;  // random seed; the calendar time when absent
    int32_t level = 0;             // start a game at this level (1-based); 0 = as usual
    std::string report;            // JSON summary of the run, written at the end
    std::string screenshot;        // PNG of the last picture
    std::string inputScript;       // buttons for a headless run
    std::string record;            // replay file to write
    std::string replay;            // replay file to play back
    std::string dumpFrames;        // folder for every shown picture
    std::string audioWav;          // WAV of everything the audio device took
    std::string contactSheet;      // PNG of the whole image bank, then exit
    std::string testCard;          // PNG of the drawing test card, then exit
    std::string world;             // the world table to name and keep; "off" forgets it
};

enum class ECommand {
    kPlay,   // run the game with the options
    kDone,   // the message (help, version) is printed and the program ends with status 0
    kError,  // the message is a one-line reason; status 2
};

ECommand parseCommandLine(int argc, const char* const* argv, SOptions& options,
                          std::string& message);

// The --help text: usage, options and controls.
const char* helpText();
