#include "sound/SoundMixer.h"

#include <algorithm>
#include <cassert>

#include "platform/Platform.h"
#include "state/GameReport.h"

namespace {

CSoundMixer* gInstance = nullptr;

// The platform layer keeps the device itself; any non-negative value marks it open.
constexpr int32_t kDeviceOpen = 1;

int32_t clampVolume(int32_t v) {
    return std::clamp(v, 0, CSoundMixer::kFullVolume);
}

}  // namespace

void (*CSoundMixer::listenerTile)(int32_t& tileX, int32_t& tileY) = nullptr;

CSoundMixer& CSoundMixer::instance() {
    if (!gInstance) gInstance = new CSoundMixer;
    return *gInstance;
}

void CSoundMixer::resetInstance() {
    // The device is forgotten, not closed: the backend it belonged to may be gone already.
    delete gInstance;
    gInstance = nullptr;
}

const SSample* CSoundMixer::sample(int32_t id) const {
    if (id < 0 || id >= bankSize || !bank[id].data || bank[id].length == 0) return nullptr;
    return &bank[id];
}

bool CSoundMixer::play(int32_t id, int32_t left, int32_t right, int32_t priority) {
    const SSample* s = sample(id);
    if (!s) return false;
    // Free channels fill from the top; a busy one goes only to a more important sound, the
    // lowest such channel first.
    SSoundChannel* channel = nullptr;
    for (int i = kChannelCount - 1; i >= 0 && !channel; --i)
        if (!channels[i].active) channel = &channels[i];
    for (int i = 0; i < kChannelCount && !channel; ++i)
        if (channels[i].priority < priority) channel = &channels[i];
    if (!channel) return false;

    channel->sampleId = id;
    channel->data = s->data;
    channel->length = static_cast<int32_t>(std::min<uint32_t>(s->length, INT32_MAX));
    channel->pos = 0;
    channel->priority = priority;
    channel->leftVolume = clampVolume(left);
    channel->rightVolume = clampVolume(right);
    channel->active = true;
    CGameReport::instance().samplePlayed(id);
    return true;
}

SStereoVolume CSoundMixer::placeVolume(int32_t dx, int32_t dy) {
    // The maze is one screen, so the distance does not wrap: a sound across the edge is far.
    const int64_t d = (int64_t{dx} * dx + int64_t{dy} * dy) / 5;
    const int32_t v = d <= kFullVolume ? kFullVolume - static_cast<int32_t>(d) : 0;
    // Full volume on the near side; the far side fades out over three tiles.
    if (dx >= 0) return {dx <= 3 ? (v * (256 - 64 * dx)) >> 8 : 0, v};
    return {v, dx >= -3 ? (v * (256 + 64 * dx)) >> 8 : 0};
}

void CSoundMixer::playAt(int32_t id, int32_t tileX, int32_t tileY, int32_t priority) {
    int32_t listenerX = tileX, listenerY = tileY;
    assert(listenerTile != nullptr);
    if (listenerTile) listenerTile(listenerX, listenerY);
    playAtFrom(id, tileX, tileY, listenerX, listenerY, priority);
}

void CSoundMixer::playAtFrom(int32_t id, int32_t tileX, int32_t tileY, int32_t listenerX,
                             int32_t listenerY, int32_t priority) {
    const SStereoVolume volume = placeVolume(tileX - listenerX, tileY - listenerY);
    // Even a sound too far to hear takes a channel, as on the handheld.
    play(id, volume.left, volume.right, priority);
}

void CSoundMixer::startMusic(int32_t id) {
    const SSample* s = sample(id);
    if (!s) return;
    musicId = id;
    musicData = s->data;
    musicLength = s->length;
    musicPos = 0;
    musicPlaying = true;
}

void CSoundMixer::setMusicVolume(int32_t v) {
    musicVolume = clampVolume(v);
}

void CSoundMixer::setMasterVolume(int32_t v) {
    masterVolume = clampVolume(v);
}

void CSoundMixer::mix() {
    uint32_t musicIndex = musicPos;
    // Whole frames only: after a device that took half a frame, one sample stays free rather
    // than overwriting the oldest unsent one.
    while (queued <= kRingSamples - 2) {
        int32_t left = 0;
        if (musicPlaying) {
            left = (musicData[musicIndex] * musicVolume) >> 8;
            if (++musicIndex == musicLength) musicIndex = 0;
        }
        int32_t right = left;  // the music is mono
        for (SSoundChannel& c : channels) {
            if (!c.active) continue;
            const int32_t s = c.data[c.pos];
            left += (s * c.leftVolume) >> 8;
            right += (s * c.rightVolume) >> 8;
            // The channel stops one short of the end: an effect's last sample is never heard.
            if (++c.pos >= c.length - 1) c.active = false;
        }
        // Clamp the sum, then apply the master volume: turned down, a loud moment is clipped
        // just as at full volume, only quieter.
        left = (std::clamp(left, -32768, 32767) * masterVolume) >> 8;
        right = (std::clamp(right, -32768, 32767) * masterVolume) >> 8;
        ring[writePos] = static_cast<int16_t>(swapStereo ? right : left);
        ring[writePos + 1] = static_cast<int16_t>(swapStereo ? left : right);
        writePos = (writePos + 2) % kRingSamples;
        queued += 2;
    }
    musicPos = musicIndex;
}

void CSoundMixer::writeToDevice() {
    if (deviceFd < 0 || queued <= 0) return;
    // The device takes what fits and never blocks; whatever it refuses stays queued for the
    // next iteration. Never offer more than is mixed (update() always offers the whole ring).
    const int32_t tail = std::min(kRingSamples - readPos, queued) * 2;
    const int taken = std::min(audioWrite(&ring[readPos], tail), tail);
    if (taken <= 0) return;
    queued -= taken / 2;
    readPos = (readPos + taken / 2) % kRingSamples;
    if (readPos != 0 || queued <= 0) return;
    // The end of the ring was reached: go on from its start.
    const int32_t head = queued * 2;
    const int more = std::min(audioWrite(ring, head), head);
    if (more <= 0) return;
    queued -= more / 2;
    readPos = (readPos + more / 2) % kRingSamples;
}

bool CSoundMixer::openDevice() {
    deviceFd = audioOpen() ? kDeviceOpen : -1;
    return deviceFd >= 0;
}

void CSoundMixer::closeDevice() {
    if (deviceFd < 0) return;
    audioClose();
    deviceFd = -1;
}
