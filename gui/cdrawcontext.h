#pragma once
// Drawing with cairo: lines, rectangles, text and bitmaps in frame coordinates
// (whole layout units, y down). A context draws into a cairo surface it does
// not own, except an offscreen context, which owns its image surface. At a
// scale above 1 each unit covers scale x scale pixels of the surface: text,
// curves and bitmaps are drawn at the surface's own resolution, and the
// edges of rectangles, clips and straight lines fall on whole pixels
// (toPixels), so that they stay as sharp as at scale 1.
#include "gui/cbaseobject.h"
#include "gui/cfont.h"
#include "gui/cgeometry.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CFrame;

enum CDrawStyle { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };
// kAntialias smooths lines; the other modes draw hard pixel lines.
enum CDrawMode { kCopyMode = 0, kOrMode, kXorMode, kAntialias };
enum CLineStyle { kLineSolid = 0, kLineOnOffDash };

class CDrawContext : public CBaseObject {
public:
    // Draws into `surface`; its pixel (0, 0) is where unit `origin` of the
    // frame starts at `scale`.
    CDrawContext(cairo_surface_t* surface, const CPoint& origin = CPoint(0, 0), double scale = 1.0);
    ~CDrawContext() override;

    void moveTo(const CPoint& p);
    void lineTo(const CPoint& p);
    void drawLine(const CPoint& from, const CPoint& to);
    void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked);
    void fillRect(const CRect& rect) { drawRect(rect, kDrawFilled); }
    void drawEllipse(const CRect& rect, CDrawStyle style = kDrawStroked);
    // Text in the current font and font colour, vertically centred in rect.
    void drawString(const char* text, const CRect& rect, bool opaque = false, CHoriTxtAlign align = kCenterText);
    CCoord getStringWidth(const char* text);

    void setLineWidth(CCoord width);
    CCoord getLineWidth() const { return lineWidth_; }
    void setLineStyle(CLineStyle style);
    void setDrawMode(CDrawMode mode);
    CDrawMode getDrawMode() const { return drawMode_; }
    void setFrameColor(const CColor& color) { frameColor_ = color; }
    CColor getFrameColor() const { return frameColor_; }
    void setFillColor(const CColor& color) { fillColor_ = color; }
    CColor getFillColor() const { return fillColor_; }
    void setFontColor(const CColor& color) { fontColor_ = color; }
    CColor getFontColor() const { return fontColor_; }
    void setFont(CFontRef font, int size = 0, int style = -1);
    CFontRef getFont() const { return font_; }

    // Drawing outside the clip rectangle has no effect.
    void setClipRect(const CRect& rect);
    void getClipRect(CRect& rect) const { rect = clip_; }
    void resetClipRect();

    // The pen position of moveTo/lineTo.
    CPoint getPenPosition() const { return pen_; }

    cairo_t* getCairo() const { return cr_; }
    cairo_surface_t* getSurface() const { return surface_; }
    CPoint getOrigin() const { return origin_; }
    double getScaleFactor() const { return scale_; }
    // A rectangle of frame units as pixels of this context's surface.
    CRect toSurfacePixels(const CRect& rect) const;

    // Paints part of a picture drawn at pictureScale (pixels per unit), clipped
    // to `rect`, so that unit `offset` of the picture lands on the rectangle's
    // top-left; `band` is the picture's pixel rows from bandTop on (a tall
    // picture comes in several). At this context's scale it goes pixel for
    // pixel; at another it is resampled.
    void paintPicture(cairo_surface_t* band, double pictureScale, CCoord bandTop, const CRect& rect,
                      const CPoint& offset, unsigned char alpha = 255);

protected:
    void applyColor(const CColor& color);
    void strokeLine(const CPoint& from, const CPoint& to);
    // Straight lines and outlines are drawn in the surface's pixels, this wide.
    double pixelLineWidth() const;
    // The units a line between two points covers (its end points included).
    CRect lineUnits(const CPoint& from, const CPoint& to) const;
    // Fills a rectangle of the surface's pixels (with the identity matrix set).
    void fillPixels(const CRect& px);
    void applyPixelDash();  // one unit on, one off

    cairo_surface_t* surface_;
    cairo_t* cr_;
    CPoint origin_;
    double scale_;
    CPoint originPixels_;  // origin_ in the frame's pixels
    CPoint pen_;
    CRect clip_;
    CRect surfaceRect_;
    CCoord lineWidth_ = 1;
    CLineStyle lineStyle_ = kLineSolid;
    CDrawMode drawMode_ = kCopyMode;
    CColor frameColor_ = kBlackCColor;
    CColor fillColor_ = kWhiteCColor;
    CColor fontColor_ = kBlackCColor;
    CFontRef font_;
    int fontSize_ = 0;
    int fontStyle_ = 0;
};

// An image surface of its own, cleared to a colour, in local coordinates
// (0, 0) at its top-left; it can be copied into another context or saved.
// Made for a frame, it has the frame's scale; its size is in units.
class COffscreenContext : public CDrawContext {
public:
    COffscreenContext(CFrame* frame, CCoord width, CCoord height, const CColor& background = kBlackCColor);
    COffscreenContext(CCoord width, CCoord height, const CColor& background = kBlackCColor, double scale = 1.0);
    ~COffscreenContext() override;

    CCoord getWidth() const { return width_; }
    CCoord getHeight() const { return height_; }
    // Copies the area starting at srcOffset into destRect of dest.
    void copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset = CPoint(0, 0));
    bool saveAsPng(const char* path);
    // Pixel (x, y) of the image as RGBA (not premultiplied); at scale 1 the
    // pixel of unit (x, y).
    CColor getPixel(CCoord x, CCoord y);

private:
    CCoord width_, height_;
};

}  // namespace VSTGUI
