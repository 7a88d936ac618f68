// The editor at work as a host sees it: real pointer input on the embedded
// window, answers read back through the plug-in interface, the host's
// callbacks and the window's pixels.
#include <atomic>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "host/parameters.h"
#include "tests/common/scoped_env.h"
#include "window_host.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace e2e {
namespace {

constexpr int kMenuInitReverb = 6;
constexpr int kMenuRandomDelay = 10;

// The cases in groups, each run as a test of its own on a display of its own.
class EditorControls : public EditorWindow {};
class EditorMeters : public EditorWindow {};
class EditorWindowLife : public EditorWindow {};
class EditorLists : public EditorWindow {};

TEST_F(EditorControls, TurningAKnobAutomatesTheHostAndTheInstanceHoldsTheValue) {
    openEditor();
    host->setParameter(param::RDecay, 0.5f);
    idle();
    const LayoutRect knob = controlRect(param::RDecay);
    const Picture before = grab(knob);
    const int cx = static_cast<int>(knob.left + knob.width() / 2), cy = static_cast<int>(knob.top + knob.height() / 2);
    const int begins = host->callbackCounts[audioMasterBeginEdit];
    const int ends = host->callbackCounts[audioMasterEndEdit];

    // Fifty pixels up is a quarter of the range.
    dragBy(cx, cy, 0, -50);
    ASSERT_FALSE(automations.empty());
    EXPECT_EQ(automations.back().first, param::RDecay);
    EXPECT_NEAR(automations.back().second, 0.75f, 0.02f);
    EXPECT_EQ(host->getParameter(param::RDecay), automations.back().second);
    // The host learns that the user grabbed and let go of the parameter.
    EXPECT_EQ(host->callbackCounts[audioMasterBeginEdit], begins + 1);
    EXPECT_EQ(host->callbackCounts[audioMasterEndEdit], ends + 1);
    EXPECT_NE(grab(knob), before) << "the knob was not redrawn";

    // Down lowers it again, and a drag past the end stops at 0, also when the
    // button is let go outside the editor's window.
    const ERect full = editorRect();
    dragBy(cx, cy, 0, full.bottom + 40 - cy, 10);
    EXPECT_EQ(automations.back().first, param::RDecay);
    EXPECT_EQ(automations.back().second, 0.0f);
    EXPECT_EQ(host->getParameter(param::RDecay), 0.0f);
    EXPECT_EQ(host->callbackCounts[audioMasterEndEdit], ends + 2) << "the host still thinks the knob is held";
}

TEST_F(EditorControls, AStepSliderDraggedToAboutPointThreeSendsAQuarter) {
    openEditor();
    const long tag = param::stepLeft(3);
    const LayoutRect r = controlRect(tag);
    const int x = static_cast<int>(r.left + r.width() / 2);
    const int from = sliderYForValue(tag, 0.9f), to = sliderYForValue(tag, 0.3f);
    dragBy(x, from, 0, to - from);
    ASSERT_FALSE(automations.empty());
    EXPECT_EQ(automations.back(), std::make_pair(static_cast<int>(tag), 0.25f));
    EXPECT_EQ(host->getParameter(tag), 0.25f);

    // The slider shows the eighth it sent, not where the pointer let go: the
    // same picture as when the host sets 0.25.
    idle();
    const Picture shown = grab(r);
    host->setParameter(tag, 0.375f);
    idle();
    EXPECT_NE(grab(r), shown);
    host->setParameter(tag, 0.25f);
    idle();
    EXPECT_EQ(grab(r), shown);
}

TEST_F(EditorControls, ProgramStepButtonsFollowTheHostAndStopAtTheEnds) {
    openEditor();
    const LayoutRect menu = layout::kProgramMenu;

    host->setProgram(179);
    idle();
    clickControl(ctag::NextProgram);
    EXPECT_EQ(host->program(), 179);

    host->setProgram(0);
    idle();
    clickControl(ctag::PreviousProgram);
    EXPECT_EQ(host->program(), 0);

    // The editor steps from the program the host chose, and shows the new name.
    host->setProgram(10);
    idle();
    const Picture shown10 = grab(menu);
    const int updates = host->callbackCounts[audioMasterUpdateDisplay];
    clickControl(ctag::NextProgram);
    EXPECT_EQ(host->program(), 11);
    EXPECT_GT(host->callbackCounts[audioMasterUpdateDisplay], updates) << "the host was not told";
    idle();
    EXPECT_NE(grab(menu), shown10);
    clickControl(ctag::PreviousProgram);
    EXPECT_EQ(host->program(), 10);
    idle();
    EXPECT_EQ(grab(menu), shown10);
}

TEST_F(EditorControls, ReleasingOffAButtonStepsTheProgramButDoesNotHideTheEditor) {
    openEditor();
    host->setProgram(10);
    idle();
    const LayoutRect next = controlRect(ctag::NextProgram);
    moveTo(static_cast<int>(next.left + 5), static_cast<int>(next.top + 5));
    press();
    moveTo(static_cast<int>(next.right + 60), static_cast<int>(next.bottom + 30));
    release();
    EXPECT_EQ(host->program(), 11);

    const Size full = windowSize();
    const LayoutRect hide = controlRect(ctag::HideEditor);
    moveTo(static_cast<int>(hide.left + 5), static_cast<int>(hide.top + 5));
    press();
    moveTo(static_cast<int>(hide.right + 60), static_cast<int>(hide.bottom + 30));
    release();
    idle();
    EXPECT_TRUE(sizeRequests.empty());
    EXPECT_EQ(windowSize().width, full.width);
    EXPECT_EQ(windowSize().height, full.height);
    EXPECT_FALSE(fileExists(markerPath()));
}

TEST_F(EditorLists, InitReverbAndRandomDelayReplaceTheProgramTheMenuShows) {
    openEditor();
    host->setProgram(10);
    idle();
    const LayoutRect menu = layout::kProgramMenu;
    const Picture factory = grab(menu);
    const std::string factoryName = host->programName();
    const std::string neighbour = host->programNameIndexed(11);

    chooseMainMenuEntry(kMenuInitReverb);
    idle();
    EXPECT_EQ(host->program(), 10);
    EXPECT_EQ(host->programName(), "Init 010");
    EXPECT_NE(host->programName(), factoryName);
    EXPECT_EQ(host->getParameter(param::MMix), 0.0f) << "the delay stays off";
    EXPECT_EQ(host->getParameter(param::RDecay), 0.75f);
    const Picture init = grab(menu);
    EXPECT_NE(init, factory) << "the program menu still shows the old name";

    chooseMainMenuEntry(kMenuRandomDelay);
    idle();
    EXPECT_EQ(host->program(), 10);
    EXPECT_EQ(host->programName(), "Random delay");
    EXPECT_EQ(host->programNameIndexed(10), "Random delay");
    EXPECT_EQ(host->getParameter(param::RMix), 0.0f) << "the reverb is off";
    int lit = 0;
    for (int q = param::StepL0; q <= param::StepR16; ++q) {
        const float v = host->getParameter(q);
        EXPECT_TRUE(v == 0.0f || v == 1.0f) << "step " << q << " = " << v;
        if (v == 1.0f) ++lit;
    }
    EXPECT_GE(lit, 1);
    EXPECT_LE(lit, 20);
    EXPECT_EQ(host->getParameter(param::StepL0), 0.0f);
    EXPECT_EQ(host->getParameter(param::StepR0), 0.0f);
    EXPECT_NE(grab(menu), init);
    // The neighbours are untouched.
    EXPECT_EQ(host->programNameIndexed(11), neighbour);
}

TEST_F(EditorControls, HostAutomationMovesTheControlsOnScreen) {
    openEditor();
    struct Case {
        long tag;
        float low, high;
    };
    // A knob, a switch and a step slider.
    for (const Case& c : {Case{param::RSize, 0.0f, 1.0f}, Case{param::Route, 0.0f, 1.0f},
                          Case{param::stepRight(7), 0.0f, 0.5f}}) {
        SCOPED_TRACE(c.tag);
        const LayoutRect r = controlRect(c.tag);
        host->setParameter(static_cast<int32_t>(c.tag), c.low);
        idle();
        const Picture low = grab(r);
        host->setParameter(static_cast<int32_t>(c.tag), c.high);
        idle();
        const Picture high = grab(r);
        EXPECT_NE(high, low) << "the control did not move";
        host->setParameter(static_cast<int32_t>(c.tag), c.low);
        idle();
        EXPECT_EQ(grab(r), low) << "the control did not come back";
    }
    // Only the user's edits are sent back to the host as automation.
    EXPECT_TRUE(automations.empty());
}

TEST_F(EditorMeters, TheOutputMeterLightsWhileLoudAudioPlaysAndGoesDarkAfter) {
    // Bypassed, the output is the input, with no tail to wait for.
    host->setParameter(param::Bypass, 1.0f);
    openEditor();
    const std::vector<Picture> dark = meter(layout::kOutputMeterX);
    {
        AudioThread audio(*host, 0.9f);
        EXPECT_TRUE(waitForOutputMeter(dark, true)) << "not every LED lit while loud audio played";
    }
    {
        AudioThread audio(*host, 0.0f);
        EXPECT_TRUE(waitForOutputMeter(dark, false)) << "the meter stayed lit in silence";
    }
}

TEST_F(EditorMeters, TheGateAndDuckingMetersFollowALoudInputAndSilence) {
    // Both engines off, so nothing rings on; the gate and the ducker keyed by the input.
    host->setParameter(param::RMix, 0.0f);
    host->setParameter(param::MMix, 0.0f);
    host->setParameter(param::GThresh, 0.5f);
    host->setParameter(param::DLevel, 0.8f);
    host->setParameter(param::DLimit, 0.0f);  // ducking may take the wet signal all the way down
    openEditor();
    const std::vector<Picture> gateDark = meter(layout::kGateMeterX);
    const std::vector<Picture> duckDark = meter(layout::kDuckMeterX);
    {
        AudioThread audio(*host, 0.9f);
        EXPECT_TRUE(waitForMeter(layout::kGateMeterX, gateDark, true)) << "the open gate did not show";
        EXPECT_TRUE(waitForMeter(layout::kDuckMeterX, duckDark, true)) << "the ducking did not show";
    }
    {
        AudioThread audio(*host, 0.0f);
        EXPECT_TRUE(waitForMeter(layout::kGateMeterX, gateDark, false)) << "the gate did not close in silence";
        EXPECT_TRUE(waitForMeter(layout::kDuckMeterX, duckDark, false)) << "the ducking did not let go in silence";
    }
}

TEST_F(EditorWindowLife, HideEditorShrinksTheWindowAndANewInstanceOpensCompact) {
    openEditor();
    const ERect full = editorRect();
    clickControl(ctag::HideEditor);
    idle();
    ASSERT_EQ(sizeRequests.size(), 1u);
    EXPECT_EQ(sizeRequests[0], std::make_pair(381, 178));
    EXPECT_EQ(windowSize().width, 381);
    EXPECT_EQ(windowSize().height, 178);
    EXPECT_TRUE(fileExists(markerPath()));

    // The next instance remembers it.
    closeEditor();
    loadInstance();
    EXPECT_EQ(editorRect().right, full.right) << "the editor's own rectangle stays the full size";
    openEditor();
    ASSERT_EQ(sizeRequests.size(), 1u);
    EXPECT_EQ(sizeRequests[0], std::make_pair(381, 178));
    EXPECT_EQ(windowSize().width, 381);
    EXPECT_EQ(windowSize().height, 178);

    // And the button brings the full window back.
    clickControl(ctag::HideEditor);
    idle();
    ASSERT_EQ(sizeRequests.size(), 2u);
    EXPECT_EQ(sizeRequests[1], std::make_pair(static_cast<int>(full.right), static_cast<int>(full.bottom)));
    EXPECT_EQ(windowSize().width, full.right);
    EXPECT_EQ(windowSize().height, full.bottom);
    EXPECT_FALSE(fileExists(markerPath()));
}

TEST_F(EditorLists, ChoosingFromTheProgramListSelectsThatProgram) {
    openEditor();
    const LayoutRect menu = layout::kProgramMenu;
    const Picture shown0 = grab(menu);
    const int updates = host->callbackCounts[audioMasterUpdateDisplay];
    click(static_cast<int>(menu.left + menu.width() / 2), static_cast<int>(menu.top + menu.height() / 2));
    // 180 names in columns of 30 do not fit the window: the list has a window of its own.
    const Window list = popupWindow();
    ASSERT_NE(list, 0u) << "the program list did not open";
    click(list, 10, 16 * 7 + 8);
    EXPECT_EQ(host->program(), 7);
    EXPECT_GT(host->callbackCounts[audioMasterUpdateDisplay], updates) << "the host was not told";
    idle();
    EXPECT_EQ(popupWindow(), 0u) << "the list stayed open";
    EXPECT_NE(grab(menu), shown0);
    // The step buttons go on from the chosen program.
    clickControl(ctag::NextProgram);
    EXPECT_EQ(host->program(), 8);
}

TEST_F(EditorControls, AMidiProgramChangeMovesTheMenuThatTheButtonsStepFrom) {
    openEditor();
    std::vector<float> l(512, 0.0f), r(512, 0.0f);
    float* io[2] = {l.data(), r.data()};
    host->sendMidi(0xC0, 42, 0, 0);
    host->process(io, io, 512);
    EXPECT_EQ(host->program(), 42);
    idle();
    clickControl(ctag::NextProgram);
    EXPECT_EQ(host->program(), 43);
}

TEST_F(EditorWindowLife, AReopenedWindowShowsWhatTheHostChangedWhileItWasClosed) {
    // The pointer rests outside the editor, so the info line keeps its welcome.
    const ERect full = editorRect();
    moveTo(parent, full.right + 20, full.bottom + 20);
    openEditor();
    host->setProgram(5);
    host->setParameter(param::RSize, 1.0f);
    host->setParameter(param::Route, 1.0f);
    idle();
    const Size size = windowSize();
    const Picture shown = grab(0, 0, size.width, size.height);
    closeEditor();

    host->setProgram(0);
    openEditor();
    EXPECT_NE(grab(0, 0, size.width, size.height), shown);
    closeEditor();

    host->setProgram(5);
    host->setParameter(param::RSize, 1.0f);
    host->setParameter(param::Route, 1.0f);
    openEditor();
    idle();
    const Picture reopened = grab(0, 0, size.width, size.height);
    EXPECT_EQ(reopened, shown) << "differs in " << differingArea(reopened, shown);
}

TEST_F(EditorControls, HoldingWetOnlyTakesTheDryPartOutOfTheOutput) {
    openEditor();
    std::vector<float> l(512), r(512);
    float* io[2] = {l.data(), r.data()};
    // The first output sample of an impulse: the dry part alone, before the
    // engines answer.
    auto firstSample = [&] {
        for (int round = 0; round < 200; ++round) {  // let any tail die away first
            std::fill(l.begin(), l.end(), 0.0f);
            std::fill(r.begin(), r.end(), 0.0f);
            host->process(io, io, 512);
        }
        std::fill(l.begin(), l.end(), 0.0f);
        std::fill(r.begin(), r.end(), 0.0f);
        l[0] = r[0] = 1.0f;
        host->process(io, io, 512);
        return l[0];
    };
    const float released = firstSample();
    EXPECT_NE(released, 0.0f);
    const LayoutRect wet = wetOnlyRect();
    moveTo(static_cast<int>(wet.left + wet.width() / 2), static_cast<int>(wet.top + wet.height() / 2));
    press();
    const float held = firstSample();
    release();
    const float again = firstSample();
    // What is left while held is the engines' faint answer, not the dry impulse.
    EXPECT_LT(std::fabs(held), 0.01f);
    EXPECT_NEAR(again, released, 0.001f);
}

TEST_F(EditorLists, TheCompactWindowOpensTheMainMenuInAWindowOfItsOwn) {
    FILE* f = std::fopen(markerPath().c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    loadInstance();
    openEditor();
    ASSERT_EQ(windowSize().width, 381);
    host->setProgram(12);
    idle();
    const LayoutRect m = layout::kMainMenu;
    click(static_cast<int>(m.left + m.width() / 2), static_cast<int>(m.top + m.height() / 2));
    const Window list = popupWindow();
    ASSERT_NE(list, 0u) << "the main menu's list did not open";
    click(list, 20, 16 * kMenuInitReverb + 8);
    EXPECT_EQ(host->program(), 12);
    EXPECT_EQ(host->programName(), "Init 012");
    idle();
    EXPECT_EQ(popupWindow(), 0u);
}

TEST_F(EditorControls, TheInfoLineNamesTheControlUnderThePointerAndEmptiesOverTheMenus) {
    const ERect full = editorRect();
    moveTo(parent, full.right + 20, full.bottom + 20);
    openEditor();
    const LayoutRect line = layout::kInfoLabel;
    const Picture welcome = grab(line);
    auto hover = [&](const LayoutRect& r) {
        moveTo(static_cast<int>(r.left + r.width() / 2), static_cast<int>(r.top + r.height() / 2));
        idle();
        return grab(line);
    };
    const Picture knob = hover(controlRect(param::GRelease));
    EXPECT_NE(knob, welcome);
    const Picture programMenu = hover(layout::kProgramMenu);
    EXPECT_NE(programMenu, knob);
    EXPECT_NE(programMenu, welcome);
    EXPECT_EQ(hover(controlRect(param::GRelease)), knob);
    EXPECT_EQ(hover(layout::kMainMenu), programMenu) << "both menus leave the line empty";
    // The line shows the value: it follows a change of the hovered knob's parameter
    // once the pointer comes back to it.
    host->setParameter(param::GRelease, 0.9f);
    hover(layout::kProgramMenu);
    EXPECT_NE(hover(controlRect(param::GRelease)), knob);
}

TEST_F(EditorControls, ShiftDragTurnsAKnobTwentyTimesFiner) {
    openEditor();
    host->setParameter(param::RSwirl, 0.5f);
    idle();
    const LayoutRect knob = controlRect(param::RSwirl);
    const int cx = static_cast<int>(knob.left + knob.width() / 2), cy = static_cast<int>(knob.top + knob.height() / 2);
    const KeyCode shift = XKeysymToKeycode(dpy, XK_Shift_L);
    ASSERT_NE(shift, 0);
    XTestFakeKeyEvent(dpy, shift, True, 0);
    dragBy(cx, cy, 0, -100);
    XTestFakeKeyEvent(dpy, shift, False, 0);
    idle();
    ASSERT_FALSE(automations.empty());
    EXPECT_EQ(automations.back().first, param::RSwirl);
    // 100 pixels: half the range plain, a fortieth with the zoom key.
    EXPECT_NEAR(host->getParameter(param::RSwirl), 0.5f + 0.025f, 0.003f);
}

TEST_F(EditorLists, ClosingTheEditorWithTheProgramListOpenTakesTheListAlong) {
    openEditor();
    const LayoutRect menu = layout::kProgramMenu;
    click(static_cast<int>(menu.left + menu.width() / 2), static_cast<int>(menu.top + menu.height() / 2));
    ASSERT_NE(popupWindow(), 0u);
    closeEditor();
    EXPECT_EQ(popupWindow(), 0u) << "the list outlived the editor";
    host->dispatch(effEditIdle);
    openEditor();
    clickControl(ctag::NextProgram);
    EXPECT_EQ(host->program(), 1);
}

TEST_F(EditorWindowLife, TwoInstancesWithOpenWindowsKeepToThemselves) {
    openEditor();
    // A second track's plug-in, in a host window of its own lower on the screen.
    const Window parent2 = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 600, 1000, 700, 0, 0, 0);
    XMapRaised(dpy, parent2);
    XSync(dpy, False);
    std::string error;
    std::unique_ptr<PluginHost> host2 = PluginHost::load(NIMBREL_PLUGIN_PATH, error);
    ASSERT_TRUE(host2) << error;
    host2->start(44100.0f, 512);
    ASSERT_EQ(host2->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(parent2))), 1);
    Window root, par, *list = nullptr;
    unsigned n = 0;
    XQueryTree(dpy, parent2, &root, &par, &list, &n);
    ASSERT_EQ(n, 1u);
    const Window editor2 = list[0];
    XFree(list);
    auto idleBoth = [&] {
        for (int i = 0; i < 4; ++i) {
            idle(1);
            host2->dispatch(effEditIdle);
        }
    };
    idleBoth();

    const LayoutRect next = controlRect(ctag::NextProgram);
    click(editor2, static_cast<int>(next.left + next.width() / 2), static_cast<int>(next.top + next.height() / 2));
    idleBoth();
    EXPECT_EQ(host2->program(), 1);
    EXPECT_EQ(host->program(), 0);
    clickControl(ctag::NextProgram);
    idleBoth();
    EXPECT_EQ(host->program(), 1);
    EXPECT_EQ(host2->program(), 1);

    // Automation of the first instance moves only the first window's knob.
    const LayoutRect knob = controlRect(param::Mix);
    host->setParameter(param::Mix, 0.0f);
    host2->setParameter(param::Mix, 0.0f);
    idleBoth();
    const Picture first = grab(knob);
    const Picture second = grab(editor2, knob);
    host->setParameter(param::Mix, 1.0f);
    idleBoth();
    EXPECT_NE(grab(knob), first);
    EXPECT_EQ(grab(editor2, knob), second);
    EXPECT_EQ(host2->getParameter(param::Mix), 0.0f);

    host2->dispatch(effEditClose);
    host2.reset();
    XDestroyWindow(dpy, parent2);
    // The first window goes on working.
    clickControl(ctag::NextProgram);
    EXPECT_EQ(host->program(), 2);
}

