// Controls driven through the frame's event entry points (no display).
#include <gtest/gtest.h>

#include "support.h"

using namespace guitest;

namespace {

::testing::Environment* const gCachesReset = ::testing::AddGlobalTestEnvironment(new LibraryCachesReset);

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { frame = new CFrame(CRect(0, 0, 400, 300), nullptr, nullptr); }
    void TearDown() override { frame->forget(); }
    CFrame* frame = nullptr;
    RecordingListener listener;
};

TEST_F(ControlsTest, KnobLinearDragMapsDistanceToValue) {
    CKnob* knob = new CKnob(CRect(100, 100, 140, 140), &listener, 7);
    frame->addView(knob);
    knob->setValue(0.2f);

    down(frame, 120, 120);
    move(frame, 120, 70);  // 50 px up: a quarter of the 200 px range
    EXPECT_NEAR(knob->getValue(), 0.45f, 1e-6f);
    move(frame, 170, 70);  // and 50 px right: another quarter
    EXPECT_NEAR(knob->getValue(), 0.70f, 1e-6f);
    move(frame, 120, 140);  // 20 px down from the start: below the start value
    EXPECT_NEAR(knob->getValue(), 0.1f, 1e-6f);
    move(frame, 100, 170);  // down and left past the bottom: clamped
    EXPECT_FLOAT_EQ(knob->getValue(), 0.f);
    up(frame, 100, 170);

    // One begin before the values, one end after them.
    ASSERT_GE(listener.events.size(), 5u);
    EXPECT_EQ(listener.events.front().what, "begin");
    EXPECT_EQ(listener.events.back().what, "end");
    EXPECT_EQ(listener.count("value"), 4);
}

TEST_F(ControlsTest, KnobClampsAndFineModeIsZoomFactorSlower) {
    CKnob* knob = new CKnob(CRect(100, 100, 140, 140), &listener, 1);
    frame->addView(knob);
    knob->setZoomFactor(20.f);
    knob->setValue(0.9f);
    down(frame, 120, 120);
    move(frame, 120, 0);  // far beyond the top
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f);
    up(frame, 120, 0);

    knob->setValue(0.5f);
    down(frame, 120, 120, kLButton | kShift);
    move(frame, 120, 20, kLButton | kShift);  // 100 px with Shift: 100 / (200 * 20)
    EXPECT_NEAR(knob->getValue(), 0.525f, 1e-6f);
    // Letting go of Shift mid-drag carries on from here at the normal rate.
    move(frame, 120, 20, kLButton);
    EXPECT_NEAR(knob->getValue(), 0.525f, 1e-6f);
    move(frame, 120, 0, kLButton);
    EXPECT_NEAR(knob->getValue(), 0.625f, 1e-6f);
    up(frame, 120, 0);
}

TEST_F(ControlsTest, KnobWheelStepsAndHoverWithoutButtonReports) {
    CKnob* knob = new CKnob(CRect(100, 100, 140, 140), &listener, 3);
    frame->addView(knob);
    knob->setValue(0.5f);
    frame->onWheel(CPoint(120, 120), 1.f, 0);
    EXPECT_NEAR(knob->getValue(), 0.6f, 1e-6f);
    frame->onWheel(CPoint(120, 120), -1.f, kShift);
    EXPECT_NEAR(knob->getValue(), 0.59f, 1e-6f);

    listener.events.clear();
    move(frame, 110, 110, 0);
    EXPECT_EQ(listener.count("hover"), 1);
    move(frame, 10, 10, 0);  // off the knob: nothing
    EXPECT_EQ(listener.count("hover"), 1);
    knob->setMouseOverEnabled(false);
    move(frame, 110, 110, 0);
    EXPECT_EQ(listener.count("hover"), 1);
}

TEST(KnobModes, CircularFollowsTheAngleRelativeTurnsByIt) {
    struct Editor : VSTGUIEditorInterface {
        long mode = kCircularMode;
        long getKnobMode() const override { return mode; }
    } editor;
    RecordingListener listener;
    CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, &editor);
    CKnob* knob = new CKnob(CRect(0, 0, 40, 40), &listener, 4);  // centre (20, 20)
    frame->addView(knob);
    const struct { CCoord x, y; float value; } cases[] = {
        {10, 30, 0.f}, {20, 5, 0.5f}, {35, 20, 225.f / 270.f}, {30, 30, 1.f}, {20, 39, 0.f}};
    for (const auto& c : cases) {
        click(frame, c.x, c.y);
        EXPECT_NEAR(knob->getValue(), c.value, 1e-5f) << c.x << "," << c.y;
    }
    editor.mode = kRelativCircularMode;
    knob->setValue(0.2f);
    down(frame, 20, 5);  // at the top: no jump
    EXPECT_FLOAT_EQ(knob->getValue(), 0.2f);
    move(frame, 35, 20);  // a quarter turn clockwise: a third of the travel
    EXPECT_NEAR(knob->getValue(), 0.2f + 90.f / 270.f, 1e-5f);
    up(frame, 35, 20);
    frame->forget();
}

