// The factory bank: 180 programs in bank order. Each program names only the
// parameters in which it differs from the init values (by short name); the
// compiler builds the stored records from this table.
//
// Families: MIX runs reverb and multitap together, REV the reverb alone, TAP
// plays multitap patterns, FX are single effects, GATE gated reverbs, DEL
// tempo delays, DUP delay-based doubling, USER empty slots.
#include "host/factory_bank.h"

#include <utility>

namespace {

using namespace param;
using factory::ProgramSource;

constexpr ProgramSource kSources[kNumPrograms] = {
    // MIX: reverb and multitap together, parallel unless Route says serial.
    // Multitap step k sounds k/8 of the note value after the input; steps 8
    // and 16 on both sides give one echo per note value.
    {"MIX Welcome!",  // 0
    {
     {Mix, 0.404f}, {Volume, 0.592f}, {Surround, 0.5f}, {Bypass, 0.0f}, {Route, 0.0f},
     {RMix, 0.504f}, {RSize, 0.484f}, {RDecay, 0.644f}, {RDiffuse, 1.0f}, {RPredel, 0.052f},
     {RHiDamp, 0.216f}, {RLowDamp, 0.096f}, {RHiCut, 1.0f}, {RLowCut, 0.312f}, {RSwirl, 0.552f},
     {GThresh, 1.0f}, {GAttack, 0.125f}, {GHold, 0.25f}, {GRelease, 0.25f}, {DLevel, 0.0f},
     {DLimit, 0.5f}, {MMix, 1.0f}, {MTime, 0.736f}, {MFeedba, 0.504f}, {MDetune, 0.568f},
     {MHiDamp, 0.504f}, {MLowDamp, 0.04f}, {MHiCut, 1.0f}, {MLowCut, 0.14f}, {StepL0, 1.0f},
     {StepR0, 1.0f}, {StepL2, 0.5f}, {StepR2, 0.5f}, {StepL4, 0.25f}, {StepR4, 0.25f},
     {StepL6, 1.0f}, {StepR6, 1.0f}, {StepL8, 0.5f}, {StepR8, 0.5f}, {StepL10, 0.25f},
     {StepR10, 0.25f}, {StepL12, 1.0f}, {StepR12, 1.0f}, {StepL14, 0.5f}, {StepR14, 0.5f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"MIX Citadel Space",  // 1: echoes into a large, slow hall
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {Route, 1.0f}, {RMix, 0.6f}, {RSize, 0.85f}, {RDecay, 0.68f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {RSwirl, 0.7f}, {MMix, 0.55f},
     {MTime, 0.73f}, {MFeedba, 0.55f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f},
     {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"MIX Chillout",  // 2
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.7f}, {RHiCut, 0.6f}, {RLowCut, 0.35f}, {MMix, 0.5f},
     {MTime, 0.65f}, {MDetune, 0.35f}, {MHiDamp, 0.7f}, {MLowCut, 0.2f}, {StepL8, 1.0f},
     {StepR8, 0.4f}, {StepL16, 0.4f}, {StepR16, 1.0f}
    }},
    {"MIX Echo Space",  // 3
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.6f}, {MTime, 0.25f},
     {MFeedba, 0.6f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f},
     {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"MIX Echo Space 2",  // 4
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.7f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.6f}, {MTime, 0.42f},
     {MFeedba, 0.6f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepL16, 0.0f},
     {StepR16, 1.0f}
    }},
    {"MIX Epic Trance",  // 5: dotted echoes and a bright arena
    {
     {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.9f}, {RDecay, 0.66f}, {RPredel, 0.3f},
     {RHiDamp, 0.2f}, {RLowCut, 0.35f}, {RSwirl, 0.75f}, {MMix, 0.55f}, {MTime, 0.65f},
     {MFeedba, 0.62f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 0.3f},
     {StepL16, 0.3f}, {StepR16, 1.0f}
    }},
    {"MIX Fat Drums 1",  // 6
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {Surround, 0.65f}, {RMix, 0.6f}, {RSize, 0.3f},
     {RDecay, 0.45f}, {RPredel, 0.05f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.45f},
     {MTime, 0.1f}, {MFeedba, 0.0f}, {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL1, 0.8f},
     {StepR2, 0.8f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"MIX Fat Drums 2",  // 7
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {Surround, 0.65f}, {RMix, 0.6f}, {RSize, 0.4f},
     {RDecay, 0.5f}, {RPredel, 0.05f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.45f},
     {MTime, 0.1f}, {MFeedba, 0.0f}, {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL1, 0.7f},
     {StepR1, 0.2f}, {StepL3, 0.2f}, {StepR3, 0.7f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"MIX Fat Drums 3",  // 8
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {Surround, 0.65f}, {RMix, 0.6f}, {RDecay, 0.48f},
     {RPredel, 0.05f}, {RHiDamp, 0.6f}, {RLowCut, 0.35f}, {MMix, 0.45f}, {MTime, 0.1f},
     {MFeedba, 0.0f}, {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL2, 0.8f}, {StepR3, 0.8f},
     {StepL5, 0.3f}, {StepR5, 0.3f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"MIX Large Space",  // 9
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {Route, 1.0f}, {RMix, 0.65f}, {RSize, 0.92f},
     {RDecay, 0.64f}, {RPredel, 0.25f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.5f},
     {MTime, 0.73f}, {MFeedba, 0.45f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f},
     {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"MIX Loop Band",  // 10
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.45f}, {RDecay, 0.5f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.55f}, {MMix, 0.6f}, {MTime, 0.73f},
     {MFeedba, 0.75f}, {MDetune, 0.2f}, {MLowCut, 0.35f}, {StepL4, 0.6f}, {StepR4, 0.6f},
     {StepL8, 0.8f}, {StepR8, 0.8f}, {StepL12, 0.5f}, {StepR12, 0.5f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"MIX Loop Damp",  // 11
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.9f}, {RHiCut, 0.5f}, {RLowCut, 0.35f}, {MMix, 0.6f},
     {MTime, 0.73f}, {MFeedba, 0.75f}, {MDetune, 0.2f}, {MHiDamp, 0.85f}, {MHiCut, 0.5f},
     {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"MIX Loop Ghosts",  // 12
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.66f},
     {RPredel, 0.35f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {RSwirl, 1.0f}, {MMix, 0.6f},
     {MTime, 0.73f}, {MFeedba, 0.75f}, {MDetune, 0.65f}, {MLowCut, 0.2f}, {StepL6, 0.8f},
     {StepR6, 0.2f}, {StepL10, 0.2f}, {StepR10, 0.8f}, {StepL16, 0.7f}, {StepR16, 0.7f}
    }},
    {"MIX Loop Glass",  // 13
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.0f}, {RLowCut, 0.8f}, {RSwirl, 0.8f}, {MMix, 0.6f},
     {MTime, 0.73f}, {MFeedba, 0.75f}, {MDetune, 0.2f}, {MHiDamp, 0.1f}, {MLowCut, 0.6f},
     {StepL4, 1.0f}, {StepR4, 0.3f}, {StepL12, 0.3f}, {StepR12, 1.0f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"MIX Loop Ring",  // 14
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RDiffuse, 0.0f}, {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {RSwirl, 0.0f},
     {MMix, 0.6f}, {MTime, 0.1f}, {MFeedba, 0.82f}, {MDetune, 0.05f}, {MLowCut, 0.2f},
     {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"MIX Pan",  // 15: echoes walk from left to right
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.5f}, {MTime, 0.73f},
     {MFeedba, 0.45f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL4, 1.0f}, {StepL8, 0.7f},
     {StepR8, 0.3f}, {StepL12, 0.3f}, {StepR12, 0.7f}, {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"MIX PingPong 1",  // 16
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.6f}, {MFeedba, 0.62f},
     {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"MIX PingPong 2",  // 17
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.4f}, {RDecay, 0.5f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.6f}, {MTime, 0.25f},
     {MFeedba, 0.6f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepL16, 0.0f},
     {StepR16, 1.0f}
    }},
    {"MIX PingPong 3",  // 18
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.75f}, {RDecay, 0.62f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.6f}, {MTime, 0.65f},
     {MFeedba, 0.65f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepL16, 0.0f},
     {StepR16, 1.0f}
    }},
    {"MIX Reverb Delay 1",  // 19
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {Route, 1.0f}, {RMix, 0.6f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.5f}, {MDetune, 0.2f},
     {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"MIX Reverb Delay 2",  // 20
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {Route, 1.0f}, {RMix, 0.6f}, {RSize, 0.45f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.55f}, {MTime, 0.42f},
     {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"MIX Reverb Delay 3",  // 21
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {Route, 1.0f}, {RMix, 0.6f}, {RSize, 0.8f}, {RDecay, 0.64f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.5f}, {MTime, 0.73f},
     {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"MIX Reverb Dup 1",  // 22
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.5f}, {MTime, 0.25f},
     {MFeedba, 0.0f}, {MDetune, 0.15f}, {MLowCut, 0.2f}, {StepL1, 0.8f}, {StepR2, 0.8f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"MIX Reverb Dup 2",  // 23
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.45f}, {RDecay, 0.5f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.5f}, {MTime, 0.25f},
     {MFeedba, 0.0f}, {MDetune, 0.15f}, {MLowCut, 0.2f}, {StepL2, 0.8f}, {StepR2, 0.2f},
     {StepL3, 0.2f}, {StepR3, 0.8f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"MIX Reverb Dup 3",  // 24
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.75f}, {RDecay, 0.62f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.5f}, {MTime, 0.25f},
     {MFeedba, 0.0f}, {MDetune, 0.15f}, {MLowCut, 0.2f}, {StepL1, 0.7f}, {StepR3, 0.7f},
     {StepL6, 0.4f}, {StepR6, 0.4f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"MIX Revers Reverb",  // 25
    {
     {Volume, 0.68f}, {Route, 1.0f}, {RDecay, 0.45f}, {RPredel, 0.12f}, {RHiDamp, 0.45f},
     {RLowCut, 0.35f}, {MFeedba, 0.0f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL1, 0.004f},
     {StepR1, 0.004f}, {StepL2, 0.016f}, {StepR2, 0.016f}, {StepL3, 0.035f}, {StepR3, 0.035f},
     {StepL4, 0.062f}, {StepR4, 0.062f}, {StepL5, 0.098f}, {StepR5, 0.098f}, {StepL6, 0.141f},
     {StepR6, 0.141f}, {StepL7, 0.191f}, {StepR7, 0.191f}, {StepL8, 0.25f}, {StepR8, 0.25f},
     {StepL9, 0.316f}, {StepR9, 0.316f}, {StepL10, 0.391f}, {StepR10, 0.391f}, {StepL11, 0.473f},
     {StepR11, 0.473f}, {StepL12, 0.562f}, {StepR12, 0.562f}, {StepL13, 0.66f}, {StepR13, 0.66f},
     {StepL14, 0.766f}, {StepR14, 0.766f}, {StepL15, 0.879f}, {StepR15, 0.879f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"MIX Revers Reverb2",  // 26
    {
     {Volume, 0.68f}, {Route, 1.0f}, {RSize, 0.7f}, {RDecay, 0.5f}, {RPredel, 0.12f},
     {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MTime, 0.73f}, {MFeedba, 0.0f}, {MDetune, 0.2f},
     {MLowCut, 0.2f}, {StepL1, 0.004f}, {StepR1, 0.004f}, {StepL2, 0.016f}, {StepR2, 0.016f},
     {StepL3, 0.035f}, {StepR3, 0.035f}, {StepL4, 0.062f}, {StepR4, 0.062f}, {StepL5, 0.098f},
     {StepR5, 0.098f}, {StepL6, 0.141f}, {StepR6, 0.141f}, {StepL7, 0.191f}, {StepR7, 0.191f},
     {StepL8, 0.25f}, {StepR8, 0.25f}, {StepL9, 0.316f}, {StepR9, 0.316f}, {StepL10, 0.391f},
     {StepR10, 0.391f}, {StepL11, 0.473f}, {StepR11, 0.473f}, {StepL12, 0.562f},
     {StepR12, 0.562f}, {StepL13, 0.66f}, {StepR13, 0.66f}, {StepL14, 0.766f}, {StepR14, 0.766f},
     {StepL15, 0.879f}, {StepR15, 0.879f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"MIX Revers Reverb3",  // 27
    {
     {Volume, 0.68f}, {Route, 1.0f}, {RDecay, 0.45f}, {RPredel, 0.12f}, {RHiDamp, 0.45f},
     {RLowCut, 0.35f}, {MTime, 0.65f}, {MFeedba, 0.0f}, {MDetune, 0.2f}, {MLowCut, 0.2f},
     {StepL2, 0.016f}, {StepR2, 0.016f}, {StepL4, 0.062f}, {StepR4, 0.062f}, {StepL6, 0.141f},
     {StepR6, 0.141f}, {StepL8, 0.25f}, {StepR8, 0.25f}, {StepL10, 0.391f}, {StepR10, 0.391f},
     {StepL12, 0.562f}, {StepR12, 0.562f}, {StepL14, 0.766f}, {StepR14, 0.766f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"MIX Rise And Fall 1",  // 28: taps swell to the middle step and fade
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.6f}, {MFeedba, 0.3f},
     {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL1, 0.125f}, {StepR1, 0.125f}, {StepL2, 0.25f},
     {StepR2, 0.25f}, {StepL3, 0.375f}, {StepR3, 0.375f}, {StepL4, 0.5f}, {StepR4, 0.5f},
     {StepL5, 0.625f}, {StepR5, 0.625f}, {StepL6, 0.75f}, {StepR6, 0.75f}, {StepL7, 0.875f},
     {StepR7, 0.875f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL9, 0.875f}, {StepR9, 0.875f},
     {StepL10, 0.75f}, {StepR10, 0.75f}, {StepL11, 0.625f}, {StepR11, 0.625f}, {StepL12, 0.5f},
     {StepR12, 0.5f}, {StepL13, 0.375f}, {StepR13, 0.375f}, {StepL14, 0.25f}, {StepR14, 0.25f},
     {StepL15, 0.125f}, {StepR15, 0.125f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"MIX Rise And Fall 2",  // 29: rises on the left while it falls on the right
    {
     {Mix, 0.45f}, {Volume, 0.62f}, {RMix, 0.55f}, {RSize, 0.6f}, {RDecay, 0.58f},
     {RPredel, 0.12f}, {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.6f}, {MTime, 0.73f},
     {MFeedba, 0.3f}, {MDetune, 0.2f}, {MLowCut, 0.2f}, {StepL1, 0.062f}, {StepR1, 0.938f},
     {StepL2, 0.125f}, {StepR2, 0.875f}, {StepL3, 0.188f}, {StepR3, 0.812f}, {StepL4, 0.25f},
     {StepR4, 0.75f}, {StepL5, 0.312f}, {StepR5, 0.688f}, {StepL6, 0.375f}, {StepR6, 0.625f},
     {StepL7, 0.438f}, {StepR7, 0.562f}, {StepL8, 0.5f}, {StepR8, 0.5f}, {StepL9, 0.562f},
     {StepR9, 0.438f}, {StepL10, 0.625f}, {StepR10, 0.375f}, {StepL11, 0.688f},
     {StepR11, 0.312f}, {StepL12, 0.75f}, {StepR12, 0.25f}, {StepL13, 0.812f}, {StepR13, 0.188f},
     {StepL14, 0.875f}, {StepR14, 0.125f}, {StepL15, 0.938f}, {StepR15, 0.062f}, {StepL16, 1.0f},
     {StepR16, 0.0f}
    }},
    // REV: the reverb alone (MMix 0). Sizes: Room 0.25 (3 m), Chamber 0.38
    // (5 m), Hall 0.5 (8 m), Arena 0.9 (37 m). Bright keeps the highs (little
    // high damping, open high cut), Warm damps and cuts them; Ring and Cheap
    // leave out most of the input diffusion.
    {"REV Hall Big",  // 30
    {
     {Mix, 0.404f}, {Volume, 0.672f}, {RDecay, 0.75f}, {RHiDamp, 0.552f}, {MMix, 0.0f}
    }},
    {"REV Hall Bright",  // 31
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RDecay, 0.56f}, {RPredel, 0.16f}, {RHiDamp, 0.08f},
     {RLowCut, 0.5f}, {MMix, 0.0f}
    }},
    {"REV Hall Warm",  // 32
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RDecay, 0.56f}, {RPredel, 0.16f}, {RHiDamp, 0.78f},
     {RLowDamp, 0.03f}, {RHiCut, 0.45f}, {RLowCut, 0.15f}, {MMix, 0.0f}
    }},
    {"REV Hall Trance",  // 33: long and bright, late start
    {
     {Mix, 0.48f}, {Volume, 0.66f}, {RDecay, 0.68f}, {RPredel, 0.35f}, {RHiDamp, 0.2f},
     {RLowCut, 0.35f}, {RSwirl, 0.75f}, {MMix, 0.0f}
    }},
    {"REV Hall Band",  // 34: shorter, low end cleared for a full mix
    {
     {Mix, 0.3f}, {Volume, 0.66f}, {RDecay, 0.5f}, {RPredel, 0.16f}, {RHiDamp, 0.45f},
     {RLowCut, 0.55f}, {MMix, 0.0f}
    }},
    {"REV Hall Small",  // 35
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RSize, 0.4f}, {RDecay, 0.5f}, {RPredel, 0.12f},
     {RHiDamp, 0.45f}, {RLowCut, 0.35f}, {MMix, 0.0f}
    }},
    {"REV Hall Damp",  // 36
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RDecay, 0.56f}, {RPredel, 0.16f}, {RHiDamp, 0.9f},
     {RHiCut, 0.5f}, {RLowCut, 0.35f}, {MMix, 0.0f}
    }},
    {"REV Hall Ghosts",  // 37: deep swirl and a long predelay
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RDecay, 0.66f}, {RDiffuse, 0.8f}, {RPredel, 0.4f},
     {RHiDamp, 0.3f}, {RLowCut, 0.35f}, {RSwirl, 1.0f}, {MMix, 0.0f}
    }},
    {"REV Hall Glass",  // 38: only the highs ring on
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RDecay, 0.56f}, {RPredel, 0.16f}, {RHiDamp, 0.0f},
     {RLowDamp, 0.2f}, {RLowCut, 0.8f}, {RSwirl, 0.8f}, {MMix, 0.0f}
    }},
    {"REV Hall Real",  // 39
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RDecay, 0.56f}, {RPredel, 0.16f}, {RHiDamp, 0.5f},
     {RLowDamp, 0.08f}, {RLowCut, 0.3f}, {RSwirl, 0.3f}, {MMix, 0.0f}
    }},
    {"REV Hall Real 2",  // 40
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RHiDamp, 0.5f}, {RLowDamp, 0.08f}, {RLowCut, 0.3f},
     {RSwirl, 0.3f}, {MMix, 0.0f}
    }},
    {"REV Hall Ring",  // 41: no input diffusion: the tank's echoes stay audible
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RDecay, 0.56f}, {RDiffuse, 0.0f}, {RPredel, 0.16f},
     {RHiDamp, 0.1f}, {RLowCut, 0.35f}, {RSwirl, 0.0f}, {MMix, 0.0f}
    }},
    {"REV Hall Spring",  // 42
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RDecay, 0.56f}, {RDiffuse, 0.25f}, {RPredel, 0.16f},
     {RHiDamp, 0.2f}, {RHiCut, 0.6f}, {RLowCut, 0.6f}, {RSwirl, 0.9f}, {MMix, 0.0f}
    }},
    {"REV Hall Plate",  // 43
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RSize, 0.45f}, {RDecay, 0.56f}, {RPredel, 0.0f},
     {RHiDamp, 0.15f}, {RLowCut, 0.55f}, {RSwirl, 0.65f}, {MMix, 0.0f}
    }},
    {"REV Hall Cheap",  // 44
    {
     {Mix, 0.4f}, {Volume, 0.66f}, {RDecay, 0.52f}, {RDiffuse, 0.1f}, {RPredel, 0.16f},
     {RHiDamp, 0.65f}, {RHiCut, 0.35f}, {RLowCut, 0.5f}, {RSwirl, 0.0f}, {MMix, 0.0f}
    }},
    {"REV Room",  // 45
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.4f}, {RPredel, 0.08f},
     {RSwirl, 0.4f}, {MMix, 0.0f}
    }},
    {"REV Room Bright",  // 46
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.4f}, {RPredel, 0.08f},
     {RHiDamp, 0.08f}, {RLowCut, 0.5f}, {RSwirl, 0.4f}, {MMix, 0.0f}
    }},
    {"REV Room Bright 2",  // 47
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.36f}, {RPredel, 0.08f},
     {RHiDamp, 0.0f}, {RLowCut, 0.6f}, {RSwirl, 0.3f}, {MMix, 0.0f}
    }},
    {"REV Room Warm",  // 48
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.4f}, {RPredel, 0.08f},
     {RHiDamp, 0.78f}, {RLowDamp, 0.03f}, {RHiCut, 0.45f}, {RLowCut, 0.15f}, {RSwirl, 0.4f},
     {MMix, 0.0f}
    }},
    {"REV Room Trance",  // 49
    {
     {Mix, 0.48f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.48f}, {RHiDamp, 0.2f},
     {RSwirl, 0.75f}, {MMix, 0.0f}
    }},
    {"REV Room Band",  // 50
    {
     {Mix, 0.3f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.34f}, {RPredel, 0.08f},
     {RHiDamp, 0.45f}, {RLowCut, 0.55f}, {RSwirl, 0.4f}, {MMix, 0.0f}
    }},
    {"REV Room Damp",  // 51
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.4f}, {RPredel, 0.08f},
     {RHiDamp, 0.9f}, {RHiCut, 0.5f}, {RSwirl, 0.4f}, {MMix, 0.0f}
    }},
    {"REV Room Glass",  // 52
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.4f}, {RPredel, 0.08f},
     {RHiDamp, 0.0f}, {RLowDamp, 0.2f}, {RLowCut, 0.8f}, {RSwirl, 0.8f}, {MMix, 0.0f}
    }},
    {"REV Room Large",  // 53
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.36f}, {RDecay, 0.46f}, {RPredel, 0.1f},
     {RSwirl, 0.4f}, {MMix, 0.0f}
    }},
    {"REV Room Real",  // 54
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.4f}, {RPredel, 0.06f},
     {RHiDamp, 0.5f}, {RLowDamp, 0.08f}, {RLowCut, 0.3f}, {RSwirl, 0.3f}, {MMix, 0.0f}
    }},
    {"REV Room Spring",  // 55
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.18f}, {RDecay, 0.4f}, {RDiffuse, 0.25f},
     {RPredel, 0.08f}, {RHiDamp, 0.2f}, {RHiCut, 0.6f}, {RLowCut, 0.6f}, {RSwirl, 0.9f},
     {MMix, 0.0f}
    }},
    {"REV Room Plate",  // 56
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.4f}, {RPredel, 0.0f},
     {RHiDamp, 0.15f}, {RLowCut, 0.55f}, {RSwirl, 0.65f}, {MMix, 0.0f}
    }},
    {"REV Room Cheap",  // 57
    {
     {Mix, 0.36f}, {Volume, 0.68f}, {RSize, 0.25f}, {RDecay, 0.4f}, {RDiffuse, 0.1f},
     {RPredel, 0.08f}, {RHiDamp, 0.65f}, {RHiCut, 0.35f}, {RLowCut, 0.5f}, {RSwirl, 0.0f},
     {MMix, 0.0f}
    }},
    {"REV Arena",  // 58
    {
     {Mix, 0.42f}, {Volume, 0.64f}, {RSize, 0.9f}, {RPredel, 0.3f}, {RHiDamp, 0.5f},
     {RLowCut, 0.3f}, {RSwirl, 0.6f}, {MMix, 0.0f}
    }},
    {"REV Arena Warm",  // 59
    {
     {Mix, 0.42f}, {Volume, 0.64f}, {RSize, 0.9f}, {RPredel, 0.3f}, {RHiDamp, 0.78f},
     {RLowDamp, 0.03f}, {RHiCut, 0.45f}, {RLowCut, 0.15f}, {RSwirl, 0.6f}, {MMix, 0.0f}
    }},
    {"REV Arena Trance",  // 60
    {
     {Mix, 0.48f}, {Volume, 0.64f}, {RSize, 0.9f}, {RDecay, 0.68f}, {RPredel, 0.4f},
     {RHiDamp, 0.2f}, {RLowCut, 0.3f}, {RSwirl, 0.75f}, {MMix, 0.0f}
    }},
    {"REV Arena Band",  // 61
    {
     {Mix, 0.3f}, {Volume, 0.64f}, {RSize, 0.9f}, {RDecay, 0.55f}, {RPredel, 0.3f},
     {RHiDamp, 0.45f}, {RLowCut, 0.55f}, {RSwirl, 0.6f}, {MMix, 0.0f}
    }},
    {"REV Arena Damp",  // 62
    {
     {Mix, 0.42f}, {Volume, 0.64f}, {RSize, 0.9f}, {RPredel, 0.3f}, {RHiDamp, 0.9f},
     {RHiCut, 0.5f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {MMix, 0.0f}
    }},
    {"REV Arena Real",  // 63
    {
     {Mix, 0.42f}, {Volume, 0.64f}, {RSize, 0.9f}, {RPredel, 0.34f}, {RHiDamp, 0.5f},
     {RLowDamp, 0.08f}, {RLowCut, 0.3f}, {RSwirl, 0.3f}, {MMix, 0.0f}
    }},
    {"REV Arena Ring",  // 64
    {
     {Mix, 0.42f}, {Volume, 0.64f}, {RSize, 0.9f}, {RDecay, 0.52f}, {RDiffuse, 0.0f},
     {RPredel, 0.3f}, {RHiDamp, 0.1f}, {RLowCut, 0.3f}, {RSwirl, 0.0f}, {MMix, 0.0f}
    }},
    {"REV Arena Wasps",  // 65: full swirl on a high-passed, undamped tail: a buzzing cloud
    {
     {Mix, 0.42f}, {Volume, 0.64f}, {RSize, 0.9f}, {RPredel, 0.3f}, {RHiDamp, 0.0f},
     {RLowDamp, 0.3f}, {RLowCut, 0.9f}, {RSwirl, 1.0f}, {MMix, 0.0f}
    }},
    {"REV Arena Cheap",  // 66
    {
     {Mix, 0.42f}, {Volume, 0.64f}, {RSize, 0.9f}, {RDecay, 0.52f}, {RDiffuse, 0.1f},
     {RPredel, 0.3f}, {RHiDamp, 0.65f}, {RHiCut, 0.35f}, {RLowCut, 0.5f}, {RSwirl, 0.0f},
     {MMix, 0.0f}
    }},
    {"REV Chamber",  // 67
    {
     {Mix, 0.38f}, {Volume, 0.67f}, {RSize, 0.38f}, {RDecay, 0.5f}, {RPredel, 0.1f},
     {RHiDamp, 0.35f}, {RSwirl, 0.45f}, {MMix, 0.0f}
    }},
    {"REV Chamber Trance",  // 68
    {
     {Mix, 0.48f}, {Volume, 0.67f}, {RSize, 0.38f}, {RDecay, 0.58f}, {RPredel, 0.25f},
     {RHiDamp, 0.2f}, {RSwirl, 0.75f}, {MMix, 0.0f}
    }},
    {"REV Chamber Band",  // 69
    {
     {Mix, 0.3f}, {Volume, 0.67f}, {RSize, 0.38f}, {RDecay, 0.44f}, {RPredel, 0.1f},
     {RHiDamp, 0.45f}, {RLowCut, 0.55f}, {RSwirl, 0.45f}, {MMix, 0.0f}
    }},
    {"REV Chamber Damp",  // 70
    {
     {Mix, 0.38f}, {Volume, 0.67f}, {RSize, 0.38f}, {RDecay, 0.5f}, {RPredel, 0.1f},
     {RHiDamp, 0.9f}, {RHiCut, 0.5f}, {RSwirl, 0.45f}, {MMix, 0.0f}
    }},
    {"REV Chamber Glass",  // 71
    {
     {Mix, 0.38f}, {Volume, 0.67f}, {RSize, 0.38f}, {RDecay, 0.5f}, {RPredel, 0.1f},
     {RHiDamp, 0.0f}, {RLowDamp, 0.2f}, {RLowCut, 0.8f}, {RSwirl, 0.8f}, {MMix, 0.0f}
    }},
    {"REV Chamber Real",  // 72
    {
     {Mix, 0.38f}, {Volume, 0.67f}, {RSize, 0.38f}, {RDecay, 0.5f}, {RPredel, 0.1f},
     {RHiDamp, 0.5f}, {RLowDamp, 0.08f}, {RLowCut, 0.3f}, {RSwirl, 0.3f}, {MMix, 0.0f}
    }},
    {"REV Chamber Cheap",  // 73
    {
     {Mix, 0.38f}, {Volume, 0.67f}, {RSize, 0.38f}, {RDecay, 0.5f}, {RDiffuse, 0.1f},
     {RPredel, 0.1f}, {RHiDamp, 0.65f}, {RHiCut, 0.35f}, {RLowCut, 0.5f}, {RSwirl, 0.0f},
     {MMix, 0.0f}
    }},
    // TAP: multitap patterns, reverb off. On the "1" grid a step is an eighth
    // of a beat and the pattern repeats every two beats; the letters of the
    // names are steps 4, 8, 12, 16 (C both sides, L left, R right, _ silent).
    // On "3/4" steps 8 and 16 are dotted eighths; "4/3" is a triplet grid.
    {"TAP __LR",  // 74
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.55f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL12, 1.0f}, {StepL16, 0.0f},
     {StepR16, 1.0f}
    }},
    {"TAP Beat 1",  // 75
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.45f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL3, 0.8f}, {StepR3, 0.8f},
     {StepL6, 0.6f}, {StepR6, 0.6f}, {StepL10, 0.7f}, {StepR10, 0.35f}, {StepL14, 0.35f},
     {StepR14, 0.7f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"TAP C_CC Fat",  // 76
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {Surround, 0.7f}, {RMix, 0.0f}, {MTime, 0.73f},
     {MFeedba, 0.55f}, {MDetune, 0.6f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL4, 1.0f},
     {StepR4, 1.0f}, {StepL12, 1.0f}, {StepR12, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"TAP C_CC",  // 77
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.55f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL4, 1.0f}, {StepR4, 1.0f},
     {StepL12, 1.0f}, {StepR12, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"TAP C_LR",  // 78
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.55f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL4, 1.0f}, {StepR4, 1.0f},
     {StepL12, 1.0f}, {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"TAP CCC_ Fat",  // 79
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {Surround, 0.7f}, {RMix, 0.0f}, {MTime, 0.73f},
     {MFeedba, 0.55f}, {MDetune, 0.6f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL4, 1.0f},
     {StepR4, 1.0f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL12, 1.0f}, {StepR12, 1.0f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"TAP CCC_",  // 80
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.55f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL4, 1.0f}, {StepR4, 1.0f},
     {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL12, 1.0f}, {StepR12, 1.0f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"TAP CRCL",  // 81
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.55f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL4, 1.0f}, {StepR4, 1.0f},
     {StepR8, 1.0f}, {StepL12, 1.0f}, {StepR12, 1.0f}, {StepL16, 1.0f}, {StepR16, 0.0f}
    }},
    {"TAP Doted 2 Fat",  // 82
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {Surround, 0.7f}, {RMix, 0.0f}, {MTime, 0.65f},
     {MFeedba, 0.55f}, {MDetune, 0.6f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL8, 1.0f},
     {StepR8, 0.2f}, {StepL16, 0.2f}, {StepR16, 1.0f}
    }},
    {"TAP Doted 2",  // 83: dotted eighths, alternating sides
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.65f}, {MFeedba, 0.55f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 0.2f},
     {StepL16, 0.2f}, {StepR16, 1.0f}
    }},
    {"TAP Doted 3",  // 84: dotted sixteenths
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.42f}, {MFeedba, 0.55f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f},
     {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"TAP Doted 4",  // 85: dotted quarters
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.88f}, {MDetune, 0.2f},
     {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"TAP Doted Fat",  // 86
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {Surround, 0.7f}, {RMix, 0.0f}, {MTime, 0.65f},
     {MFeedba, 0.55f}, {MDetune, 0.6f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL8, 1.0f},
     {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"TAP Doted",  // 87: dotted eighths
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.65f}, {MFeedba, 0.55f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f},
     {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"TAP Fake Reverb 2",  // 88
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.18f}, {MFeedba, 0.72f},
     {MDetune, 0.55f}, {MHiDamp, 0.6f}, {MHiCut, 0.75f}, {MLowCut, 0.2f}, {StepL1, 0.6f},
     {StepR1, 0.2f}, {StepL2, 0.2f}, {StepR2, 0.7f}, {StepL3, 0.8f}, {StepR3, 0.3f},
     {StepL5, 0.3f}, {StepR5, 0.8f}, {StepL6, 0.6f}, {StepR6, 0.5f}, {StepL7, 0.2f},
     {StepR7, 0.6f}, {StepL9, 0.7f}, {StepR9, 0.3f}, {StepL10, 0.3f}, {StepR10, 0.5f},
     {StepL11, 0.5f}, {StepR11, 0.2f}, {StepL13, 0.2f}, {StepR13, 0.6f}, {StepL14, 0.5f},
     {StepR14, 0.3f}, {StepL15, 0.3f}, {StepR15, 0.4f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"TAP Fake Reverb 3",  // 89
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.25f}, {MFeedba, 0.68f},
     {MDetune, 0.6f}, {MHiDamp, 0.55f}, {MHiCut, 0.8f}, {MLowCut, 0.2f}, {StepL1, 0.6f},
     {StepR1, 0.2f}, {StepL2, 0.2f}, {StepR2, 0.7f}, {StepL3, 0.8f}, {StepR3, 0.3f},
     {StepL5, 0.3f}, {StepR5, 0.8f}, {StepL6, 0.6f}, {StepR6, 0.5f}, {StepL7, 0.2f},
     {StepR7, 0.6f}, {StepL9, 0.7f}, {StepR9, 0.3f}, {StepL10, 0.3f}, {StepR10, 0.5f},
     {StepL11, 0.5f}, {StepR11, 0.2f}, {StepL13, 0.2f}, {StepR13, 0.6f}, {StepL14, 0.5f},
     {StepR14, 0.3f}, {StepL15, 0.3f}, {StepR15, 0.4f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"TAP Fake Reverb 4",  // 90: darker
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.1f}, {MFeedba, 0.78f},
     {MDetune, 0.5f}, {MHiDamp, 0.8f}, {MHiCut, 0.6f}, {MLowCut, 0.2f}, {StepL1, 0.6f},
     {StepR1, 0.2f}, {StepL2, 0.2f}, {StepR2, 0.7f}, {StepL3, 0.8f}, {StepR3, 0.3f},
     {StepL5, 0.3f}, {StepR5, 0.8f}, {StepL6, 0.6f}, {StepR6, 0.5f}, {StepL7, 0.2f},
     {StepR7, 0.6f}, {StepL9, 0.7f}, {StepR9, 0.3f}, {StepL10, 0.3f}, {StepR10, 0.5f},
     {StepL11, 0.5f}, {StepR11, 0.2f}, {StepL13, 0.2f}, {StepR13, 0.6f}, {StepL14, 0.5f},
     {StepR14, 0.3f}, {StepL15, 0.3f}, {StepR15, 0.4f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"TAP Fake Reverb",  // 91: taps 8 ms apart, recirculating every 125 ms
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.1f}, {MFeedba, 0.75f},
     {MDetune, 0.55f}, {MHiDamp, 0.6f}, {MHiCut, 0.75f}, {MLowCut, 0.2f}, {StepL1, 0.6f},
     {StepR1, 0.2f}, {StepL2, 0.2f}, {StepR2, 0.7f}, {StepL3, 0.8f}, {StepR3, 0.3f},
     {StepL5, 0.3f}, {StepR5, 0.8f}, {StepL6, 0.6f}, {StepR6, 0.5f}, {StepL7, 0.2f},
     {StepR7, 0.6f}, {StepL9, 0.7f}, {StepR9, 0.3f}, {StepL10, 0.3f}, {StepR10, 0.5f},
     {StepL11, 0.5f}, {StepR11, 0.2f}, {StepL13, 0.2f}, {StepR13, 0.6f}, {StepL14, 0.5f},
     {StepR14, 0.3f}, {StepL15, 0.3f}, {StepR15, 0.4f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"TAP Fall 1",  // 92
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.3f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL2, 1.0f}, {StepR2, 1.0f},
     {StepL4, 0.8f}, {StepR4, 0.8f}, {StepL6, 0.62f}, {StepR6, 0.62f}, {StepL8, 0.48f},
     {StepR8, 0.48f}, {StepL10, 0.36f}, {StepR10, 0.36f}, {StepL12, 0.26f}, {StepR12, 0.26f},
     {StepL14, 0.18f}, {StepR14, 0.18f}, {StepL16, 0.12f}, {StepR16, 0.12f}
    }},
    {"TAP Fall 2",  // 93
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MFeedba, 0.3f}, {MDetune, 0.2f},
     {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL1, 0.66f}, {StepR1, 0.66f}, {StepL2, 0.62f},
     {StepR2, 0.62f}, {StepL3, 0.58f}, {StepR3, 0.58f}, {StepL4, 0.54f}, {StepR4, 0.54f},
     {StepL5, 0.5f}, {StepR5, 0.5f}, {StepL6, 0.46f}, {StepR6, 0.46f}, {StepL7, 0.42f},
     {StepR7, 0.42f}, {StepL8, 0.38f}, {StepR8, 0.38f}, {StepL9, 0.34f}, {StepR9, 0.34f},
     {StepL10, 0.3f}, {StepR10, 0.3f}, {StepL11, 0.26f}, {StepR11, 0.26f}, {StepL12, 0.22f},
     {StepR12, 0.22f}, {StepL13, 0.18f}, {StepR13, 0.18f}, {StepL14, 0.14f}, {StepR14, 0.14f},
     {StepL15, 0.1f}, {StepR15, 0.1f}, {StepL16, 0.06f}, {StepR16, 0.06f}
    }},
    {"TAP Pan 1",  // 94
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.55f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL2, 1.0f}, {StepR4, 1.0f},
     {StepL6, 1.0f}, {StepR8, 1.0f}, {StepL10, 1.0f}, {StepR12, 1.0f}, {StepL14, 1.0f},
     {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"TAP Pan 2",  // 95: sweeps from left to right over the pattern
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.45f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL2, 0.875f}, {StepR2, 0.125f},
     {StepL4, 0.75f}, {StepR4, 0.25f}, {StepL6, 0.625f}, {StepR6, 0.375f}, {StepL8, 0.5f},
     {StepR8, 0.5f}, {StepL10, 0.375f}, {StepR10, 0.625f}, {StepL12, 0.25f}, {StepR12, 0.75f},
     {StepL14, 0.125f}, {StepR14, 0.875f}, {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"TAP Rise",  // 96
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.3f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL2, 0.12f}, {StepR2, 0.12f},
     {StepL4, 0.2f}, {StepR4, 0.2f}, {StepL6, 0.3f}, {StepR6, 0.3f}, {StepL8, 0.42f},
     {StepR8, 0.42f}, {StepL10, 0.55f}, {StepR10, 0.55f}, {StepL12, 0.7f}, {StepR12, 0.7f},
     {StepL14, 0.85f}, {StepR14, 0.85f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"TAP Shuffle",  // 97
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.8f}, {MFeedba, 0.4f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL4, 0.8f}, {StepR4, 0.5f},
     {StepL6, 0.5f}, {StepR6, 0.8f}, {StepL10, 0.8f}, {StepR10, 0.5f}, {StepL12, 0.5f},
     {StepR12, 0.8f}, {StepL16, 0.7f}, {StepR16, 0.7f}
    }},
    {"TAP Supersawer",  // 98: "1/16" one shot puts all 17 taps on top of each other: 17 detuned voices
    {
     {Mix, 0.55f}, {Volume, 0.55f}, {RMix, 0.0f}, {MTime, 0.03f}, {MFeedba, 0.0f},
     {MDetune, 0.7f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL0, 0.12f}, {StepR0, 0.4f},
     {StepL1, 0.4f}, {StepR1, 0.12f}, {StepL2, 0.12f}, {StepR2, 0.4f}, {StepL3, 0.4f},
     {StepR3, 0.12f}, {StepL4, 0.12f}, {StepR4, 0.4f}, {StepL5, 0.4f}, {StepR5, 0.12f},
     {StepL6, 0.12f}, {StepR6, 0.4f}, {StepL7, 0.4f}, {StepR7, 0.12f}, {StepL8, 0.12f},
     {StepR8, 0.4f}, {StepL9, 0.4f}, {StepR9, 0.12f}, {StepL10, 0.12f}, {StepR10, 0.4f},
     {StepL11, 0.4f}, {StepR11, 0.12f}, {StepL12, 0.12f}, {StepR12, 0.4f}, {StepL13, 0.4f},
     {StepR13, 0.12f}, {StepL14, 0.12f}, {StepR14, 0.4f}, {StepL15, 0.4f}, {StepR15, 0.12f},
     {StepL16, 0.12f}, {StepR16, 0.4f}
    }},
    {"TAP Swing",  // 99
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.8f}, {MFeedba, 0.4f},
     {MDetune, 0.2f}, {MHiDamp, 0.45f}, {MLowCut, 0.2f}, {StepL4, 1.0f}, {StepR4, 0.6f},
     {StepL10, 0.6f}, {StepR10, 1.0f}, {StepL16, 0.8f}, {StepR16, 0.8f}
    }},
    {"TAP Trance Reflect",  // 100
    {
     {Mix, 0.42f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.65f}, {MFeedba, 0.65f},
     {MDetune, 0.2f}, {MHiDamp, 0.6f}, {MLowCut, 0.4f}, {StepL4, 0.7f}, {StepR8, 0.9f},
     {StepL12, 0.5f}, {StepL16, 0.0f}, {StepR16, 0.7f}
    }},
    // FX: single effects. The filters run the multitap as a plain filter: one
    // shot, step 0 only (no delay), no detune, Mix 1 so no dry signal passes;
    // Volume 0.5 is unity gain. With both engines off and Mix 1 the output is
    // the input through the width stage and the gate. "1/16" one shot puts
    // every tap on the input, each swinging at its own rate: chorus, ensemble,
    // flanger.
    {"FX Bandpass 1kHz",  // 101: high cut 1400 Hz and low cut 700 Hz around 1 kHz
    {
     {Mix, 1.0f}, {Volume, 0.6f}, {RMix, 0.0f}, {MFeedba, 0.0f}, {MDetune, 0.0f},
     {MHiCut, 0.3791f}, {MLowCut, 0.3728f}, {StepL0, 1.0f}, {StepR0, 1.0f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"FX Dub Delay",  // 102: dark recirculating dotted echoes over a small spring
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.35f}, {RSize, 0.2f}, {RDecay, 0.5f},
     {RDiffuse, 0.3f}, {RPredel, 0.0f}, {RHiCut, 0.6f}, {RLowCut, 0.6f}, {RSwirl, 0.8f},
     {MTime, 0.42f}, {MFeedba, 0.78f}, {MDetune, 0.35f}, {MHiDamp, 0.65f}, {MLowDamp, 0.3f},
     {MHiCut, 0.6f}, {MLowCut, 0.45f}, {StepL8, 1.0f}, {StepR8, 0.6f}, {StepL16, 0.6f},
     {StepR16, 1.0f}
    }},
    {"FX Encode Mono",  // 103
    {
     {Mix, 1.0f}, {Volume, 0.5f}, {Surround, 0.0f}, {RMix, 0.0f}, {MMix, 0.0f}
    }},
    {"FX Encode Surround",  // 104: only the side signal is left
    {
     {Mix, 1.0f}, {Volume, 0.6f}, {Surround, 1.0f}, {RMix, 0.0f}, {MMix, 0.0f}
    }},
    {"FX Ensemble",  // 105
    {
     {Volume, 0.5f}, {RMix, 0.0f}, {MTime, 0.03f}, {MFeedba, 0.0f}, {MDetune, 0.35f},
     {MHiDamp, 0.0f}, {MLowCut, 0.0f}, {StepL0, 1.0f}, {StepR0, 0.3f}, {StepL4, 0.3f},
     {StepR4, 1.0f}, {StepL9, 0.7f}, {StepR9, 0.7f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"FX Ensemble 2",  // 106
    {
     {Volume, 0.5f}, {RMix, 0.0f}, {MTime, 0.03f}, {MFeedba, 0.0f}, {MDetune, 0.4f},
     {MHiDamp, 0.0f}, {MLowCut, 0.0f}, {StepL2, 1.0f}, {StepR2, 0.2f}, {StepL7, 0.2f},
     {StepR7, 1.0f}, {StepL11, 0.6f}, {StepR11, 0.4f}, {StepL15, 0.4f}, {StepR15, 0.6f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"FX Ensemble Fat",  // 107
    {
     {Volume, 0.5f}, {Surround, 0.65f}, {RMix, 0.0f}, {MTime, 0.03f}, {MFeedba, 0.0f},
     {MDetune, 0.5f}, {MHiDamp, 0.0f}, {MLowCut, 0.0f}, {StepL0, 1.0f}, {StepR0, 0.2f},
     {StepL3, 0.2f}, {StepR3, 1.0f}, {StepL6, 0.7f}, {StepR6, 0.4f}, {StepL9, 0.4f},
     {StepR9, 0.7f}, {StepL12, 0.6f}, {StepR12, 0.3f}, {StepL15, 0.3f}, {StepR15, 0.6f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"FX Ensemble Fater",  // 108
    {
     {Volume, 0.48f}, {Surround, 0.75f}, {RMix, 0.0f}, {MTime, 0.03f}, {MFeedba, 0.0f},
     {MDetune, 0.6f}, {MHiDamp, 0.0f}, {MLowCut, 0.0f}, {StepL0, 0.8f}, {StepR0, 0.2f},
     {StepL2, 0.2f}, {StepR2, 0.8f}, {StepL4, 0.8f}, {StepR4, 0.2f}, {StepL6, 0.2f},
     {StepR6, 0.8f}, {StepL8, 0.8f}, {StepR8, 0.2f}, {StepL10, 0.2f}, {StepR10, 0.8f},
     {StepL12, 0.8f}, {StepR12, 0.2f}, {StepL14, 0.2f}, {StepR14, 0.8f}, {StepL16, 0.8f},
     {StepR16, 0.2f}
    }},
    {"FX Highpass 1kHz",  // 109
    {
     {Mix, 1.0f}, {Volume, 0.5f}, {RMix, 0.0f}, {MFeedba, 0.0f}, {MDetune, 0.0f},
     {MLowCut, 0.4461f}, {StepL0, 1.0f}, {StepR0, 1.0f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"FX Lowpass 1kHz",  // 110
    {
     {Mix, 1.0f}, {Volume, 0.5f}, {RMix, 0.0f}, {MFeedba, 0.0f}, {MDetune, 0.0f},
     {MHiCut, 0.3313f}, {MLowCut, 0.0f}, {StepL0, 1.0f}, {StepR0, 1.0f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"FX Lowpass 200Hz",  // 111
    {
     {Mix, 1.0f}, {Volume, 0.5f}, {RMix, 0.0f}, {MFeedba, 0.0f}, {MDetune, 0.0f}, {MHiCut, 0.0f},
     {MLowCut, 0.0f}, {StepL0, 1.0f}, {StepR0, 1.0f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"FX Noisegate -20dB",  // 112
    {
     {Mix, 1.0f}, {Volume, 0.5f}, {RMix, 0.0f}, {GThresh, 0.3162f}, {GAttack, 0.0f},
     {GHold, 0.34f}, {GRelease, 0.4f}, {MMix, 0.0f}
    }},
    {"FX Noisegate -40dB",  // 113
    {
     {Mix, 1.0f}, {Volume, 0.5f}, {RMix, 0.0f}, {GThresh, 0.1f}, {GAttack, 0.0f}, {GHold, 0.34f},
     {GRelease, 0.4f}, {MMix, 0.0f}
    }},
    {"FX Simple Chorus",  // 114
    {
     {Mix, 0.5f}, {Volume, 0.6f}, {Surround, 0.5f}, {RMix, 0.0f}, {RSize, 0.5f}, {RDecay, 0.708f},
     {RDiffuse, 1.0f}, {RPredel, 0.0f}, {RHiDamp, 0.728f}, {RLowDamp, 0.044f}, {RHiCut, 1.0f},
     {RLowCut, 0.192f}, {RSwirl, 0.724f}, {GThresh, 1.0f}, {GAttack, 0.125f}, {GHold, 0.25f},
     {GRelease, 0.25f}, {DLimit, 0.5f}, {MMix, 1.0f}, {MTime, 0.136f}, {MFeedba, 0.0f},
     {MDetune, 0.504f}, {MHiDamp, 0.0f}, {MLowDamp, 0.0f}, {MHiCut, 1.0f}, {MLowCut, 0.0f},
     {StepL0, 1.0f}, {StepR0, 1.0f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"FX Simple Flanger",  // 115: one undelayed tap swinging over 0.6 ms, mixed with the dry signal
    {
     {Volume, 0.55f}, {RMix, 0.0f}, {MTime, 0.03f}, {MFeedba, 0.0f}, {MDetune, 0.3f},
     {MHiDamp, 0.0f}, {MLowCut, 0.0f}, {StepL0, 1.0f}, {StepR0, 1.0f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"FX Stereo Detune",  // 116: the right side swings against the left
    {
     {Volume, 0.55f}, {RMix, 0.0f}, {MTime, 0.03f}, {MFeedba, 0.0f}, {MDetune, 0.12f},
     {MHiDamp, 0.0f}, {MLowCut, 0.0f}, {StepL0, 1.0f}, {StepR0, 1.0f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"FX Stereo Narrow",  // 117
    {
     {Mix, 1.0f}, {Volume, 0.5f}, {Surround, 0.25f}, {RMix, 0.0f}, {MMix, 0.0f}
    }},
    {"FX Stereo Widener",  // 118
    {
     {Mix, 1.0f}, {Volume, 0.56f}, {Surround, 0.7f}, {RMix, 0.0f}, {MMix, 0.0f}
    }},
    // GATE: a dense reverb cut by the gate, which opens within milliseconds.
    // In the Hold names the figure is hold plus fall, in the Decay names the
    // fall. Tap Drum adds a one-shot multitap figure that the gate cuts too.
    {"GATE Decay 250ms",  // 119
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {RSize, 0.55f}, {RDecay, 0.72f}, {RPredel, 0.05f},
     {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f}, {GAttack, 0.0f},
     {GHold, 0.2f}, {GRelease, 0.48f}, {MMix, 0.0f}
    }},
    {"GATE Decay 500ms",  // 120
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {RSize, 0.55f}, {RDecay, 0.72f}, {RPredel, 0.05f},
     {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f}, {GAttack, 0.0f},
     {GHold, 0.2f}, {GRelease, 0.54f}, {MMix, 0.0f}
    }},
    {"GATE Fat Drums 2",  // 121
    {
     {Mix, 0.6f}, {Volume, 0.68f}, {Surround, 0.65f}, {RSize, 0.7f}, {RDecay, 0.78f},
     {RPredel, 0.05f}, {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f},
     {GAttack, 0.0f}, {GHold, 0.436f}, {GRelease, 0.356f}, {MMix, 0.0f}
    }},
    {"GATE Fat Drums 3",  // 122
    {
     {Mix, 0.6f}, {Volume, 0.68f}, {Surround, 0.7f}, {RSize, 0.8f}, {RDecay, 0.8f},
     {RPredel, 0.05f}, {RHiDamp, 0.5f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f},
     {GAttack, 0.0f}, {GHold, 0.461f}, {GRelease, 0.4f}, {MMix, 0.0f}
    }},
    {"GATE Fat Drums",  // 123
    {
     {Mix, 0.6f}, {Volume, 0.68f}, {Surround, 0.6f}, {RSize, 0.65f}, {RDecay, 0.76f},
     {RPredel, 0.05f}, {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f},
     {GAttack, 0.0f}, {GHold, 0.416f}, {GRelease, 0.34f}, {MMix, 0.0f}
    }},
    {"GATE Hold 62ms",  // 124
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {RSize, 0.55f}, {RDecay, 0.72f}, {RPredel, 0.05f},
     {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f}, {GAttack, 0.0f},
     {GHold, 0.352f}, {GRelease, 0.14f}, {MMix, 0.0f}
    }},
    {"GATE Hold 125ms",  // 125
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {RSize, 0.55f}, {RDecay, 0.72f}, {RPredel, 0.05f},
     {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f}, {GAttack, 0.0f},
     {GHold, 0.416f}, {GRelease, 0.14f}, {MMix, 0.0f}
    }},
    {"GATE Hold 250ms",  // 126
    {
     {Mix, 0.552f}, {Volume, 0.708f}, {Surround, 0.5f}, {RMix, 1.0f}, {RSize, 0.34f},
     {RDecay, 0.602f}, {RDiffuse, 1.0f}, {RPredel, 0.076f}, {RHiDamp, 0.0f}, {RLowDamp, 0.084f},
     {RHiCut, 1.0f}, {RLowCut, 0.316f}, {RSwirl, 0.606f}, {GThresh, 0.056f}, {GAttack, 0.125f},
     {GHold, 0.418f}, {GRelease, 0.42f}, {DLimit, 0.5f}, {MMix, 0.0f}, {MTime, 0.5f},
     {MFeedba, 0.5f}, {MDetune, 0.25f}, {MHiDamp, 0.5f}, {MLowDamp, 0.0625f}, {MHiCut, 1.0f},
     {MLowCut, 0.125f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"GATE Hold 500ms",  // 127
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {RSize, 0.55f}, {RDecay, 0.78f}, {RPredel, 0.05f},
     {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f}, {GAttack, 0.0f},
     {GHold, 0.525f}, {GRelease, 0.381f}, {MMix, 0.0f}
    }},
    {"GATE Tap Drum 1",  // 128
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {RSize, 0.55f}, {RDecay, 0.72f}, {RPredel, 0.05f},
     {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f}, {GAttack, 0.0f},
     {GHold, 0.461f}, {GRelease, 0.356f}, {MMix, 0.6f}, {MFeedba, 0.0f}, {MDetune, 0.15f},
     {StepL4, 0.8f}, {StepR4, 0.8f}, {StepL8, 0.6f}, {StepR8, 0.6f}, {StepL12, 0.4f},
     {StepR12, 0.4f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"GATE Tap Drum 2",  // 129
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {RSize, 0.55f}, {RDecay, 0.72f}, {RPredel, 0.05f},
     {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f}, {GAttack, 0.0f},
     {GHold, 0.461f}, {GRelease, 0.356f}, {MMix, 0.6f}, {MFeedba, 0.0f}, {MDetune, 0.15f},
     {StepL3, 0.8f}, {StepR3, 0.3f}, {StepL6, 0.3f}, {StepR6, 0.8f}, {StepL9, 0.6f},
     {StepR9, 0.3f}, {StepL12, 0.3f}, {StepR12, 0.6f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"GATE Tap Drum 3",  // 130
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {RSize, 0.55f}, {RDecay, 0.72f}, {RPredel, 0.05f},
     {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f}, {GAttack, 0.0f},
     {GHold, 0.509f}, {GRelease, 0.356f}, {MMix, 0.6f}, {MTime, 0.73f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {StepL2, 0.7f}, {StepR2, 0.7f}, {StepL4, 0.5f}, {StepR4, 0.5f},
     {StepL6, 0.35f}, {StepR6, 0.35f}, {StepL8, 0.25f}, {StepR8, 0.25f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"GATE Tap Drum 4",  // 131
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {Route, 1.0f}, {RSize, 0.55f}, {RDecay, 0.72f},
     {RPredel, 0.05f}, {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f},
     {GAttack, 0.0f}, {GHold, 0.461f}, {GRelease, 0.356f}, {MMix, 0.6f}, {MTime, 0.25f},
     {MFeedba, 0.0f}, {MDetune, 0.15f}, {StepL4, 1.0f}, {StepR8, 1.0f}, {StepL12, 0.6f},
     {StepL16, 0.0f}, {StepR16, 0.6f}
    }},
    {"GATE Tap Drum 5",  // 132
    {
     {Mix, 0.55f}, {Volume, 0.68f}, {RSize, 0.55f}, {RDecay, 0.72f}, {RPredel, 0.05f},
     {RHiDamp, 0.3f}, {RLowCut, 0.3f}, {RSwirl, 0.6f}, {GThresh, 0.06f}, {GAttack, 0.0f},
     {GHold, 0.48f}, {GRelease, 0.356f}, {MMix, 0.6f}, {MTime, 0.25f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {StepL1, 0.475f}, {StepR1, 0.475f}, {StepL2, 0.45f}, {StepR2, 0.45f},
     {StepL3, 0.425f}, {StepR3, 0.425f}, {StepL4, 0.4f}, {StepR4, 0.4f}, {StepL5, 0.375f},
     {StepR5, 0.375f}, {StepL6, 0.35f}, {StepR6, 0.35f}, {StepL7, 0.325f}, {StepR7, 0.325f},
     {StepL8, 0.3f}, {StepR8, 0.3f}, {StepL9, 0.275f}, {StepR9, 0.275f}, {StepL10, 0.25f},
     {StepR10, 0.25f}, {StepL11, 0.225f}, {StepR11, 0.225f}, {StepL12, 0.2f}, {StepR12, 0.2f},
     {StepL13, 0.175f}, {StepR13, 0.175f}, {StepL14, 0.15f}, {StepR14, 0.15f}, {StepL15, 0.125f},
     {StepR15, 0.125f}, {StepL16, 0.1f}, {StepR16, 0.1f}
    }},
    // DEL: tempo delays, reverb off: steps 8 and 16 echo once per note value
    // ("DEL 0.25" plays "1/4", 125 ms at 120 BPM); PingPong puts them on
    // alternate sides.
    {"DEL 0.5",  // 133
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MFeedba, 0.55f}, {MDetune, 0.1f},
     {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"DEL 0.25",  // 134
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.25f}, {MFeedba, 0.55f},
     {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"DEL 0.33",  // 135
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.35f}, {MFeedba, 0.55f},
     {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"DEL 0.66",  // 136
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.58f}, {MFeedba, 0.55f},
     {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"DEL 0.75",  // 137
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.65f}, {MFeedba, 0.55f},
     {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"DEL 0.125",  // 138
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.1f}, {MDetune, 0.1f},
     {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"DEL 0.375",  // 139
    {
     {Mix, 0.35f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.42f}, {MFeedba, 0.55f},
     {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"DEL Duck 0.5",  // 140
    {
     {Volume, 0.66f}, {RMix, 0.0f}, {DLevel, 0.5f}, {DLimit, 0.1f}, {MFeedba, 0.6f},
     {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 1.0f},
     {StepR16, 1.0f}
    }},
    {"DEL Duck 0.25",  // 141
    {
     {Volume, 0.66f}, {RMix, 0.0f}, {DLevel, 0.5f}, {DLimit, 0.1f}, {MTime, 0.25f},
     {MFeedba, 0.6f}, {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f},
     {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"DEL PingPong 0.5",  // 142
    {
     {Mix, 1.0f}, {Volume, 0.7f}, {Surround, 0.5f}, {RMix, 0.0f}, {RSize, 0.128f},
     {RDecay, 0.508f}, {RDiffuse, 1.0f}, {RPredel, 0.0f}, {RHiDamp, 0.0f}, {RLowDamp, 0.096f},
     {RHiCut, 1.0f}, {RLowCut, 0.256f}, {RSwirl, 1.0f}, {GThresh, 1.0f}, {GAttack, 0.125f},
     {GHold, 0.25f}, {GRelease, 0.25f}, {DLimit, 0.5f}, {MMix, 0.5f}, {MTime, 0.504f},
     {MFeedba, 0.644f}, {MDetune, 0.112f}, {MHiDamp, 0.648f}, {MLowDamp, 0.048f}, {MHiCut, 1.0f},
     {MLowCut, 0.196f}, {StepL8, 1.0f}, {StepR8, 0.0f}, {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"DEL PingPong 0.25",  // 143
    {
     {Mix, 0.45f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.25f}, {MFeedba, 0.62f},
     {MDetune, 0.1f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"DEL PingPong 1",  // 144
    {
     {Mix, 0.45f}, {Volume, 0.66f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.6f},
     {MDetune, 0.1f}, {MHiDamp, 0.6f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepL16, 0.0f},
     {StepR16, 1.0f}
    }},
    {"DEL Spacenight 1",  // 145
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {Route, 1.0f}, {RMix, 0.5f}, {RSize, 0.8f}, {RDecay, 0.66f},
     {RPredel, 0.1f}, {RHiDamp, 0.45f}, {RSwirl, 0.85f}, {MMix, 0.6f}, {MTime, 0.65f},
     {MFeedba, 0.62f}, {MDetune, 0.45f}, {MHiDamp, 0.55f}, {MLowCut, 0.3f}, {StepL8, 1.0f},
     {StepR8, 0.3f}, {StepL16, 0.3f}, {StepR16, 1.0f}
    }},
    {"DEL Spacenight 2",  // 146
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {Route, 1.0f}, {RMix, 0.5f}, {RSize, 0.9f}, {RDecay, 0.66f},
     {RPredel, 0.1f}, {RHiDamp, 0.45f}, {RSwirl, 0.85f}, {MMix, 0.6f}, {MTime, 0.73f},
     {MFeedba, 0.62f}, {MDetune, 0.55f}, {MHiDamp, 0.55f}, {MLowCut, 0.3f}, {StepL8, 1.0f},
     {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"DEL Spacenight 3",  // 147
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {Route, 1.0f}, {RMix, 0.5f}, {RSize, 0.8f}, {RDecay, 0.66f},
     {RPredel, 0.1f}, {RHiDamp, 0.7f}, {RSwirl, 0.85f}, {MMix, 0.6f}, {MTime, 0.58f},
     {MFeedba, 0.62f}, {MDetune, 0.45f}, {MHiDamp, 0.7f}, {MLowCut, 0.3f}, {StepL8, 1.0f},
     {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"DEL Spacenight 4",  // 148
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {Route, 1.0f}, {RMix, 0.5f}, {RSize, 0.8f}, {RDecay, 0.68f},
     {RPredel, 0.1f}, {RHiDamp, 0.45f}, {RSwirl, 0.85f}, {MMix, 0.6f}, {MTime, 0.88f},
     {MFeedba, 0.66f}, {MDetune, 0.45f}, {MHiDamp, 0.55f}, {MLowCut, 0.3f}, {StepL8, 1.0f},
     {StepR8, 1.0f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    // DUP: one-shot copies, no feedback, reverb off. The figure names repeat
    // the sound once, one note value later (step 8).
    {"DUP 0.5",  // 149
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MFeedba, 0.0f}, {MDetune, 0.15f},
     {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"DUP 0.25",  // 150
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.25f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP 0.33",  // 151
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.35f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP 0.66",  // 152
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.58f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP 0.75",  // 153
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.65f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP 0.375",  // 154
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.42f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL8, 1.0f}, {StepR8, 1.0f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP Beat 1",  // 155
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL4, 0.8f}, {StepR4, 0.8f},
     {StepL6, 0.5f}, {StepR6, 0.5f}, {StepL12, 0.7f}, {StepR12, 0.7f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"DUP Beat 2",  // 156
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL2, 0.7f}, {StepR2, 0.3f},
     {StepL6, 0.3f}, {StepR6, 0.7f}, {StepL10, 0.6f}, {StepR10, 0.6f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"DUP Beat 3",  // 157
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL3, 0.8f}, {StepR3, 0.8f},
     {StepL8, 0.6f}, {StepR8, 0.6f}, {StepL11, 0.5f}, {StepR11, 0.5f}, {StepL16, 0.4f},
     {StepR16, 0.4f}
    }},
    {"DUP Beat 4",  // 158: triplet grid
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.8f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL4, 0.8f}, {StepR4, 0.8f},
     {StepL8, 0.6f}, {StepR8, 0.6f}, {StepL10, 0.5f}, {StepR10, 0.5f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"DUP Beat 5",  // 159
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MFeedba, 0.0f}, {MDetune, 0.15f},
     {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL4, 1.0f}, {StepR4, 1.0f}, {StepL6, 0.6f},
     {StepR6, 0.6f}, {StepL12, 0.8f}, {StepR12, 0.8f}, {StepL14, 0.5f}, {StepR14, 0.5f},
     {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP Drumroll 2",  // 160: eight strokes 62 ms apart
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.73f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL1, 0.63f}, {StepR1, 0.63f},
     {StepL2, 0.56f}, {StepR2, 0.56f}, {StepL3, 0.49f}, {StepR3, 0.49f}, {StepL4, 0.42f},
     {StepR4, 0.42f}, {StepL5, 0.35f}, {StepR5, 0.35f}, {StepL6, 0.28f}, {StepR6, 0.28f},
     {StepL7, 0.21f}, {StepR7, 0.21f}, {StepL8, 0.14f}, {StepR8, 0.14f}, {StepL16, 0.0f},
     {StepR16, 0.0f}
    }},
    {"DUP Drumroll 3",  // 161: a rising roll, 16 ms strokes
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.25f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL1, 0.125f}, {StepR1, 0.125f},
     {StepL2, 0.15f}, {StepR2, 0.15f}, {StepL3, 0.175f}, {StepR3, 0.175f}, {StepL4, 0.2f},
     {StepR4, 0.2f}, {StepL5, 0.225f}, {StepR5, 0.225f}, {StepL6, 0.25f}, {StepR6, 0.25f},
     {StepL7, 0.275f}, {StepR7, 0.275f}, {StepL8, 0.3f}, {StepR8, 0.3f}, {StepL9, 0.325f},
     {StepR9, 0.325f}, {StepL10, 0.35f}, {StepR10, 0.35f}, {StepL11, 0.375f}, {StepR11, 0.375f},
     {StepL12, 0.4f}, {StepR12, 0.4f}, {StepL13, 0.425f}, {StepR13, 0.425f}, {StepL14, 0.45f},
     {StepR14, 0.45f}, {StepL15, 0.475f}, {StepR15, 0.475f}, {StepL16, 0.5f}, {StepR16, 0.5f}
    }},
    {"DUP Drumroll 4",  // 162
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.58f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL1, 0.8f}, {StepR1, 0.3f},
     {StepL2, 0.3f}, {StepR2, 0.8f}, {StepL3, 0.8f}, {StepR3, 0.3f}, {StepL4, 0.3f},
     {StepR4, 0.8f}, {StepL5, 0.8f}, {StepR5, 0.3f}, {StepL6, 0.3f}, {StepR6, 0.8f},
     {StepL7, 0.8f}, {StepR7, 0.3f}, {StepL8, 0.3f}, {StepR8, 0.8f}, {StepL9, 0.8f},
     {StepR9, 0.3f}, {StepL10, 0.3f}, {StepR10, 0.8f}, {StepL11, 0.8f}, {StepR11, 0.3f},
     {StepL12, 0.3f}, {StepR12, 0.8f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP Drumroll",  // 163: sixteen strokes 31 ms apart, fading
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MFeedba, 0.0f}, {MDetune, 0.15f},
     {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL1, 0.57f}, {StepR1, 0.57f}, {StepL2, 0.54f},
     {StepR2, 0.54f}, {StepL3, 0.51f}, {StepR3, 0.51f}, {StepL4, 0.48f}, {StepR4, 0.48f},
     {StepL5, 0.45f}, {StepR5, 0.45f}, {StepL6, 0.42f}, {StepR6, 0.42f}, {StepL7, 0.39f},
     {StepR7, 0.39f}, {StepL8, 0.36f}, {StepR8, 0.36f}, {StepL9, 0.33f}, {StepR9, 0.33f},
     {StepL10, 0.3f}, {StepR10, 0.3f}, {StepL11, 0.27f}, {StepR11, 0.27f}, {StepL12, 0.24f},
     {StepR12, 0.24f}, {StepL13, 0.21f}, {StepR13, 0.21f}, {StepL14, 0.18f}, {StepR14, 0.18f},
     {StepL15, 0.15f}, {StepR15, 0.15f}, {StepL16, 0.12f}, {StepR16, 0.12f}
    }},
    {"DUP Early Reflect 2",  // 164
    {
     {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.18f}, {MFeedba, 0.0f}, {MDetune, 0.1f},
     {MHiDamp, 0.3f}, {MHiCut, 0.7f}, {MLowCut, 0.2f}, {StepL1, 0.5f}, {StepR1, 0.2f},
     {StepL2, 0.2f}, {StepR2, 0.45f}, {StepL3, 0.4f}, {StepR3, 0.1f}, {StepL5, 0.1f},
     {StepR5, 0.35f}, {StepL7, 0.3f}, {StepR7, 0.15f}, {StepL10, 0.12f}, {StepR10, 0.25f},
     {StepL13, 0.15f}, {StepR13, 0.1f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP Early Reflect",  // 165: first reflections of a room, 8 ms apart
    {
     {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.1f}, {MFeedba, 0.0f}, {MDetune, 0.1f},
     {MHiDamp, 0.3f}, {MHiCut, 0.75f}, {MLowCut, 0.2f}, {StepL1, 0.5f}, {StepR1, 0.2f},
     {StepL2, 0.2f}, {StepR2, 0.45f}, {StepL3, 0.4f}, {StepR3, 0.1f}, {StepL5, 0.1f},
     {StepR5, 0.35f}, {StepL7, 0.3f}, {StepR7, 0.15f}, {StepL10, 0.12f}, {StepR10, 0.25f},
     {StepL13, 0.15f}, {StepR13, 0.1f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP Shuffle",  // 166
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.8f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL4, 0.8f}, {StepR4, 0.4f},
     {StepL12, 0.4f}, {StepR12, 0.8f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"DUP Swing",  // 167
    {
     {Mix, 0.45f}, {Volume, 0.64f}, {RMix, 0.0f}, {MTime, 0.8f}, {MFeedba, 0.0f},
     {MDetune, 0.15f}, {MHiDamp, 0.3f}, {MLowCut, 0.2f}, {StepL4, 0.8f}, {StepR4, 0.8f},
     {StepL10, 0.6f}, {StepR10, 0.6f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    // USER: empty slots at the init values.
    {"USER 1", {}},  // 168
    {"USER 2", {}},  // 169
    {"USER 3", {}},  // 170
    {"USER 4", {}},  // 171
    {"USER 5", {}},  // 172
    {"USER 6", {}},  // 173
    {"USER 7", {}},  // 174
    {"USER 8", {}},  // 175
    {"USER 9", {}},  // 176
    {"USER 10", {}},  // 177
    {"USER 11", {}},  // 178
    {"USER 12", {}},  // 179
};

template <size_t... I>
constexpr auto buildAll(std::index_sequence<I...>) {
    struct Table { FactoryPreset records[kNumPrograms]; };
    return Table{{factory::build(kSources[I])...}};
}

constexpr auto kTable = buildAll(std::make_index_sequence<kNumPrograms>{});

}  // namespace

const FactoryPreset (&factoryPresets)[kNumPrograms] = kTable.records;
