#pragma once
// Writes 16-bit PCM WAV files: the mixed output of a headless run, and the sample bank.

#include <cstdint>
#include <cstdio>
#include <string>

class CWavWriter {
public:
    CWavWriter() = default;
    CWavWriter(const CWavWriter&) = delete;
    CWavWriter& operator=(const CWavWriter&) = delete;
    ~CWavWriter() { close(); }

    // Starts a file; the header is completed by close(). False, with a reason, on failure.
    bool open(const std::string& path, int channels, int rate, std::string& error);
    // Appends little-endian 16-bit sample bytes.
    void write(const void* data, size_t bytes);
    // Fills in the sizes and closes. Returns false when anything could not be written.
    bool close();
    bool isOpen() const { return file_ != nullptr; }

private:
    std::FILE* file_ = nullptr;
    uint32_t dataBytes_ = 0;
    bool failed_ = false;
};

// One-shot helper: a mono or stereo buffer of 16-bit samples as a WAV file.
bool writeWav(const std::string& path, const int16_t* samples, size_t count, int channels, int rate,
              std::string& error);
