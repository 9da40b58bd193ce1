#include "platform/Replay.h"

#include <cstring>

namespace {

constexpr uint8_t kMagic[4] = {'B', 'F', 'R', 'P'};
constexpr size_t kHeaderSize = 4 + 2 + 2 + 4 + 16;  // version 1; 2 adds 2 bytes, 3 four more
constexpr uint64_t kSoundHashes = 1;
constexpr uint64_t kPlayersRun = 2;

void put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putVarint(std::vector<uint8_t>& out, uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

// Reads from a byte range, remembering whether it ran off the end.
struct SCursor {
    const uint8_t* p;
    const uint8_t* end;
    bool ok = true;

    uint64_t fixed(int bytes) {
        if (end - p < bytes) {
            ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(*p++) << (8 * i);
        return v;
    }
    // At most 32 bits: a longer varint is not one of ours.
    uint32_t varint() {
        uint64_t v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (p == end) break;
            const uint8_t b = *p++;
            v |= static_cast<uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) {
                if (v > UINT32_MAX) break;
                return static_cast<uint32_t>(v);
            }
        }
        ok = false;
        return 0;
    }
};

SGameIdentity gRecordingIdentity{BOLTFEVER_VERSION, 0};

}  // namespace

const SGameIdentity& recordingIdentity() {
    return gRecordingIdentity;
}

void setRecordingMaps(uint64_t maps) {
    gRecordingIdentity.maps = maps;
}

uint64_t hashBytes(const void* data, size_t bytes, uint64_t hash) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < bytes; ++i) hash = (hash ^ p[i]) * 0x100000001b3ull;
    return hash;
}

void CReplayWriter::start(const SReplayHeader& header, size_t reserve) {
    header_ = header;
    header_.game = recordingIdentity();
    bytes_.clear();
    bytes_.reserve(reserve);
    headerTaken_ = false;
    runLength_ = 0;
    polls_ = 0;
    pictures_ = 0;
    takenPolls_ = 0;
    takenPictures_ = 0;
}

void CReplayWriter::flushRun() {
    if (runLength_ == 0) return;
    // A run that fits 16 bits is written as every version has it.
    const bool wide = runMask_ > 0xFFFF;
    bytes_.push_back(wide ? 'W' : 'B');
    put(bytes_, runMask_, wide ? 4 : 2);
    putVarint(bytes_, runLength_);
    polls_ += runLength_;
    runLength_ = 0;
}

void CReplayWriter::addPoll(ButtonMask buttons) {
    if (runLength_ != 0 && buttons != runMask_) flushRun();
    runMask_ = buttons;
    ++runLength_;
}

void CReplayWriter::addPicture(uint32_t picture, uint64_t hash, uint64_t soundHash) {
    flushRun();
    bytes_.push_back('P');
    putVarint(bytes_, picture);
    put(bytes_, hash, 8);
    if (header_.hasSoundHashes) put(bytes_, soundHash, 8);
    pictures_ = picture;
}

void CReplayWriter::take(std::vector<uint8_t>& out) {
    if (!headerTaken_) {
        out.insert(out.end(), kMagic, kMagic + 4);
        put(out, kReplayVersion, 2);
        put(out,
            (header_.hasSoundHashes ? kSoundHashes : 0) | (header_.playersRun ? kPlayersRun : 0),
            2);
        put(out, header_.seed, 4);
        out.insert(out.end(), header_.settings.begin(), header_.settings.end());
        put(out, header_.startLevel, 2);
        for (const std::vector<uint8_t>* block : {&header_.scores, &header_.gameStart}) {
            put(out, block->size(), 2);
            out.insert(out.end(), block->begin(), block->end());
        }
        const std::string& version = header_.game.version;
        out.push_back(static_cast<uint8_t>(version.size()));
        out.insert(out.end(), version.begin(), version.end());
        put(out, header_.game.maps, 8);
        headerTaken_ = true;
    }
    out.insert(out.end(), bytes_.begin(), bytes_.end());
    bytes_.clear();
    takenPolls_ = polls_;
    takenPictures_ = pictures_;
}

void CReplayWriter::appendEnd(std::vector<uint8_t>& out) const {
    out.push_back('E');
    putVarint(out, takenPolls_);
    putVarint(out, takenPictures_);
}

std::vector<uint8_t> CReplayWriter::file() {
    finish();
    std::vector<uint8_t> out;
    out.reserve(kHeaderSize + 6 + header_.scores.size() + header_.gameStart.size() + 9 +
                header_.game.version.size() + bytes_.size() + 11);
    take(out);
    appendEnd(out);
    return out;
}

