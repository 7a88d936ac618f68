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

struct Expected {
    const char* name;
    long tag;
    int64_t kind;
    int64_t x, y;
};

// The 34 records that are not step sliders, in table order.
const Expected kTable[34] = {
    {"Mix level", 0, kKindKnob, 337, 14},          {"Surround mix", 2, kKindKnob, 416, 14},
    {"Gate threshold", 15, kKindKnob, 559, 14},    {"Gate attack", 16, kKindKnob, 638, 14},
    {"Ducking level", 19, kKindKnob, 781, 14},     {"Volume", 1, kKindKnob, 337, 96},
    {"Gate hold time", 17, kKindKnob, 559, 96},    {"Gate rekease", 18, kKindKnob, 638, 96},
    {"Ducking limit", 20, kKindKnob, 781, 96},     {"Reverb mix", 5, kKindKnob, 103, 199},
    {"Reverb room size", 6, kKindKnob, 181, 199},  {"Reverb decay", 7, kKindKnob, 260, 199},
    {"Reverb diffusion", 8, kKindKnob, 338, 199},  {"Reverb predelay", 9, kKindKnob, 416, 199},
    {"Reverb high damp", 10, kKindKnob, 103, 279}, {"Reverb low damp", 11, kKindKnob, 181, 279},
    {"Reverb high cut", 12, kKindKnob, 260, 279},  {"Reverb low cut", 13, kKindKnob, 338, 279},
    {"Reverb swirl", 14, kKindKnob, 416, 279},     {"Multitap mix", 21, kKindKnob, 103, 382},
    {"Multitap time", 22, kKindKnob, 181, 382},    {"Multitap feedback", 23, kKindKnob, 260, 382},
    {"Multitap detune", 24, kKindKnob, 338, 382},  {"Multitap high damp", 25, kKindKnob, 103, 463},
    {"Multitap low damp", 26, kKindKnob, 181, 463}, {"Multitap high cut", 27, kKindKnob, 260, 463},
    {"Multitap low cut", 28, kKindKnob, 338, 463}, {"Bypass", 3, kKindOnOffButton, 165, 9},
    {"Effect routing", 4, kKindOnOffButton, 215, 9}, {"Next program", 110, kKindKickButton, 65, 9},
    {"Previous program", 109, kKindKickButton, 115, 9}, {"Hide editor", 106, kKindKickButton, 215, 140},
    {"Show the handbook", 107, kKindKickButton, 165, 140}, {"Visit www.orvane.example", 108, kKindKickButton, 115, 140},
};

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

TEST(ControlTable, RecordsAreThePublishedOnes) {
    for (int i = 0; i < 34; ++i) {
        const ControlRecord& r = controlTabs[i];
        EXPECT_STREQ(r.name, kTable[i].name) << "record " << i;
        EXPECT_EQ(r.tag, kTable[i].tag) << "record " << i;
        EXPECT_EQ(r.kind, kTable[i].kind) << "record " << i;
        EXPECT_EQ(r.x, kTable[i].x) << "record " << i;
        EXPECT_EQ(r.y, kTable[i].y) << "record " << i;
        EXPECT_EQ(r.group, 0);
        EXPECT_EQ(r.initValue, r.kind == kKindKnob ? 0.5f : 0.0f);
    }
    for (int k = 0; k <= 16; ++k) {
        for (int side = 0; side < 2; ++side) {
            const ControlRecord& r = controlTabs[34 + 2 * k + side];
            char name[40];
            std::snprintf(name, sizeof name, "Multitap step %d %s", k, side ? "right" : "left");
            EXPECT_STREQ(r.name, name);
            EXPECT_EQ(r.kind, kKindStepSlider);
            EXPECT_EQ(r.tag, 29 + 2 * k + side);
            EXPECT_EQ(r.x, 466 + 22 * k);
            EXPECT_EQ(r.y, side ? 462 : 393);
            EXPECT_EQ(r.initValue, 0.5f);
        }
    }
    EXPECT_EQ(controlTabs[68].kind, kKindEnd);
    EXPECT_EQ(controlTabs[68].tag, -99);
    EXPECT_STREQ(controlTabs[68].name, "End");
    for (int i = 0; i < kNumControlRecords; ++i) EXPECT_LT(std::strlen(controlTabs[i].name), 32u);
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
    ASSERT_TRUE(in.editor->getRect(&r));
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
