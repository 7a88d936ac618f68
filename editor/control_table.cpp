#include "editor/control_table.h"

#include "host/parameters.h"

namespace {

constexpr int64_t stepX(int64_t k) { return 466 + 22 * k; }
constexpr int64_t kStepLeftY = 393;
constexpr int64_t kStepRightY = 462;

}  // namespace

// Parameter controls take their names from the parameter table, so the info
// line and the host show the same words.
#define KNOB(p, x, y) {0, kKindKnob, p, ParameterNameTab[p].longName, x, y, 0.5f}
#define SWITCH(p, x, y) {0, kKindOnOffButton, p, ParameterNameTab[p].longName, x, y, 0.0f}
#define COMMAND(t, name, x, y) {0, kKindKickButton, t, name, x, y, 0.0f}
#define STEP(k)                                                                                          \
    {0, kKindStepSlider, param::stepLeft(k), ParameterNameTab[param::stepLeft(k)].longName, stepX(k),    \
     kStepLeftY, 0.5f},                                                                                  \
    {0, kKindStepSlider, param::stepRight(k), ParameterNameTab[param::stepRight(k)].longName, stepX(k), \
     kStepRightY, 0.5f}

const ControlRecord controlTabs[kNumControlRecords + 1] = {
    KNOB(param::Mix, 337, 14),
    KNOB(param::Surround, 416, 14),
    KNOB(param::GThresh, 559, 14),
    KNOB(param::GAttack, 638, 14),
    KNOB(param::DLevel, 781, 14),
    KNOB(param::Volume, 337, 96),
    KNOB(param::GHold, 559, 96),
    KNOB(param::GRelease, 638, 96),
    KNOB(param::DLimit, 781, 96),
    KNOB(param::RMix, 103, 199),
    KNOB(param::RSize, 181, 199),
    KNOB(param::RDecay, 260, 199),
    KNOB(param::RDiffuse, 338, 199),
    KNOB(param::RPredel, 416, 199),
    KNOB(param::RHiDamp, 103, 279),
    KNOB(param::RLowDamp, 181, 279),
    KNOB(param::RHiCut, 260, 279),
    KNOB(param::RLowCut, 338, 279),
    KNOB(param::RSwirl, 416, 279),
    KNOB(param::MMix, 103, 382),
    KNOB(param::MTime, 181, 382),
    KNOB(param::MFeedba, 260, 382),
    KNOB(param::MDetune, 338, 382),
    KNOB(param::MHiDamp, 103, 463),
    KNOB(param::MLowDamp, 181, 463),
    KNOB(param::MHiCut, 260, 463),
    KNOB(param::MLowCut, 338, 463),
    SWITCH(param::Bypass, 165, 9),
    SWITCH(param::Route, 215, 9),
    COMMAND(ctag::NextProgram, "Next program", 65, 9),
    COMMAND(ctag::PreviousProgram, "Previous program", 115, 9),
    COMMAND(ctag::HideEditor, "Hide editor", 215, 140),
    COMMAND(ctag::Handbook, "Show the handbook", 165, 140),
    COMMAND(ctag::WebSite, "Visit www.orvane.example", 115, 140),
    STEP(0), STEP(1), STEP(2), STEP(3), STEP(4), STEP(5), STEP(6), STEP(7), STEP(8),
    STEP(9), STEP(10), STEP(11), STEP(12), STEP(13), STEP(14), STEP(15), STEP(16),
    {0, kKindEnd, -99, "End", 0, 0, 0.0f},
};

#undef KNOB
#undef SWITCH
#undef COMMAND
#undef STEP
