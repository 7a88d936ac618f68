// The editor against a model of its own, as a format whose user interface
// keeps a copy of the values would serve it: every edit, program choice and
// command goes through the model and nowhere else, the controls, menus and
// meters show what the model says, and the model's values are only read.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "editor/layout.h"
#include "presets/program_access.h"
#include "gui/scale_factor.h"
#include "support.h"
#include "tests/common/scoped_env.h"

using namespace VSTGUI;

namespace {

// Files are not used here; the dialogs are tested with the instance.
struct NoFiles : ProgramAccess {
    void getProgramName(char* name) override { name[0] = 0; }
    void setProgramName(const char*) override {}
    bool getProgramNameIndexed(int, int, char*) override { return false; }
    float getParameter(int) override { return 0.0f; }
    void setParameter(int, float) override {}
    void setProgram(int) override {}
    void updateDisplay() override {}
    void readStoredProgram(int, float values[kPresetNumParams]) override {
        for (int i = 0; i < kPresetNumParams; ++i) values[i] = 0.0f;
    }
    void writeStoredProgram(int, const char*, const float*, int) override {}
};

struct FakeModel : EditorModel {
    float values[kNumParams] = {};
    int program = 4;
    int64_t meters[3] = {0, 0, 0};
    bool listRequest = false, waveRequest = false, canResize = true;
    std::vector<std::string> calls;
    NoFiles files;

    FakeModel() {
        for (int p = 0; p < kNumParams; ++p) values[p] = kParameterInit.v[p];
    }
    void log(const std::string& what, int a = -1, float v = -1.0f) {
        calls.push_back(what + " " + std::to_string(a) + (v >= 0.0f ? " " + std::to_string(v) : ""));
    }
    float parameter(int index) override { return index >= 0 && index < kNumParams ? values[index] : 0.0f; }
    void editParameter(int index, float value) override { log("edit", index, value); }
    void beginEdit(int index) override { log("begin", index); }
    void endEdit(int index) override { log("end", index); }
    int currentProgram() override { return program; }
    void selectProgram(int index) override { log("select", index); }
    void programName(int index, char* name) override { std::snprintf(name, kProgramNameSize, "Program %d", index); }
    void runProgramCommand(ProgramCommand command, int index) override {
        log("command" + std::to_string(static_cast<int>(command)), index);
    }
    ProgramAccess& programFiles() override { return files; }
    void updateDisplay() override { log("display"); }
    bool takeProgramListRequest() override { return std::exchange(listRequest, false); }
    bool takeWaveDisplayRequest() override { return std::exchange(waveRequest, false); }
    void requestWaveDisplay() override { waveRequest = true; }
    int64_t meter(Meter which) override { return meters[static_cast<int>(which)]; }
    void setDryFactor(float factor) override { log("dry", -1, factor); }
    bool resizeWindow(int width, int height) override {
        log("resize", width, static_cast<float>(height));
        return canResize;
    }
    int countOf(const std::string& prefix) const {
        int n = 0;
        for (const std::string& c : calls) n += c.rfind(prefix, 0) == 0;
        return n;
    }
};

int64_t record(const char* name) {
    for (int i = 0; i < kNumControlRecords; ++i)
        if (std::string(controlTabs[i].name) == name) return i;
    return -1;
}

struct Opened {
    FakeModel model;
    OvEditor editor{model};
    Opened() {
        edtest::privateFolder();
        std::remove(edtest::markerPath().c_str());
        editor.open(nullptr);
        editor.idle();
        model.calls.clear();
    }
    ~Opened() { editor.close(); }
};

}  // namespace

