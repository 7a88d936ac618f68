#pragma once
// The 68 host parameters: one table holds each parameter's index, short name,
// long name, unit label and init value; everything else reads it.
#include <cstddef>
#include <cstdint>

constexpr int kNumParams = 68;
constexpr int kNumNamedParams = 63;  // 63..67 are reserved
constexpr int kNumSteps = 17;

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
constexpr int stepLeft(int step) { return StepL0 + 2 * step; }
constexpr int stepRight(int step) { return StepR0 + 2 * step; }
}  // namespace param

struct ParameterInfo {
    const char* shortName;
    const char* longName;  // empty for the reserved ones
    const char* label;
    float init;
};

// Indexed by parameter; the reserved rows read "Reserved".
extern const ParameterInfo ParameterNameTab[kNumParams];

// Init values as a constant array, for tables built at compile time.
struct ParameterInitValues {
    float v[kNumParams];
};
constexpr ParameterInitValues parameterInitValues() {
    ParameterInitValues p{};
    using namespace param;
    p.v[Mix] = 0.5f; p.v[Volume] = 0.705f; p.v[Surround] = 0.5f;
    p.v[RMix] = 1.0f; p.v[RSize] = 0.5f; p.v[RDecay] = 0.6f; p.v[RDiffuse] = 1.0f;
    p.v[RPredel] = 0.2f; p.v[RHiDamp] = 0.4f; p.v[RLowDamp] = 0.1f; p.v[RHiCut] = 1.0f;
    p.v[RLowCut] = 0.4f; p.v[RSwirl] = 0.55f;
    p.v[GThresh] = 1.0f; p.v[GAttack] = 0.125f; p.v[GHold] = 0.25f; p.v[GRelease] = 0.25f;
    p.v[DLimit] = 0.5f;
    p.v[MMix] = 1.0f; p.v[MTime] = 0.5f; p.v[MFeedba] = 0.5f; p.v[MDetune] = 0.25f;
    p.v[MHiDamp] = 0.5f; p.v[MLowDamp] = 0.0625f; p.v[MHiCut] = 1.0f; p.v[MLowCut] = 0.125f;
    p.v[StepL16] = 1.0f; p.v[StepR16] = 1.0f;
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
