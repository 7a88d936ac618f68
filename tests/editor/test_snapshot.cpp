// The editor drawn offscreen: the picture is not blank, every control is
// drawn where the layout puts it and carries a painted label, and the
// snapshot tool writes pictures of the right sizes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "editor/layout.h"
#include "support.h"

using namespace VSTGUI;
using edtest::Instance;

namespace {

int luminance(const CColor& c) { return c.red + c.green + c.blue; }

// Sum over a rectangle of how far the picture differs from the bare background.
long difference(cairo_surface_t* picture, CBitmap& back, const CRect& r) {
    long sum = 0;
    for (CCoord y = r.top; y < r.bottom; ++y)
        for (CCoord x = r.left; x < r.right; ++x) {
            CColor a = edtest::surfacePixel(picture, x, y), b = back.getPixel(x, y);
            sum += std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
        }
    return sum;
}

// The brightest pixel of the background in a rectangle (labels are light).
int brightest(CBitmap& back, const CRect& r) {
    int best = 0;
    for (CCoord y = r.top; y < r.bottom; ++y)
        for (CCoord x = r.left; x < r.right; ++x) best = std::max(best, luminance(back.getPixel(x, y)));
    return best;
}

struct Picture {
    cairo_surface_t* surface = nullptr;
    explicit Picture(cairo_surface_t* s) : surface(s) {}
    ~Picture() {
        if (surface) cairo_surface_destroy(surface);
    }
};

}  // namespace

TEST(Snapshot, EveryControlIsDrawnWhereTheLayoutPutsItAndLabelled) {
    Instance in;
    in.editor->idle();
    Picture picture(in.frame()->renderToSurface());
    ASSERT_NE(picture.surface, nullptr);
    CBitmap back(CResourceDescription{128});
    ASSERT_EQ(cairo_image_surface_get_width(picture.surface), back.getWidth());

    // Not blank: many colours.
    std::set<uint32_t> colours;
    for (CCoord y = 0; y < back.getHeight(); y += 3)
        for (CCoord x = 0; x < back.getWidth(); x += 3) {
            CColor c = edtest::surfacePixel(picture.surface, x, y);
            colours.insert((c.red << 16) | (c.green << 8) | c.blue);
        }
    EXPECT_GT(colours.size(), 200u);

    for (int i = 0; i < kNumControlRecords; ++i) {
        const ControlRecord& r = controlTabs[i];
        CControl* c = in.editor->knobs[i] ? static_cast<CControl*>(in.editor->knobs[i])
                      : in.editor->onOffButtons[i] ? static_cast<CControl*>(in.editor->onOffButtons[i])
                      : in.editor->sliders[i] ? static_cast<CControl*>(in.editor->sliders[i])
                                              : static_cast<CControl*>(in.editor->kickButtons[i]);
        const CRect area = c->getViewSize();
        const long pixels = area.width() * area.height();
        EXPECT_GT(difference(picture.surface, back, area), pixels * 10) << r.name << " is not drawn";
        // Its label is painted just below it (the step sliders share one number per pair).
        if (r.kind == kKindStepSlider && (r.tag - 29) % 2 == 0) continue;
        CRect below(area.left - 10, area.bottom + 1, area.right + 10, area.bottom + 14);
        EXPECT_GT(brightest(back, below), 300) << r.name << " has no label";
    }
    // The meters, the wet-only button and the display are drawn too.
    for (COnOffButton* led : {in.editor->outputLeds[0], in.editor->gateLeds[9], in.editor->duckLeds[5]})
        EXPECT_GT(difference(picture.surface, back, led->getViewSize()), 0);
    EXPECT_GT(difference(picture.surface, back, in.editor->wetOnlyButton->getViewSize()), 0);
    EXPECT_GT(difference(picture.surface, back, in.editor->waveDisplay->getViewSize()), 0);
    // The program name is written in dark letters on the light display.
    int darkest = 765;
    const CRect menu = in.editor->programMenu->getViewSize();
    for (CCoord y = menu.top + 4; y < menu.bottom - 4; ++y)
        for (CCoord x = menu.left + 4; x < menu.right - 4; ++x)
            darkest = std::min(darkest, luminance(edtest::surfacePixel(picture.surface, x, y)));
    EXPECT_LT(darkest, 300);
    EXPECT_GT(luminance(back.getPixel(menu.left + 4, menu.top + 4)), 400) << "the display is light";
}

TEST(Snapshot, BackgroundCarriesTheName) {
    // The name is painted in the program panel above the program display.
    CBitmap back(CResourceDescription{128});
    const LayoutRect& menu = layout::kProgramMenu;
    CRect nameArea(menu.left, menu.top - 30, menu.left + 110, menu.top - 2);
    EXPECT_GT(brightest(back, nameArea), 650);
}

namespace {

struct PngSize {
    int w = 0, h = 0;
    bool blank = true;
};

PngSize readPng(const std::string& path) {
    PngSize s;
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
        s.w = cairo_image_surface_get_width(image);
        s.h = cairo_image_surface_get_height(image);
        CColor first = edtest::surfacePixel(image, 0, 0);
        for (int y = 0; y < s.h && s.blank; y += 2)
            for (int x = 0; x < s.w; x += 2)
                if (edtest::surfacePixel(image, x, y) != first) {
                    s.blank = false;
                    break;
                }
    }
    cairo_surface_destroy(image);
    return s;
}

int run(const std::string& args, const std::string& environment = "") {
    std::string command = environment + " " + std::string(NIMBREL_SNAPSHOT_TOOL) + " " + args + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(SnapshotTool, WritesTheWindowTheCompactWindowAndAResponse) {
    const std::string dir = edtest::privateFolder();
    CBitmap back(CResourceDescription{128});

    ASSERT_EQ(run(dir + "/full.png"), 0);
    PngSize full = readPng(dir + "/full.png");
    EXPECT_EQ(full.w, back.getWidth());
    EXPECT_EQ(full.h, back.getHeight());
    EXPECT_FALSE(full.blank);

    ASSERT_EQ(run(dir + "/compact.png --compact --program 5"), 0);
    PngSize compact = readPng(dir + "/compact.png");
    EXPECT_EQ(compact.w, 381);
    EXPECT_EQ(compact.h, 178);

    ASSERT_EQ(run("--ir " + dir + "/ir.png --program 3"), 0);
    PngSize ir = readPng(dir + "/ir.png");
    EXPECT_EQ(ir.w, 381);
    EXPECT_EQ(ir.h, 142);
    EXPECT_FALSE(ir.blank);

    // At the scale the editor picks, in the window's pixels.
    ASSERT_EQ(run(dir + "/double.png", "NIMBREL_UI_SCALE=2"), 0);
    PngSize twice = readPng(dir + "/double.png");
    EXPECT_EQ(twice.w, 2 * back.getWidth());
    EXPECT_EQ(twice.h, 2 * back.getHeight());
    ASSERT_EQ(run("--ir " + dir + "/ir2.png --program 3", "NIMBREL_UI_SCALE=1.5"), 0);
    EXPECT_EQ(readPng(dir + "/ir2.png").w, 572);  // units 460..841 at 1.5: pixels 690..1262

    EXPECT_EQ(run(dir + "/x.png --program 180"), 2);
    EXPECT_EQ(run("--ir " + dir + "/x.png"), 2) << "a response needs a program";
    EXPECT_EQ(run(""), 2);
}
