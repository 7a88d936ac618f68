// The frame: redraw of dirty views only, hit testing, drawing offscreen.
#include <gtest/gtest.h>

#include <cstdio>
#include <atomic>
#include <fstream>
#include <thread>

#include "support.h"

using namespace guitest;

namespace {

// A view that counts its draws and paints itself one colour.
class CountingView : public CView {
public:
    CountingView(const CRect& r, CColor c) : CView(r), color(c) {}
    void draw(CDrawContext* context) override {
        ++draws;
        context->setFillColor(color);
        context->drawRect(size_, kDrawFilled);
    }
    CMouseEventResult onMouseDown(CPoint&, const long&) override {
        ++downs;
        return takesClicks ? kMouseEventHandled : kMouseEventNotHandled;
    }
    CColor color;
    int draws = 0;
    int downs = 0;
    bool takesClicks = true;
};

TEST(Frame, RedrawsOnlyDirtyViewsAndWhatOverlapsThem) {
    CFrame* frame = new CFrame(CRect(0, 0, 200, 100), nullptr, nullptr);
    CountingView* a = new CountingView(CRect(0, 0, 50, 50), kRedCColor);
    CountingView* b = new CountingView(CRect(100, 0, 150, 50), kGreenCColor);
    CountingView* c = new CountingView(CRect(120, 20, 170, 70), kBlueCColor);  // overlaps b
    frame->addView(a);
    frame->addView(b);
    frame->addView(c);
    EXPECT_EQ(frame->updateDirty(), 3);
    EXPECT_FALSE(frame->isDirty());
    EXPECT_EQ(frame->updateDirty(), 0);  // nothing dirty, nothing drawn

    a->setDirty(true);
    EXPECT_EQ(frame->updateDirty(), 1);
    EXPECT_EQ(a->draws, 2);
    EXPECT_EQ(b->draws, 1);

    b->setDirty(true);  // c lies over b, so it is drawn again above it
    EXPECT_EQ(frame->updateDirty(), 2);
    EXPECT_EQ(a->draws, 2);
    EXPECT_EQ(c->draws, 2);
    cairo_surface_t* s = frame->renderToSurface();
    EXPECT_EQ(redAt(s, 125, 25), 0u);  // blue on top
    cairo_surface_destroy(s);

    // Hiding uncovers what lies below; removing too.
    c->setVisible(false);
    frame->updateDirty();
    EXPECT_EQ(c->draws, 2);
    s = frame->renderToSurface();
    EXPECT_EQ((redAt(s, 125, 25)), 0u);
    cairo_surface_destroy(s);
    frame->removeView(a);
    EXPECT_EQ(frameRedAt(frame, 10, 10), 0u);  // black where a was
    frame->forget();
}

TEST(Frame, ControlIsDirtyOnlyWhenItsValueChanged) {
    CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
    CKnob* knob = new CKnob(CRect(0, 0, 20, 20), nullptr, 0);
    CKnob* other = new CKnob(CRect(50, 50, 70, 70), nullptr, 1);
    frame->addView(knob);
    frame->addView(other);
    knob->setValue(0.5f);
    frame->updateDirty();
    EXPECT_FALSE(knob->isDirty());
    knob->setValue(0.5f);  // the same value: nothing to draw
    EXPECT_FALSE(knob->isDirty());
    EXPECT_EQ(frame->updateDirty(), 0);
    knob->setValue(0.25f);
    EXPECT_TRUE(knob->isDirty());
    EXPECT_FALSE(other->isDirty());
    EXPECT_EQ(frame->updateDirty(), 1);
    EXPECT_FALSE(knob->isDirty());
    frame->forget();
}

TEST(Frame, ClicksGoToTopmostEnabledViewAndThroughTransparentOnes) {
    CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
    CountingView* bottom = new CountingView(CRect(0, 0, 100, 100), kRedCColor);
    CountingView* top = new CountingView(CRect(0, 0, 50, 50), kGreenCColor);
    frame->addView(bottom);
    frame->addView(top);
    click(frame, 10, 10);
    EXPECT_EQ(top->downs, 1);
    EXPECT_EQ(bottom->downs, 0);

    top->setMouseEnabled(false);  // as the LEDs and the info line
    click(frame, 10, 10);
    EXPECT_EQ(top->downs, 1);
    EXPECT_EQ(bottom->downs, 1);

    top->setMouseEnabled(true);
    top->takesClicks = false;
    top->setTransparency(true);  // does not take it: passes it on
    click(frame, 10, 10);
    EXPECT_EQ(top->downs, 2);
    EXPECT_EQ(bottom->downs, 2);
    top->setTransparency(false);  // opaque: stops it
    click(frame, 10, 10);
    EXPECT_EQ(bottom->downs, 2);

    EXPECT_EQ(frame->getViewAt(CPoint(75, 75)), bottom);
    EXPECT_EQ(frame->getViewAt(CPoint(150, 10)), nullptr);
    frame->forget();
}

TEST(Frame, ViewRemovedDuringItsOwnClickIsSafe) {
    // A listener that closes the window (removes every view) from its callback.
    struct Closer : CControlListener {
        CFrame* frame = nullptr;
        void valueChanged(CControl*) override { frame->removeAll(); }
    } closer;
    CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
    closer.frame = frame;
    frame->addView(new COnOffButton(CRect(0, 0, 20, 20), &closer, 1, nullptr));
    frame->addView(new CKickButton(CRect(30, 0, 50, 20), &closer, 2, nullptr));
    click(frame, 5, 5);
    EXPECT_EQ(frame->getNbViews(), 0);
    frame->addView(new CKickButton(CRect(30, 0, 50, 20), &closer, 2, nullptr));
    click(frame, 35, 5);
    EXPECT_EQ(frame->getNbViews(), 0);
    move(frame, 35, 5, 0);
    frame->forget();
}

TEST(Frame, BitmapsSharedByViewsLiveAsLongAsTheirUsers) {
    CBitmap* bmp = solidBitmap(10, 10, kRedCColor);
    CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
    frame->addView(new COnOffButton(CRect(0, 0, 10, 5), nullptr, 1, bmp));
    frame->addView(new COnOffButton(CRect(20, 0, 30, 5), nullptr, 2, bmp));
    EXPECT_EQ(bmp->getNbReference(), 3);
    frame->forget();  // the frame releases its views, they release the bitmap
    EXPECT_EQ(bmp->getNbReference(), 1);
    bmp->forget();
}

TEST(Frame, ResizeChangesTheDrawnArea) {
    CFrame* frame = new CFrame(CRect(0, 0, 200, 100), nullptr, nullptr);
    frame->setBackground(solidBitmap(200, 100, kRedCColor));
    frame->getBackground()->forget();
    EXPECT_TRUE(frame->setSize(80, 40));
    cairo_surface_t* s = frame->renderToSurface();
    EXPECT_EQ(cairo_image_surface_get_width(s), 80);
    EXPECT_EQ(cairo_image_surface_get_height(s), 40);
    EXPECT_EQ(redAt(s, 79, 39), 255u);
    cairo_surface_destroy(s);
    EXPECT_FALSE(frame->setSize(0, 10));
    frame->forget();
}

TEST(Offscreen, BitmapsTextAndLinesLandWhereDrawn) {
    CBitmap* bmp = makeBitmap(20, 20, [](int x, int y) { return MakeCColor(static_cast<unsigned char>(x * 10), static_cast<unsigned char>(y * 10), 0, 255); });
    COffscreenContext off(100, 50, kBlackCColor);
    // The bitmap area from (5, 6) into a 4 x 4 rectangle at (30, 10).
    bmp->draw(&off, CRect(30, 10, 34, 14), CPoint(5, 6));
    EXPECT_EQ(off.getPixel(30, 10), MakeCColor(50, 60, 0, 255));
    EXPECT_EQ(off.getPixel(33, 13), MakeCColor(80, 90, 0, 255));
    EXPECT_EQ(off.getPixel(34, 10), kBlackCColor);  // clipped to the rectangle
    EXPECT_EQ(off.getPixel(29, 10), kBlackCColor);

    off.setFrameColor(kWhiteCColor);
    off.setLineWidth(1);
    off.moveTo(CPoint(60, 5));
    off.lineTo(CPoint(60, 20));  // a crisp one-pixel line, both ends included
    EXPECT_EQ(off.getPixel(60, 5), kWhiteCColor);
    EXPECT_EQ(off.getPixel(60, 20), kWhiteCColor);
    EXPECT_EQ(off.getPixel(61, 12), kBlackCColor);
    EXPECT_EQ(off.getPenPosition(), CPoint(60, 20));

    // Text makes some light pixels inside its rectangle and none outside.
    off.setFont(kNormalFontBig);
    off.setFontColor(kWhiteCColor);
    off.drawString("Hello", CRect(0, 30, 50, 50), false, kLeftText);
    int lit = 0;
    for (int y = 30; y < 50; ++y)
        for (int x = 0; x < 50; ++x) lit += off.getPixel(x, y).red > 128;
    EXPECT_GT(lit, 10);
    EXPECT_EQ(off.getPixel(55, 40), kBlackCColor);
    EXPECT_GT(off.getStringWidth("Hello"), off.getStringWidth("Hi"));

    // Copying a part into another context at an offset.
    COffscreenContext dest(10, 10, kBlackCColor);
    off.copyFrom(&dest, CRect(2, 2, 6, 6), CPoint(30, 10));
    EXPECT_EQ(dest.getPixel(2, 2), MakeCColor(50, 60, 0, 255));
    EXPECT_EQ(dest.getPixel(1, 1), kBlackCColor);
    bmp->forget();
}

TEST(Offscreen, FrameSavesItselfAsPng) {
    CFrame* frame = new CFrame(CRect(0, 0, 64, 32), nullptr, nullptr);
    CBitmap* bg = solidBitmap(64, 32, MakeCColor(0, 0, 255, 255));
    frame->setBackground(bg);
    bg->forget();
    CBitmap* knobStrip = solidBitmap(8, 8, kRedCColor);
    frame->addView(new CAnimKnob(CRect(4, 4, 12, 12), nullptr, 0, 1, 8, knobStrip));
    knobStrip->forget();
    const std::string path = ::testing::TempDir() + "frame.png";
    ASSERT_TRUE(frame->saveAsPng(path.c_str()));
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CBitmap back(bytes.data(), bytes.size());
    ASSERT_TRUE(back.isLoaded());
    EXPECT_EQ(back.getWidth(), 64);
    EXPECT_EQ(back.getPixel(5, 5), kRedCColor);
    EXPECT_EQ(back.getPixel(40, 20), MakeCColor(0, 0, 255, 255));
    std::remove(path.c_str());
    frame->forget();
}

bool provider(int id, const unsigned char** data, size_t* size) {
    static std::vector<unsigned char> png = makePng(3, 7, [](int, int) { return kGreenCColor; });
    if (id != 128) return false;
    *data = png.data();
    *size = png.size();
    return true;
}

TEST(Bitmap, LoadsByResourceNumberAndRefusesBadData) {
    setResourceProvider(provider);
    CBitmap known(128);
    EXPECT_TRUE(known.isLoaded());
    EXPECT_EQ(known.getWidth(), 3);
    EXPECT_EQ(known.getHeight(), 7);
    CBitmap unknown(129);
    EXPECT_FALSE(unknown.isLoaded());
    EXPECT_EQ(unknown.getWidth(), 0);
    setResourceProvider(nullptr);
    CBitmap noProvider(128);
    EXPECT_FALSE(noProvider.isLoaded());

    std::vector<unsigned char> png = makePng(4, 4, [](int, int) { return kRedCColor; });
    CBitmap truncated(png.data(), png.size() / 2);
    EXPECT_FALSE(truncated.isLoaded());
    const unsigned char junk[] = "not a png at all";
    CBitmap bad(junk, sizeof junk);
    EXPECT_FALSE(bad.isLoaded());
    COffscreenContext off(4, 4);
    bad.draw(&off, CRect(0, 0, 4, 4));  // an unloaded bitmap draws nothing
    EXPECT_EQ(off.getPixel(0, 0), kBlackCColor);
}

TEST(TextLabel, DrawsTextOnlyWhenChangedAndHonoursNoDraw) {
    CFrame* frame = new CFrame(CRect(0, 0, 200, 40), nullptr, nullptr);
    CTextLabel* label = new CTextLabel(CRect(0, 0, 200, 40), "Welcome!");
    label->setFontColor(kWhiteCColor);
    label->setTextTransparency(true);
    frame->addView(label);
    frame->updateDirty();
    label->setText("Welcome!");
    EXPECT_FALSE(label->isDirty());
    label->setText("Other");
    EXPECT_TRUE(label->isDirty());
    EXPECT_STREQ(label->getText(), "Other");
    cairo_surface_t* s = frame->renderToSurface();
    int lit = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) lit += redAt(s, x, y) > 128;
    cairo_surface_destroy(s);
    EXPECT_GT(lit, 10);
    label->setStyle(kNoDrawStyle);
    s = frame->renderToSurface();
    lit = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) lit += redAt(s, x, y) > 128;
    cairo_surface_destroy(s);
    EXPECT_EQ(lit, 0);
    frame->forget();
}

}  // namespace

namespace {

// A host may automate from its audio thread: the control's value is stored
// there while the user-interface thread redraws. (Meaningful under the thread
// sanitizer; elsewhere it checks that the last value is the one drawn.)
TEST(FrameThreads, ValuesSetFromAnotherThreadWhileTheFrameRedraws) {
    CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
    CBitmap* strip = makeBitmap(4, 4 * 101, [](int, int y) { return MakeCColor(static_cast<unsigned char>(y / 4), 0, 0, 255); });
    CAnimKnob* knob = new CAnimKnob(CRect(0, 0, 4, 4), nullptr, 0, 101, 4, strip);
    strip->forget();
    frame->addView(knob);
    std::atomic<bool> stop{false};
    std::thread automation([&] {
        for (int i = 0; i < 20000 && !stop; ++i) knob->setValue(static_cast<float>(i % 101) / 100.f);
        knob->setValue(0.5f);
    });
    for (int i = 0; i < 200; ++i) frame->updateDirty();
    automation.join();
    EXPECT_EQ(frameRedAt(frame, 1, 1), 50u);
    frame->forget();
}

}  // namespace
