#include "platform/Platform.h"

#include <cstring>

#include "platform/Backend.h"
#include "platform/Buttons.h"
#include "platform/Pointer.h"
#include "platform/Session.h"

namespace {

CBackend* gBackend = nullptr;

// Two framebuffers, as on the handheld: a flip fills the hidden one and then shows it.
alignas(32) uint16_t gFramebuffer[2][kScreenPixels];
int gNextFramebuffer = 0;
uint32_t gPicturesShown = 0;
uint32_t gHandOverStart = 0;
uint32_t gHandOverTicks = 0;
void (*gStamp)(uint16_t*) = nullptr;

ButtonMask gButtons = 0;
bool gQuit = false;

// The display refresh: 60 Hz on the counter, its vertical-sync pulse lasting the blanking
// interval (22 of 262 lines).
constexpr uint32_t kVsyncPeriod = kTimerHz / 60;
constexpr uint32_t kVsyncPulse = kVsyncPeriod * 22 / 262;

}  // namespace

void platformStartup(CBackend& backend) {
    gBackend = &backend;
    gNextFramebuffer = 0;
    gPicturesShown = 0;
    gHandOverStart = 0;
    gHandOverTicks = 0;
    gButtons = 0;
    gQuit = false;
    gStamp = nullptr;
    clearPointerTargets();
    std::memset(gFramebuffer, 0, sizeof gFramebuffer);
}

void platformShutdown() {
    CSession::instance().finish(framebuffer(gNextFramebuffer ^ 1));
}

CBackend& platformBackend() {
    return *gBackend;
}

uint32_t timerNow() {
    return gBackend->counter();
}

uint32_t timerElapsed(uint32_t then) {
    const uint32_t now = timerNow();
    if (now > then) return (now - then + kTicksPerUnit / 2) / kTicksPerUnit;
    if (now < then) return ((now >> 2) - (then >> 2) + (1u << 30)) / 184;
    return 0;
}

void timerWait(uint32_t units) {
    const uint32_t start = timerNow();
    // The fewest ticks after which the elapsed time rounds to the wanted number of units.
    const uint32_t ticks = units * kTicksPerUnit - kTicksPerUnit / 2;
    while (timerElapsed(start) < units) gBackend->idleUntil(start, ticks);
}

// A function of its own wherever it is called from: the page finds the waits that may sleep by
// their names (scripts/asyncify-list.py).
[[gnu::noinline]] void waitVsync() {
    // The handheld spins until the sync signal reads active; ours is active during the first
    // kVsyncPulse ticks of every refresh period.
    for (;;) {
        const uint32_t now = timerNow();
        const uint32_t phase = now % kVsyncPeriod;
        if (phase < kVsyncPulse) return;
        gBackend->idleUntil(now, kVsyncPeriod - phase);
    }
}

void flip(const uint16_t* source, bool waitForVsync, bool handOver) {
    uint16_t* target = gFramebuffer[gNextFramebuffer];
    fastCopy(target, source);
    CSession& session = CSession::instance();
    session.pictureDrawn(target, gPicturesShown + 1);
    if (gStamp) gStamp(target);
    if (waitForVsync) waitVsync();
    gHandOverStart = timerNow();
    if (handOver) gBackend->show(target);
    gHandOverTicks = handOver ? timerNow() - gHandOverStart : 0;
    gNextFramebuffer ^= 1;
    ++gPicturesShown;
    showPointerTargets();
    session.pictureShown(target, gPicturesShown);
}

void setPictureStamp(void (*stamp)(uint16_t* picture)) {
    gStamp = stamp;
}

uint32_t lastHandOverStart() {
    return gHandOverStart;
}

uint32_t lastHandOverTicks() {
    return gHandOverTicks;
}

void fastClear(uint16_t* dest) {
    std::memset(dest, 0, kScreenPixels * sizeof(uint16_t));
}

void fastCopy(uint16_t* dest, const uint16_t* source) {
    std::memcpy(dest, source, kScreenPixels * sizeof(uint16_t));
}

int nextFramebuffer() {
    return gNextFramebuffer;
}

const uint16_t* framebuffer(int index) {
    return gFramebuffer[index & 1];
}

uint32_t picturesShown() {
    return gPicturesShown;
}

void platformPollButtons() {
    CSession& session = CSession::instance();
    gButtons = platformQuitSignalled() ? session.interruptedPoll()
                                       : session.filterButtons(gBackend->pollButtons());
}

void pauseBetweenPolls() {
    gBackend->pauseBetweenPolls();
}

int readButton(int bit) {
    const EButton b = buttonForGpioBit(bit);
    return b == kButtonCount ? 0 : (gButtons >> b) & 1;
}

bool platformPauseRequested() {
    return (gButtons & kPauseRequest) != 0;
}

bool controlsPageOpen() {
    return (gButtons & kControlsOpen) != 0;
}

int pointerTarget() {
    return pointerTargetOf(gButtons);
}

bool pointerPressed() {
    return (gButtons & kPointerPress) != 0;
}

void platformFeel(EFeel what) {
    if (gBackend) gBackend->feel(what);
}

bool platformQuitRequested() {
    return gQuit || gBackend->quitRequested() || CSession::instance().quitRequested();
}

void platformRequestQuit() {
    gQuit = true;
}

bool audioOpen() {
    return gBackend->audioOpen();
}

int audioWrite(const void* data, int bytes) {
    const int taken = gBackend->audioWrite(data, bytes);
    if (taken > 0) CSession::instance().audioWritten(data, taken);
    return taken;
}

void audioClose() {
    gBackend->audioClose();
}
