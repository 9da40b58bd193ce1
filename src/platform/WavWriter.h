#pragma once
// Writes 16-bit PCM WAV files: the mixed output of a headless run, and the sample bank.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Files.h"

class CWavWriter {
public:
    CWavWriter() = default;
    CWavWriter(const CWavWriter&) = delete;
    CWavWriter& operator=(const CWavWriter&) = delete;

    // Starts a file, under a temporary name until close(). False, with a reason, on failure.
    bool open(const std::string& path, int channels, int rate, std::string& error);
    // Appends little-endian 16-bit sample bytes. Once the disk refuses more, the rest is dropped
    // and the file ends with what it took.
    void write(const void* data, size_t bytes);
    // Fills in the sizes and puts the file in place: the whole sound, or when a write failed, a
    // valid file of what was written before it. False, with a reason, when anything was lost.
    bool close(std::string& error);
    // Drops the file; an older one of that name stays as it was.
    void abandon() { file_.abandon(); }
    bool isOpen() const { return file_.isOpen(); }

private:
    void flush();

    CAtomicFile file_;
    std::vector<uint8_t> buffer_;  // samples not written yet
    uint32_t dataBytes_ = 0;       // sample bytes in the file
    uint32_t bytesPerSecond_ = 1;
    int failure_ = 0;  // errno of the first failed write
};

// One-shot helper: a mono or stereo buffer of 16-bit samples as a WAV file.
bool writeWav(const std::string& path, const int16_t* samples, size_t count, int channels, int rate,
              std::string& error);
