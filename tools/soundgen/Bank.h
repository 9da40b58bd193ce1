#pragma once
// The bank as a whole: the manifest that names a source file for every id, the generated C++
// that compiles the samples into the game, and the WAV files and figures for listening.

#include <cstdint>
#include <string>
#include <vector>

struct SBankEntry {
    int id = 0;
    std::string source;  // path of the sound file
    std::string name;    // its stem, for WAV names and comments
    std::vector<int16_t> samples;
    bool loop = false;
};

// Reads "id path" lines; every id 0..count-1 exactly once. Paths are relative to the manifest.
bool readManifest(const std::string& path, int count, std::vector<SBankEntry>& entries,
                  std::string& error);

// Renders one sound file; with `solo` only the tracks of that instrument (or "drums").
bool renderFile(const std::string& path, std::vector<int16_t>& samples, bool& loop,
                std::string& error, const std::string& solo = "");

// SampleBank.cpp with the table, SampleBankEffects.cpp, and SampleBankMusicN.cpp for each loop,
// so the compiler can share the work between cores; and page/SampleBank.cpp, the page's table,
// which makes the loops from their scores at start (its folder must exist).
bool writeBankSources(const std::vector<SBankEntry>& entries, const std::string& dir,
                      std::string& error);

bool writeBankWavs(const std::vector<SBankEntry>& entries, const std::string& dir,
                   std::string& error);

// Peak, loudness and, for loops, the step across the loop point: one line per sample.
void printReport(const std::vector<SBankEntry>& entries);

// Writes a whole file through a temporary and a rename, so a failed run leaves no half file.
bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error);
