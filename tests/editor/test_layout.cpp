// The window's layout: the control table, the tag map, and where open() puts
// every view, checked against the published positions and the bitmap sizes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "editor/layout.h"
#include "resources/resource_ids.h"
#include "support.h"

using namespace VSTGUI;
using edtest::Instance;

namespace {

CRect rectOf(CView* view) { return view->getViewSize(); }

// The size of a bitmap straight from the embedded PNG.
struct Size {
    CCoord w, h;
};
Size bitmapSize(int id) {
    CBitmap b(CResourceDescription{id});
    EXPECT_TRUE(b.isLoaded()) << "bitmap " << id;
    return {b.getWidth(), b.getHeight()};
}

std::string str(const CRect& r) {
    char t[80];
    std::snprintf(t, sizeof t, "(%ld, %ld, %ld, %ld)", r.left, r.top, r.right, r.bottom);
    return t;
}

}  // namespace

// Where a table record's control goes, from the layout rules and the bitmap sizes.
LayoutRect tableRect(const ControlRecord& r) {
    switch (r.kind) {
    case kKindKnob: {
        Size knob = bitmapSize(kBitmapKnob);
        return layout::knobRect(r, knob.w, knob.h);
    }
    case kKindStepSlider: {
        Size slider = bitmapSize(kBitmapSlider);
        return layout::sliderRect(r, slider.w, slider.h);
    }
    default: {
        Size button = bitmapSize(kBitmapButton);
        return layout::buttonRect(r, button.w, button.h);
    }
    }
}

bool overlap(const LayoutRect& a, const LayoutRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(ControlTable, EveryNamedParameterHasExactlyOneControlAndEveryCommandOne) {
    int controls[kNumParams] = {};
    int commands[ctag::EndOfCommands] = {};
    for (int i = 0; i < kNumControlRecords; ++i) {
        const ControlRecord& r = controlTabs[i];
        EXPECT_EQ(r.group, 0) << r.name;
        ASSERT_GE(r.tag, 0) << r.name;
        if (r.tag < kNumParams) {
            ++controls[r.tag];
            EXPECT_STREQ(r.name, ParameterNameTab[r.tag].longName) << "the info line names the parameter";
            EXPECT_EQ(r.kind == kKindStepSlider, r.tag >= param::StepL0 && r.tag <= param::StepR16) << r.name;
        } else {
            ASSERT_LT(r.tag, ctag::EndOfCommands) << r.name;
            EXPECT_EQ(r.kind, kKindKickButton) << "a command is a button: " << r.name;
            ++commands[r.tag];
        }
        EXPECT_LT(std::strlen(r.name), 32u) << r.name;
    }
    for (int p = 0; p < kNumParams; ++p)
        EXPECT_EQ(controls[p], p < kNumNamedParams ? 1 : 0) << ParameterNameTab[p].shortName;
    for (long t : {ctag::HideEditor, ctag::Handbook, ctag::WebSite, ctag::PreviousProgram, ctag::NextProgram})
        EXPECT_EQ(commands[t], 1) << "tag " << t;
    EXPECT_EQ(controlTabs[kNumControlRecords].kind, kKindEnd);
}

TEST(ControlTable, ControlsLieInsideTheWindowAndNoneCoversAnother) {
    Size back = bitmapSize(kBitmapBackground);
    for (int i = 0; i < kNumControlRecords; ++i) {
        const ControlRecord& r = controlTabs[i];
        const LayoutRect a = tableRect(r);
        EXPECT_GT(a.width(), 0) << r.name;
        EXPECT_GT(a.height(), 0) << r.name;
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= back.w && a.bottom <= back.h)
            << r.name << " at (" << a.left << ", " << a.top << ", " << a.right << ", " << a.bottom << ")";
        for (int j = i + 1; j < kNumControlRecords; ++j)
            EXPECT_FALSE(overlap(a, tableRect(controlTabs[j]))) << r.name << " covers " << controlTabs[j].name;
    }
    // The views outside the table keep to the window too.
    for (const LayoutRect& v : {layout::kWaveDisplay, layout::kProgramMenu, layout::kMainMenu, layout::kInfoLabel,
                                layout::kSplash})
        EXPECT_TRUE(v.left >= 0 && v.top >= 0 && v.right <= back.w && v.bottom <= back.h);
}