TEST(EditorModel, EditsGoToTheModelAndTheControlShowsWhatTheModelHolds) {
    Opened o;
    CAnimKnob* decay = o.editor.knobs[record("Reverb decay")];
    decay->setValue(0.9f);
    o.editor.valueChanged(decay);
    ASSERT_EQ(o.model.calls.size(), 1u);
    EXPECT_EQ(o.model.calls[0], "edit 7 " + std::to_string(0.9f));
    // The model did not take the value (a host may refuse it): the knob goes back.
    EXPECT_EQ(decay->getValue(), o.model.values[param::RDecay]);
    EXPECT_TRUE(o.model.waveRequest) << "a reverb control asks for a new picture";

    // A step slider sends its eighth.
    CVerticalSlider* step = o.editor.sliders[record("Multitap step 3 left")];
    step->setValue(0.3f);
    o.editor.valueChanged(step);
    EXPECT_EQ(o.model.calls.back(), "edit " + std::to_string(param::StepL3) + " " + std::to_string(0.25f));

    // A grab and a release of a parameter's control bracket the edit; tags of commands do not.
    o.editor.beginEdit(param::Mix);
    o.editor.endEdit(param::Mix);
    o.editor.beginEdit(ctag::HideEditor);
    o.editor.endEdit(ctag::HideEditor);
    EXPECT_EQ(o.model.countOf("begin"), 1);
    EXPECT_EQ(o.model.countOf("end"), 1);
}

TEST(EditorModel, ChangesTheModelReportsReachTheControlsAtTheNextIdle) {
    Opened o;
    CAnimKnob* size = o.editor.knobs[record("Reverb room size")];
    o.model.values[param::RSize] = 0.125f;
    o.editor.parameterChanged(param::RSize);
    EXPECT_NE(size->getValue(), 0.125f);
    o.editor.idle();
    EXPECT_EQ(size->getValue(), 0.125f);
    EXPECT_TRUE(o.model.calls.empty()) << "showing a value changes nothing in the model";
}

TEST(EditorModel, ProgramsAreChosenAndMadeThroughTheModel) {
    Opened o;
    EXPECT_STREQ(o.editor.programMenu->getEntryText(17), "Program 17");
    EXPECT_EQ(o.editor.programMenu->getValue(), 4.0f);
    o.editor.programMenu->setValue(42.0f);
    o.editor.valueChanged(o.editor.programMenu);
    EXPECT_EQ(o.model.countOf("select 42"), 1);

    // The commands work on the program the menu shows.
    o.model.calls.clear();
    o.editor.mainMenu->setValue(static_cast<float>(MainMenuEntry::RandomDelay));
    o.editor.valueChanged(o.editor.mainMenu);
    EXPECT_EQ(o.model.countOf("command" + std::to_string(static_cast<int>(ProgramCommand::RandomDelay)) + " 42"), 1);
    o.editor.mainMenu->setValue(static_cast<float>(MainMenuEntry::InitReverb));
    o.editor.valueChanged(o.editor.mainMenu);
    EXPECT_EQ(o.model.countOf("command" + std::to_string(static_cast<int>(ProgramCommand::InitReverb)) + " 42"), 1);
    EXPECT_EQ(o.model.countOf("edit"), 0) << "a command is not a row of edits";

    // The list is rebuilt on the model's request, from its names.
    o.model.listRequest = true;
    o.model.program = 9;
    o.editor.idle();
    EXPECT_EQ(o.editor.programMenu->getValue(), 9.0f);
    EXPECT_TRUE(o.editor.programMenu->getEntry(9)->isChecked());
    EXPECT_FALSE(o.model.listRequest);
}

TEST(EditorModel, MetersShowTheModelsStepsClampedAndLeaveThemAlone) {
    Opened o;
    o.model.meters[static_cast<int>(Meter::Output)] = 12;
    o.model.meters[static_cast<int>(Meter::Gate)] = -2;
    while (o.editor.getIdleCount() % 2 != 0) o.editor.idle();
    o.editor.idle();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(o.editor.outputLeds[i]->getValue(), 0.0f) << "lit";
    for (int i = 0; i < 10; ++i) EXPECT_EQ(o.editor.gateLeds[i]->getValue(), 1.0f) << "dark";
    EXPECT_EQ(o.model.meters[static_cast<int>(Meter::Output)], 12);
    EXPECT_EQ(o.model.meters[static_cast<int>(Meter::Gate)], -2);
}

