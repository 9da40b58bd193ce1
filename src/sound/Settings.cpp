#include "sound/Settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Files.h"

namespace {

void put32(uint8_t* p, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t get32(const uint8_t* p) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= uint32_t{p[i]} << (8 * i);
    return static_cast<int32_t>(u);
}

}  // namespace

void encodeSettings(const SSettings& settings, uint8_t bytes[kSettingsBytes]) {
    put32(bytes, settings.masterVolume);
    put32(bytes + 4, settings.musicVolume);
    bytes[8] = settings.swapStereo;
    std::memcpy(bytes + 9, settings.reserved, sizeof settings.reserved);
    put32(bytes + 12, settings.bestLevel);
}

SSettings decodeSettings(const uint8_t bytes[kSettingsBytes]) {
    SSettings settings;
    settings.masterVolume = get32(bytes);
    settings.musicVolume = get32(bytes + 4);
    settings.swapStereo = bytes[8];
    std::memcpy(settings.reserved, bytes + 9, sizeof settings.reserved);
    settings.bestLevel = get32(bytes + 12);
    return settings;
}

bool readSettingsFile(const std::string& path, SSettings& settings, std::string& problem) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno == ENOENT) return true;
        problem = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    uint8_t bytes[kSettingsBytes];
    encodeSettings(settings, bytes);
    const size_t got = std::fread(bytes, 1, sizeof bytes, file);
    const int readError = std::ferror(file) ? errno : 0;
    const bool longer = got == sizeof bytes && std::fgetc(file) != EOF;
    std::fclose(file);
    settings = decodeSettings(bytes);
    if (readError != 0) {
        problem = std::string("cannot read: ") + std::strerror(readError);
    } else if (got < sizeof bytes) {
        problem = "only " + std::to_string(got) + " of 16 bytes, the rest keep their defaults";
    } else if (longer) {
        problem = "longer than 16 bytes, the rest ignored";
    }
    return problem.empty();
}

bool writeSettingsFile(const std::string& path, const SSettings& settings, std::string& error) {
    uint8_t bytes[kSettingsBytes];
    encodeSettings(settings, bytes);
    if (writeFileAtomically(path, bytes, sizeof bytes, error)) return true;
    error = "cannot save the settings: " + error;
    return false;
}
