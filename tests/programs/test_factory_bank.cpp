// The factory bank as stored: layout, names and order, the rows whose values
// are fixed, value ranges, and what each family's names promise about its
// values (engine switches, note values, gate times and thresholds, filters).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/parameters.h"
#include "host/programs.h"

using namespace param;

namespace {

const char* const kNames[kNumPrograms] = {
    "MIX Welcome!", "MIX Citadel Space", "MIX Chillout", "MIX Echo Space", "MIX Echo Space 2",
    "MIX Epic Trance", "MIX Fat Drums 1", "MIX Fat Drums 2", "MIX Fat Drums 3", "MIX Large Space",
    "MIX Loop Band", "MIX Loop Damp", "MIX Loop Ghosts", "MIX Loop Glass", "MIX Loop Ring",
    "MIX Pan", "MIX PingPong 1", "MIX PingPong 2", "MIX PingPong 3", "MIX Reverb Delay 1",
    "MIX Reverb Delay 2", "MIX Reverb Delay 3", "MIX Reverb Dup 1", "MIX Reverb Dup 2",
    "MIX Reverb Dup 3", "MIX Revers Reverb", "MIX Revers Reverb2", "MIX Revers Reverb3",
    "MIX Rise And Fall 1", "MIX Rise And Fall 2", "REV Hall Big", "REV Hall Bright",
    "REV Hall Warm", "REV Hall Trance", "REV Hall Band", "REV Hall Small", "REV Hall Damp",
    "REV Hall Ghosts", "REV Hall Glass", "REV Hall Real", "REV Hall Real 2", "REV Hall Ring",
    "REV Hall Spring", "REV Hall Plate", "REV Hall Cheap", "REV Room", "REV Room Bright",
    "REV Room Bright 2", "REV Room Warm", "REV Room Trance", "REV Room Band", "REV Room Damp",
    "REV Room Glass", "REV Room Large", "REV Room Real", "REV Room Spring", "REV Room Plate",
    "REV Room Cheap", "REV Arena", "REV Arena Warm", "REV Arena Trance", "REV Arena Band",
    "REV Arena Damp", "REV Arena Real", "REV Arena Ring", "REV Arena Wasps", "REV Arena Cheap",
    "REV Chamber", "REV Chamber Trance", "REV Chamber Band", "REV Chamber Damp",
    "REV Chamber Glass", "REV Chamber Real", "REV Chamber Cheap", "TAP __LR", "TAP Beat 1",
    "TAP C_CC Fat", "TAP C_CC", "TAP C_LR", "TAP CCC_ Fat", "TAP CCC_", "TAP CRCL",
    "TAP Doted 2 Fat", "TAP Doted 2", "TAP Doted 3", "TAP Doted 4", "TAP Doted Fat", "TAP Doted",
    "TAP Fake Reverb 2", "TAP Fake Reverb 3", "TAP Fake Reverb 4", "TAP Fake Reverb", "TAP Fall 1",
    "TAP Fall 2", "TAP Pan 1", "TAP Pan 2", "TAP Rise", "TAP Shuffle", "TAP Supersawer",
    "TAP Swing", "TAP Trance Reflect", "FX Bandpass 1kHz", "FX Dub Delay", "FX Encode Mono",
    "FX Encode Surround", "FX Ensemble", "FX Ensemble 2", "FX Ensemble Fat", "FX Ensemble Fater",
    "FX Highpass 1kHz", "FX Lowpass 1kHz", "FX Lowpass 200Hz", "FX Noisegate -20dB",
    "FX Noisegate -40dB", "FX Simple Chorus", "FX Simple Flanger", "FX Stereo Detune",
    "FX Stereo Narrow", "FX Stereo Widener", "GATE Decay 250ms", "GATE Decay 500ms",
    "GATE Fat Drums 2", "GATE Fat Drums 3", "GATE Fat Drums", "GATE Hold 62ms", "GATE Hold 125ms",
    "GATE Hold 250ms", "GATE Hold 500ms", "GATE Tap Drum 1", "GATE Tap Drum 2", "GATE Tap Drum 3",
    "GATE Tap Drum 4", "GATE Tap Drum 5", "DEL 0.5", "DEL 0.25", "DEL 0.33", "DEL 0.66",
    "DEL 0.75", "DEL 0.125", "DEL 0.375", "DEL Duck 0.5", "DEL Duck 0.25", "DEL PingPong 0.5",
    "DEL PingPong 0.25", "DEL PingPong 1", "DEL Spacenight 1", "DEL Spacenight 2",
    "DEL Spacenight 3", "DEL Spacenight 4", "DUP 0.5", "DUP 0.25", "DUP 0.33", "DUP 0.66",
    "DUP 0.75", "DUP 0.375", "DUP Beat 1", "DUP Beat 2", "DUP Beat 3", "DUP Beat 4", "DUP Beat 5",
    "DUP Drumroll 2", "DUP Drumroll 3", "DUP Drumroll 4", "DUP Drumroll", "DUP Early Reflect 2",
    "DUP Early Reflect", "DUP Shuffle", "DUP Swing", "USER 1", "USER 2", "USER 3", "USER 4",
    "USER 5", "USER 6", "USER 7", "USER 8", "USER 9", "USER 10", "USER 11", "USER 12",
};

std::string name(int program) {
    return std::string(factoryPresets[program].name, strnlen(factoryPresets[program].name, 24));
}
float value(int program, int index) { return factoryPresets[program].values[index]; }
bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
std::vector<int> family(const char* prefix) {
    std::vector<int> list;
    for (int p = 0; p < kNumPrograms; ++p)
        if (startsWith(name(p), prefix)) list.push_back(p);
    return list;
}
std::string display(int index, float v) {
    char text[64];
    parameterDisplayText(index, v, text, sizeof text);
    return text;
}
bool reverbOn(int p) { return value(p, RMix) > 0.05f; }
bool multitapOn(int p) { return value(p, MMix) > 0.05f; }
int activeSteps(int p) {
    int n = 0;
    for (int k = 0; k < kNumSteps; ++k)
        if (value(p, stepLeft(k)) + value(p, stepRight(k)) > 0.0f) ++n;
    return n;
}
int programNamed(const char* wanted) {
    for (int p = 0; p < kNumPrograms; ++p)
        if (name(p) == wanted) return p;
    ADD_FAILURE() << "no program " << wanted;
    return 0;
}

// The init values, written out independently of the code that builds the bank.
std::vector<float> initValues() {
    std::vector<float> v(kNumParams, 0.0f);
    const std::pair<int, float> init[] = {
        {Mix, 0.5f}, {Volume, 0.705f}, {Surround, 0.5f}, {RMix, 1.0f}, {RSize, 0.5f}, {RDecay, 0.6f},
        {RDiffuse, 1.0f}, {RPredel, 0.2f}, {RHiDamp, 0.4f}, {RLowDamp, 0.1f}, {RHiCut, 1.0f},
        {RLowCut, 0.4f}, {RSwirl, 0.55f}, {GThresh, 1.0f}, {GAttack, 0.125f}, {GHold, 0.25f},
        {GRelease, 0.25f}, {DLimit, 0.5f}, {MMix, 1.0f}, {MTime, 0.5f}, {MFeedba, 0.5f},
        {MDetune, 0.25f}, {MHiDamp, 0.5f}, {MLowDamp, 0.0625f}, {MHiCut, 1.0f}, {MLowCut, 0.125f},
        {StepL16, 1.0f}, {StepR16, 1.0f}};
    for (auto& [i, x] : init) v[i] = x;
    return v;
}

void expectRow(int program, const std::vector<float>& expected) {
    for (int i = 0; i < kNumParams; ++i) {
        uint32_t got, want;
        std::memcpy(&got, &factoryPresets[program].values[i], 4);
        std::memcpy(&want, &expected[i], 4);
        EXPECT_EQ(got, want) << name(program) << " parameter " << i;
    }
}

std::vector<float> row(std::initializer_list<std::pair<int, float>> set) {
    std::vector<float> v(kNumParams, 0.0f);
    for (auto& [i, x] : set) v[i] = x;
    return v;
}

}  // namespace