TEST_F(ControlsTest, AnimKnobShowsFrameForValue) {
    // 256 frames of 4 x 4; frame i is painted with red = i.
    CBitmap* strip = makeBitmap(4, 4 * 256, [](int, int y) { return MakeCColor(static_cast<unsigned char>(y / 4), 10, 20, 255); });
    CAnimKnob* knob = new CAnimKnob(CRect(10, 10, 14, 14), &listener, 0, 256, 4, strip);
    strip->forget();
    frame->addView(knob);

    const struct { float value; long frame; } cases[] = {{0.f, 0}, {1.f, 255}, {0.5f, 127}, {0.999f, 254}, {-0.5f, 0}, {2.f, 255}};
    for (const auto& c : cases) {
        knob->setValue(c.value);
        EXPECT_EQ(knob->getFrameIndex(), c.frame) << c.value;
        // The knob's pixels come from its frame of the strip.
        EXPECT_EQ(static_cast<long>(frameRedAt(frame, 12, 12)), c.frame) << c.value;
    }
}

TEST_F(ControlsTest, OnOffButtonTogglesAndShowsItsHalf) {
    // Upper half green (off), lower half red (on).
    CBitmap* bmp = makeBitmap(10, 20, [](int, int y) { return y < 10 ? kGreenCColor : kRedCColor; });
    COnOffButton* button = new COnOffButton(CRect(50, 50, 60, 60), &listener, 3, bmp);
    bmp->forget();
    frame->addView(button);
    EXPECT_EQ(frameRedAt(frame, 55, 55), 0u);
    click(frame, 55, 55);
    EXPECT_FLOAT_EQ(button->getValue(), 1.f);
    EXPECT_EQ(frameRedAt(frame, 55, 55), 255u);
    click(frame, 55, 55);
    EXPECT_FLOAT_EQ(button->getValue(), 0.f);
    EXPECT_EQ(listener.values(), (std::vector<float>{1.f, 0.f}));
    EXPECT_EQ(listener.kinds(), (std::vector<std::string>{"begin", "value", "end", "begin", "value", "end"}));
}

TEST_F(ControlsTest, KickButtonStockReportsOnReleaseOverIt) {
    CKickButton* kick = new CKickButton(CRect(10, 10, 30, 30), &listener, 110, nullptr);
    frame->addView(kick);

    down(frame, 20, 20);
    EXPECT_TRUE(listener.values().empty());  // nothing on press
    EXPECT_FLOAT_EQ(kick->getValue(), 1.f);  // but shown pressed
    up(frame, 20, 20);
    EXPECT_EQ(listener.values(), (std::vector<float>{1.f, 0.f}));

    // Dragged off before release: only the 0.
    listener.events.clear();
    down(frame, 20, 20);
    move(frame, 100, 100);
    EXPECT_FLOAT_EQ(kick->getValue(), 0.f);
    up(frame, 100, 100);
    EXPECT_EQ(listener.values(), (std::vector<float>{0.f}));

    // Off and back on: a completed click.
    listener.events.clear();
    down(frame, 20, 20);
    move(frame, 100, 100);
    move(frame, 25, 25);
    up(frame, 25, 25);
    EXPECT_EQ(listener.values(), (std::vector<float>{1.f, 0.f}));
    EXPECT_EQ(listener.events.front().what, "begin");
    EXPECT_EQ(listener.events.back().what, "end");
}

TEST_F(ControlsTest, KickButtonPressSendsReportsPressThenRelease) {
    CKickButton* kick = new CKickButton(CRect(10, 10, 30, 30), &listener, 103, nullptr);
    kick->setPressSends(true);
    frame->addView(kick);
    down(frame, 20, 20);
    EXPECT_EQ(listener.values(), (std::vector<float>{1.f}));
    move(frame, 100, 100);  // held off the button: still pressed
    EXPECT_FLOAT_EQ(kick->getValue(), 1.f);
    up(frame, 100, 100);
    EXPECT_EQ(listener.values(), (std::vector<float>{1.f, 0.f}));
    EXPECT_FLOAT_EQ(kick->getValue(), 0.f);
}

TEST_F(ControlsTest, KickButtonPressedImageIsLowerHalf) {
    CBitmap* bmp = makeBitmap(10, 20, [](int, int y) { return y < 10 ? kGreenCColor : kRedCColor; });
    CKickButton* kick = new CKickButton(CRect(10, 10, 20, 21), &listener, 110, bmp);
    bmp->forget();
    frame->addView(kick);
    EXPECT_EQ(frameRedAt(frame, 15, 12), 0u);
    down(frame, 15, 15);
    EXPECT_EQ(frameRedAt(frame, 15, 12), 255u);
    up(frame, 15, 15);
}

