#include "gui/cdrawcontext.h"

#include <cairo.h>
#include <cstring>

#include "gui/pixels.h"

namespace VSTGUI {

namespace {
const CFontDesc gSystemFont("Sans", 12);
const CFontDesc gNormalFontVeryBig("Sans", 18);
const CFontDesc gNormalFontBig("Sans", 14);
const CFontDesc gNormalFont("Sans", 12);
const CFontDesc gNormalFontSmall("Sans", 11);
const CFontDesc gNormalFontSmaller("Sans", 10);
const CFontDesc gNormalFontVerySmall("Sans", 9);
const CFontDesc gSymbolFont("Sans", 12);
}  // namespace

const CFontRef kSystemFont = &gSystemFont;
const CFontRef kNormalFontVeryBig = &gNormalFontVeryBig;
const CFontRef kNormalFontBig = &gNormalFontBig;
const CFontRef kNormalFont = &gNormalFont;
const CFontRef kNormalFontSmall = &gNormalFontSmall;
const CFontRef kNormalFontSmaller = &gNormalFontSmaller;
const CFontRef kNormalFontVerySmall = &gNormalFontVerySmall;
const CFontRef kSymbolFont = &gSymbolFont;

CColor surfacePixel(cairo_surface_t* surface, CCoord x, CCoord y) {
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return kTransparentCColor;
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    if (x < 0 || y < 0 || x >= w || y >= h) return kTransparentCColor;
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t px;
    std::memcpy(&px, row + 4 * x, 4);
    const unsigned a = px >> 24;
    auto un = [a](unsigned c) { return static_cast<unsigned char>(a ? (c * 255 + a / 2) / a : 0); };
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return MakeCColor((px >> 16) & 255, (px >> 8) & 255, px & 255, 255);
    return MakeCColor(un((px >> 16) & 255), un((px >> 8) & 255), un(px & 255), static_cast<unsigned char>(a));
}

CDrawContext::CDrawContext(cairo_surface_t* surface, const CPoint& origin)
    : surface_(surface), cr_(cairo_create(surface)), origin_(origin), font_(kSystemFont) {
    CCoord w = 0, h = 0;
    if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE) {
        w = cairo_image_surface_get_width(surface);
        h = cairo_image_surface_get_height(surface);
    }
    surfaceRect_ = CRect(origin.h, origin.v, origin.h + w, origin.v + h);
    clip_ = surfaceRect_;
    // From here on cairo takes frame coordinates.
    cairo_translate(cr_, double(-origin.h), double(-origin.v));
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_width(cr_, 1.0);
}

CDrawContext::~CDrawContext() { cairo_destroy(cr_); }