TEST(ControlTable, TagMapFindsEveryControlAndNothingElse) {
    Instance in(false);
    for (long t = 0; t <= 62; ++t) {
        int64_t rec = in.editor->recordForTag(t);
        ASSERT_GE(rec, 0) << "tag " << t;
        EXPECT_EQ(controlTabs[rec].tag, t);
    }
    for (long t : {63L, 64L, 65L, 66L, 67L, 100L, 101L, 102L, 103L, 104L, 105L, 111L, 112L, 113L})
        EXPECT_EQ(in.editor->recordForTag(t), -1) << "tag " << t;
    EXPECT_EQ(in.editor->recordForTag(106), 31);
    EXPECT_EQ(in.editor->recordForTag(107), 32);
    EXPECT_EQ(in.editor->recordForTag(108), 33);
    EXPECT_EQ(in.editor->recordForTag(109), 30);
    EXPECT_EQ(in.editor->recordForTag(110), 29);
    EXPECT_EQ(in.editor->recordForTag(114), -1);  // outside the map
    EXPECT_EQ(in.editor->recordForTag(-1), -1);
}

TEST(Bitmaps, SizesFitTheLayout) {
    Size back = bitmapSize(kBitmapBackground);
    EXPECT_GE(back.w, layout::kMinBackgroundWidth);
    EXPECT_GE(back.h, layout::kMinBackgroundHeight);
    Size knob = bitmapSize(kBitmapKnob);
    EXPECT_EQ(knob.h, knob.w * 256) << "256 square frames";
    for (int id : {kBitmapWetOnly, kBitmapButton, kBitmapLedGreen, kBitmapLedRed, kBitmapLedAmber}) {
        Size s = bitmapSize(id);
        EXPECT_EQ(s.h % 2, 0) << "two stacked states in bitmap " << id;
    }
    EXPECT_TRUE(bitmapSize(kBitmapSplash).w > 0);
    Size handle = bitmapSize(kBitmapSliderHandle), slider = bitmapSize(kBitmapSlider);
    EXPECT_EQ(handle.h, 2 * slider.h) << "the handle is a level bar of twice the slider's height";
    Size accent = bitmapSize(kBitmapSliderAccent);
    EXPECT_EQ(accent.w, slider.w);
    EXPECT_EQ(accent.h, slider.h);
    // Neighbouring LEDs must not overlap: the smallest step between tops is 15.
    EXPECT_LE(bitmapSize(kBitmapLedGreen).h / 2, 15);
    // No slider covers its neighbour (22 pixels apart).
    EXPECT_LE(slider.w, 22);
    const unsigned char* data = nullptr;
    size_t size = 0;
    EXPECT_FALSE(findNimbrelResource(131, &data, &size));
}