TEST_F(EditorWindowLife, TheWindowRepaintsWhatAnotherWindowCovered) {
    const ERect full = editorRect();
    moveTo(parent, full.right + 20, full.bottom + 20);
    openEditor();
    idle();
    const Picture before = grab(0, 0, full.right, full.bottom);
    // A host dialog over the editor, then gone again.
    const Window cover = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 100, 100, 500, 300, 0, 0, 0xff00ff);
    XSetWindowAttributes attrs;
    attrs.override_redirect = True;
    XChangeWindowAttributes(dpy, cover, CWOverrideRedirect, &attrs);
    XMapRaised(dpy, cover);
    XSync(dpy, False);
    idle();
    XDestroyWindow(dpy, cover);
    XSync(dpy, False);
    idle();
    const Picture after = grab(0, 0, full.right, full.bottom);
    EXPECT_EQ(after, before) << "not repainted in " << differingArea(after, before);
}

TEST_F(EditorWindowLife, BackFromCompactTheWholeWindowIsDrawnAgain) {
    const ERect full = editorRect();
    moveTo(parent, full.right + 20, full.bottom + 20);
    openEditor();
    idle();
    // The info line names the button afterwards; everything else must match.
    auto withoutInfoLine = [](Picture p) {
        const LayoutRect r = layout::kInfoLabel;
        for (int64_t y = r.top; y < r.bottom; ++y)
            for (int64_t x = r.left; x < r.right; ++x) p.pixels[static_cast<size_t>(y * p.width + x)] = 0;
        return p;
    };
    const Picture before = withoutInfoLine(grab(0, 0, full.right, full.bottom));
    clickControl(ctag::HideEditor);
    ASSERT_EQ(windowSize().width, 381);
    clickControl(ctag::HideEditor);
    ASSERT_EQ(windowSize().width, full.right);
    moveTo(parent, full.right + 20, full.bottom + 20);
    idle();
    const Picture after = withoutInfoLine(grab(0, 0, full.right, full.bottom));
    EXPECT_EQ(after, before) << "differs in " << differingArea(after, before);
}

