#pragma once
// One line that says what a program does, computed from its values: which
// engines run and how they are routed, the reverb's room size and roughly how
// long its tail lasts, the multitap's note value, taps and feedback, and the
// gate and ducker when they are on. Used to list programs.
#include <string>

#include "host/parameters.h"

std::string describeProgram(const float values[kNumParams]);

// Rough time for the reverb tail to fall by 60 dB at 44100 Hz, in seconds,
// from the tank's loop gain and length (damping not counted). Infinite when
// the loop does not lose energy.
double estimatedReverbDecaySeconds(float size, float decay);
