#pragma once
// Geometry and colour: points, rectangles and RGBA colours in window pixels.
// Coordinates are integers, as the layout is pixel-exact.
#include <algorithm>
#include <cstdint>

namespace VSTGUI {

typedef long CCoord;

struct CPoint {
    CCoord h = 0;  // x, grows to the right
    CCoord v = 0;  // y, grows downward
    CPoint() = default;
    CPoint(CCoord h_, CCoord v_) : h(h_), v(v_) {}
    CPoint& offset(CCoord dh, CCoord dv) { h += dh; v += dv; return *this; }
    bool operator==(const CPoint& o) const { return h == o.h && v == o.v; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
};

// Half-open: a rectangle covers left <= x < right, top <= y < bottom.
struct CRect {
    CCoord left = 0, top = 0, right = 0, bottom = 0;
    CRect() = default;
    CRect(CCoord l, CCoord t, CCoord r, CCoord b) : left(l), top(t), right(r), bottom(b) {}

    CCoord width() const { return right - left; }
    CCoord height() const { return bottom - top; }
    CCoord getWidth() const { return width(); }
    CCoord getHeight() const { return height(); }
    CRect& setWidth(CCoord w) { right = left + w; return *this; }
    CRect& setHeight(CCoord h) { bottom = top + h; return *this; }
    CPoint getTopLeft() const { return CPoint(left, top); }

    CRect& offset(CCoord dh, CCoord dv) { left += dh; right += dh; top += dv; bottom += dv; return *this; }
    CRect& moveTo(CCoord x, CCoord y) { return offset(x - left, y - top); }
    CRect& inset(CCoord dh, CCoord dv) { left += dh; right -= dh; top += dv; bottom -= dv; return *this; }

    bool isEmpty() const { return right <= left || bottom <= top; }
    bool pointInside(const CPoint& p) const { return p.h >= left && p.h < right && p.v >= top && p.v < bottom; }
    bool rectOverlap(const CRect& o) const {
        return !isEmpty() && !o.isEmpty() && left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    // Intersection with o (empty when they do not overlap).
    CRect& bound(const CRect& o) {
        left = std::max(left, o.left); top = std::max(top, o.top);
        right = std::min(right, o.right); bottom = std::min(bottom, o.bottom);
        if (isEmpty()) { right = left; bottom = top; }
        return *this;
    }
    // Smallest rectangle holding both (an empty side is ignored).
    CRect& unite(const CRect& o) {
        if (o.isEmpty()) return *this;
        if (isEmpty()) { *this = o; return *this; }
        left = std::min(left, o.left); top = std::min(top, o.top);
        right = std::max(right, o.right); bottom = std::max(bottom, o.bottom);
        return *this;
    }
    bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CRect& o) const { return !(*this == o); }
};

struct CColor {
    unsigned char red = 0, green = 0, blue = 0, alpha = 255;
    bool operator==(const CColor& o) const {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    bool operator!=(const CColor& o) const { return !(*this == o); }
};

inline CColor MakeCColor(unsigned char r = 0, unsigned char g = 0, unsigned char b = 0, unsigned char a = 255) {
    CColor c; c.red = r; c.green = g; c.blue = b; c.alpha = a; return c;
}

const CColor kTransparentCColor = {255, 255, 255, 0};
const CColor kBlackCColor = {0, 0, 0, 255};
const CColor kWhiteCColor = {255, 255, 255, 255};
const CColor kGreyCColor = {127, 127, 127, 255};
const CColor kRedCColor = {255, 0, 0, 255};
const CColor kGreenCColor = {0, 255, 0, 255};
const CColor kBlueCColor = {0, 0, 255, 255};

// Mouse buttons and modifier keys, or-ed together in a `buttons` argument.
enum CButton : long {
    kLButton = 1 << 0,
    kMButton = 1 << 1,
    kRButton = 1 << 2,
    kShift = 1 << 3,
    kControl = 1 << 4,
    kAlt = 1 << 5,
    kApple = 1 << 6,
    kDoubleClick = 1 << 7,
};
// With this key held, knobs and sliders move by the fine (zoomed) step.
const long kZoomModifier = kShift;

// A key press as the toolkit sees it (the same fields as the host's key record).
struct CKeyCode {
    int32_t character = 0;  // ASCII or 0
    unsigned char virt = 0; // one of CVirtualKey or 0
    unsigned char modifier = 0;
};
enum CVirtualKey : unsigned char {
    VKEY_BACK = 1, VKEY_TAB, VKEY_CLEAR, VKEY_RETURN, VKEY_PAUSE, VKEY_ESCAPE, VKEY_SPACE,
    VKEY_NEXT, VKEY_END, VKEY_HOME, VKEY_LEFT, VKEY_UP, VKEY_RIGHT, VKEY_DOWN,
    VKEY_PAGEUP, VKEY_PAGEDOWN, VKEY_ENTER = 19,
};

}  // namespace VSTGUI
