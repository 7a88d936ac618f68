#include "gui/cdrawcontext.h"
#include "gui/image_surface.h"

#include <cairo.h>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/cframe.h"
#include "gui/pixels.h"
#include "gui/scale_factor.h"

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

CDrawContext::CDrawContext(cairo_surface_t* surface, const CPoint& origin, double scale)
    : surface_(surface),
      cr_(cairo_create(surface)),
      origin_(origin),
      scale_(scale > 0 ? scale : 1.0),
      originPixels_(toPixels(origin.h, scale_), toPixels(origin.v, scale_)),
      font_(kSystemFont) {
    CCoord w = 0, h = 0;
    if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE) {
        w = cairo_image_surface_get_width(surface);
        h = cairo_image_surface_get_height(surface);
    }
    // The units whose pixels lie on the surface.
    surfaceRect_ = CRect(origin.h, origin.v, fromPixels(originPixels_.h + w - 1, scale_) + 1,
                         fromPixels(originPixels_.v + h - 1, scale_) + 1);
    clip_ = surfaceRect_;
    // From here on cairo takes frame coordinates.
    cairo_translate(cr_, double(-originPixels_.h), double(-originPixels_.v));
    cairo_scale(cr_, scale_, scale_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_width(cr_, 1.0);
}

CDrawContext::~CDrawContext() { cairo_destroy(cr_); }

CRect CDrawContext::toSurfacePixels(const CRect& rect) const {
    return toPixels(rect, scale_).offset(-originPixels_.h, -originPixels_.v);
}

