#pragma once
// One game inside the run on a tape of its own: recorded in memory from its first poll (a high
// score keeps it as the entry's replay), or played back from such a replay while the run goes
// on around it (watching an entry). Its pictures count from its own start, as they do when its
// replay is played on its own, and they are hashed as the game drew them, before any mark is
// put on the picture shown.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Buttons.h"
#include "platform/Replay.h"

class CGameTape {
public:
    enum class EState : uint8_t {
        kIdle,
        kRecording,
        kRecorded,  // recording stopped; file() gives the replay
        kPlaying,
        kEnded,     // played to its end
        kMismatch,  // the game went otherwise than the recording: problem() says where
    };
    // Pictures a game's replay shows before its first poll when it plays on its own: the clear
    // of its start and the level start's.
    static constexpr uint32_t kSetupPictures = 2;
    // What a game's recording may grow to in memory: reserved at the first game, so that the
    // game loop allocates nothing while it records; a game longer than that (hours of play) is
    // recorded up to the picture check where it filled it, a shorter but whole replay.
    static constexpr size_t kReservedBytes = 1u << 20;
    static constexpr size_t kMostBytes = kMaxReplayBytes / 2;

    // Records a game whose first poll comes next, kSetupPictures pictures after its start began.
    void record(const SReplayHeader& header, uint32_t picturesShown);
    // The game is over: nothing more is recorded, and file() gives its replay.
    void stop();
    std::vector<uint8_t> file();

    // Plays a replay back from now on: the start of its game shows the next picture.
    void play(const CReplayReader& replay, uint32_t picturesShown);
    // Back to idle, whatever the tape did.
    void close() { state_ = EState::kIdle; }

    // The buttons of one poll: recorded, or replaced by the replay's (none once it has ended).
    ButtonMask poll(ButtonMask buttons);
    // One picture as the game drew it, the `number`th of the run.
    void picture(const uint16_t* pixels, uint32_t number);

    EState state() const { return state_; }
    bool playing() const { return state_ == EState::kPlaying; }
    // Why a playback did not match, in one line.
    const std::string& problem() const { return problem_; }

private:
    void mismatch(const std::string& reason);

    EState state_ = EState::kIdle;
    uint32_t base_ = 0;  // pictures of the run before the game's own first
    CReplayWriter writer_;
    CReplayReader reader_;
    std::string problem_;
};