TEST(EditorLayout, GetRectIsTheBackgroundAndOpenPlacesEveryTableControl) {
    Instance in;
    Size back = bitmapSize(kBitmapBackground), knob = bitmapSize(kBitmapKnob);
    Size button = bitmapSize(kBitmapButton), slider = bitmapSize(kBitmapSlider);
    ERect* r = nullptr;
    ASSERT_TRUE(in.glue->getRect(&r));
    EXPECT_EQ(r->top, 0);
    EXPECT_EQ(r->left, 0);
    EXPECT_EQ(r->right, back.w);
    EXPECT_EQ(r->bottom, back.h);
    CRect frameSize;
    in.frame()->getSize(frameSize);
    EXPECT_EQ(frameSize, CRect(0, 0, back.w, back.h));

    for (int i = 0; i < kNumControlRecords; ++i) {
        const ControlRecord& c = controlTabs[i];
        CControl* made = nullptr;
        CRect want;
        switch (c.kind) {
        case kKindKnob:
            made = in.editor->knobs[i];
            want = CRect(c.x - 20, c.y + 8, c.x - 20 + knob.w, c.y + 8 + knob.h / 256);
            ASSERT_NE(made, nullptr) << c.name;
            EXPECT_EQ(in.editor->knobs[i]->getNumSubPixmaps(), 256);
            EXPECT_EQ(in.editor->knobs[i]->getHeightOfOneImage(), knob.w);
            EXPECT_FLOAT_EQ(in.editor->knobs[i]->getZoomFactor(), 20.0f);
            break;
        case kKindOnOffButton:
            made = in.editor->onOffButtons[i];
            want = CRect(c.x - 1, c.y - 1, c.x - 1 + button.w, c.y - 1 + button.h / 2);
            break;
        case kKindKickButton:
            made = in.editor->kickButtons[i];
            want = CRect(c.x - 1, c.y - 1, c.x - 1 + button.w, c.y - 1 + button.h / 2);
            ASSERT_NE(made, nullptr) << c.name;
            EXPECT_FALSE(in.editor->kickButtons[i]->getPressSends()) << c.name;
            break;
        case kKindStepSlider: {
            made = in.editor->sliders[i];
            want = CRect(c.x - 2, c.y + 2, c.x - 2 + slider.w, c.y + 2 + slider.h);
            ASSERT_NE(made, nullptr) << c.name;
            const bool beat = ((c.tag - 29) / 2) % 4 == 0;
            EXPECT_EQ(made->getBackground()->getResourceId(), beat ? kBitmapSliderAccent : kBitmapSlider) << c.name;
            EXPECT_EQ(in.editor->sliders[i]->getOffsetHandle(), CPoint(0, -slider.h)) << c.name;
            EXPECT_NE(in.editor->sliders[i]->getStyle() & kBottom, 0) << "value 0 at the bottom";
            break;
        }
        default:
            break;
        }
        ASSERT_NE(made, nullptr) << c.name;
        EXPECT_EQ(rectOf(made), want) << c.name << " at " << str(rectOf(made));
        EXPECT_EQ(made->getTag(), c.tag);
        EXPECT_TRUE(made->getTransparency()) << c.name;
        EXPECT_TRUE(made->getMouseOverEnabled()) << c.name;
        EXPECT_TRUE(in.frame()->isChild(made));
        // Only the record's own kind of control exists.
        int slots = (in.editor->knobs[i] != nullptr) + (in.editor->onOffButtons[i] != nullptr) +
                    (in.editor->sliders[i] != nullptr) + (in.editor->kickButtons[i] != nullptr);
        EXPECT_EQ(slots, 1) << c.name;
    }
}

TEST(EditorLayout, ViewsOutsideTheTable) {
    Instance in;
    OvEditor& e = *in.editor;
    Size wet = bitmapSize(kBitmapWetOnly), splash = bitmapSize(kBitmapSplash);

    ASSERT_NE(e.waveDisplay, nullptr);
    EXPECT_EQ(rectOf(e.waveDisplay), CRect(460, 204, 841, 346));
    EXPECT_FALSE(e.waveDisplay->getMouseEnabled());

    ASSERT_NE(e.wetOnlyButton, nullptr);
    EXPECT_EQ(rectOf(e.wetOnlyButton), CRect(382, 106, 382 + wet.w, 106 + wet.h / 2 + 1));
    EXPECT_EQ(e.wetOnlyButton->getTag(), 103);
    EXPECT_TRUE(e.wetOnlyButton->getPressSends());
    EXPECT_FALSE(e.wetOnlyButton->getTransparency());

    ASSERT_NE(e.programMenu, nullptr);
    EXPECT_EQ(rectOf(e.programMenu), CRect(68, 75, 263, 107));
    EXPECT_EQ(e.programMenu->getTag(), 100);
    EXPECT_EQ(e.programMenu->getStyle(), 1024);
    EXPECT_EQ(e.programMenu->getFont(), kNormalFontVeryBig);
    EXPECT_EQ(e.programMenu->getFontColor(), MakeCColor(0, 0, 0, 180));
    EXPECT_EQ(e.programMenu->getNbItemsPerColumn(), 30);
    EXPECT_TRUE(e.programMenu->getTransparency());
    EXPECT_TRUE(e.programMenu->getTextTransparency());
    ASSERT_EQ(e.programMenu->getNbEntries(), 180);
    EXPECT_STREQ(e.programMenu->getEntryText(0), "MIX Welcome!");

    ASSERT_NE(e.mainMenu, nullptr);
    EXPECT_EQ(rectOf(e.mainMenu), CRect(64, 139, 112, 171));
    EXPECT_EQ(e.mainMenu->getTag(), 104);
    EXPECT_EQ(e.mainMenu->getStyle(), 6144);
    const char* entries[13] = {"Load preset", "Load bank",     "",  "Save preset",  "Save bank", "", "Init reverb",
                               "Init delay",  "",              "Random reverb", "Random delay", "", "Visit www.orvane.example"};
    ASSERT_EQ(e.mainMenu->getNbEntries(), 13);
    for (long i = 0; i < 13; ++i) {
        if (entries[i][0])
            EXPECT_STREQ(e.mainMenu->getEntryText(i), entries[i]);
        else
            EXPECT_TRUE(e.mainMenu->getEntry(i)->isSeparator()) << "entry " << i;
    }

    ASSERT_NE(e.infoLabel, nullptr);
    EXPECT_EQ(rectOf(e.infoLabel), CRect(68, 117, 263, 139));
    EXPECT_STREQ(e.infoLabel->getText(), "Welcome!");
    EXPECT_STREQ(e.getInfoText(), "Welcome!");
    EXPECT_FALSE(e.infoLabel->getMouseEnabled());
    EXPECT_EQ(e.infoLabel->getFont(), kNormalFontSmall);

    ASSERT_NE(e.splashScreen, nullptr);
    EXPECT_EQ(rectOf(e.splashScreen), CRect(410, 382, 453, 539));
    EXPECT_EQ(e.splashScreen->getTag(), 105);
    EXPECT_EQ(e.splashScreen->getBackground()->getWidth(), splash.w);
}

