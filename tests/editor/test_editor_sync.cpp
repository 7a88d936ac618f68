// The editor keeping step with the instance: compact mode from the marker
// file, reopening, parameter changes from any thread, the meters, the program
// list, the info line and the step sliders' eighths.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "editor/layout.h"
#include "platform/dialogs.h"
#include "support.h"

using namespace VSTGUI;
using edtest::Instance;

namespace {

void writeMarker() {
    FILE* f = std::fopen(edtest::markerPath().c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
}
void removeMarker() { std::remove(edtest::markerPath().c_str()); }

int64_t record(const char* name) {
    for (int i = 0; i < kNumControlRecords; ++i)
        if (std::string(controlTabs[i].name) == name) return i;
    return -1;
}

}  // namespace

TEST(CompactMode, AHostThatCannotResizeIsNotAskedToAndTheFrameStillShrinks) {
    writeMarker();
    edtest::hostLog().sizeRequests.clear();
    edtest::hostLog().saysItCanResize = false;
    {
        Instance in(false);
        in.editor->open(nullptr);
        EXPECT_TRUE(edtest::hostLog().sizeRequests.empty());
        CRect size;
        in.frame()->getSize(size);
        EXPECT_EQ(size, CRect(0, 0, 381, 178));
        in.editor->close();
    }
    edtest::hostLog().saysItCanResize = true;
    removeMarker();
}

TEST(CompactMode, MarkerFileShrinksTheWindowAtOpen) {
    writeMarker();
    edtest::hostLog().sizeRequests.clear();
    {
        Instance in(false);
        EXPECT_EQ(in.editor->getEditorHidden(), 1.0f);
        ERect* r = nullptr;
        in.glue->getRect(&r);
        CBitmap back(CResourceDescription{128});
        EXPECT_EQ(r->right, back.getWidth()) << "getRect keeps the background size";
        EXPECT_EQ(r->bottom, back.getHeight());
        in.editor->open(nullptr);
        ASSERT_EQ(edtest::hostLog().sizeRequests.size(), 1u);
        EXPECT_EQ(edtest::hostLog().sizeRequests[0], std::make_pair(381, 178));
        CRect size;
        in.frame()->getSize(size);
        EXPECT_EQ(size, CRect(0, 0, 381, 178));
        // The mouse still reaches the whole background area.
        EXPECT_EQ(in.frame()->getMouseableArea(), CRect(0, 0, back.getWidth(), back.getHeight()));
        // Closed and opened again, it is compact again.
        in.editor->close();
        in.editor->open(nullptr);
        in.frame()->getSize(size);
        EXPECT_EQ(size, CRect(0, 0, 381, 178));
    }
    removeMarker();
    edtest::hostLog().sizeRequests.clear();
    Instance full;
    EXPECT_EQ(full.editor->getEditorHidden(), 0.0f);
    EXPECT_TRUE(edtest::hostLog().sizeRequests.empty()) << "the full window is not resized";
}

TEST(CompactMode, HostThatCannotResizeKeepsItsWindowWhileTheFrameShrinks) {
    writeMarker();
    edtest::hostLog().canResize = false;
    {
        Instance in;
        CRect size;
        in.frame()->getSize(size);
        EXPECT_EQ(size, CRect(0, 0, 381, 178));
    }
    edtest::hostLog().canResize = true;
    removeMarker();
}

TEST(EditorSync, ReopeningRebuildsWithCurrentValuesAndPrograms) {
    Instance in;
    in.editor->close();
    EXPECT_FALSE(in.editor->isEditorReady());
    EXPECT_EQ(in.frame(), nullptr);
    EXPECT_EQ(in.editor->knobs[0], nullptr);
    EXPECT_EQ(in.editor->programMenu, nullptr);
    EXPECT_EQ(in.editor->outputLeds[0], nullptr);

    in.fx->setProgram(12);
    in.fx->setParameter(param::RSize, 0.125f);
    in.fx->setParameter(param::Bypass, 1.0f);
    in.fx->setParameter(param::StepR7, 0.75f);
    char name[] = "Renamed";
    in.fx->setProgramName(name);
    in.editor->open(nullptr);
    EXPECT_TRUE(in.editor->isEditorReady());
    EXPECT_EQ(in.editor->knobs[record("Reverb room size")]->getValue(), 0.125f);
    EXPECT_EQ(in.editor->onOffButtons[record("Bypass")]->getValue(), 1.0f);
    EXPECT_EQ(in.editor->sliders[record("Multitap step 7 right")]->getValue(), 0.75f);
    EXPECT_EQ(in.editor->programMenu->getValue(), 12.0f);
    EXPECT_STREQ(in.editor->programMenu->getEntryText(12), "Renamed");
    EXPECT_TRUE(in.editor->programMenu->getEntry(12)->isChecked());
    EXPECT_FALSE(in.editor->programMenu->getEntry(0)->isChecked());
}

TEST(EditorSync, OpeningTwiceKeepsOneWindow) {
    Instance in;
    const long views = in.frame()->getNbViews();
    in.editor->open(nullptr);
    ASSERT_NE(in.frame(), nullptr);
    EXPECT_EQ(in.frame()->getNbViews(), views);
    EXPECT_TRUE(in.frame()->isChild(in.editor->knobs[0]));
}

TEST(EditorSync, HostChangesReachTheControlsAtTheNextIdle) {
    Instance in;
    CAnimKnob* decay = in.editor->knobs[record("Reverb decay")];
    in.fx->setParameter(param::RDecay, 0.9f);  // the instance tells the editor
    EXPECT_NE(decay->getValue(), 0.9f) << "nothing is touched until idle";
    in.editor->idle();
    EXPECT_EQ(decay->getValue(), 0.9f);
    // The editor reads the instance back; the reported value is not used.
    in.fx->core.paramValues[param::RDecay] = 0.3f;
    in.glue->setParameter(param::RDecay, 0.77f);
    in.editor->idle();
    EXPECT_EQ(decay->getValue(), 0.3f);
    // Indices without a control are ignored.
    in.glue->setParameter(65, 1.0f);
    in.glue->setParameter(-1, 1.0f);
    in.glue->setParameter(1000, 1.0f);
    in.editor->idle();
}

TEST(EditorSync, AutomationFromAnotherThreadWhileTheWindowOpensAndCloses) {
    Instance in(false);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        float v = 0.0f;
        while (!stop.load()) {
            for (int p = 0; p < kNumParams; ++p) in.fx->setParameter(p, v);
            v = v > 0.9f ? 0.0f : v + 0.01f;
        }
    });
    for (int i = 0; i < 30; ++i) {
        in.editor->open(nullptr);
        in.editor->idle();
        in.editor->close();
    }
    stop = true;
    audio.join();
    in.editor->open(nullptr);
    in.editor->idle();
    EXPECT_EQ(in.editor->knobs[0]->getValue(), in.fx->getParameter(0));
}

