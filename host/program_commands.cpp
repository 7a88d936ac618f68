#include "host/program_commands.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

float ProgramDice::draw() {
    seed_ = (seed_ * 196314165u + 907633515u) & 0xffffffffu;
    return static_cast<float>(seed_) * 2.33e-10f;
}

ProgramDice& ProgramDice::shared() {
    static ProgramDice dice;
    return dice;
}

ProgramPatch initProgram(int index) {
    ProgramPatch patch{};
    for (int p = 0; p < kNumParams; ++p) patch.values[p] = kParameterInit.v[p];
    std::snprintf(patch.name, sizeof patch.name, "Init %03d", index);
    return patch;
}

namespace {

void rename(ProgramPatch& patch, const char* name) {
    std::memset(patch.name, 0, sizeof patch.name);
    std::snprintf(patch.name, sizeof patch.name, "%s", name);
}

}  // namespace

ProgramPatch buildProgram(ProgramCommand command, int index, ProgramDice& dice) {
    using namespace param;
    ProgramPatch patch = initProgram(index);
    float* v = patch.values;
    switch (command) {
    case ProgramCommand::InitReverb:
        v[MMix] = 0.0f;
        v[RDecay] = 0.75f;
        break;
    case ProgramCommand::InitDelay:
        v[RMix] = 0.0f;
        break;
    case ProgramCommand::RandomReverb:
        // The draws' order is part of the sequence a user has heard: keep it.
        v[MMix] = 0.0f;
        for (int q = RSize; q <= RSwirl; ++q) v[q] = dice.draw();
        v[RPredel] = dice.draw() * 0.5f;
        v[Mix] = 0.75f;
        v[Volume] = 0.75f;
        v[RDecay] = std::sqrt(dice.draw() * 0.99f + 0.01f);
        rename(patch, "Random reverb");
        break;
    case ProgramCommand::RandomDelay: {
        v[RMix] = 0.0f;
        for (int q = MTime; q <= MLowCut; ++q) v[q] = dice.draw();
        for (int q = StepL0; q <= StepR16; ++q) v[q] = 0.0f;
        // Up to 20 picks (fewer steps when one is picked twice); step 0 is never picked.
        const int picks = static_cast<int>(dice.draw() * 19.0f + 1.0f);
        for (int i = 0; i < picks; ++i) v[StepL1 + std::rand() % 32] = 1.0f;
        v[Mix] = 0.75f;
        v[Volume] = 0.75f;
        rename(patch, "Random delay");
        break;
    }
    }
    return patch;
}