TEST(FactoryBank, RecordLayoutAndSize) {
    EXPECT_EQ(sizeof(FactoryPreset), 296u);
    EXPECT_EQ(sizeof(FactoryPreset) * kNumPrograms, 53280u);
}

TEST(FactoryBank, NamesInBankOrderAndPadded) {
    for (int p = 0; p < kNumPrograms; ++p) {
        EXPECT_EQ(name(p), kNames[p]) << "program " << p;
        EXPECT_LE(name(p).size(), 19u);
        for (size_t i = name(p).size(); i < 24; ++i) EXPECT_EQ(factoryPresets[p].name[i], 0) << p;
    }
}

TEST(FactoryBank, EveryValueWithinRangeAndReservedZero) {
    for (int p = 0; p < kNumPrograms; ++p) {
        for (int i = 0; i < kNumParams; ++i) {
            EXPECT_GE(value(p, i), 0.0f) << name(p) << " " << i;
            EXPECT_LE(value(p, i), 1.0f) << name(p) << " " << i;
        }
        for (int i = Reserved0; i <= Reserved4; ++i) {
            uint32_t bits;
            std::memcpy(&bits, &factoryPresets[p].values[i], 4);
            EXPECT_EQ(bits, 0u) << name(p) << " reserved " << i;
        }
        EXPECT_LE(value(p, Bypass), 0.5f) << name(p) << " must not start bypassed";
    }
}

