#pragma once
// The program commands of the editor's menu: a program with only the reverb
// or only the multitap, at its init values or with random settings. Building
// a program is apart from applying it, so any format's user interface can
// make the same programs.
#include <cstdint>

#include "host/parameters.h"
#include "host/programs.h"

enum class ProgramCommand { InitReverb, InitDelay, RandomReverb, RandomDelay };

// The random programs' dice: a linear congruential generator for the values;
// the multitap's step picks come from the C library's rand(), which each new
// instance seeds with the time.
class ProgramDice {
public:
    explicit ProgramDice(uint64_t seed = 22222) : seed_(seed) {}
    // A value in 0 .. 1.00073: the top of the 32-bit range passes 1 by a
    // hair, kept so the sequence stays the one users have heard (the render
    // path reads controls within 0..1).
    float draw();
    // One state for the whole process, never reseeded, as one user's
    // successive random programs should differ even across instances.
    static ProgramDice& shared();

private:
    uint64_t seed_;
};

// A whole program: the values and the name it gets.
struct ProgramPatch {
    float values[kNumParams];
    char name[kProgramNameSize];
};

// Program `index` in its init state: the init values, named "Init" and its number.
ProgramPatch initProgram(int index);

// What `command` makes of program `index`.
ProgramPatch buildProgram(ProgramCommand command, int index, ProgramDice& dice);