TEST(EditorLayout, MetersStandTenHighWithTheirColours) {
    const CCoord tops[10] = {147, 132, 117, 101, 86, 70, 55, 40, 24, 9};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(layout::ledTop(i), tops[i]) << "LED " << i;

    Instance in;
    OvEditor& e = *in.editor;
    struct Column {
        COnOffButton** leds;
        CCoord x;
        bool coloured;
    } columns[] = {{e.outputLeds, 452, true}, {e.gateLeds, 674, false}, {e.duckLeds, 817, true}};
    for (const Column& c : columns) {
        for (int i = 0; i < 10; ++i) {
            COnOffButton* led = c.leds[i];
            ASSERT_NE(led, nullptr);
            int want = !c.coloured || i < 5 ? kBitmapLedGreen : i < 9 ? kBitmapLedAmber : kBitmapLedRed;
            EXPECT_EQ(led->getBackground()->getResourceId(), want) << "column " << c.x << " LED " << i;
            Size s = bitmapSize(want);
            EXPECT_EQ(rectOf(led), CRect(c.x, tops[i], c.x + s.w, tops[i] + s.h / 2));
            EXPECT_EQ(led->getValue(), 1.0f) << "starts dark";
            EXPECT_FALSE(led->getMouseEnabled());
            EXPECT_TRUE(led->getTransparency());
            EXPECT_EQ(led->getTag(), 300);
        }
    }
}

TEST(EditorLayout, LaterViewsLieAboveEarlierOnes) {
    Instance in;
    CFrame* f = in.frame();
    auto indexOf = [f](CView* v) {
        for (long i = 0; i < f->getNbViews(); ++i)
            if (f->getView(i) == v) return i;
        return -1L;
    };
    OvEditor& e = *in.editor;
    EXPECT_EQ(indexOf(e.waveDisplay), 0);
    EXPECT_LT(indexOf(e.knobs[0]), indexOf(e.wetOnlyButton));
    EXPECT_LT(indexOf(e.wetOnlyButton), indexOf(e.programMenu));
    EXPECT_LT(indexOf(e.programMenu), indexOf(e.mainMenu));
    EXPECT_LT(indexOf(e.mainMenu), indexOf(e.outputLeds[0]));
    EXPECT_LT(indexOf(e.outputLeds[9]), indexOf(e.gateLeds[0]));
    EXPECT_LT(indexOf(e.gateLeds[9]), indexOf(e.duckLeds[0]));
    EXPECT_LT(indexOf(e.duckLeds[9]), indexOf(e.infoLabel));
    EXPECT_EQ(indexOf(e.splashScreen), f->getNbViews() - 1);
    // A click on the splash area reaches the splash screen, not a view below.
    EXPECT_EQ(f->getViewAt(CPoint(430, 450)), e.splashScreen);
}
