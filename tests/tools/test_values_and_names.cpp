// The command line's reading of what people type: values in units, names
// with slips in them, and the progress bar's width.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/parameters.h"
#include "host/programs.h"
#include "host/parameter_units.h"
#include "tools/nimbrel/progress.h"
#include "host/suggest.h"

namespace {

std::string text(int index, float v) {
    char buffer[64];
    parameterDisplayText(index, v, buffer, sizeof buffer);
    return buffer;
}

float valueOf(int index, const std::string& typed) {
    float v = -1.0f;
    std::string error;
    EXPECT_TRUE(parameterValueFromText(index, typed, v, error)) << ParameterNameTab[index].shortName << "=" << typed
                                                                << ": " << error;
    return v;
}

std::string refusal(int index, const std::string& typed) {
    float v = -1.0f;
    std::string error;
    EXPECT_FALSE(parameterValueFromText(index, typed, v, error)) << typed << " gave " << v;
    EXPECT_EQ(v, -1.0f) << "a refused value must not be written";
    return error;
}

bool has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

}  // namespace

// Whatever a parameter shows, typed back in (with the unit of its label
// after it, which a plain number from 0 to 1 needs, being otherwise the value
// itself), gives a value that shows the same: the search and the reading of
// texts agree with the texts themselves, for every parameter.
TEST(ValuesInUnits, EveryShownTextReadsBackToTheSameText) {
    const float values[] = {0.0f, 0.003f, 0.02f, 0.05f, 0.0625f, 0.125f, 0.2f, 0.31f, 0.4f, 0.5f,
                            0.55f, 0.6f, 0.705f, 0.77f, 0.8f, 0.9f, 0.95f, 0.97f, 1.0f};
    for (int p = 0; p < kNumNamedParams; ++p) {
        const std::string label = ParameterNameTab[p].label;
        for (float v : values) {
            const std::string shown = text(p, v);
            char* end = nullptr;
            const double plain = std::strtod(shown.c_str(), &end);
            const bool plainValue = *end == 0 && plain >= 0.0 && plain <= 1.0;
            if (!plainValue) {
                EXPECT_EQ(text(p, valueOf(p, shown)), shown) << ParameterNameTab[p].shortName << " at " << v;
            }
            if (!label.empty() && shown.find_first_of("0123456789") != std::string::npos &&
                shown.find(' ') == std::string::npos) {
                EXPECT_EQ(text(p, valueOf(p, shown + label)), shown) << ParameterNameTab[p].shortName << " at " << v;
            }
        }
    }
}

