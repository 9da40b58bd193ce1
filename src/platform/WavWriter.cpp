#include "platform/WavWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr size_t kHeaderBytes = 44;
constexpr size_t kBufferBytes = 1 << 16;
// The sizes in the header are 32-bit: a file stops short of 4 GiB.
constexpr uint32_t kMostDataBytes = UINT32_MAX - kHeaderBytes - 2 * kBufferBytes;

void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void makeHeader(uint8_t h[kHeaderBytes], int channels, int rate, uint32_t dataBytes) {
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);  // PCM
    put16(h + 22, static_cast<uint16_t>(channels));
    put32(h + 24, static_cast<uint32_t>(rate));
    put32(h + 28, static_cast<uint32_t>(rate * channels * 2));
    put16(h + 32, static_cast<uint16_t>(channels * 2));
    put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, dataBytes);
}

}  // namespace

bool CWavWriter::open(const std::string& path, int channels, int rate, std::string& error) {
    if (!file_.open(path, error)) return false;
    uint8_t header[kHeaderBytes];
    makeHeader(header, channels, rate, 0);
    bytesPerSecond_ = static_cast<uint32_t>(rate * channels * 2);
    dataBytes_ = 0;
    failure_ = 0;
    if (!file_.writeAt(0, header, sizeof header, failure_)) {
        error = path + ": " + std::strerror(failure_);
        file_.abandon();
        return false;
    }
    buffer_.clear();
    buffer_.reserve(kBufferBytes);
    return true;
}

void CWavWriter::flush() {
    if (failure_ == 0 && !buffer_.empty()) {
        if (file_.writeAt(kHeaderBytes + dataBytes_, buffer_.data(), buffer_.size(), failure_))
            dataBytes_ += static_cast<uint32_t>(buffer_.size());
        else
            file_.truncate(kHeaderBytes + dataBytes_);  // whole buffers only: whole frames
    }
    buffer_.clear();
}

void CWavWriter::write(const void* data, size_t bytes) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (bytes > 0 && file_.isOpen() && failure_ == 0) {
        if (dataBytes_ > kMostDataBytes) failure_ = EFBIG;
        const size_t n = std::min(bytes, kBufferBytes - buffer_.size());
        buffer_.insert(buffer_.end(), p, p + n);
        p += n;
        bytes -= n;
        if (buffer_.size() == kBufferBytes) flush();
    }
}

bool CWavWriter::close(std::string& error) {
    if (!file_.isOpen()) return false;
    flush();
    const int failure = failure_;
    // The sizes go over bytes that are already on the disk, so a full disk still takes them.
    uint8_t sizes[4];
    int ignored = 0;
    put32(sizes, 36 + dataBytes_);
    bool ok = file_.writeAt(4, sizes, 4, ignored);
    put32(sizes, dataBytes_);
    ok = ok && file_.writeAt(40, sizes, 4, ignored);
    if (!ok) {
        error = file_.path() + ": cannot write WAV";
        file_.abandon();
        return false;
    }
    if (!file_.commit(error)) return false;
    if (failure != 0) {
        const uint64_t tenths = uint64_t{dataBytes_} * 10 / bytesPerSecond_;
        error = file_.path() + ": " + std::strerror(failure) + "; the WAV keeps the first " +
                std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
        return false;
    }
    return true;
}

bool writeWav(const std::string& path, const int16_t* samples, size_t count, int channels, int rate,
              std::string& error) {
    CWavWriter writer;
    if (!writer.open(path, channels, rate, error)) return false;
    writer.write(samples, count * sizeof(int16_t));
    return writer.close(error);
}
