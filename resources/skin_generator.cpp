// Draws the editor's bitmaps with cairo and writes them as PNG files and as a
// C++ source that embeds them, so the plug-in stays a single file.
//
//   nimbrel_skin OUTDIR      writes OUTDIR/bitmap_<id>.png and OUTDIR/skin_data.cpp
//
// Every label and panel is placed from the editor's control table and fixed
// layout, so the painting follows the controls wherever they move. Each
// bitmap is painted in layout units and drawn at every scale of kScales, so
// that a window scaled up shows pictures drawn for its pixels rather than
// enlarged ones; the PNG files on disk are the pictures at scale 1.
#include <cairo.h>
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "editor/control_table.h"
#include "editor/layout.h"
#include "gui/packed_pixels.h"
#include "host/parameters.h"
#include "resources/resource_ids.h"

namespace {

// ---- sizes the editor reads back from the bitmaps --------------------------------
constexpr int kBackgroundWidth = 860, kBackgroundHeight = 548;
constexpr int kKnobSize = 40, kKnobFrames = 256;
constexpr int kButtonWidth = 40, kButtonHeight = 22;  // one state
constexpr int kLedWidth = 14, kLedHeight = 11;        // one state
constexpr int kSliderWidth = 16, kSliderHeight = 60;
constexpr int kSplashWidth = 420, kSplashHeight = 260;

// The scales every bitmap is drawn at, rising from 1 (the layout's own size).
constexpr double kScales[] = {1.0, 1.5, 2.0, 3.0, 4.0};
static_assert(kScales[0] == 1.0, "the first picture is the layout-sized one");
// A picture taller than this many pixels is cut into bands (one image may
// hold at most 32767 rows); at scale 1 every picture is one band.
constexpr int kBandRows = 16384;
static_assert(kKnobSize * kKnobFrames <= kBandRows, "the knob strip at scale 1 fits one band");
// Above scale 1, a strip of frames comes in bands of this many frames, each
// packed on its own: the toolkit decodes a band when a frame of it is first
// shown, so an opening window decodes only the bands of the knobs' values.
constexpr int kFramesPerBand = 8;

// The scale being drawn: text is placed on whole pixels of it.
double gScale = 1.0;

static_assert(kBackgroundWidth >= layout::kMinBackgroundWidth, "background too narrow for the layout");
static_assert(kBackgroundHeight >= layout::kMinBackgroundHeight, "background too short for the layout");

const char* const kFont = "DejaVu Sans";
const char* const kCondensedFont = "DejaVu Sans Condensed";

struct Rgb {
    double r, g, b;
};
constexpr Rgb rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

const Rgb kBackTop = rgb(32, 35, 41), kBackBottom = rgb(21, 23, 27);
const Rgb kPanel = rgb(38, 42, 49), kPanelEdge = rgb(52, 57, 66), kPanelHighlight = rgb(60, 66, 76);
const Rgb kTitle = rgb(150, 162, 177), kLabel = rgb(206, 212, 221), kDimLabel = rgb(128, 138, 150);
const Rgb kAccent = rgb(60, 200, 220), kAccentDim = rgb(30, 96, 108);
const Rgb kLcdTop = rgb(178, 214, 220), kLcdBottom = rgb(146, 188, 196), kLcdEdge = rgb(14, 16, 19);
const Rgb kScreen = rgb(12, 14, 18);

void setColor(cairo_t* cr, const Rgb& c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void verticalGradient(cairo_t* cr, double y0, double y1, const Rgb& top, const Rgb& bottom, double alpha = 1.0) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void font(cairo_t* cr, double size, bool bold = false, const char* family = kFont) {
    cairo_select_font_face(cr, family, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

enum Align { kAlignLeft, kAlignCentre, kAlignRight };

// The length of the UTF-8 sequence that starts with byte c.
size_t sequenceLength(unsigned char c) { return c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4; }

// The text split into characters (whole UTF-8 sequences).
std::vector<std::string> characters(const char* s) {
    std::vector<std::string> out;
    size_t n = std::strlen(s);
    for (size_t i = 0; i < n;) {
        size_t len = std::min(sequenceLength(static_cast<unsigned char>(s[i])), n - i);
        out.emplace_back(s + i, len);
        i += len;
    }
    return out;
}

// Text with extra spacing between letters, its middle at height y.
void text(cairo_t* cr, const char* s, double x, double y, Align align, double spacing = 0.0) {
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    std::vector<std::string> chars = characters(s);
    double width = 0.0;
    for (size_t i = 0; i < chars.size(); ++i) {
        cairo_text_extents_t te;
        cairo_text_extents(cr, chars[i].c_str(), &te);
        width += te.x_advance + (i + 1 < chars.size() ? spacing : 0.0);
    }
    double left = align == kAlignLeft ? x : align == kAlignCentre ? x - width / 2 : x - width;
    // The start and the baseline on whole pixels, so the letters stay crisp.
    double baseline = std::round((y + (fe.ascent - fe.descent) / 2) * gScale) / gScale;
    left = std::round(left * gScale) / gScale;
    for (const std::string& one : chars) {
        cairo_text_extents_t te;
        cairo_text_extents(cr, one.c_str(), &te);
        cairo_move_to(cr, left, baseline);
        cairo_show_text(cr, one.c_str());
        left += te.x_advance + spacing;
    }
}

// ---- the words painted under the controls ----------------------------------------
struct PanelLabel {
    int64_t tag;
    const char* text;
};
const PanelLabel kLabels[] = {
    {param::Mix, "MIX"}, {param::Volume, "VOLUME"}, {param::Surround, "SURROUND"},
    {param::Bypass, "BYPASS"}, {param::Route, "SERIAL"},
    {param::RMix, "LEVEL"}, {param::RSize, "SIZE"}, {param::RDecay, "DECAY"},
    {param::RDiffuse, "DIFFUSION"}, {param::RPredel, "PREDELAY"}, {param::RHiDamp, "HIGH DAMP"},
    {param::RLowDamp, "LOW DAMP"}, {param::RHiCut, "HIGH CUT"}, {param::RLowCut, "LOW CUT"},
    {param::RSwirl, "SWIRL"},
    {param::GThresh, "THRESHOLD"}, {param::GAttack, "ATTACK"}, {param::GHold, "HOLD"},
    {param::GRelease, "RELEASE"},
    {param::DLevel, "LEVEL"}, {param::DLimit, "LIMIT"},
    {param::MMix, "LEVEL"}, {param::MTime, "TIME"}, {param::MFeedba, "FEEDBACK"},
    {param::MDetune, "DETUNE"}, {param::MHiDamp, "HIGH DAMP"}, {param::MLowDamp, "LOW DAMP"},
    {param::MHiCut, "HIGH CUT"}, {param::MLowCut, "LOW CUT"},
    {ctag::NextProgram, "NEXT"}, {ctag::PreviousProgram, "PREV"}, {ctag::HideEditor, "COMPACT"},
    {ctag::Handbook, "MANUAL"}, {ctag::WebSite, "WEB"},
};

const char* labelFor(int64_t tag) {
    for (const PanelLabel& l : kLabels)
        if (l.tag == tag) return l.text;
    return nullptr;
}

// ---- bitmaps --------------------------------------------------------------------
// Ends drawing; a drawing error (a bad text, say) would leave a bitmap half
// painted, so it stops the build instead.
void finish(cairo_t* cr) {
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "drawing failed: %s\n", cairo_status_to_string(cairo_status(cr)));
        std::exit(1);
    }
    cairo_destroy(cr);
}


void panel(cairo_t* cr, double x0, double y0, double x1, double y1, const char* title) {
    double w = x1 - x0, h = y1 - y0;
    roundedRect(cr, x0 + 0.5, y0 + 0.5, w - 1, h - 1, 6);
    verticalGradient(cr, y0, y1, kPanel, rgb(31, 34, 40));
    cairo_fill_preserve(cr);
    setColor(cr, kPanelEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // A faint light edge along the top, as if lit from above.
    cairo_move_to(cr, x0 + 6, y0 + 1.5);
    cairo_line_to(cr, x1 - 6, y0 + 1.5);
    setColor(cr, kPanelHighlight, 0.8);
    cairo_stroke(cr);
    if (title) {
        font(cr, 9, true);
        setColor(cr, kTitle);
        text(cr, title, x0 + 9, y0 + 9, kAlignLeft, 1.4);
    }
}

void lcd(cairo_t* cr, double x0, double y0, double x1, double y1) {
    roundedRect(cr, x0 - 1.5, y0 - 1.5, x1 - x0 + 3, y1 - y0 + 3, 4);
    setColor(cr, kLcdEdge);
    cairo_fill(cr);
    roundedRect(cr, x0, y0, x1 - x0, y1 - y0, 3);
    verticalGradient(cr, y0, y1, kLcdTop, kLcdBottom);
    cairo_fill(cr);
    // Inner shade along the top edge.
    cairo_rectangle(cr, x0 + 2, y0, x1 - x0 - 4, 2);
    setColor(cr, rgb(0, 0, 0), 0.12);
    cairo_fill(cr);
}

// A button face of one state at (x, y): raised when up, sunk and lit when down.
void buttonFace(cairo_t* cr, double x, double y, double w, double h, bool down, const char* caption) {
    roundedRect(cr, x + 1, y + 1, w - 2, h - 2, 3.5);
    setColor(cr, rgb(10, 11, 13));
    cairo_fill(cr);
    roundedRect(cr, x + 2, y + 2, w - 4, h - 4, 2.5);
    if (down)
        verticalGradient(cr, y + 2, y + h - 2, rgb(30, 33, 38), rgb(44, 48, 55));
    else
        verticalGradient(cr, y + 2, y + h - 2, rgb(78, 84, 94), rgb(50, 54, 61));
    cairo_fill(cr);
    if (!down) {
        cairo_move_to(cr, x + 4, y + 2.5);
        cairo_line_to(cr, x + w - 4, y + 2.5);
        setColor(cr, rgb(255, 255, 255), 0.18);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    if (caption) {
        font(cr, 8.5, true);
        setColor(cr, down ? kAccent : kLabel);
        text(cr, caption, x + w / 2, y + h / 2, kAlignCentre, 0.6);
        return;
    }
    // The indicator: a short bar, lit when the button is down or on.
    double bw = 14, bh = 3, bx = x + (w - bw) / 2, by = y + (h - bh) / 2;
    if (down) {
        roundedRect(cr, bx - 2, by - 2, bw + 4, bh + 4, 3);
        setColor(cr, kAccent, 0.25);
        cairo_fill(cr);
    }
    roundedRect(cr, bx, by, bw, bh, 1.5);
    setColor(cr, down ? kAccent : rgb(24, 27, 31));
    cairo_fill(cr);
}

void paintButton(cairo_t* cr, const char* caption) {
    buttonFace(cr, 0, 0, kButtonWidth, kButtonHeight, false, caption);
    buttonFace(cr, 0, kButtonHeight, kButtonWidth, kButtonHeight, true, caption);
}

// The knob filmstrip: frame i shows the value i / 255 on a 270 degree scale.
void paintKnob(cairo_t* cr) {
    const double c = kKnobSize / 2.0;
    const double start = 0.75 * M_PI, sweep = 1.5 * M_PI;
    // Only the frames on this band (and their neighbours, in case of a stray pixel).
    double x0, y0, x1, y1;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    const int firstFrame = std::max(0, static_cast<int>(std::floor(y0 / kKnobSize)) - 1);
    const int endFrame = std::min(kKnobFrames, static_cast<int>(std::ceil(y1 / kKnobSize)) + 1);
    for (int i = firstFrame; i < endFrame; ++i) {
        double cy = i * kKnobSize + c;
        double v = i / double(kKnobFrames - 1);
        double angle = start + v * sweep;
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        // Scale track, then the value arc over it.
        cairo_set_line_width(cr, 3);
        cairo_arc(cr, c, cy, 17, start, start + sweep);
        setColor(cr, rgb(14, 16, 19));
        cairo_stroke(cr);
        if (v > 0.0) {
            cairo_arc(cr, c, cy, 17, start, angle);
            setColor(cr, kAccent);
            cairo_stroke(cr);
        }
        // Body: a soft shadow, a dark rim and a brushed cap.
        cairo_arc(cr, c, cy + 1, 13.5, 0, 2 * M_PI);
        setColor(cr, rgb(0, 0, 0), 0.45);
        cairo_fill(cr);
        cairo_arc(cr, c, cy, 13, 0, 2 * M_PI);
        verticalGradient(cr, cy - 13, cy + 13, rgb(92, 99, 110), rgb(36, 40, 46));
        cairo_fill(cr);
        cairo_arc(cr, c, cy, 11, 0, 2 * M_PI);
        cairo_pattern_t* cap = cairo_pattern_create_radial(c - 3, cy - 4, 1, c, cy, 11);
        cairo_pattern_add_color_stop_rgb(cap, 0, 0.33, 0.36, 0.40);
        cairo_pattern_add_color_stop_rgb(cap, 1, 0.17, 0.19, 0.22);
        cairo_set_source(cr, cap);
        cairo_fill(cr);
        cairo_pattern_destroy(cap);
        // Pointer.
        cairo_set_line_width(cr, 2.2);
        cairo_move_to(cr, c + 4 * std::cos(angle), cy + 4 * std::sin(angle));
        cairo_line_to(cr, c + 10 * std::cos(angle), cy + 10 * std::sin(angle));
        setColor(cr, rgb(236, 240, 244));
        cairo_stroke(cr);
    }
}

// An LED: upper half lit, lower half dark.
void paintLed(cairo_t* cr, const Rgb& lit) {
    for (int state = 0; state < 2; ++state) {
        double y = state * kLedHeight;
        roundedRect(cr, 0.5, y + 0.5, kLedWidth - 1, kLedHeight - 2, 2);
        setColor(cr, rgb(8, 9, 11));
        cairo_fill(cr);
        roundedRect(cr, 1.5, y + 1.5, kLedWidth - 3, kLedHeight - 4, 1.5);
        if (state == 0) {
            cairo_pattern_t* p = cairo_pattern_create_radial(kLedWidth / 2.0, y + 3, 1, kLedWidth / 2.0, y + 4, 9);
            cairo_pattern_add_color_stop_rgb(p, 0, std::min(1.0, lit.r + 0.35), std::min(1.0, lit.g + 0.35),
                                             std::min(1.0, lit.b + 0.35));
            cairo_pattern_add_color_stop_rgb(p, 1, lit.r, lit.g, lit.b);
            cairo_set_source(cr, p);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
        } else {
            setColor(cr, {lit.r * 0.22, lit.g * 0.22, lit.b * 0.22});
            cairo_fill(cr);
        }
    }
}

// A step slider's trough with a tick at every eighth; beat steps are brighter.
void paintSliderBack(cairo_t* cr, bool accented) {
    roundedRect(cr, 0.5, 0.5, kSliderWidth - 1, kSliderHeight - 1, 3);
    setColor(cr, rgb(13, 15, 18));
    cairo_fill_preserve(cr);
    setColor(cr, accented ? kAccentDim : rgb(50, 55, 63));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    for (int k = 1; k < 8; ++k) {
        double y = std::round(kSliderHeight - k * kSliderHeight / 8.0) + 0.5;
        cairo_move_to(cr, 3, y);
        cairo_line_to(cr, kSliderWidth - 3, y);
        setColor(cr, accented ? kAccent : rgb(120, 130, 142), k == 4 ? 0.35 : 0.14);
        cairo_stroke(cr);
    }
}

// The slider handle is a level bar twice the slider's height: the upper half
// is clear (the trough shows), the lower half is the bar, its top edge lit.
void paintSliderHandle(cairo_t* cr) {
    double top = kSliderHeight;
    cairo_rectangle(cr, 3, top, kSliderWidth - 6, kSliderHeight - 3);
    verticalGradient(cr, top, top + kSliderHeight, kAccent, kAccentDim, 0.9);
    cairo_fill(cr);
    cairo_rectangle(cr, 2, top, kSliderWidth - 4, 2);
    setColor(cr, rgb(220, 250, 255));
    cairo_fill(cr);
}

void drawKnobLabel(cairo_t* cr, const ControlRecord& r, const LayoutRect& rect) {
    const char* label = labelFor(r.tag);
    if (!label) return;
    font(cr, 8.5, true, kCondensedFont);
    setColor(cr, kLabel);
    text(cr, label, r.x, rect.bottom + 7, kAlignCentre, 0.5);
}

void drawButtonLabel(cairo_t* cr, const char* label, const LayoutRect& rect) {
    font(cr, 8, true, kCondensedFont);
    setColor(cr, kDimLabel);
    text(cr, label, (rect.left + rect.right) / 2.0, rect.bottom + 7, kAlignCentre, 0.5);
}

void drawMeterLabel(cairo_t* cr, int64_t x, const char* label) {
    LayoutRect top = layout::ledRect(x, 0, kLedWidth, 2 * kLedHeight);
    font(cr, 7.5, true, kCondensedFont);
    setColor(cr, kDimLabel);
    text(cr, label, x + kLedWidth / 2.0, top.bottom + 7, kAlignCentre, 0.3);
}

void paintBackground(cairo_t* cr) {
    verticalGradient(cr, 0, kBackgroundHeight, kBackTop, kBackBottom);
    cairo_paint(cr);

    // Panels. The top row is what the compact window shows on its left.
    panel(cr, 56, 3, 272, 176, nullptr);
    panel(cr, 290, 3, 480, 176, "OUTPUT");
    panel(cr, 498, 3, 700, 176, "GATE");
    panel(cr, 718, 3, 846, 176, "DUCKER");
    panel(cr, 56, 184, 446, 352, "REVERB");
    panel(cr, 452, 184, 846, 352, "REVERB RESPONSE");
    panel(cr, 56, 360, 400, 544, "MULTITAP");
    panel(cr, 406, 360, 455, 544, nullptr);
    panel(cr, 459, 360, 846, 544, "MULTITAP STEPS");

    // The name, on the program panel.
    font(cr, 23, true);
    setColor(cr, rgb(236, 240, 244));
    text(cr, "Nimbrel", layout::kProgramMenu.left, 59, kAlignLeft, 0.5);
    font(cr, 7.5, true, kCondensedFont);
    setColor(cr, kAccent);
    text(cr, "REVERB", layout::kProgramMenu.right, 54, kAlignRight, 1.2);
    text(cr, "MULTITAP DELAY", layout::kProgramMenu.right, 64, kAlignRight, 1.2);

    // The program and info displays: light glass, as their text is dark.
    const LayoutRect& pm = layout::kProgramMenu;
    lcd(cr, pm.left, pm.top, pm.right, pm.bottom);
    const LayoutRect& il = layout::kInfoLabel;
    lcd(cr, il.left, il.top - 2, il.right, il.bottom - 2);

    // The main menu is an invisible hot spot: its button is painted here.
    const LayoutRect& mm = layout::kMainMenu;
    buttonFace(cr, mm.left, mm.top, kButtonWidth, kButtonHeight, false, "MENU");

    // The wave display's screen.
    const LayoutRect& wd = layout::kWaveDisplay;
    roundedRect(cr, wd.left - 2.5, wd.top - 2.5, wd.width() + 5, wd.height() + 5, 4);
    setColor(cr, rgb(6, 7, 9));
    cairo_fill(cr);
    cairo_rectangle(cr, wd.left, wd.top, wd.width(), wd.height());
    verticalGradient(cr, wd.top, wd.bottom, rgb(20, 30, 36), kScreen);
    cairo_fill(cr);
    font(cr, 7.5, true, kCondensedFont);
    setColor(cr, kDimLabel);
    text(cr, "L", wd.right - 6, wd.top + 8, kAlignRight);
    text(cr, "R", wd.right - 6, wd.bottom - 8, kAlignRight);
    text(cr, "0 \xE2\x80\x93 2 s", wd.right, 193, kAlignRight);

    // Labels under every table control.
    for (int i = 0; i < kNumControlRecords; ++i) {
        const ControlRecord& r = controlTabs[i];
        if (r.kind == kKindKnob) {
            drawKnobLabel(cr, r, layout::knobRect(r, kKnobSize, kKnobSize * kKnobFrames));
        } else if (r.kind == kKindOnOffButton || r.kind == kKindKickButton) {
            const char* label = labelFor(r.tag);
            if (label) drawButtonLabel(cr, label, layout::buttonRect(r, kButtonWidth, 2 * kButtonHeight));
        }
    }

    // Step sliders: the step number under each pair, L and R beside the rows.
    int64_t rightEdge = 0;
    for (int i = 0; i < kNumControlRecords; ++i) {
        const ControlRecord& r = controlTabs[i];
        if (r.kind != kKindStepSlider) continue;
        LayoutRect rect = layout::sliderRect(r, kSliderWidth, kSliderHeight);
        rightEdge = std::max(rightEdge, rect.right);
        bool right = (r.tag - param::StepL0) % 2 == 1;
        if (!right) continue;
        int step = static_cast<int>((r.tag - param::StepL0) / 2);
        char number[8];
        std::snprintf(number, sizeof number, "%d", step);
        font(cr, 8, true, kCondensedFont);
        setColor(cr, layout::isAccentedStep(r.tag) ? kAccent : kDimLabel);
        text(cr, number, (rect.left + rect.right) / 2.0, rect.bottom + 7, kAlignCentre);
    }
    for (int i = 0; i < kNumControlRecords; ++i) {
        const ControlRecord& r = controlTabs[i];
        if (r.kind != kKindStepSlider || r.tag > param::StepR0) continue;
        LayoutRect rect = layout::sliderRect(r, kSliderWidth, kSliderHeight);
        font(cr, 8, true, kCondensedFont);
        setColor(cr, kDimLabel);
        text(cr, r.tag == param::StepL0 ? "L" : "R", rightEdge + 7, (rect.top + rect.bottom) / 2.0, kAlignCentre);
    }

    // The wet-only button and the meters.
    LayoutRect wet = layout::wetOnlyRect(kButtonWidth, 2 * kButtonHeight);
    drawButtonLabel(cr, "WET ONLY", {wet.left, wet.top, wet.right, wet.top + kButtonHeight});
    drawMeterLabel(cr, layout::kOutputMeterX, "OUT");
    drawMeterLabel(cr, layout::kGateMeterX, "GATE");
    drawMeterLabel(cr, layout::kDuckMeterX, "DUCK");

    // The splash hot spot: the name written upwards, and what a click does.
    const LayoutRect& sp = layout::kSplash;
    cairo_save(cr);
    cairo_translate(cr, (sp.left + sp.right) / 2.0, (sp.top + sp.bottom) / 2.0 - 8);
    cairo_rotate(cr, -M_PI / 2);
    font(cr, 15, true);
    setColor(cr, rgb(90, 100, 112));
    text(cr, "NIMBREL", 0, 0, kAlignCentre, 3.0);
    cairo_restore(cr);
    font(cr, 7.5, true, kCondensedFont);
    setColor(cr, kDimLabel);
    text(cr, "ABOUT", (sp.left + sp.right) / 2.0, sp.bottom - 7, kAlignCentre, 0.5);
}

void paintSplash(cairo_t* cr) {
    roundedRect(cr, 0.5, 0.5, kSplashWidth - 1, kSplashHeight - 1, 8);
    verticalGradient(cr, 0, kSplashHeight, rgb(40, 46, 54), rgb(16, 18, 22));
    cairo_fill_preserve(cr);
    setColor(cr, kAccent);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // A decaying response as the emblem.
    cairo_set_line_width(cr, 1.5);
    for (int i = 0; i < 60; ++i) {
        double x = 30 + i * 6;
        double h = 40 * std::exp(-i / 18.0) * (0.6 + 0.4 * std::fabs(std::sin(i * 1.7)));
        cairo_move_to(cr, x, 200 - h);
        cairo_line_to(cr, x, 200 + h);
    }
    setColor(cr, kAccent, 0.55);
    cairo_stroke(cr);
    font(cr, 40, true);
    setColor(cr, rgb(240, 244, 248));
    text(cr, "Nimbrel", 30, 58, kAlignLeft, 1.0);
    font(cr, 11, true);
    setColor(cr, kAccent);
    text(cr, "STEREO REVERB  \xC2\xB7  17-STEP MULTITAP DELAY", 32, 96, kAlignLeft, 1.0);
    font(cr, 10.5);
    setColor(cr, kLabel);
    text(cr, "Version 1.0  \xC2\xB7  orvane.example", 32, 118, kAlignLeft);
    text(cr, "Click anywhere to close.", 32, 138, kAlignLeft);
}

// ---- output ---------------------------------------------------------------------
cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

// One bitmap: its size in layout units, the height of its frames when it is
// a strip of many like ones (0 otherwise), and how to paint it in those units.
struct Bitmap {
    int id;
    int width, height, frameHeight;
    std::function<void(cairo_t*)> paint;
};

// One band of one bitmap at one scale in the toolkit's packed form, which it
// opens several times faster than PNG; at scale 1 also as a PNG file, as
// people and other programs read them.
struct Encoded {
    int id;
    int scaleIndex;
    int band;
    std::vector<unsigned char> bytes;  // embedded
    std::vector<unsigned char> file;   // at scale 1: the PNG
};

// The pixel where a layout coordinate falls at `scale` (as the toolkit rounds).
int toPixels(int units, double scale) { return static_cast<int>(std::floor(units * scale + 0.5)); }

// The image in the toolkit's packed form; a strip of frames `period` rows
// tall stores each frame as its difference from the one above.
bool pack(cairo_surface_t* s, int period, std::vector<unsigned char>& out) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    std::vector<unsigned char> words(static_cast<size_t>(4) * w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t px;
            std::memcpy(&px, data + y * stride + 4 * x, 4);
            for (int i = 0; i < 4; ++i) words[(static_cast<size_t>(y) * w + x) * 4 + i] = static_cast<unsigned char>(px >> (8 * i));
        }
    VSTGUI::packed::applyPeriod(words.data(), static_cast<size_t>(4) * w, static_cast<size_t>(h), static_cast<size_t>(period));
    uLongf length = compressBound(static_cast<uLong>(words.size()));
    out.assign(VSTGUI::packed::kHeaderSize + length, 0);
    VSTGUI::packed::writeHeader(out.data(), {static_cast<uint32_t>(w), static_cast<uint32_t>(h), static_cast<uint32_t>(period)});
    if (compress2(out.data() + VSTGUI::packed::kHeaderSize, &length, words.data(), static_cast<uLong>(words.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    out.resize(VSTGUI::packed::kHeaderSize + length);
    return true;
}

// Paints a bitmap at a scale, band by band; stops the build on a drawing error.
void render(const Bitmap& b, int scaleIndex, std::vector<Encoded>& out) {
    const double scale = kScales[scaleIndex];
    gScale = scale;
    const int w = toPixels(b.width, scale), h = toPixels(b.height, scale);
    const int bandRows = b.frameHeight > 0 && scaleIndex > 0 ? kFramesPerBand * toPixels(b.frameHeight, scale) : kBandRows;
    for (int top = 0, band = 0; top < h; top += bandRows, ++band) {
        const int rows = std::min(bandRows, h - top);
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, rows);
        cairo_t* cr = cairo_create(s);
        cairo_translate(cr, 0, -top);
        cairo_scale(cr, scale, scale);
        b.paint(cr);
        finish(cr);
        Encoded e{b.id, scaleIndex, band, {}, {}};
        const bool encoded = pack(s, std::min(rows - 1, toPixels(b.frameHeight, scale)), e.bytes) &&
                             (scaleIndex > 0 || cairo_surface_write_to_png_stream(s, appendBytes, &e.file) == CAIRO_STATUS_SUCCESS);
        if (!encoded || cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "cannot encode bitmap %d at scale %g: %s\n", b.id, scale,
                         cairo_status_to_string(cairo_surface_status(s)));
            std::exit(1);
        }
        cairo_surface_destroy(s);
        out.push_back(std::move(e));
    }
}

bool writeFile(const std::string& path, const std::string& content) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    return std::fclose(f) == 0 && ok;
}

// Bytes as a string literal: the compiler reads megabytes of those quickly,
// where a list of numbers takes it a long while.
std::string literal(const std::vector<unsigned char>& bytes) {
    std::string out = "\n\"";
    char escape[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 64 == 0) out += "\"\n\"";
        std::snprintf(escape, sizeof escape, "\\%o", bytes[i]);
        out += escape;
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    const Bitmap bitmaps[] = {
        {kBitmapBackground, kBackgroundWidth, kBackgroundHeight, 0, paintBackground},
        {kBitmapWetOnly, kButtonWidth, 2 * kButtonHeight, 0, [](cairo_t* cr) { paintButton(cr, "WET"); }},
        {kBitmapKnob, kKnobSize, kKnobSize * kKnobFrames, kKnobSize, paintKnob},
        {kBitmapSplash, kSplashWidth, kSplashHeight, 0, paintSplash},
        {kBitmapSliderHandle, kSliderWidth, 2 * kSliderHeight, 0, paintSliderHandle},
        {kBitmapLedGreen, kLedWidth, 2 * kLedHeight, 0, [](cairo_t* cr) { paintLed(cr, rgb(70, 220, 110)); }},
        {kBitmapLedRed, kLedWidth, 2 * kLedHeight, 0, [](cairo_t* cr) { paintLed(cr, rgb(240, 64, 56)); }},
        {kBitmapLedAmber, kLedWidth, 2 * kLedHeight, 0, [](cairo_t* cr) { paintLed(cr, rgb(240, 180, 40)); }},
        {kBitmapSliderAccent, kSliderWidth, kSliderHeight, 0, [](cairo_t* cr) { paintSliderBack(cr, true); }},
        {kBitmapSlider, kSliderWidth, kSliderHeight, 0, [](cairo_t* cr) { paintSliderBack(cr, false); }},
        {kBitmapButton, kButtonWidth, 2 * kButtonHeight, 0, [](cairo_t* cr) { paintButton(cr, nullptr); }},
    };
    constexpr int kNumScales = static_cast<int>(sizeof kScales / sizeof kScales[0]);

    std::vector<Encoded> encoded;
    for (const Bitmap& b : bitmaps)
        for (int scale = 0; scale < kNumScales; ++scale) render(b, scale, encoded);

    // The bytes have names outside this file: a compiler describes a constant
    // of this file's own, contents and all, in the debugging information.
    std::string src =
        "// Generated by nimbrel_skin: the editor's bitmaps at every scale. Do not edit.\n"
        "#include \"resources/resource_ids.h\"\n\nnamespace nimbrel_skin_data {\n";
    for (const Encoded& e : encoded) {
        if (e.scaleIndex == 0) {
            // The layout-sized pictures also as files, for people and tests.
            const std::string path = dir + "/bitmap_" + std::to_string(e.id) + ".png";
            if (!writeFile(path, std::string(e.file.begin(), e.file.end()))) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
        const std::string name =
            "picture" + std::to_string(e.id) + "_" + std::to_string(e.scaleIndex) + "_" + std::to_string(e.band);
        src += "extern const char " + name + "[];\nconst char " + name + "[] =" + literal(e.bytes) + ";\n";
    }
    src += "}  // namespace nimbrel_skin_data\n\nnamespace {\nusing namespace nimbrel_skin_data;\n"
           "\nstruct Picture {\n    int id, scaleIndex, band;\n    const char* bytes;\n    size_t size;\n};\n"
           "const Picture kPictures[] = {\n";
    for (const Encoded& e : encoded) {
        const std::string name =
            "picture" + std::to_string(e.id) + "_" + std::to_string(e.scaleIndex) + "_" + std::to_string(e.band);
        src += "    {" + std::to_string(e.id) + ", " + std::to_string(e.scaleIndex) + ", " + std::to_string(e.band) +
               ", " + name + ", " + std::to_string(e.bytes.size()) + "},\n";
    }
    src += "};\n}  // namespace\n\nconst double kSkinScales[] = {";
    for (int i = 0; i < kNumScales; ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%s%.17g", i ? ", " : "", kScales[i]);
        src += number;
    }
    src += "};\nconst int kNumSkinScales = " + std::to_string(kNumScales) + ";\n\n" +
           "bool findNimbrelPicture(int id, int scaleIndex, int band, const unsigned char** data, size_t* size) {\n"
           "    for (const Picture& p : kPictures)\n"
           "        if (p.id == id && p.scaleIndex == scaleIndex && p.band == band) {\n"
           "            *data = reinterpret_cast<const unsigned char*>(p.bytes);\n"
           "            *size = p.size;\n"
           "            return true;\n"
           "        }\n"
           "    return false;\n}\n\n"
           "bool findNimbrelResource(int id, const unsigned char** data, size_t* size) {\n"
           "    return findNimbrelPicture(id, 0, 0, data, size);\n}\n";
    if (!writeFile(dir + "/skin_data.cpp", src)) {
        std::fprintf(stderr, "cannot write %s/skin_data.cpp\n", dir.c_str());
        return 1;
    }
    return 0;
}