// The values the command line's users asked for, as they wrote them.
TEST(ValuesInUnits, TheUnitsPeopleThinkIn) {
    using namespace param;
    // A round value in units is the round value: the same as typing it 0..1.
    EXPECT_EQ(valueOf(Mix, "60%"), 0.6f);
    EXPECT_EQ(valueOf(RDecay, "80%"), 0.8f);
    EXPECT_EQ(valueOf(Mix, " 60 % "), 0.6f);
    EXPECT_EQ(valueOf(Volume, "0dB"), 0.5f);
    EXPECT_EQ(valueOf(Volume, "mute"), 0.0f);
    EXPECT_EQ(text(Volume, valueOf(Volume, "+6dB")), "+6.0 dB");
    EXPECT_EQ(text(Volume, valueOf(Volume, "-12 dB")), "-12.0 dB");
    EXPECT_EQ(text(GThresh, valueOf(GThresh, "-20dB")), "-20.0 dB");
    EXPECT_EQ(text(MLowCut, valueOf(MLowCut, "200Hz")), "200");
    EXPECT_EQ(text(RHiCut, valueOf(RHiCut, "5kHz")), "5000");
    EXPECT_EQ(text(RHiCut, valueOf(RHiCut, "5000")), "5000");
    EXPECT_EQ(text(RSize, valueOf(RSize, "30")), "30");
    EXPECT_EQ(text(RSize, valueOf(RSize, "30m")), "30");
    EXPECT_EQ(text(RPredel, valueOf(RPredel, "50ms")), "50.0");
    EXPECT_EQ(text(RPredel, valueOf(RPredel, "0.05s")), "50.0");
    EXPECT_EQ(text(GAttack, valueOf(GAttack, "200ms")), "0.20");
    // Either number of a two-number text: the percentage or the frequency.
    EXPECT_EQ(valueOf(RHiDamp, "40%"), 0.4f);
    EXPECT_EQ(text(RHiDamp, valueOf(RHiDamp, "5kHz")).substr(4), "5.0");
    // Names and words, in any case and spacing.
    for (const char* note : MultiDelaySyncTabName2) {
        EXPECT_EQ(text(MTime, valueOf(MTime, note + std::string(" beats"))), note);
        // "1" alone is the top of the range, 0..1, as before.
        if (std::strcmp(note, "1") != 0) {
            EXPECT_EQ(text(MTime, valueOf(MTime, note)), note);
        }
    }
    EXPECT_EQ(text(MTime, valueOf(MTime, "1beat")), "1");
    EXPECT_EQ(text(MTime, valueOf(MTime, "1")), "2");
    EXPECT_EQ(text(Bypass, valueOf(Bypass, "active")), "active");
    EXPECT_EQ(text(Bypass, valueOf(Bypass, "Disabled")), "disabled");
    EXPECT_EQ(text(Route, valueOf(Route, "serial")), "serial");
    EXPECT_EQ(text(Route, valueOf(Route, "PARALLEL")), "parallel");
    EXPECT_EQ(text(Surround, valueOf(Surround, "wide")), "wide");
    EXPECT_EQ(text(DLevel, valueOf(DLevel, "noduck")), "no duck");
    EXPECT_EQ(text(MFeedba, valueOf(MFeedba, "one shot")), "one shot");
    EXPECT_EQ(text(GThresh, valueOf(GThresh, "off")), "off");
}

// A plain number from 0 to 1 is the value a host would send, to the last bit,
// as it always was: scripts written before units keep their meaning.
TEST(ValuesInUnits, PlainValuesAreTakenAsTheyAre) {
    for (const char* typed : {"0", "1", "0.7", "0.333", "1e-3", "0.30000001"})
        for (int p : {int(param::Mix), int(param::RSize), int(param::MTime), int(param::Volume)})
            EXPECT_EQ(valueOf(p, typed), std::strtof(typed, nullptr)) << typed;
}

TEST(ValuesInUnits, ImpossibleValuesAreRefusedWithWhatIsPossible) {
    using namespace param;
    EXPECT_TRUE(has(refusal(RSize, "60"), "2 .. 50 m")) << refusal(RSize, "60");
    EXPECT_TRUE(has(refusal(RSize, "1m"), "2 .. 50 m"));
    EXPECT_TRUE(has(refusal(Mix, "150%"), "0.0% .. 100.0%"));
    EXPECT_TRUE(has(refusal(Volume, "+13dB"), "+12.0 dB"));
    EXPECT_TRUE(has(refusal(GThresh, "0dB"), "off"));
    EXPECT_TRUE(has(refusal(RHiCut, "20kHz"), "16000 Hz"));
    // A choice must be named: 5/16 is no note value, and is not rounded to one.
    EXPECT_TRUE(has(refusal(MTime, "5/16"), "1/16, 1/8, 3/16"));
    // A bare number out of 0..1 where the unit is in the text itself is ambiguous.
    EXPECT_TRUE(has(refusal(Mix, "60"), "unit"));
    EXPECT_TRUE(has(refusal(Mix, "1.5"), "unit"));
    EXPECT_TRUE(has(refusal(Mix, "60 furlongs"), "not a unit"));
    EXPECT_TRUE(has(refusal(Mix, "5kHz"), "not counted in kHz"));
    EXPECT_TRUE(has(refusal(Route, "seriel"), "did you mean \"serial\""));
    for (const char* nonsense : {"", "nan", "inf", "-inf", "1/0", "x"}) refusal(param::Mix, nonsense);
}