TEST(EditorModel, TheWetOnlyButtonAndTheCompactWindowAskTheModel) {
    Opened o;
    o.editor.wetOnlyButton->setValue(1.0f);
    o.editor.valueChanged(o.editor.wetOnlyButton);
    o.editor.wetOnlyButton->setValue(0.0f);
    o.editor.valueChanged(o.editor.wetOnlyButton);
    ASSERT_EQ(o.model.calls.size(), 2u);
    EXPECT_EQ(o.model.calls[0], "dry -1 " + std::to_string(0.0f));
    EXPECT_EQ(o.model.calls[1], "dry -1 " + std::to_string(1.0f));

    o.model.calls.clear();
    o.model.canResize = false;
    CKickButton* hide = o.editor.kickButtons[record("Hide editor")];
    hide->setValue(1.0f);
    o.editor.valueChanged(hide);
    EXPECT_EQ(o.model.countOf("resize 381 " + std::to_string(178.0f)), 1);
    CRect size;
    o.editor.getFrame()->getSize(size);
    EXPECT_EQ(size, CRect(0, 0, 381, 178)) << "the frame shrinks even where the host cannot";
    hide->setValue(1.0f);
    o.editor.valueChanged(hide);  // back to the full window, and the marker file goes
}

// ---- the scale -------------------------------------------------------------

