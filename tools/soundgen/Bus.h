#pragma once
// The shared effects a sound's voices send to: a damped echo and a small room.

#include <vector>

#include "Sound.h"

// Both take the send signal and return the wet signal of the same length. A loop is processed
// twice over and the second pass kept, so the tail of its end rings on into its start.
std::vector<double> applyEcho(const SEcho& echo, const std::vector<double>& in, bool loop);
std::vector<double> applyReverb(const SReverb& reverb, const std::vector<double>& in, bool loop);