TEST_F(EditorControls, EditingAReverbKnobRedrawsTheResponse) {
    openEditor();
    host->setParameter(param::RDecay, 0.3f);
    host->setProgram(host->program());  // the host reloads the program: the response is redrawn
    idle();
    const Picture response = grab(layout::kWaveDisplay);
    const LayoutRect knob = controlRect(param::RDecay);
    const int cx = static_cast<int>(knob.left + knob.width() / 2), cy = static_cast<int>(knob.top + knob.height() / 2);
    moveTo(cx, cy);
    press();
    moveTo(cx, cy - 60);
    release();
    idle();
    ASSERT_GT(host->getParameter(param::RDecay), 0.55f);
    EXPECT_NE(grab(layout::kWaveDisplay), response) << "the response was not redrawn for the longer decay";
}

TEST_F(EditorControls, TheWheelOverAKnobStepsItAndAutomates) {
    openEditor();
    host->setParameter(param::Volume, 0.5f);
    idle();
    const LayoutRect knob = controlRect(param::Volume);
    moveTo(static_cast<int>(knob.left + knob.width() / 2), static_cast<int>(knob.top + knob.height() / 2));
    XTestFakeButtonEvent(dpy, 4, True, 0);  // one notch up
    XTestFakeButtonEvent(dpy, 4, False, 0);
    XFlush(dpy);
    idle();
    ASSERT_FALSE(automations.empty());
    EXPECT_EQ(automations.back().first, param::Volume);
    EXPECT_NEAR(automations.back().second, 0.6f, 1e-6f);
    EXPECT_EQ(host->getParameter(param::Volume), automations.back().second);
}

