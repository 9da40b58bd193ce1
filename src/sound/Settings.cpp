#include "sound/Settings.h"

#include <algorithm>
#include <cstring>
#include <vector>

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

void parseSettings(const uint8_t* data, size_t size, SSettings& settings, std::string& problem) {
    uint8_t bytes[kSettingsBytes];
    encodeSettings(settings, bytes);
    if (size > 0) std::memcpy(bytes, data, std::min<size_t>(size, kSettingsBytes));
    settings = decodeSettings(bytes);
    if (size < kSettingsBytes)
        problem = "only " + std::to_string(size) + " of 16 bytes, the rest keep their defaults";
    else if (size > kSettingsBytes)
        problem = "longer than 16 bytes, the rest ignored";
}

ESettingsFile readSettingsFile(const std::string& path, SSettings& settings, std::string& problem) {
    // The messages start with the path, which the caller names itself.
    const auto unnamed = [&path](std::string& message) {
        if (message.compare(0, path.size() + 2, path + ": ") == 0)
            message.erase(0, path.size() + 2);
    };
    // One byte more than the record tells a longer file from an exact one.
    std::vector<uint8_t> bytes;
    const EFileRead read = readFileUpTo(path, bytes, kSettingsBytes + 1, problem);
    if (read == EFileRead::kMissing) {
        problem.clear();
        return ESettingsFile::kMissing;
    }
    if (read == EFileRead::kFailed) {
        unnamed(problem);
        return ESettingsFile::kUnreadable;
    }
    problem.clear();
    parseSettings(bytes.data(), bytes.size(), settings, problem);
    if (!isReadOnly(path)) return ESettingsFile::kRead;
    problem += problem.empty() ? "read-only" : "; read-only";
    return ESettingsFile::kReadOnly;
}

bool writeSettingsFile(const std::string& path, const SSettings& settings, std::string& error) {
    uint8_t bytes[kSettingsBytes];
    encodeSettings(settings, bytes);
    if (writeFileAtomically(path, bytes, sizeof bytes, error)) return true;
    error = "cannot save the settings: " + error;
    return false;
}
