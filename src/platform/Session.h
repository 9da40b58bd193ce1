#pragma once
// What a run does around the game itself: leave after a number of pictures, dump pictures and
// the mixed sound to files, take a screenshot at the end. The platform layer reports every poll,
// every shown picture and every accepted audio write here.

#include <cstdint>
#include <string>

#include "platform/Buttons.h"
#include "platform/WavWriter.h"

struct SSessionOptions {
    uint32_t frameLimit = 0;     // leave after this many shown pictures; 0 = never
    std::string screenshotPath;  // PNG of the last picture, written at the end
    std::string dumpDir;         // every shown picture as a numbered PNG
    std::string audioWavPath;    // everything the audio device accepted
};

class CSession {
public:
    static CSession& instance();

    // Opens the output files. False, with a one-line reason, when one cannot be created.
    bool configure(const SSessionOptions& options, std::string& error);

    ButtonMask filterButtons(ButtonMask live);
    void pictureShown(const uint16_t* picture, uint32_t number);
    void audioWritten(const void* data, int bytes);
    bool quitRequested() const { return quit_; }

    // Writes the screenshot and closes the files. False when something could not be written.
    bool finish(const uint16_t* lastPicture);

private:
    SSessionOptions options_;
    CWavWriter wav_;
    bool quit_ = false;
    bool failed_ = false;
};
