#pragma once
// The game's file names are UTF-8 with '/' between names; Windows' own calls take UTF-16.

#include <string>

std::wstring wideName(const std::string& path);
std::string utf8Name(const std::wstring& path);
// The reason for a failed Windows call (GetLastError's code), in the words strerror uses for
// the same failure on every other system.
std::string systemReason(unsigned long code);