TEST(EditorSync, MetersClampLightOnlyChangedLedsAndAlternate) {
    Instance in;
    OvEditor& e = *in.editor;
    in.fx->core.outputMeter = 12;
    in.fx->core.gateMeter = 3;
    in.fx->core.duckMeter = -4;
    const int64_t first = e.getIdleCount();
    ASSERT_EQ(first % 2, 0);
    e.idle();  // even: output and gate
    EXPECT_EQ(in.fx->core.outputMeter.load(), 12) << "the render path's value is only read";
    EXPECT_EQ(in.fx->core.duckMeter.load(), -4);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(e.outputLeds[i]->getValue(), 0.0f) << "all lit";
    for (int i = 0; i < 10; ++i) EXPECT_EQ(e.gateLeds[i]->getValue(), i < 3 ? 0.0f : 1.0f);
    EXPECT_EQ(e.shownMeter(Meter::Output), 10) << "shown clamped";
    EXPECT_EQ(e.shownMeter(Meter::Gate), 3);
    EXPECT_EQ(e.shownMeter(Meter::Duck), -1) << "the ducking meter waits for an odd call";

    in.fx->core.gateMeter = 7;
    in.fx->core.duckMeter = 5;
    e.idle();  // odd: output and duck
    for (int i = 0; i < 10; ++i) EXPECT_EQ(e.gateLeds[i]->getValue(), i < 3 ? 0.0f : 1.0f) << "gate not served";
    for (int i = 0; i < 10; ++i) EXPECT_EQ(e.duckLeds[i]->getValue(), i < 5 ? 0.0f : 1.0f);
    e.idle();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(e.gateLeds[i]->getValue(), i < 7 ? 0.0f : 1.0f);

    in.fx->core.outputMeter = -3;
    e.idle();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(e.outputLeds[i]->getValue(), 1.0f) << "negative darkens all";
    EXPECT_EQ(in.fx->core.outputMeter.load(), -3);
    EXPECT_EQ(e.getIdleCount(), first + 4);
}