TEST(FactoryBank, FixedRowsBitForBit) {
    expectRow(0, row({{Mix, 0.404f}, {Volume, 0.592f}, {Surround, 0.5f}, {RMix, 0.504f}, {RSize, 0.484f},
                      {RDecay, 0.644f}, {RDiffuse, 1.0f}, {RPredel, 0.052f}, {RHiDamp, 0.216f},
                      {RLowDamp, 0.096f}, {RHiCut, 1.0f}, {RLowCut, 0.312f}, {RSwirl, 0.552f},
                      {GThresh, 1.0f}, {GAttack, 0.125f}, {GHold, 0.25f}, {GRelease, 0.25f}, {DLimit, 0.5f},
                      {MMix, 1.0f}, {MTime, 0.736f}, {MFeedba, 0.504f}, {MDetune, 0.568f},
                      {MHiDamp, 0.504f}, {MLowDamp, 0.04f}, {MHiCut, 1.0f}, {MLowCut, 0.14f},
                      {StepL0, 1.0f}, {StepR0, 1.0f}, {StepL2, 0.5f}, {StepR2, 0.5f}, {StepL4, 0.25f},
                      {StepR4, 0.25f}, {StepL6, 1.0f}, {StepR6, 1.0f}, {StepL8, 0.5f}, {StepR8, 0.5f},
                      {StepL10, 0.25f}, {StepR10, 0.25f}, {StepL12, 1.0f}, {StepR12, 1.0f},
                      {StepL14, 0.5f}, {StepR14, 0.5f}}));
    std::vector<float> hallBig = initValues();
    hallBig[Mix] = 0.404f; hallBig[Volume] = 0.672f; hallBig[RDecay] = 0.75f;
    hallBig[RHiDamp] = 0.552f; hallBig[MMix] = 0.0f;
    expectRow(30, hallBig);
    expectRow(114, row({{Mix, 0.5f}, {Volume, 0.6f}, {Surround, 0.5f}, {RSize, 0.5f}, {RDecay, 0.708f},
                        {RDiffuse, 1.0f}, {RHiDamp, 0.728f}, {RLowDamp, 0.044f}, {RHiCut, 1.0f},
                        {RLowCut, 0.192f}, {RSwirl, 0.724f}, {GThresh, 1.0f}, {GAttack, 0.125f},
                        {GHold, 0.25f}, {GRelease, 0.25f}, {DLimit, 0.5f}, {MMix, 1.0f},
                        {MTime, 0.136f}, {MDetune, 0.504f}, {MHiCut, 1.0f}, {StepL0, 1.0f},
                        {StepR0, 1.0f}}));
    expectRow(126, row({{Mix, 0.552f}, {Volume, 0.708f}, {Surround, 0.5f}, {RMix, 1.0f}, {RSize, 0.34f},
                        {RDecay, 0.602f}, {RDiffuse, 1.0f}, {RPredel, 0.076f}, {RLowDamp, 0.084f},
                        {RHiCut, 1.0f}, {RLowCut, 0.316f}, {RSwirl, 0.606f}, {GThresh, 0.056f},
                        {GAttack, 0.125f}, {GHold, 0.418f}, {GRelease, 0.42f}, {DLimit, 0.5f},
                        {MTime, 0.5f}, {MFeedba, 0.5f}, {MDetune, 0.25f}, {MHiDamp, 0.5f},
                        {MLowDamp, 0.0625f}, {MHiCut, 1.0f}, {MLowCut, 0.125f}, {StepL16, 1.0f},
                        {StepR16, 1.0f}}));
    expectRow(142, row({{Mix, 1.0f}, {Volume, 0.7f}, {Surround, 0.5f}, {RSize, 0.128f}, {RDecay, 0.508f},
                        {RDiffuse, 1.0f}, {RLowDamp, 0.096f}, {RHiCut, 1.0f}, {RLowCut, 0.256f},
                        {RSwirl, 1.0f}, {GThresh, 1.0f}, {GAttack, 0.125f}, {GHold, 0.25f},
                        {GRelease, 0.25f}, {DLimit, 0.5f}, {MMix, 0.5f}, {MTime, 0.504f},
                        {MFeedba, 0.644f}, {MDetune, 0.112f}, {MHiDamp, 0.648f}, {MLowDamp, 0.048f},
                        {MHiCut, 1.0f}, {MLowCut, 0.196f}, {StepL8, 1.0f}, {StepR16, 1.0f}}));
    for (int p = 168; p < kNumPrograms; ++p) expectRow(p, initValues());
}