void CDrawContext::applyColor(const CColor& c) {
    cairo_set_source_rgba(cr_, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
}

void CDrawContext::strokeLine(const CPoint& from, const CPoint& to) {
    // Odd widths sit on pixel centres so that a 1-pixel line covers whole pixels;
    // square caps make both end points part of the line.
    const double shift = (lineWidth_ % 2) ? 0.5 : 0.0;
    applyColor(frameColor_);
    cairo_move_to(cr_, from.h + shift, from.v + shift);
    cairo_line_to(cr_, to.h + shift, to.v + shift);
    cairo_stroke(cr_);
}

void CDrawContext::moveTo(const CPoint& p) { pen_ = p; }

void CDrawContext::lineTo(const CPoint& p) {
    strokeLine(pen_, p);
    pen_ = p;
}

void CDrawContext::drawLine(const CPoint& from, const CPoint& to) {
    strokeLine(from, to);
    pen_ = to;
}

void CDrawContext::drawRect(const CRect& r, CDrawStyle style) {
    if (r.isEmpty()) return;
    if (style == kDrawFilled || style == kDrawFilledAndStroked) {
        applyColor(fillColor_);
        cairo_rectangle(cr_, double(r.left), double(r.top), double(r.width()), double(r.height()));
        cairo_fill(cr_);
    }
    if (style == kDrawStroked || style == kDrawFilledAndStroked) {
        // The outline runs along the inside edge of the rectangle.
        const double half = lineWidth_ / 2.0;
        applyColor(frameColor_);
        cairo_rectangle(cr_, r.left + half, r.top + half, r.width() - 2 * half, r.height() - 2 * half);
        cairo_stroke(cr_);
    }
}

void CDrawContext::drawEllipse(const CRect& r, CDrawStyle style) {
    if (r.isEmpty()) return;
    cairo_save(cr_);
    cairo_translate(cr_, r.left + r.width() / 2.0, r.top + r.height() / 2.0);
    cairo_scale(cr_, r.width() / 2.0, r.height() / 2.0);
    cairo_arc(cr_, 0, 0, 1, 0, 6.283185307179586);
    cairo_restore(cr_);
    if (style == kDrawFilled || style == kDrawFilledAndStroked) {
        applyColor(fillColor_);
        if (style == kDrawFilledAndStroked) cairo_fill_preserve(cr_); else cairo_fill(cr_);
    }
    if (style == kDrawStroked || style == kDrawFilledAndStroked) {
        applyColor(frameColor_);
        cairo_stroke(cr_);
    }
}

void CDrawContext::setFont(CFontRef font, int size, int style) {
    font_ = font ? font : kSystemFont;
    fontSize_ = size;
    fontStyle_ = style < 0 ? font_->getStyle() : style;
}

namespace {
void selectFont(cairo_t* cr, CFontRef font, int size, int style) {
    cairo_select_font_face(cr, font->getName(), (style & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           (style & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, double(size > 0 ? size : font->getSize()));
}
}  // namespace

CCoord CDrawContext::getStringWidth(const char* text) {
    if (!text || !*text) return 0;
    selectFont(cr_, font_, fontSize_, fontStyle_);
    cairo_text_extents_t ext;
    cairo_text_extents(cr_, text, &ext);
    return static_cast<CCoord>(ext.x_advance + 0.5);
}

void CDrawContext::drawString(const char* text, const CRect& r, bool opaque, CHoriTxtAlign align) {
    if (opaque) drawRect(r, kDrawFilled);
    if (!text || !*text || r.isEmpty()) return;
    selectFont(cr_, font_, fontSize_, fontStyle_);
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    cairo_text_extents_t te;
    cairo_text_extents(cr_, text, &te);
    double x = r.left;
    if (align == kCenterText) x = r.left + (r.width() - te.x_advance) / 2.0;
    else if (align == kRightText) x = r.right - te.x_advance;
    const double baseline = r.top + (r.height() + fe.ascent - fe.descent) / 2.0;
    cairo_save(cr_);
    cairo_rectangle(cr_, double(r.left), double(r.top), double(r.width()), double(r.height()));
    cairo_clip(cr_);
    // Text is always smoothed, whatever the line mode.
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GRAY);
    applyColor(fontColor_);
    cairo_move_to(cr_, x, baseline);
    cairo_show_text(cr_, text);
    cairo_restore(cr_);
}

void CDrawContext::setLineWidth(CCoord width) {
    lineWidth_ = width < 1 ? 1 : width;
    cairo_set_line_width(cr_, double(lineWidth_));
}

void CDrawContext::setLineStyle(CLineStyle style) {
    lineStyle_ = style;
    if (style == kLineOnOffDash) {
        const double dash[] = {1.0, 1.0};
        cairo_set_dash(cr_, dash, 2, 0);
    } else {
        cairo_set_dash(cr_, nullptr, 0, 0);
    }
}

void CDrawContext::setDrawMode(CDrawMode mode) {
    drawMode_ = mode;
    cairo_set_antialias(cr_, mode == kAntialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CDrawContext::setClipRect(const CRect& rect) {
    clip_ = rect;
    clip_.bound(surfaceRect_);
    cairo_reset_clip(cr_);
    cairo_rectangle(cr_, double(clip_.left), double(clip_.top), double(clip_.width()), double(clip_.height()));
    cairo_clip(cr_);
}

void CDrawContext::resetClipRect() { setClipRect(surfaceRect_); }

// ---- offscreen

namespace {
cairo_surface_t* newImage(CCoord w, CCoord h) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w > 0 ? w : 1), static_cast<int>(h > 0 ? h : 1));
}
}  // namespace

COffscreenContext::COffscreenContext(CFrame*, CCoord width, CCoord height, const CColor& background)
    : COffscreenContext(width, height, background) {}

COffscreenContext::COffscreenContext(CCoord width, CCoord height, const CColor& background)
    : CDrawContext(newImage(width, height)), width_(width), height_(height) {
    // The cairo context keeps the surface alive as long as this context lives.
    cairo_surface_destroy(surface_);
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    applyColor(background);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

COffscreenContext::~COffscreenContext() = default;

void COffscreenContext::copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset) {
    if (!dest || destRect.isEmpty()) return;
    cairo_surface_flush(surface_);
    cairo_t* cr = dest->getCairo();
    cairo_save(cr);
    cairo_rectangle(cr, double(destRect.left), double(destRect.top), double(destRect.width()), double(destRect.height()));
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface_, double(destRect.left - srcOffset.h), double(destRect.top - srcOffset.v));
    cairo_paint(cr);
    cairo_restore(cr);
}

bool COffscreenContext::saveAsPng(const char* path) {
    if (!path) return false;
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path) == CAIRO_STATUS_SUCCESS;
}

CColor COffscreenContext::getPixel(CCoord x, CCoord y) { return surfacePixel(surface_, x, y); }

}  // namespace VSTGUI