TEST(EditorSync, ProgramListIsRebuiltOnRequest) {
    Instance in;
    OvEditor& e = *in.editor;
    e.idle();
    in.fx->setProgram(10);
    char name[] = "Hall of fame";
    in.fx->setProgramName(name);
    EXPECT_TRUE(in.fx->core.refreshProgramList.load());
    e.idle();
    EXPECT_FALSE(in.fx->core.refreshProgramList.load());
    EXPECT_FALSE(in.fx->core.refreshWaveDisplay.load());
    EXPECT_EQ(e.programMenu->getNbEntries(), 180);
    EXPECT_STREQ(e.programMenu->getEntryText(10), "Hall of fame");
    EXPECT_EQ(e.programMenu->getValue(), 10.0f);
    EXPECT_TRUE(e.programMenu->getEntry(10)->isChecked());
}

TEST(EditorSync, InfoLineNamesTheControlUnderThePointer) {
    Instance in;
    OvEditor& e = *in.editor;
    CAnimKnob* release = e.knobs[record("Gate rekease")];
    e.updatemouseOverInfo(release);
    char display[AudioEffect::kTextBufferSize], label[AudioEffect::kTextBufferSize];
    in.fx->getParameterDisplay(param::GRelease, display);
    in.fx->getParameterLabel(param::GRelease, label);
    EXPECT_EQ(std::string(e.getInfoText()), std::string("Gate rekease = ") + display + " " + label);
    EXPECT_STREQ(label, "s");
    EXPECT_STRNE(e.infoLabel->getText(), e.getInfoText()) << "shown at the next idle";
    e.idle();
    EXPECT_STREQ(e.infoLabel->getText(), e.getInfoText());

    e.updatemouseOverInfo(e.programMenu);
    EXPECT_STREQ(e.getInfoText(), "");
    e.updatemouseOverInfo(e.wetOnlyButton);
    EXPECT_STREQ(e.getInfoText(), "Listen to wet signal only");
    e.updatemouseOverInfo(e.kickButtons[record("Show the handbook")]);
    EXPECT_STREQ(e.getInfoText(), "Show the handbook");
    e.updatemouseOverInfo(nullptr);
    EXPECT_STREQ(e.getInfoText(), "Show the handbook");
}

TEST(EditorSync, StepSliderSendsEighthsAndShowsThemAtOnce) {
    Instance in;
    CVerticalSlider* step = in.editor->sliders[record("Multitap step 3 left")];
    step->setValue(0.3f);
    in.editor->valueChanged(step);
    EXPECT_EQ(in.fx->getParameter(param::StepL3), 0.25f);
    EXPECT_EQ(step->getValue(), 0.25f);
    step->setValue(0.95f);
    in.editor->valueChanged(step);
    EXPECT_EQ(in.fx->getParameter(param::StepL3), 1.0f);
    // Knobs are not snapped.
    CAnimKnob* mix = in.editor->knobs[record("Mix level")];
    mix->setValue(0.3f);
    in.editor->valueChanged(mix);
    EXPECT_EQ(in.fx->getParameter(param::Mix), 0.3f);
}

TEST(EditorSync, ReverbEditsAskForANewPictureOthersDoNot) {
    Instance in;
    in.editor->idle();
    ASSERT_FALSE(in.fx->core.refreshWaveDisplay.load());
    CAnimKnob* feedback = in.editor->knobs[record("Multitap feedback")];
    feedback->setValue(0.2f);
    in.editor->valueChanged(feedback);
    EXPECT_FALSE(in.fx->core.refreshWaveDisplay.load());
    CAnimKnob* swirl = in.editor->knobs[record("Reverb swirl")];
    swirl->setValue(0.2f);
    in.editor->valueChanged(swirl);
    EXPECT_TRUE(in.fx->core.refreshWaveDisplay.load());
}

