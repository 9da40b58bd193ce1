#pragma once
// The whole of the machine as the game sees it: a paced picture, a clock, fourteen buttons and
// an audio device. Nothing else of the host reaches the game; a backend (the SDL window or the
// headless stand-in) provides these operations behind CBackend.

#include <cstdint>

#include "platform/Feel.h"

class CBackend;

// Counter ticks per second, and the ticks of one 0.1 ms time unit (timerElapsed's, timerWait's).
constexpr uint32_t kTimerHz = 7372800;
constexpr uint32_t kTicksPerUnit = 737;
constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
constexpr int kScreenPixels = kScreenWidth * kScreenHeight;

// Start-up and shutdown. The backend is owned by the caller and must outlive the session.
void platformStartup(CBackend& backend);
void platformShutdown();
CBackend& platformBackend();

// Time, in counter ticks and in 0.1 ms units.
uint32_t timerNow();
uint32_t timerElapsed(uint32_t then);
void timerWait(uint32_t units);
void waitVsync();

// Copies the finished picture into the hidden framebuffer and hands it to the display. With
// `handOver` false (the display is still busy with an earlier picture) the picture counts as
// shown all the same, but the display keeps the one it has.
void flip(const uint16_t* source, bool waitForVsync, bool handOver = true);
// A mark drawn on every picture shown from now on (null: none), after the game's own picture has
// been hashed for the game being recorded or watched, and before the run's own hash, the
// screenshot and the dumped pictures, which show it as the player saw it.
void setPictureStamp(void (*stamp)(uint16_t* picture));
// When the last flip's hand-over began (after its vsync wait), and the ticks the display took to
// take the picture: 0 when it was not handed over, and always 0 on a virtual clock.
uint32_t lastHandOverStart();
uint32_t lastHandOverTicks();
void fastClear(uint16_t* dest);
void fastCopy(uint16_t* dest, const uint16_t* source);
// Index (0 or 1) of the framebuffer the next flip fills, and the framebuffers themselves.
int nextFramebuffer();
const uint16_t* framebuffer(int index);
// Number of pictures shown since start-up.
uint32_t picturesShown();

// Buttons. platformPollButtons refreshes the levels once per poll; readButton then reads one
// button by its handheld bit number, 1 while it is down.
void platformPollButtons();
// Waits that do nothing but poll the buttons and feed the sound call this between two polls: a
// real machine rests a moment instead of spinning a core; a virtual clock does not move.
void pauseBetweenPolls();
int readButton(int bit);
// The window lost focus at this poll: the game pauses as START would.
bool platformPauseRequested();
// The controls page is open at this poll: the game stands still.
bool controlsPageOpen();
// The mouse at this poll: the pointer target it is over (1..7, platform/Pointer.h), 0 for none,
// and its button held.
int pointerTarget();
bool pointerPressed();

// The player is hit, or loses a life: where the machine can shake, the player feels it.
void platformFeel(EFeel what);

// Set when the user closes the window, a signal arrives, a replay ends or a frame limit is
// reached: the game leaves through its normal exit sequence.
bool platformQuitRequested();
void platformRequestQuit();
// From now on SIGINT and SIGTERM ask the game to quit at its next poll, window or not, through its
// normal exit sequence: the replay, the report and the settings are finished and saved. A second
// one ends the program at once.
void platformCatchQuitSignals();
// Such a signal has come (on Windows: Ctrl+C, Ctrl+Break, or the console closed).
bool platformQuitSignalled();

// Resident memory of the process in KiB (soak runs watch it stay flat); 0 where the system does
// not tell.
uint32_t residentKilobytes();

// Audio: 22,050 Hz signed 16-bit little-endian stereo. Writes never block and return the bytes
// accepted, 0 when the device queue is full.
bool audioOpen();
int audioWrite(const void* data, int bytes);
void audioClose();
