#pragma once
// What a run does around the game itself: leave after a number of pictures, dump pictures and
// the mixed sound to files, take a screenshot at the end, record a replay or play one back and
// check it. The platform layer reports every poll, every shown picture and every accepted audio
// write here.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Buttons.h"
#include "platform/Files.h"
#include "platform/GameTape.h"
#include "platform/Replay.h"
#include "platform/WavWriter.h"

struct SSessionOptions {
    uint32_t frameLimit = 0;     // leave after this many shown pictures; 0 = never
    std::string screenshotPath;  // PNG of the last picture, written at the end
    std::string dumpDir;         // every shown picture as a numbered PNG
    std::string audioWavPath;    // everything the audio device accepted
    std::string recordPath;      // replay to write
    bool virtualClock = false;   // headless: the sound is as reproducible as the pictures
    uint16_t startLevel = 0;     // recorded in a replay: --level, 0 for the title screen
    bool playersRun = false;     // recorded in a replay: a player's run, not a demo
};

class CSession {
public:
    static CSession& instance();
    static void resetInstance();

    // Checks every output path before anything is written. False, with a one-line reason.
    static bool checkOutputs(const SSessionOptions& options, std::string& error);
    // Opens the output files. False, with a one-line reason, when one cannot be created.
    bool configure(const SSessionOptions& options, uint32_t seed, std::string& error);
    // The run ends before the game began: the files begun are dropped, older ones kept.
    void abandon();
    // Plays a parsed replay back instead of reading the buttons.
    void startPlayback(const CReplayReader& replay);

    // The settings the game started with: recorded in a replay; taken from one in playback, and
    // then never saved over the player's own.
    void noteSettings(const std::array<uint8_t, 16>& settings) { recorder_.setSettings(settings); }
    const std::optional<std::array<uint8_t, 16>>& replaySettings() const { return replaySettings_; }
    // The high-score table the run found: recorded in a replay; in playback, the recording's.
    void noteScores(const std::vector<uint8_t>& scores) { recorder_.setScores(scores); }
    // The header of the replay played back; null when the run plays none.
    const SReplayHeader* replayHeader() const { return playing_ ? &player_.header() : nullptr; }
    // The replay played back has been asked for a poll it does not hold: it has ended.
    bool replayEnded() const { return replayEnded_; }

    // A game inside the run: the one being recorded for the high scores, or an entry's being
    // watched. Its buttons are the tape's while it plays; liveButtons() are the run's own
    // (the player's, or those of the replay the run plays back).
    CGameTape& tape() { return tape_; }
    const CGameTape& tape() const { return tape_; }
    ButtonMask liveButtons() const { return liveButtons_; }

    ButtonMask filterButtons(ButtonMask live);
    // An interrupt ends the run at a poll that reads no buttons, as a replay ends in playback: the
    // recording stops before it, and what the game shows on its way out is neither recorded nor,
    // in playback, checked.
    ButtonMask interruptedPoll() {
        quit_ = true;
        interrupted_ = true;
        return 0;
    }
    // A picture as the game drew it, then as it is shown (with any mark drawn over it).
    void pictureDrawn(const uint16_t* picture, uint32_t number) { tape_.picture(picture, number); }
    void pictureShown(const uint16_t* picture, uint32_t number);
    void audioWritten(const void* data, int bytes);
    bool quitRequested() const { return quit_; }

    // Writes the screenshot, finishes the replay and the WAV and puts them in place. False when
    // something could not be written (each failure is reported on stderr).
    bool finish(const uint16_t* lastPicture);
    // The process status the session asks for: 3 when a played-back replay did not match, 1 when
    // an output file could not be written, else 0.
    int status() const { return mismatch_ ? 3 : failed_ ? 1 : 0; }

private:
    void mismatch(const std::string& reason);
    // Writes what the recorder has taken so far, followed by its end record. When the disk
    // refuses it, the file goes back to the last complete piece and recording stops there.
    void writeRecording();

    SSessionOptions options_;
    CWavWriter wav_;
    bool quit_ = false;
    bool failed_ = false;
    bool recording_ = false;
    bool playing_ = false;
    bool mismatch_ = false;
    bool interrupted_ = false;
    bool replayEnded_ = false;
    ButtonMask liveButtons_ = 0;
    CGameTape tape_;
    uint64_t soundHash_ = kHashStart;
    static constexpr uint32_t kMaxPollsWithoutPicture = 1000000;
    uint32_t pollsWithoutPicture_ = 0;
    CReplayWriter recorder_;
    CAtomicFile replayFile_;
    std::vector<uint8_t> replayPiece_;
    uint64_t replayBytes_ = 0;     // on the disk, up to the end record
    uint8_t replayEnd_[16]{};      // the end record after them
    size_t replayEndBytes_ = 0;    //
    uint32_t replayPictures_ = 0;  // the last picture checked in what is on the disk
    CReplayReader player_;
    std::optional<std::array<uint8_t, 16>> replaySettings_;
};