// The step-slider arrangement: a bar handle twice the slider's height, its
// upper half off and lower half on, raised by the slider's height.
class BarSliderTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        handle = makeBitmap(10, 2 * kH, [](int, int y) { return y < kH ? kBlackCColor : kWhiteCColor; });
        slider = new CVerticalSlider(CRect(100, 50, 110, 50 + kH), &listener, 31, 50, 50 + kH, handle, nullptr,
                                     CPoint(0, 0), kBottom);
        slider->setOffsetHandle(CPoint(0, -kH));
        frame->addView(slider);
    }
    void TearDown() override {
        handle->forget();
        ControlsTest::TearDown();
    }
    static constexpr int kH = 64;
    CBitmap* handle = nullptr;
    CVerticalSlider* slider = nullptr;
};

TEST_F(BarSliderTest, HandlePositionFollowsValue) {
    slider->setValue(0.f);
    EXPECT_EQ(slider->getHandleRect(), CRect(100, 50, 110, 50 + 2 * kH));  // all off shows
    slider->setValue(1.f);
    EXPECT_EQ(slider->getHandleRect(), CRect(100, 50 - kH, 110, 50 + kH));  // all on shows
    slider->setValue(0.25f);
    EXPECT_EQ(slider->getHandleRect().top, 50 - kH + 48);  // trunc(0.75 * 64)

    // Drawn: the lit part is the lower quarter.
    cairo_surface_t* s = frame->renderToSurface();
    EXPECT_EQ(redAt(s, 105, 50 + kH - 1), 255u);
    EXPECT_EQ(redAt(s, 105, 50 + 48), 255u);
    EXPECT_EQ(redAt(s, 105, 50 + 47), 0u);
    EXPECT_EQ(redAt(s, 105, 50), 0u);
    cairo_surface_destroy(s);
}

TEST_F(BarSliderTest, ClickSetsValueFromPointerAndBack) {
    click(frame, 105, 50 + kH - 1);  // bottom row
    EXPECT_NEAR(slider->getValue(), 0.f, 1.f / kH);
    click(frame, 105, 50);  // top row
    EXPECT_NEAR(slider->getValue(), 1.f, 1.f / kH);
    for (float v : {0.125f, 0.25f, 0.5f, 0.875f}) {
        slider->setValue(v);
        const CRect h = slider->getHandleRect();
        // Clicking where the bar's edge is gives the value back.
        click(frame, 105, h.top + kH - 1);
        EXPECT_NEAR(slider->getValue(), v, 1.f / kH) << v;
    }
    // Drags follow; outside the slider they clamp.
    down(frame, 105, 60);
    move(frame, 105, 500);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.f);
    move(frame, 105, -500);
    EXPECT_FLOAT_EQ(slider->getValue(), 1.f);
    up(frame, 105, -500);
}

TEST_F(BarSliderTest, ShiftDragIsFineAndDoesNotJump) {
    slider->setValue(0.5f);
    slider->setZoomFactor(10.f);
    down(frame, 105, 50 + kH - 1, kLButton | kShift);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5f);
    move(frame, 105, 50 + kH - 1 - 32, kLButton | kShift);  // 32 px up at a tenth of the rate
    EXPECT_NEAR(slider->getValue(), 0.55f, 1e-5f);
    up(frame, 105, 10, kLButton | kShift);
}

TEST_F(ControlsTest, CtrlClickResetsToDefault) {
    CKnob* knob = new CKnob(CRect(0, 0, 20, 20), &listener, 2);
    frame->addView(knob);
    knob->setDefaultValue(0.3f);
    knob->setValue(0.9f);
    down(frame, 5, 5, kLButton | kControl);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.3f);
    EXPECT_EQ(listener.values(), (std::vector<float>{0.3f}));
}

TEST_F(ControlsTest, SplashShowsModallyAndHidesOnNextClick) {
    CBitmap* bmp = solidBitmap(200, 100, kRedCColor);
    CKnob* under = new CKnob(CRect(0, 0, 50, 50), &listener, 9);
    frame->addView(under);
    CSplashScreen* splash = new CSplashScreen(CRect(300, 200, 340, 240), &listener, 105, bmp, CRect(0, 0, 200, 100));
    bmp->forget();
    frame->addView(splash);

    move(frame, 310, 210, 0);
    EXPECT_EQ(listener.count("hover"), 0);  // the splash does not report hovering
    click(frame, 310, 210);
    EXPECT_TRUE(splash->isShown());
    EXPECT_EQ(frame->getModalView(), splash);
    EXPECT_EQ(frameRedAt(frame, 10, 10), 255u);  // drawn over the knob

    // The next click, over the knob, only hides the splash.
    listener.events.clear();
    click(frame, 20, 20);
    EXPECT_FALSE(splash->isShown());
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(listener.values(), (std::vector<float>{0.f}));
    EXPECT_EQ(listener.count("begin"), 0);
    EXPECT_EQ(splash->getViewSize(), CRect(300, 200, 340, 240));
}

}  // namespace
