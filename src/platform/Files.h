#pragma once
// Whole-file reading and atomic writing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads a whole file, or its first maxBytes bytes. False, with a one-line reason, when it cannot
// be read.
bool readFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error,
              size_t maxBytes = SIZE_MAX);
// Whether a file can be written at `path` (its folder exists and takes files, and the path is
// not a folder), so that a run does not find out only at its end. False, with a reason, if not.
bool checkWritable(const std::string& path, std::string& error);
// Writes a file so that it is either the old file or the whole new one, never a part: the bytes
// go to a temporary file beside it, which then replaces it. False, with a reason, on failure.
bool writeFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string& error);
