#pragma once
// The 68 host parameters: one table holds each parameter's index, short name,
// long name, unit label and init value; everything else reads it.
#include <cstddef>
#include <cstdint>

constexpr int kNumParams = 68;
constexpr int kNumNamedParams = 63;  // 63..67 are reserved

// Parameter indices, named by their short names.
namespace param {
enum Index : int {
    Mix, Volume, Surround, Bypass, Route,
    RMix, RSize, RDecay, RDiffuse, RPredel, RHiDamp, RLowDamp, RHiCut, RLowCut, RSwirl,
    GThresh, GAttack, GHold, GRelease,
    DLevel, DLimit,
    MMix, MTime, MFeedba, MDetune, MHiDamp, MLowDamp, MHiCut, MLowCut,
    StepL0, StepR0, StepL1, StepR1, StepL2, StepR2, StepL3, StepR3, StepL4, StepR4,
    StepL5, StepR5, StepL6, StepR6, StepL7, StepR7, StepL8, StepR8, StepL9, StepR9,
    StepL10, StepR10, StepL11, StepR11, StepL12, StepR12, StepL13, StepR13, StepL14, StepR14,
    StepL15, StepR15, StepL16, StepR16,
    Reserved0, Reserved1, Reserved2, Reserved3, Reserved4,
};
// The multitap's steps, each a left and a right level.
constexpr int kNumSteps = (StepR16 - StepL0 + 1) / 2;
constexpr int stepLeft(int step) { return StepL0 + 2 * step; }
constexpr int stepRight(int step) { return StepR0 + 2 * step; }
}  // namespace param
using param::kNumSteps;

struct ParameterInfo {
    const char* shortName;
    const char* longName;  // empty for the reserved ones
    const char* label;
    float init;
};

#define STEP_ROWS(k)                                                    \
    {"StepL" #k, "Multitap step " #k " left", "", k == 16 ? 1.0f : 0.0f}, \
    {"StepR" #k, "Multitap step " #k " right", "", k == 16 ? 1.0f : 0.0f}

// Indexed by parameter; the reserved rows read "Reserved".
inline constexpr ParameterInfo ParameterNameTab[kNumParams] = {
    {"Mix", "Mix level", "", 0.5f},
    {"Volume", "Volume", "", 0.705f},
    {"Surround", "Surround mix", "", 0.5f},
    {"Bypass", "Bypass", "", 0.0f},
    {"Route", "Effect routing", "", 0.0f},
    {"RMix", "Reverb mix", "", 1.0f},
    {"RSize", "Reverb room size", "m", 0.5f},
    {"RDecay", "Reverb decay", "", 0.6f},
    {"RDiffuse", "Reverb diffusion", "", 1.0f},
    {"RPredel", "Reverb predelay", "ms", 0.2f},
    {"RHiDamp", "Reverb high damp", "kHz", 0.4f},
    {"RLowDamp", "Reverb low damp", "kHz", 0.1f},
    {"RHiCut", "Reverb high cut", "Hz", 1.0f},
    {"RLowCut", "Reverb low cut", "Hz", 0.4f},
    {"RSwirl", "Reverb swirl", "", 0.55f},
    {"GThresh", "Gate threshold", "", 1.0f},
    {"GAttack", "Gate attack", "s", 0.125f},
    {"GHold", "Gate hold time", "s", 0.25f},
    {"GRelease", "Gate rekease", "s", 0.25f},
    {"DLevel", "Ducking level", "", 0.0f},
    {"DLimit", "Ducking limit", "", 0.5f},
    {"MMix", "Multitap mix", "", 1.0f},
    {"MTime", "Multitap time", "beats", 0.5f},
    {"MFeedba", "Multitap feedback", "", 0.5f},
    {"MDetune", "Multitap detune", "", 0.25f},
    {"MHiDamp", "Multitap high damp", "kHz", 0.5f},
    {"MLowDamp", "Multitap low damp", "kHz", 0.0625f},
    {"MHiCut", "Multitap high cut", "Hz", 1.0f},
    {"MLowCut", "Multitap low cut", "Hz", 0.125f},
    STEP_ROWS(0), STEP_ROWS(1), STEP_ROWS(2), STEP_ROWS(3), STEP_ROWS(4), STEP_ROWS(5),
    STEP_ROWS(6), STEP_ROWS(7), STEP_ROWS(8), STEP_ROWS(9), STEP_ROWS(10), STEP_ROWS(11),
    STEP_ROWS(12), STEP_ROWS(13), STEP_ROWS(14), STEP_ROWS(15), STEP_ROWS(16),
    {"Reserved", "", "", 0.0f},
    {"Reserved", "", "", 0.0f},
    {"Reserved", "", "", 0.0f},
    {"Reserved", "", "", 0.0f},
    {"Reserved", "", "", 0.0f},
};
#undef STEP_ROWS

// The init values as one constant array, for tables built at compile time.
struct ParameterInitValues {
    float v[kNumParams];
};
constexpr ParameterInitValues parameterInitValues() {
    ParameterInitValues p{};
    for (int i = 0; i < kNumParams; ++i) p.v[i] = ParameterNameTab[i].init;
    return p;
}
constexpr ParameterInitValues kParameterInit = parameterInitValues();

// Finds a parameter by short name (case-sensitive); -1 if none. Reserved ones are not found.
int findParameter(const char* shortName);

// The value text shown for `value` of parameter `index`, written into `text`
// (at most size - 1 characters, always terminated). Empty for unknown indices.
void parameterDisplayText(int index, float value, char* text, size_t size);

// The texts of the multitap time's note values.
extern const char* const MultiDelaySyncTabName2[13];
// Table position for an MTime value, always within the 13 entries.
int multiDelaySyncIndex(float time);
