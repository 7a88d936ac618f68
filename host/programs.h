#pragma once
// Programs: a name and one value per parameter; the bank of 180 and the
// factory table it is filled from.
#include "host/parameters.h"
#include "base/relaxed.h"

constexpr int kNumPrograms = 180;
constexpr int kProgramNameSize = 32;     // bytes held per name
constexpr int kProgramNameMaxChars = 24;  // what setProgramName keeps

struct OvProgram {
    OvProgram() : name{'I', 'n', 'i', 't'} {}
    // Written by the audio thread (automation, program change) and read by the
    // user-interface thread (files, editor), so each value is a shared single value.
    Relaxed<float> values[kNumParams];
    char name[kProgramNameSize];
};

// One record of the factory bank, in the stored layout: a 24-byte NUL-padded
// name and 68 little-endian floats, 296 bytes.
struct FactoryPreset {
    char name[24];
    float values[kNumParams];
};
static_assert(sizeof(FactoryPreset) == 296, "factory record layout");

extern const FactoryPreset (&factoryPresets)[kNumPrograms];