TEST(EditorSync, ProgramStepsStopAtTheEnds) {
    Instance in;
    OvEditor& e = *in.editor;
    CKickButton* next = e.kickButtons[record("Next program")];
    CKickButton* previous = e.kickButtons[record("Previous program")];
    in.fx->setProgram(179);
    e.idle();
    next->setValue(0.0f);  // acted on at release
    e.valueChanged(next);
    EXPECT_EQ(in.fx->getProgram(), 179);
    in.fx->setProgram(0);
    e.idle();
    previous->setValue(0.0f);
    e.valueChanged(previous);
    EXPECT_EQ(in.fx->getProgram(), 0);
    in.fx->setProgram(10);  // the host selects a program
    e.idle();
    e.valueChanged(next);
    EXPECT_EQ(in.fx->getProgram(), 11);
    EXPECT_EQ(e.programMenu->getValue(), 11.0f);
}

namespace {

// Records what the editor shows and opens on the desktop, answering questions with `answer`.
struct Desktop {
    std::vector<platform::MessageBoxCall> boxes;
    std::vector<std::string> opened;
    int answer = kMessageBoxAlternate;
    Desktop() {
        platform::setMessageBoxHook([this](const platform::MessageBoxCall& c) {
            boxes.push_back(c);
            return answer;
        });
        platform::setOpenHook([this](const std::string& target) { opened.push_back(target); });
    }
    ~Desktop() {
        platform::setMessageBoxHook(nullptr);
        platform::setOpenHook(nullptr);
    }
};

bool exists(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (f) std::fclose(f);
    return f != nullptr;
}

}  // namespace

TEST(EditorCommands, HideEditorTogglesTheCompactWindowAndItsMarker) {
    removeMarker();
    Desktop desktop;
    Instance in;
    CKickButton* hide = in.editor->kickButtons[record("Hide editor")];
    hide->setValue(1.0f);  // a click completed over the button
    in.editor->valueChanged(hide);
    CRect size;
    in.frame()->getSize(size);
    EXPECT_EQ(size, CRect(0, 0, 381, 178));
    EXPECT_TRUE(exists(edtest::markerPath()));
    EXPECT_EQ(in.editor->getEditorHidden(), 1.0f);
    hide->setValue(0.0f);  // the release that follows changes nothing
    in.editor->valueChanged(hide);
    in.frame()->getSize(size);
    EXPECT_EQ(size.width(), 381);
    hide->setValue(1.0f);
    in.editor->valueChanged(hide);
    in.frame()->getSize(size);
    CBitmap back(CResourceDescription{128});
    EXPECT_EQ(size, CRect(0, 0, back.getWidth(), back.getHeight()));
    EXPECT_FALSE(exists(edtest::markerPath()));
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST(EditorCommands, WebSiteAndHandbook) {
    Desktop desktop;
    Instance in;
    CKickButton* web = in.editor->kickButtons[record("Visit www.orvane.example")];
    web->setValue(0.0f);  // acted on at release
    in.editor->valueChanged(web);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].defaultButton, "Yes");
    EXPECT_EQ(desktop.boxes[0].alternateButton, "No");
    EXPECT_NE(desktop.boxes[0].message.find("www.orvane.example"), std::string::npos);
    EXPECT_TRUE(desktop.opened.empty()) << "No opens nothing";
    desktop.answer = kMessageBoxDefault;
    in.editor->valueChanged(web);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], "https://www.orvane.example/");

    // The main menu's entry opens the site without a question.
    desktop.opened.clear();
    const size_t asked = desktop.boxes.size();
    in.editor->mainMenu->setValue(12.0f);
    in.editor->valueChanged(in.editor->mainMenu);
    EXPECT_EQ(desktop.boxes.size(), asked);
    ASSERT_EQ(desktop.opened.size(), 1u);

    // The handbook is the PDF beside the library the editor lives in.
    desktop.opened.clear();
    CKickButton* manual = in.editor->kickButtons[record("Show the handbook")];
    manual->setValue(1.0f);
    in.editor->valueChanged(manual);
    ASSERT_EQ(desktop.opened.size(), 1u);
    const std::string& path = desktop.opened[0];
    EXPECT_EQ(path.substr(path.size() - 12), "/Nimbrel.pdf");
    EXPECT_EQ(path[0], '/');
}