TEST(FactoryBank, OnlyTheUserSlotsAreLeftAtInit) {
    std::vector<float> init = initValues();
    for (int p = 0; p < 168; ++p) {
        bool differs = false;
        for (int i = 0; i < kNumParams; ++i) differs = differs || value(p, i) != init[i];
        EXPECT_TRUE(differs) << name(p) << " is still the init program";
    }
}

// Loops that never die away make a program unusable as a starting point:
// every tail must fall away on its own.
TEST(FactoryBank, NoLoopRecirculatesEndlessly) {
    for (int p = 0; p < kNumPrograms; ++p) {
        EXPECT_LE(value(p, MFeedba), 0.85f) << name(p);
        EXPECT_LE(value(p, RDecay), 0.85f) << name(p);
    }
}

TEST(FactoryBank, FamiliesSwitchTheirEngines) {
    for (int p : family("MIX ")) EXPECT_TRUE(reverbOn(p) && multitapOn(p)) << name(p);
    for (int p : family("REV ")) EXPECT_TRUE(reverbOn(p) && !multitapOn(p)) << name(p);
    for (int p : family("TAP ")) {
        EXPECT_TRUE(multitapOn(p)) << name(p);
        EXPECT_GE(activeSteps(p), 2) << name(p) << " plays no pattern";
    }
    for (int p : family("GATE ")) {
        EXPECT_TRUE(reverbOn(p)) << name(p);
        EXPECT_LT(value(p, GThresh), 0.95f) << name(p) << " has its gate off";
    }
    for (int p : family("DEL ")) {
        EXPECT_TRUE(multitapOn(p)) << name(p);
        EXPECT_GT(value(p, MFeedba), 0.05f) << name(p) << " does not repeat";
    }
    for (int p : family("DUP ")) {
        EXPECT_TRUE(multitapOn(p) && !reverbOn(p)) << name(p);
        EXPECT_LE(value(p, MFeedba), 0.05f) << name(p) << " should copy, not recirculate";
    }
}