TEST(ValuesInUnits, RangesInUnits) {
    EXPECT_EQ(parameterRangeText(param::RSize), "2 .. 50 m");
    EXPECT_EQ(parameterRangeText(param::Mix), "0.0% .. 100.0%");
    EXPECT_EQ(parameterRangeText(param::Route), "parallel or serial");
    EXPECT_EQ(parameterRangeText(param::Surround), "mono, narrow, stereo, wide or surround");
    EXPECT_EQ(parameterRangeText(param::RHiDamp), "0% .. 100%, 22.0 .. 0.7 kHz");
    const std::string volume = parameterRangeText(param::Volume);
    EXPECT_EQ(volume.rfind("mute, ", 0), 0u) << volume;
    EXPECT_TRUE(has(volume, " .. +12.0 dB")) << volume;
    const std::string time = parameterRangeText(param::MTime);
    EXPECT_EQ(time.rfind("1/16, 1/8, ", 0), 0u) << time;
    EXPECT_TRUE(has(time, "3/2 or 2 beats")) << time;
    EXPECT_EQ(parameterRangeText(kNumNamedParams), "");
}

TEST(Suggestions, EditDistanceCountsSlips) {
    EXPECT_EQ(editDistance("render", "render"), 0);
    EXPECT_EQ(editDistance("rendr", "render"), 1);
    EXPECT_EQ(editDistance("RENDER", "render"), 0);
    EXPECT_EQ(editDistance("redner", "render"), 1);  // two neighbours swapped
    EXPECT_EQ(editDistance("", "abc"), 3);
    EXPECT_EQ(editDistance("kitten", "sitting"), 3);
}

TEST(Suggestions, TheNearestKnownNames) {
    const std::vector<std::string> commands = {"render", "ir", "info", "programs", "save-program", "save-bank"};
    EXPECT_EQ(nearestNames("rendr", commands), std::vector<std::string>{"render"});
    EXPECT_EQ(nearestNames("programms", commands), std::vector<std::string>{"programs"});
    EXPECT_TRUE(nearestNames("xyzzy", commands).empty());
    EXPECT_EQ(didYouMean("rendr", commands), "; did you mean \"render\"?");
    EXPECT_EQ(didYouMean("xyzzy", commands), "");
    const std::vector<std::string> options = {"--program", "--param", "--preset", "--tempo"};
    EXPECT_EQ(nearestNames("--programm", options), std::vector<std::string>{"--program"});

    std::vector<std::string> programs;
    for (const FactoryPreset& p : factoryPresets) programs.emplace_back(p.name, strnlen(p.name, 24));
    EXPECT_EQ(nearestNames("REV Hal Big", programs), std::vector<std::string>{"REV Hall Big"});
    EXPECT_EQ(nearestNames("rev hall big", programs), std::vector<std::string>{"REV Hall Big"});
    // Failing near spellings, the names that hold what was typed.
    EXPECT_EQ(nearestNames("Hall Big", programs), std::vector<std::string>{"REV Hall Big"});
    EXPECT_EQ(didYouMean("Echo", programs).rfind("; did you mean \"", 0), 0u);
}

// A terminal wraps a line that reaches its last column, and a wrapped line
// cannot be redrawn in place: the bar always leaves that column free.
TEST(ProgressBar, FitsEveryTerminalWidth) {
    for (int columns = 1; columns <= 200; ++columns) {
        for (int percent : {0, 7, 50, 99, 100}) {
            const std::string line = progressLine(percent, columns);
            EXPECT_LT(static_cast<int>(line.size()), columns) << columns << " columns";
            EXPECT_EQ(line.find('\n'), std::string::npos);
            if (columns >= 6) {
                EXPECT_TRUE(has(line, std::to_string(percent) + "%")) << columns << ": " << line;
            }
        }
    }
    EXPECT_EQ(progressLine(50, 80), "  [####################                    ]  50%");
    EXPECT_EQ(progressLine(100, 30), "  [####################] 100%");
    EXPECT_EQ(progressLine(120, 0), progressLine(100, 80));  // unknown width: 80; beyond 100: 100
}