TEST_F(EditorLists, AClickBesideTheProgramListClosesItWithoutChoosing) {
    openEditor();
    host->setProgram(4);
    idle();
    const LayoutRect menu = layout::kProgramMenu;
    click(static_cast<int>(menu.left + menu.width() / 2), static_cast<int>(menu.top + menu.height() / 2));
    const Window open = popupWindow();
    ASSERT_NE(open, 0u);
    // Left of the list, on the editor's own background.
    int listX = 0, listY = 0;
    Window child;
    XTranslateCoordinates(dpy, open, editor, 0, 0, &listX, &listY, &child);
    ASSERT_GE(listX, 40);
    click(listX - 30, listY + 200);
    EXPECT_EQ(popupWindow(), 0u) << "the list stayed open";
    EXPECT_EQ(host->program(), 4);
    // The menu opens again afterwards.
    click(static_cast<int>(menu.left + menu.width() / 2), static_cast<int>(menu.top + menu.height() / 2));
    const Window list = popupWindow();
    ASSERT_NE(list, 0u);
    click(list, 10, 16 * 2 + 8);
    EXPECT_EQ(host->program(), 2);
}

TEST_F(EditorWindowLife, AHostThatClosesThePluginWithTheWindowOpenLosesTheWindowToo) {
    openEditor();
    clickControl(ctag::NextProgram);
    host.reset();  // effClose without effEditClose first
    XSync(dpy, False);
    Window root, par, *list = nullptr;
    unsigned n = 0;
    XQueryTree(dpy, parent, &root, &par, &list, &n);
    if (list) XFree(list);
    EXPECT_EQ(n, 0u) << "the editor's window outlived its instance";
    // The host window and the next instance are fine.
    loadInstance();
    openEditor();
    clickControl(ctag::NextProgram);
    EXPECT_EQ(host->program(), 1);
}