// "DEL 0.25" plays "1/4" and so on: the figure in the name is the note value.
TEST(FactoryBank, DelayFiguresMatchTheNoteValueText) {
    const std::pair<const char*, const char*> figures[] = {
        {"0.5", "1/2"}, {"0.25", "1/4"}, {"0.33", "1/3"}, {"0.66", "2/3"}, {"0.75", "3/4"},
        {"0.125", "1/8"}, {"0.375", "3/8"}, {"1", "1"}};
    int checked = 0;
    for (int p = 0; p < kNumPrograms; ++p) {
        if (!startsWith(name(p), "DEL ") && !startsWith(name(p), "DUP ")) continue;
        // The figure follows the family, or a "Duck" or "PingPong" after it.
        std::string rest = name(p).substr(4);
        for (const char* word : {"Duck ", "PingPong "})
            if (startsWith(rest, word)) rest = rest.substr(std::strlen(word));
        std::string figure = rest;
        for (auto& [f, note] : figures) {
            if (figure != f) continue;
            EXPECT_EQ(display(MTime, value(p, MTime)), note) << name(p);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 18);
}

TEST(FactoryBank, PingPongStepsAlternateSides) {
    for (int p = 0; p < kNumPrograms; ++p) {
        if (name(p).find("PingPong") == std::string::npos) continue;
        int side = 0, changes = 0, steps = 0;
        for (int k = 0; k < kNumSteps; ++k) {
            float l = value(p, stepLeft(k)), r = value(p, stepRight(k));
            if (l + r <= 0.0f) continue;
            ++steps;
            EXPECT_TRUE(l == 0.0f || r == 0.0f) << name(p) << " step " << k << " is on both sides";
            int s = l > r ? 1 : 2;
            if (side != 0 && s != side) ++changes;
            side = s;
        }
        EXPECT_GE(steps, 2) << name(p);
        EXPECT_EQ(changes, steps - 1) << name(p);
    }
}

// Hold programs: hold plus fall gives the figure; Decay programs: the fall.
TEST(FactoryBank, GateTimesMatchTheirNames) {
    auto secondsOf = [](int p, int index) { return std::atof(display(index, value(p, index)).c_str()); };
    const std::pair<const char*, double> hold[] = {
        {"GATE Hold 62ms", 0.062}, {"GATE Hold 125ms", 0.125}, {"GATE Hold 250ms", 0.25},
        {"GATE Hold 500ms", 0.5}};
    for (auto& [n, seconds] : hold) {
        int p = programNamed(n);
        // The texts are rounded to 10 ms.
        EXPECT_NEAR(secondsOf(p, GHold) + secondsOf(p, GRelease), seconds, seconds * 0.1 + 0.01) << n;
        EXPECT_LE(secondsOf(p, GAttack), 0.005) << n << " should open at once";
    }
    EXPECT_EQ(display(GHold, value(programNamed("GATE Hold 125ms"), GHold)), "0.12");
    EXPECT_NEAR(secondsOf(programNamed("GATE Decay 250ms"), GRelease), 0.25, 0.01);
    EXPECT_NEAR(secondsOf(programNamed("GATE Decay 500ms"), GRelease), 0.5, 0.02);
}

TEST(FactoryBank, EffectNamesMatchTheirSettings) {
    EXPECT_EQ(display(GThresh, value(programNamed("FX Noisegate -20dB"), GThresh)), "-20.0 dB");
    EXPECT_EQ(display(GThresh, value(programNamed("FX Noisegate -40dB"), GThresh)), "-40.0 dB");
    EXPECT_EQ(display(MHiCut, value(programNamed("FX Lowpass 1kHz"), MHiCut)), "1000");
    EXPECT_EQ(display(MHiCut, value(programNamed("FX Lowpass 200Hz"), MHiCut)), "200");
    EXPECT_EQ(display(MLowCut, value(programNamed("FX Highpass 1kHz"), MLowCut)), "1000");
    for (const char* n : {"FX Lowpass 1kHz", "FX Lowpass 200Hz", "FX Highpass 1kHz", "FX Bandpass 1kHz"}) {
        int p = programNamed(n);
        // The filter is the multitap's output filter: nothing may bypass it.
        EXPECT_TRUE(multitapOn(p) && !reverbOn(p)) << n;
        EXPECT_EQ(value(p, Mix), 1.0f) << n;
        EXPECT_EQ(value(p, MMix), 1.0f) << n;
    }
    EXPECT_EQ(display(Surround, value(programNamed("FX Stereo Narrow"), Surround)), "narrow");
    EXPECT_EQ(display(Surround, value(programNamed("FX Stereo Widener"), Surround)), "wide");
    EXPECT_EQ(display(Surround, value(programNamed("FX Encode Mono"), Surround)), "mono");
    EXPECT_EQ(display(Surround, value(programNamed("FX Encode Surround"), Surround)), "surround");
    for (const char* n : {"FX Simple Flanger", "FX Ensemble", "FX Stereo Detune"}) {
        int p = programNamed(n);
        EXPECT_TRUE(multitapOn(p)) << n;
        EXPECT_GT(value(p, MDetune), 0.0f) << n;
    }
}

TEST(FactoryBank, BigRoomsAreLargerThanRoomsAndChambers) {
    float smallest = 1.0f, largest = 0.0f;
    for (int p : family("REV Arena")) smallest = std::min(smallest, value(p, RSize));
    smallest = std::min(smallest, value(programNamed("REV Hall Big"), RSize));
    for (const char* f : {"REV Room", "REV Chamber"})
        for (int p : family(f)) largest = std::max(largest, value(p, RSize));
    EXPECT_GT(smallest, largest);
    EXPECT_GT(value(programNamed("REV Room Large"), RSize), value(programNamed("REV Room"), RSize));
    for (int p : family("REV Hall "))
        EXPECT_LE(value(p, RSize), value(programNamed("REV Hall Big"), RSize)) << name(p);
}

TEST(FactoryBank, BrightDampsLessThanWarm) {
    for (const char* room : {"Hall", "Room"}) {
        int bright = programNamed(("REV " + std::string(room) + " Bright").c_str());
        int warm = programNamed(("REV " + std::string(room) + " Warm").c_str());
        EXPECT_LT(value(bright, RHiDamp), value(warm, RHiDamp)) << room;
        EXPECT_GE(value(bright, RHiCut), value(warm, RHiCut)) << room;
    }
}