void CDrawContext::applyColor(const CColor& c) {
    cairo_set_source_rgba(cr_, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
}

double CDrawContext::pixelLineWidth() const {
    return std::max(1.0, std::floor(static_cast<double>(lineWidth_) * scale_ + 0.5));
}

void CDrawContext::applyPixelDash() {
    if (lineStyle_ != kLineOnOffDash) return;
    const double step = std::max(1.0, std::floor(scale_ + 0.5));
    const double dash[] = {step, step};
    cairo_set_dash(cr_, dash, 2, 0);
}

CRect CDrawContext::lineUnits(const CPoint& from, const CPoint& to) const {
    // A line lineWidth_ wide covers the units from lineWidth_ / 2 before its
    // points to the rest after them, both end points included.
    const CCoord before = lineWidth_ / 2, after = lineWidth_ - before;
    return CRect(std::min(from.h, to.h) - before, std::min(from.v, to.v) - before, std::max(from.h, to.h) + after,
                 std::max(from.v, to.v) + after);
}

void CDrawContext::fillPixels(const CRect& px) {
    cairo_rectangle(cr_, double(px.left), double(px.top), double(px.width()), double(px.height()));
    cairo_fill(cr_);
}

void CDrawContext::strokeLine(const CPoint& from, const CPoint& to) {
    // A line of no length has no direction for its square ends: nothing is drawn.
    if (from == to) return;
    applyColor(frameColor_);
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    if ((from.h == to.h || from.v == to.v) && lineStyle_ == kLineSolid) {
        // Level and upright lines cover whole pixels: exactly those of their units.
        fillPixels(toSurfacePixels(lineUnits(from, to)));
    } else {
        // In the surface's pixels, through the middles of the end points' units.
        const CRect a = toSurfacePixels(lineUnits(from, from)), b = toSurfacePixels(lineUnits(to, to));
        const double width = pixelLineWidth();
        cairo_set_line_width(cr_, width);
        applyPixelDash();
        cairo_move_to(cr_, (a.left + a.right) / 2.0, (a.top + a.bottom) / 2.0);
        cairo_line_to(cr_, (b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0);
        cairo_stroke(cr_);
    }
    cairo_restore(cr_);
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
    const CRect px = toSurfacePixels(r);
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    if (style == kDrawFilled || style == kDrawFilledAndStroked) {
        applyColor(fillColor_);
        fillPixels(px);
    }
    if (style == kDrawStroked || style == kDrawFilledAndStroked) {
        // The outline runs along the inside edge of the rectangle.
        applyColor(frameColor_);
        CRect inner = r;
        inner.inset(lineWidth_, lineWidth_);
        if (lineStyle_ != kLineSolid) {
            const double width = pixelLineWidth();
            const double half = width / 2.0;
            cairo_set_line_width(cr_, width);
            applyPixelDash();
            cairo_rectangle(cr_, px.left + half, px.top + half, px.width() - 2 * half, px.height() - 2 * half);
            cairo_stroke(cr_);
        } else if (inner.isEmpty()) {
            fillPixels(px);
        } else {
            // Four sides that do not overlap, so that a translucent colour is laid once.
            const CRect in = toSurfacePixels(inner);
            fillPixels(CRect(px.left, px.top, px.right, in.top));
            fillPixels(CRect(px.left, in.bottom, px.right, px.bottom));
            fillPixels(CRect(px.left, in.top, in.left, in.bottom));
            fillPixels(CRect(in.right, in.top, px.right, in.bottom));
        }
    }
    cairo_restore(cr_);
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
    // Curves take the dash in units; straight lines set it in pixels.
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
    const CRect px = toSurfacePixels(clip_);
    cairo_reset_clip(cr_);
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_rectangle(cr_, double(px.left), double(px.top), double(px.width()), double(px.height()));
    cairo_restore(cr_);
    cairo_clip(cr_);
}

void CDrawContext::paintPicture(cairo_surface_t* band, double pictureScale, CCoord bandTop, const CRect& rect,
                                const CPoint& offset, unsigned char alpha) {
    if (!band || rect.isEmpty() || alpha == 0) return;
    const CRect px = toSurfacePixels(rect);
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_rectangle(cr_, double(px.left), double(px.top), double(px.width()), double(px.height()));
    cairo_clip(cr_);
    if (pictureScale == scale_) {
        // Pixel for pixel: the picture's pixel of unit `offset` on the rectangle's first pixel.
        cairo_set_source_surface(cr_, band, double(px.left - toPixels(offset.h, scale_)),
                                 double(px.top - toPixels(offset.v, scale_) + bandTop));
        cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
    } else {
        // Surface pixel d shows picture pixel (d - rect's pixel) * ratio + offset's picture pixel.
        const double ratio = pictureScale / scale_;
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(band);
        cairo_matrix_t m;
        cairo_matrix_init_translate(&m, offset.h * pictureScale, offset.v * pictureScale - double(bandTop));
        cairo_matrix_scale(&m, ratio, ratio);
        cairo_matrix_translate(&m, -double(px.left), -double(px.top));
        cairo_pattern_set_matrix(pattern, &m);
        // Whole-number enlargements keep hard pixel edges; anything else is filtered.
        const double enlargement = scale_ / pictureScale;
        cairo_pattern_set_filter(pattern, enlargement == std::floor(enlargement) ? CAIRO_FILTER_NEAREST
                                                                                 : CAIRO_FILTER_GOOD);
        cairo_set_source(cr_, pattern);
        cairo_pattern_destroy(pattern);
    }
    if (alpha == 255)
        cairo_paint(cr_);
    else
        cairo_paint_with_alpha(cr_, alpha / 255.0);
    cairo_restore(cr_);
}

void CDrawContext::resetClipRect() { setClipRect(surfaceRect_); }

// ---- offscreen

namespace {
cairo_surface_t* newImage(CCoord w, CCoord h) {
    return createImageSurface(static_cast<int>(w), static_cast<int>(h));
}
}  // namespace

COffscreenContext::COffscreenContext(CFrame* frame, CCoord width, CCoord height, const CColor& background)
    : COffscreenContext(width, height, background, frame ? frame->getScaleFactor() : 1.0) {}

COffscreenContext::COffscreenContext(CCoord width, CCoord height, const CColor& background, double scale)
    : CDrawContext(newImage(toPixels(width, scale), toPixels(height, scale)), CPoint(0, 0), scale),
      width_(width),
      height_(height) {
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
    dest->paintPicture(surface_, scale_, 0, destRect, srcOffset);
}

bool COffscreenContext::saveAsPng(const char* path) {
    if (!path) return false;
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path) == CAIRO_STATUS_SUCCESS;
}

CColor COffscreenContext::getPixel(CCoord x, CCoord y) { return surfacePixel(surface_, x, y); }

}  // namespace VSTGUI
