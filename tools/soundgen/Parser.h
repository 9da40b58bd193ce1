#pragma once
// Reads a sound file (a score, an effect, or both) into an SSound.

#include <string>

#include "Sound.h"

// False with a one-line "file:line: reason" in `error` when the text is not a valid sound.
bool parseSound(const std::string& text, const std::string& file, SSound& sound,
                std::string& error);

// MIDI number of a note name such as "C4", "F#2" or "Bb5" (C4 = 60); false if it is none.
bool parseNoteName(const std::string& token, int& midi);
