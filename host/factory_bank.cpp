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
    {"MIX Citadel Space", {}},  // 1
    {"MIX Chillout", {}},  // 2
    {"MIX Echo Space", {}},  // 3
    {"MIX Echo Space 2", {}},  // 4
    {"MIX Epic Trance", {}},  // 5
    {"MIX Fat Drums 1", {}},  // 6
    {"MIX Fat Drums 2", {}},  // 7
    {"MIX Fat Drums 3", {}},  // 8
    {"MIX Large Space", {}},  // 9
    {"MIX Loop Band", {}},  // 10
    {"MIX Loop Damp", {}},  // 11
    {"MIX Loop Ghosts", {}},  // 12
    {"MIX Loop Glass", {}},  // 13
    {"MIX Loop Ring", {}},  // 14
    {"MIX Pan", {}},  // 15
    {"MIX PingPong 1", {}},  // 16
    {"MIX PingPong 2", {}},  // 17
    {"MIX PingPong 3", {}},  // 18
    {"MIX Reverb Delay 1", {}},  // 19
    {"MIX Reverb Delay 2", {}},  // 20
    {"MIX Reverb Delay 3", {}},  // 21
    {"MIX Reverb Dup 1", {}},  // 22
    {"MIX Reverb Dup 2", {}},  // 23
    {"MIX Reverb Dup 3", {}},  // 24
    {"MIX Revers Reverb", {}},  // 25
    {"MIX Revers Reverb2", {}},  // 26
    {"MIX Revers Reverb3", {}},  // 27
    {"MIX Rise And Fall 1", {}},  // 28
    {"MIX Rise And Fall 2", {}},  // 29
    {"REV Hall Big",  // 30
    {
     {Mix, 0.404f}, {Volume, 0.672f}, {RDecay, 0.75f}, {RHiDamp, 0.552f}, {MMix, 0.0f}
    }},
    {"REV Hall Bright", {}},  // 31
    {"REV Hall Warm", {}},  // 32
    {"REV Hall Trance", {}},  // 33
    {"REV Hall Band", {}},  // 34
    {"REV Hall Small", {}},  // 35
    {"REV Hall Damp", {}},  // 36
    {"REV Hall Ghosts", {}},  // 37
    {"REV Hall Glass", {}},  // 38
    {"REV Hall Real", {}},  // 39
    {"REV Hall Real 2", {}},  // 40
    {"REV Hall Ring", {}},  // 41
    {"REV Hall Spring", {}},  // 42
    {"REV Hall Plate", {}},  // 43
    {"REV Hall Cheap", {}},  // 44
    {"REV Room", {}},  // 45
    {"REV Room Bright", {}},  // 46
    {"REV Room Bright 2", {}},  // 47
    {"REV Room Warm", {}},  // 48
    {"REV Room Trance", {}},  // 49
    {"REV Room Band", {}},  // 50
    {"REV Room Damp", {}},  // 51
    {"REV Room Glass", {}},  // 52
    {"REV Room Large", {}},  // 53
    {"REV Room Real", {}},  // 54
    {"REV Room Spring", {}},  // 55
    {"REV Room Plate", {}},  // 56
    {"REV Room Cheap", {}},  // 57
    {"REV Arena", {}},  // 58
    {"REV Arena Warm", {}},  // 59
    {"REV Arena Trance", {}},  // 60
    {"REV Arena Band", {}},  // 61
    {"REV Arena Damp", {}},  // 62
    {"REV Arena Real", {}},  // 63
    {"REV Arena Ring", {}},  // 64
    {"REV Arena Wasps", {}},  // 65
    {"REV Arena Cheap", {}},  // 66
    {"REV Chamber", {}},  // 67
    {"REV Chamber Trance", {}},  // 68
    {"REV Chamber Band", {}},  // 69
    {"REV Chamber Damp", {}},  // 70
    {"REV Chamber Glass", {}},  // 71
    {"REV Chamber Real", {}},  // 72
    {"REV Chamber Cheap", {}},  // 73
    {"TAP __LR", {}},  // 74
    {"TAP Beat 1", {}},  // 75
    {"TAP C_CC Fat", {}},  // 76
    {"TAP C_CC", {}},  // 77
    {"TAP C_LR", {}},  // 78
    {"TAP CCC_ Fat", {}},  // 79
    {"TAP CCC_", {}},  // 80
    {"TAP CRCL", {}},  // 81
    {"TAP Doted 2 Fat", {}},  // 82
    {"TAP Doted 2", {}},  // 83
    {"TAP Doted 3", {}},  // 84
    {"TAP Doted 4", {}},  // 85
    {"TAP Doted Fat", {}},  // 86
    {"TAP Doted", {}},  // 87
    {"TAP Fake Reverb 2", {}},  // 88
    {"TAP Fake Reverb 3", {}},  // 89
    {"TAP Fake Reverb 4", {}},  // 90
    {"TAP Fake Reverb", {}},  // 91
    {"TAP Fall 1", {}},  // 92
    {"TAP Fall 2", {}},  // 93
    {"TAP Pan 1", {}},  // 94
    {"TAP Pan 2", {}},  // 95
    {"TAP Rise", {}},  // 96
    {"TAP Shuffle", {}},  // 97
    {"TAP Supersawer", {}},  // 98
    {"TAP Swing", {}},  // 99
    {"TAP Trance Reflect", {}},  // 100
    {"FX Bandpass 1kHz", {}},  // 101
    {"FX Dub Delay", {}},  // 102
    {"FX Encode Mono", {}},  // 103
    {"FX Encode Surround", {}},  // 104
    {"FX Ensemble", {}},  // 105
    {"FX Ensemble 2", {}},  // 106
    {"FX Ensemble Fat", {}},  // 107
    {"FX Ensemble Fater", {}},  // 108
    {"FX Highpass 1kHz", {}},  // 109
    {"FX Lowpass 1kHz", {}},  // 110
    {"FX Lowpass 200Hz", {}},  // 111
    {"FX Noisegate -20dB", {}},  // 112
    {"FX Noisegate -40dB", {}},  // 113
    {"FX Simple Chorus",  // 114
    {
     {Mix, 0.5f}, {Volume, 0.6f}, {Surround, 0.5f}, {RMix, 0.0f}, {RSize, 0.5f}, {RDecay, 0.708f},
     {RDiffuse, 1.0f}, {RPredel, 0.0f}, {RHiDamp, 0.728f}, {RLowDamp, 0.044f}, {RHiCut, 1.0f},
     {RLowCut, 0.192f}, {RSwirl, 0.724f}, {GThresh, 1.0f}, {GAttack, 0.125f}, {GHold, 0.25f},
     {GRelease, 0.25f}, {DLimit, 0.5f}, {MMix, 1.0f}, {MTime, 0.136f}, {MFeedba, 0.0f},
     {MDetune, 0.504f}, {MHiDamp, 0.0f}, {MLowDamp, 0.0f}, {MHiCut, 1.0f}, {MLowCut, 0.0f},
     {StepL0, 1.0f}, {StepR0, 1.0f}, {StepL16, 0.0f}, {StepR16, 0.0f}
    }},
    {"FX Simple Flanger", {}},  // 115
    {"FX Stereo Detune", {}},  // 116
    {"FX Stereo Narrow", {}},  // 117
    {"FX Stereo Widener", {}},  // 118
    {"GATE Decay 250ms", {}},  // 119
    {"GATE Decay 500ms", {}},  // 120
    {"GATE Fat Drums 2", {}},  // 121
    {"GATE Fat Drums 3", {}},  // 122
    {"GATE Fat Drums", {}},  // 123
    {"GATE Hold 62ms", {}},  // 124
    {"GATE Hold 125ms", {}},  // 125
    {"GATE Hold 250ms",  // 126
    {
     {Mix, 0.552f}, {Volume, 0.708f}, {Surround, 0.5f}, {RMix, 1.0f}, {RSize, 0.34f},
     {RDecay, 0.602f}, {RDiffuse, 1.0f}, {RPredel, 0.076f}, {RHiDamp, 0.0f}, {RLowDamp, 0.084f},
     {RHiCut, 1.0f}, {RLowCut, 0.316f}, {RSwirl, 0.606f}, {GThresh, 0.056f}, {GAttack, 0.125f},
     {GHold, 0.418f}, {GRelease, 0.42f}, {DLimit, 0.5f}, {MMix, 0.0f}, {MTime, 0.5f},
     {MFeedba, 0.5f}, {MDetune, 0.25f}, {MHiDamp, 0.5f}, {MLowDamp, 0.0625f}, {MHiCut, 1.0f},
     {MLowCut, 0.125f}, {StepL16, 1.0f}, {StepR16, 1.0f}
    }},
    {"GATE Hold 500ms", {}},  // 127
    {"GATE Tap Drum 1", {}},  // 128
    {"GATE Tap Drum 2", {}},  // 129
    {"GATE Tap Drum 3", {}},  // 130
    {"GATE Tap Drum 4", {}},  // 131
    {"GATE Tap Drum 5", {}},  // 132
    {"DEL 0.5", {}},  // 133
    {"DEL 0.25", {}},  // 134
    {"DEL 0.33", {}},  // 135
    {"DEL 0.66", {}},  // 136
    {"DEL 0.75", {}},  // 137
    {"DEL 0.125", {}},  // 138
    {"DEL 0.375", {}},  // 139
    {"DEL Duck 0.5", {}},  // 140
    {"DEL Duck 0.25", {}},  // 141
    {"DEL PingPong 0.5",  // 142
    {
     {Mix, 1.0f}, {Volume, 0.7f}, {Surround, 0.5f}, {RMix, 0.0f}, {RSize, 0.128f},
     {RDecay, 0.508f}, {RDiffuse, 1.0f}, {RPredel, 0.0f}, {RHiDamp, 0.0f}, {RLowDamp, 0.096f},
     {RHiCut, 1.0f}, {RLowCut, 0.256f}, {RSwirl, 1.0f}, {GThresh, 1.0f}, {GAttack, 0.125f},
     {GHold, 0.25f}, {GRelease, 0.25f}, {DLimit, 0.5f}, {MMix, 0.5f}, {MTime, 0.504f},
     {MFeedba, 0.644f}, {MDetune, 0.112f}, {MHiDamp, 0.648f}, {MLowDamp, 0.048f}, {MHiCut, 1.0f},
     {MLowCut, 0.196f}, {StepL8, 1.0f}, {StepR8, 0.0f}, {StepL16, 0.0f}, {StepR16, 1.0f}
    }},
    {"DEL PingPong 0.25", {}},  // 143
    {"DEL PingPong 1", {}},  // 144
    {"DEL Spacenight 1", {}},  // 145
    {"DEL Spacenight 2", {}},  // 146
    {"DEL Spacenight 3", {}},  // 147
    {"DEL Spacenight 4", {}},  // 148
    {"DUP 0.5", {}},  // 149
    {"DUP 0.25", {}},  // 150
    {"DUP 0.33", {}},  // 151
    {"DUP 0.66", {}},  // 152
    {"DUP 0.75", {}},  // 153
    {"DUP 0.375", {}},  // 154
    {"DUP Beat 1", {}},  // 155
    {"DUP Beat 2", {}},  // 156
    {"DUP Beat 3", {}},  // 157
    {"DUP Beat 4", {}},  // 158
    {"DUP Beat 5", {}},  // 159
    {"DUP Drumroll 2", {}},  // 160
    {"DUP Drumroll 3", {}},  // 161
    {"DUP Drumroll 4", {}},  // 162
    {"DUP Drumroll", {}},  // 163
    {"DUP Early Reflect 2", {}},  // 164
    {"DUP Early Reflect", {}},  // 165
    {"DUP Shuffle", {}},  // 166
    {"DUP Swing", {}},  // 167
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