TEST_F(EditorLists, TheProgramListStaysOnTheScreenWhenTheWindowIsNearItsEdge) {
    // The host window low on the screen: the list cannot open below the menu.
    XMoveWindow(dpy, parent, 300, DisplayHeight(dpy, DefaultScreen(dpy)) - 464);
    XSync(dpy, False);
    openEditor();
    const LayoutRect menu = layout::kProgramMenu;
    click(static_cast<int>(menu.left + menu.width() / 2), static_cast<int>(menu.top + menu.height() / 2));
    const Window list = popupWindow();
    ASSERT_NE(list, 0u);
    XWindowAttributes wa;
    ASSERT_TRUE(XGetWindowAttributes(dpy, list, &wa));
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(dpy, list, DefaultRootWindow(dpy), 0, 0, &x, &y, &child);
    const Screen* screen = DefaultScreenOfDisplay(dpy);
    EXPECT_GE(x, 0);
    EXPECT_GE(y, 0);
    EXPECT_LE(x + wa.width, screen->width);
    EXPECT_LE(y + wa.height, screen->height);
    click(list, 10, 16 * 5 + 8);
    EXPECT_EQ(host->program(), 5);
}

// The README's pictures, taken from the real window when NIMBREL_E2E_PICTURES
// names a folder (cmake --build build --target editor_pictures); in no test run.
class EditorPictures : public EditorWindow {
protected:
    void save(const char* name) {
        const Size s = windowSize();
        EXPECT_TRUE(savePng(grab(0, 0, s.width, s.height), folder + "/" + name)) << name;
    }
    // A sounding program with music-like input: the meters light, and the
    // pointer rests on the decay knob so that the info line is at work.
    void showPlaying() {
        host->setProgram(3);  // "MIX Echo Space", as the README's command lines use
        openEditor();
        AudioThread audio(*host, 0.2f);
        idle(150);
        const LayoutRect knob = px(controlRect(param::RDecay));
        moveTo(static_cast<int>(knob.left + knob.width() / 2), static_cast<int>(knob.top + knob.height() / 2));
        idle(20);
    }
    std::string folder;
};

TEST_F(EditorPictures, TheReadmesPictures) {
    const char* where = std::getenv("NIMBREL_E2E_PICTURES");
    if (!where || !*where) GTEST_SKIP() << "pictures are taken when NIMBREL_E2E_PICTURES names a folder";
    folder = where;
    {
        ScopedEnv one("NIMBREL_UI_SCALE", "1");
        loadInstance();
        showPlaying();
        save("editor.png");
        clickControl(ctag::HideEditor);
        const LayoutRect mix = controlRect(param::Mix);
        moveTo(static_cast<int>(mix.left + mix.width() / 2), static_cast<int>(mix.top + mix.height() / 2));
        idle(20);
        save("editor-compact.png");
        clickControl(ctag::HideEditor);
        closeEditor();
    }
    ScopedEnv two("NIMBREL_UI_SCALE", "2");
    scale = 2.0;
    loadInstance();
    showPlaying();
    ASSERT_EQ(windowSize().width, 1720);
    save("editor-2x.png");
}

}  // namespace
}  // namespace e2e