bool CReplayReader::parse(const uint8_t* data, size_t size, std::string& error) {
    events_.clear();
    next_ = 0;
    if (size < kHeaderSize || std::memcmp(data, kMagic, 4) != 0) {
        error = "not a Bolt Fever replay";
        return false;
    }
    SCursor in{data + 4, data + size};
    header_ = SReplayHeader{};
    header_.version = static_cast<uint16_t>(in.fixed(2));
    // Version 1 replays (no start level) all began on the title screen; before version 3 none
    // knew high scores or held the mouse.
    if (header_.version < 1 || header_.version > kReplayVersion) {
        error = "replay format version " + std::to_string(header_.version) +
                ", this game reads versions 1 to " + std::to_string(kReplayVersion);
        return false;
    }
    const uint64_t flags = in.fixed(2);
    if (flags > (header_.version >= 3 ? kSoundHashes | kPlayersRun : kSoundHashes)) {
        error = "replay has unknown flags";
        return false;
    }
    header_.hasSoundHashes = (flags & kSoundHashes) != 0;
    header_.playersRun = (flags & kPlayersRun) != 0;
    header_.seed = static_cast<uint32_t>(in.fixed(4));
    for (uint8_t& b : header_.settings) b = static_cast<uint8_t>(in.fixed(1));
    header_.startLevel = header_.version >= 2 ? static_cast<uint16_t>(in.fixed(2)) : 0;
    if (header_.version >= 3) {
        const struct {
            std::vector<uint8_t>& bytes;
            size_t most;
        } blocks[] = {{header_.scores, kMaxReplayScoresBytes},
                      {header_.gameStart, kMaxReplayGameStartBytes}};
        for (const auto& block : blocks) {
            const size_t length = static_cast<size_t>(in.fixed(2));
            if (!in.ok || length > static_cast<size_t>(in.end - in.p)) {
                error = "replay is cut short";
                return false;
            }
            if (length > block.most) {
                error = "replay holds an oversized header block";
                return false;
            }
            block.bytes.assign(in.p, in.p + length);
            in.p += length;
        }
    }
    if (header_.version >= 4) {
        const size_t length = static_cast<size_t>(in.fixed(1));
        if (!in.ok || length > static_cast<size_t>(in.end - in.p)) {
            error = "replay is cut short";
            return false;
        }
        if (length > kMaxGameVersionBytes) {
            error = "replay holds an oversized header block";
            return false;
        }
        header_.game.version.assign(in.p, in.p + length);
        in.p += length;
        header_.game.maps = in.fixed(8);
    }

    uint64_t polls = 0;
    uint32_t lastPicture = 0;
    for (;;) {
        if (in.p == in.end) {
            error = "replay is cut short (no end record)";
            return false;
        }
        const uint8_t tag = *in.p++;
        if (tag == 'B' || (tag == 'W' && header_.version >= 3)) {
            const auto mask = static_cast<ButtonMask>(in.fixed(tag == 'W' ? 4 : 2));
            const uint32_t count = in.varint();
            if (in.ok && (count == 0 || (mask & ~kAllButtons) != 0)) {
                error = "replay holds an impossible button record";
                return false;
            }
            polls += count;
            events_.push_back({false, mask, count, 0, 0});
        } else if (tag == 'P') {
            const uint32_t picture = in.varint();
            const uint64_t hash = in.fixed(8);
            const uint64_t sound = header_.hasSoundHashes ? in.fixed(8) : 0;
            if (in.ok && (picture <= lastPicture || picture % kReplayCheckInterval != 0)) {
                error = "replay holds pictures out of order";
                return false;
            }
            lastPicture = picture;
            events_.push_back({true, 0, picture, hash, sound});
        } else if (tag == 'E') {
            totalPolls_ = in.varint();
            totalPictures_ = in.varint();
            if (in.ok && (totalPolls_ != polls || totalPictures_ < lastPicture)) {
                error = "replay's totals do not match its records";
                return false;
            }
            if (in.ok && in.p != in.end) {
                error = "replay has data after its end";
                return false;
            }
            break;
        } else {
            error = "replay holds an unknown record";
            return false;
        }
        if (!in.ok) break;
    }
    if (!in.ok) {
        error = "replay is cut short";
        return false;
    }
    return true;
}

bool CReplayReader::nextPoll(ButtonMask& buttons) {
    if (next_ == events_.size() || events_[next_].isPicture) return false;
    SEvent& run = events_[next_];
    buttons = run.mask;
    if (--run.count == 0) ++next_;
    return true;
}

bool CReplayReader::checkPicture(uint32_t picture, uint64_t hash, uint64_t soundHash,
                                 bool checkSound, std::string& error) {
    if (next_ == events_.size() || !events_[next_].isPicture || events_[next_].count != picture) {
        error = "the game is out of step with the replay at picture " + std::to_string(picture);
        return false;
    }
    const SEvent& check = events_[next_++];
    if (check.hash != hash) {
        error = "picture " + std::to_string(picture) + " differs from the recording";
        return false;
    }
    if (checkSound && header_.hasSoundHashes && check.soundHash != soundHash) {
        error = "sound up to picture " + std::to_string(picture) + " differs from the recording";
        return false;
    }
    return true;
}