TEST(EditorCommands, WetOnlyButtonMutesTheDrySignalWhileHeld) {
    Instance in;
    in.editor->wetOnlyButton->setValue(1.0f);
    in.editor->valueChanged(in.editor->wetOnlyButton);
    EXPECT_EQ(in.fx->core.dryFactor.load(), 0.0f);
    EXPECT_STREQ(in.editor->getInfoText(), "Listen to wet signal only");
    in.editor->wetOnlyButton->setValue(0.0f);
    in.editor->valueChanged(in.editor->wetOnlyButton);
    EXPECT_EQ(in.fx->core.dryFactor.load(), 1.0f);
}

TEST(EditorCommands, ProgramMenuSelectsAndClamps) {
    Instance in;
    in.editor->programMenu->setValue(42.0f);
    in.editor->valueChanged(in.editor->programMenu);
    EXPECT_EQ(in.fx->getProgram(), 42);
    EXPECT_TRUE(in.editor->programMenu->getEntry(42)->isChecked());
    in.editor->programMenu->setValue(500.0f);
    in.editor->valueChanged(in.editor->programMenu);
    EXPECT_EQ(in.fx->getProgram(), 179);
}

namespace {

void menuCommand(Instance& in, float entry) {
    in.editor->mainMenu->setValue(entry);
    in.editor->valueChanged(in.editor->mainMenu);
}

std::string programName(OvAudio& fx) {
    char name[AudioEffect::kTextBufferSize] = {0};
    fx.getProgramName(name);
    return name;
}

}  // namespace

TEST(EditorCommands, InitAndRandomPatchesWorkOnTheProgramTheMenuShows) {
    Instance in;
    in.fx->setProgram(10);  // the host selects a program
    in.editor->idle();

    menuCommand(in, 6.0f);  // Init reverb
    EXPECT_EQ(in.fx->getProgram(), 10);
    EXPECT_EQ(in.fx->getParameter(param::MMix), 0.0f) << "delay off";
    EXPECT_EQ(in.fx->getParameter(param::RDecay), 0.75f);
    EXPECT_EQ(in.fx->getParameter(param::RSize), kParameterInit.v[param::RSize]);

    menuCommand(in, 7.0f);  // Init delay
    EXPECT_EQ(in.fx->getParameter(param::RMix), 0.0f) << "reverb off";
    EXPECT_EQ(in.fx->getParameter(param::MMix), kParameterInit.v[param::MMix]);

    for (int round = 0; round < 20; ++round) {
        menuCommand(in, 10.0f);  // Random delay
        EXPECT_EQ(programName(*in.fx), "Random delay");
        EXPECT_EQ(in.fx->getProgram(), 10);
        int lit = 0;
        for (int p = param::StepL0; p <= param::StepR16; ++p) {
            const float v = in.fx->getParameter(p);
            EXPECT_TRUE(v == 0.0f || v == 1.0f);
            lit += v == 1.0f;
        }
        EXPECT_GE(lit, 1);
        EXPECT_LE(lit, 20);
        EXPECT_EQ(in.fx->getParameter(param::StepL0), 0.0f) << "step 0 is never picked";
        EXPECT_EQ(in.fx->getParameter(param::StepR0), 0.0f);
        EXPECT_EQ(in.fx->getParameter(param::RMix), 0.0f);
        EXPECT_EQ(in.fx->getParameter(param::Mix), 0.75f);
    }

    menuCommand(in, 9.0f);  // Random reverb
    EXPECT_EQ(programName(*in.fx), "Random reverb");
    EXPECT_EQ(in.fx->getParameter(param::MMix), 0.0f);
    EXPECT_EQ(in.fx->getParameter(param::RMix), kParameterInit.v[param::RMix]) << "keeps its init value";
    EXPECT_LE(in.fx->getParameter(param::RPredel), 0.5f + 0.001f);
    EXPECT_GE(in.fx->getParameter(param::RDecay), 0.1f) << "sqrt of at least 0.01";
    EXPECT_EQ(in.fx->getParameter(param::Volume), 0.75f);

    // The separators and entries past the end do nothing.
    const float mix = in.fx->getParameter(param::Mix);
    for (float entry : {2.0f, 5.0f, 8.0f, 11.0f, 13.0f, -1.0f}) menuCommand(in, entry);
    EXPECT_EQ(in.fx->getParameter(param::Mix), mix);
    EXPECT_EQ(in.fx->getProgram(), 10);
}
