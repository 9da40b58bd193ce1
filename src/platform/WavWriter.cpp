#include "platform/WavWriter.h"

#include <cerrno>
#include <cstring>

namespace {

void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void makeHeader(uint8_t h[44], int channels, int rate, uint32_t dataBytes) {
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
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    uint8_t header[44];
    makeHeader(header, channels, rate, 0);
    dataBytes_ = 0;
    failed_ = std::fwrite(header, 1, sizeof header, file_) != sizeof header;
    return true;
}

void CWavWriter::write(const void* data, size_t bytes) {
    if (!file_) return;
    // The samples are little-endian in memory on every machine we build for.
    if (std::fwrite(data, 1, bytes, file_) != bytes) failed_ = true;
    dataBytes_ += static_cast<uint32_t>(bytes);
}

bool CWavWriter::close() {
    if (!file_) return !failed_;
    // The header's channel count and rate were written by open(); only the sizes change.
    uint8_t sizes[4];
    put32(sizes, 36 + dataBytes_);
    if (std::fseek(file_, 4, SEEK_SET) != 0 || std::fwrite(sizes, 1, 4, file_) != 4) failed_ = true;
    put32(sizes, dataBytes_);
    if (std::fseek(file_, 40, SEEK_SET) != 0 || std::fwrite(sizes, 1, 4, file_) != 4)
        failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

bool writeWav(const std::string& path, const int16_t* samples, size_t count, int channels, int rate,
              std::string& error) {
    CWavWriter writer;
    if (!writer.open(path, channels, rate, error)) return false;
    writer.write(samples, count * sizeof(int16_t));
    if (!writer.close()) {
        error = path + ": cannot write WAV";
        return false;
    }
    return true;
}