namespace {

struct Closed {
    FakeModel model;
    OvEditor editor{model};
    Closed() {
        edtest::privateFolder();
        std::remove(edtest::markerPath().c_str());
    }
    ~Closed() { editor.close(); }
    CRect shownPixels() { return editor.getFrame()->getPixelSize(); }
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(EditorScale, TheHostsFactorSizesTheWindowBeforeItOpensAndResizesItAfter) {
    ScopedEnv env(kScaleEnvironmentVariable, "1");
    Closed c;
    ASSERT_TRUE(c.editor.setHostScaleFactor(2.0));
    EXPECT_EQ(c.editor.getScaleFactor(), 2.0);
    EXPECT_EQ(c.editor.getWidth(), 1720);
    EXPECT_EQ(c.editor.getHeight(), 1096);
    c.editor.open(nullptr);
    c.editor.idle();
    EXPECT_EQ(c.editor.getFrame()->getScaleFactor(), 2.0);
    EXPECT_EQ(c.shownPixels(), CRect(0, 0, 1720, 1096));
    EXPECT_EQ(c.model.countOf("resize"), 0) << "the host sized its window from the rectangle";
    // The views keep their units.
    CRect units;
    c.editor.getFrame()->getSize(units);
    EXPECT_EQ(units, CRect(0, 0, 860, 548));

    // A new factor while open: drawn at it, and the host is asked for the pixels.
    ASSERT_TRUE(c.editor.setHostScaleFactor(1.5));
    EXPECT_EQ(c.editor.getFrame()->getScaleFactor(), 1.5);
    EXPECT_EQ(c.model.calls, std::vector<std::string>{"resize 1290 " + std::to_string(822.0f)});
    EXPECT_EQ(c.editor.getWidth(), 1290);
    ASSERT_TRUE(c.editor.setHostScaleFactor(1.5));
    EXPECT_EQ(c.model.countOf("resize"), 1) << "the same factor again changes nothing";
    // Beyond 4 is kept at 4.
    ASSERT_TRUE(c.editor.setHostScaleFactor(6.0));
    EXPECT_EQ(c.editor.getScaleFactor(), 4.0);
}

TEST(EditorScale, AFactorNoScreenHasIsRefusedAndChangesNothing) {
    ScopedEnv env(kScaleEnvironmentVariable, "1.5");
    Closed c;
    for (double bad : {0.0, -1.0, -2.0, kNaN, std::numeric_limits<double>::infinity(), 9.0, 1e30})
        EXPECT_FALSE(c.editor.setHostScaleFactor(bad)) << bad;
    EXPECT_EQ(c.editor.getScaleFactor(), 1.5) << "the next source, the environment, decides";
    c.editor.open(nullptr);
    ASSERT_TRUE(c.editor.setHostScaleFactor(2.0));
    c.model.calls.clear();
    for (double bad : {0.0, -1.0, kNaN, 100.0}) EXPECT_FALSE(c.editor.setHostScaleFactor(bad)) << bad;
    EXPECT_EQ(c.editor.getFrame()->getScaleFactor(), 2.0);
    EXPECT_TRUE(c.model.calls.empty());
}

TEST(EditorScale, WithoutTheHostsWordTheEnvironmentChoosesOnceForTheInstancesLife) {
    ScopedEnv noDesktop("DISPLAY", nullptr);
    {
        ScopedEnv env(kScaleEnvironmentVariable, "1.5");
        Closed c;
        EXPECT_EQ(c.editor.getWidth(), 1290);
        // Chosen when first needed: the window opens at the size the host was told.
        ScopedEnv changed(kScaleEnvironmentVariable, "3");
        c.editor.open(nullptr);
        EXPECT_EQ(c.shownPixels(), CRect(0, 0, 1290, 822));
    }
    ScopedEnv junk(kScaleEnvironmentVariable, "big");
    Closed c;
    EXPECT_EQ(c.editor.getScaleFactor(), 1.0);
    EXPECT_EQ(c.editor.getWidth(), 860);
}

TEST(EditorScale, TheCompactWindowIsAskedForInPixelsAndKeepsItsUnitsWhenTheScaleChanges) {
    ScopedEnv env(kScaleEnvironmentVariable, "1.5");
    Closed c;
    c.editor.open(nullptr);
    CKickButton* hide = c.editor.kickButtons[record("Hide editor")];
    hide->setValue(1.0f);
    c.editor.valueChanged(hide);
    EXPECT_EQ(c.model.calls.back(), "resize 572 " + std::to_string(267.0f));
    EXPECT_EQ(c.shownPixels(), CRect(0, 0, 572, 267));
    ASSERT_TRUE(c.editor.setHostScaleFactor(2.0));
    EXPECT_EQ(c.model.calls.back(), "resize 762 " + std::to_string(356.0f));
    EXPECT_EQ(c.editor.getWidth(), 1720) << "the rectangle stays the full window's";
    hide->setValue(1.0f);
    c.editor.valueChanged(hide);
    EXPECT_EQ(c.model.calls.back(), "resize 1720 " + std::to_string(1096.0f));
}

TEST(EditorScale, AHostThatCannotResizeKeepsAWorkingEditorDrawnAtTheNewScale) {
    ScopedEnv env(kScaleEnvironmentVariable, "1");
    Closed c;
    c.model.canResize = false;
    c.editor.open(nullptr);
    c.editor.idle();
    ASSERT_TRUE(c.editor.setHostScaleFactor(2.0));
    EXPECT_EQ(c.model.countOf("resize"), 1);
    EXPECT_EQ(c.editor.getFrame()->getScaleFactor(), 2.0);
    c.editor.idle();
    // A click on NEXT, in the frame's units, still steps the program.
    const ControlRecord& next = controlTabs[record("Next program")];
    CPoint at(next.x + 5, next.y + 5);
    c.editor.getFrame()->onMouseDown(at, kLButton);
    c.editor.getFrame()->onMouseUp(at, kLButton);
    EXPECT_EQ(c.model.countOf("select 5"), 1);
}

// ---- keys ------------------------------------------------------------------

TEST(EditorKeys, AnOpenListTakesItsKeysAndEveryOtherKeyStaysTheHosts) {
    Opened o;
    auto key = [&o](unsigned char virt, int32_t character = 0) {
        CKeyCode k;
        k.virt = virt;
        k.character = character;
        return o.editor.onKeyDown(k);
    };
    for (unsigned char v : {VKEY_ESCAPE, VKEY_RETURN, VKEY_DOWN, VKEY_UP, VKEY_SPACE}) EXPECT_FALSE(key(v)) << int(v);
    EXPECT_FALSE(key(0, 'a'));

    ASSERT_TRUE(o.editor.programMenu->popup());
    EXPECT_FALSE(key(0, 'a')) << "not the list's key";
    EXPECT_TRUE(key(VKEY_DOWN));
    EXPECT_TRUE(key(VKEY_DOWN));
    EXPECT_TRUE(key(VKEY_RETURN));
    EXPECT_FALSE(o.editor.programMenu->isPopupOpen());
    // The first arrow finds the checked program, 4; the second moves one down.
    EXPECT_EQ(o.model.countOf("select 5"), 1);

    ASSERT_TRUE(o.editor.programMenu->popup());
    EXPECT_TRUE(key(VKEY_ESCAPE));
    EXPECT_FALSE(o.editor.programMenu->isPopupOpen());
    EXPECT_EQ(o.model.countOf("select"), 1);
    EXPECT_FALSE(key(VKEY_ESCAPE)) << "closed again: the host's";
}
