#pragma once
// The stock controls: knobs, buttons, sliders, text labels, splash screen.
#include <string>

#include "gui/ccontrol.h"
#include "gui/cfont.h"

namespace VSTGUI {

enum CKnobMode { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };

// A knob, turned as the frame's knob mode says. Linear: a drag of
// kLinearRange pixels up or right covers the whole range, down or left lowers
// it; with kZoomModifier held the same range takes kLinearRange * zoomFactor
// pixels (also in the circular modes). Circular: the value follows the
// pointer's angle around the centre (225 degrees the minimum, -45 the maximum,
// counter-clockwise from the right). Relative circular: the value turns by as
// much as the pointer turns around the centre. The wheel moves 0.1 of the range per notch
// (0.1 of that with kZoomModifier). Each drag or wheel turn is bracketed by
// beginEdit/endEdit.
class CKnob : public CControl {
public:
    static constexpr float kLinearRange = 200.f;

    CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background = nullptr);
    void draw(CDrawContext* context) override;  // background, then a pointer line
    CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const long& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const long& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const long& buttons) override;

    void setZoomFactor(float factor) { zoomFactor_ = factor; }
    float getZoomFactor() const { return zoomFactor_; }
    void setWheelInc(float inc) { wheelInc_ = inc; }
    float getWheelInc() const { return wheelInc_; }

protected:
    float valueAtAngle(const CPoint& where) const;  // 0..1 over the travel
    float zoomFactor_ = 1.5f;
    long mode_ = kLinearMode;
    float wheelInc_ = 0.1f;
    // Drag state: the value at the last change of the zoom key, and the
    // pointer position then.
    CPoint firstPoint_;
    float entryValue_ = 0.f;
    bool fine_ = false;
    bool dragging_ = false;
};

// A knob drawn from a filmstrip: subPixmaps frames of heightOfOneImage pixels
// stacked vertically in the background bitmap. Value v shows frame
// trunc(v * (subPixmaps - 1)) (v clamped to 0..1).
class CAnimKnob : public CKnob {
public:
    CAnimKnob(const CRect& size, CControlListener* listener, long tag, long subPixmaps, CCoord heightOfOneImage,
              CBitmap* background, const CPoint& offset = CPoint(0, 0));
    void draw(CDrawContext* context) override;
    long getFrameIndex() const;  // the frame the current value shows
    void setInverseBitmap(bool state) { inverse_ = state; }
    long getNumSubPixmaps() const { return subPixmaps_; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage_; }

private:
    long subPixmaps_;
    CCoord heightOfOneImage_;
    CPoint offset_;
    bool inverse_ = false;
};

// Two states from a bitmap of two images stacked: upper for value 0, lower for
// value 1. A click toggles and tells the listener.
class COnOffButton : public CControl {
public:
    COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background, long style = 0);
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
};

// A momentary button from a two-image bitmap (upper released, lower pressed;
// each image is half the bitmap's height unless given). Stock behaviour: nothing is sent
// on press; on release the listener gets value 1 if the pointer is still over
// the button, then value 0. With the press-sends switch on, the press sets 1
// and tells the listener at once, and the release tells only the 0.
class CKickButton : public CControl {
public:
    CKickButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                const CPoint& offset = CPoint(0, 0));
    CKickButton(const CRect& size, CControlListener* listener, long tag, CCoord heightOfOneImage,
                CBitmap* background, const CPoint& offset = CPoint(0, 0));
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const long& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const long& buttons) override;

    void setPressSends(bool state) { pressSends_ = state; }
    bool getPressSends() const { return pressSends_; }

private:
    CPoint offset_;
    CCoord heightOfOneImage_;
    bool pressSends_ = false;
    bool tracking_ = false;
};

// A slider with a background and a handle bitmap. The handle travels over
// maxPos - minPos pixels. Its top-left, relative to the control, is
//   (offsetHandle.h, offsetHandle.v + (minPos - top) + trunc(f * (maxPos - minPos)))
// with f = value for kTop (or kLeft) and f = 1 - value otherwise (kBottom:
// value 0 at the bottom); the handle is clipped to the control. (A handle of twice the control's height,
// its upper half "off" and its lower half "on", with offsetHandle (0, -height),
// draws a level bar that rises from the bottom.)
// A click or drag puts the handle's middle under the pointer:
//   value = (y - (top + offsetHandle.v + (minPos - top) + handleHeight / 2 - 1)) / (maxPos - minPos),
// inverted for kBottom, clamped; with kZoomModifier held a drag moves
// 1/zoomFactor as fast and the click does not jump.
class CSlider : public CControl {
public:
    CSlider(const CRect& size, CControlListener* listener, long tag, long minPos, long maxPos, CBitmap* handle,
            CBitmap* background, const CPoint& offset = CPoint(0, 0), long style = kLeft | kHorizontal);
    ~CSlider() override;
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const long& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const long& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const long& buttons) override;

    void setOffsetHandle(const CPoint& offset) { offsetHandle_ = offset; setDirty(true); }
    CPoint getOffsetHandle() const { return offsetHandle_; }
    void setZoomFactor(float factor) { zoomFactor_ = factor; }
    long getStyle() const { return style_; }
    // The handle's rectangle in frame coordinates for the current value
    // (before clipping to the control).
    CRect getHandleRect() const;
    // The value a click at `where` gives.
    float valueAtPoint(const CPoint& where) const;

protected:
    bool isVertical() const { return (style_ & kVertical) != 0; }
    bool isInverted() const;  // value 0 at the bottom / right
    CBitmap* handle_;
    CPoint offset_;
    CPoint offsetHandle_;
    long style_;
    long minPos_, maxPos_;
    float zoomFactor_ = 10.f;
    float wheelInc_ = 0.1f;
    CPoint lastPoint_;
    bool fine_ = false;
};

class CVerticalSlider : public CSlider {
public:
    CVerticalSlider(const CRect& size, CControlListener* listener, long tag, long minPos, long maxPos,
                    CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint(0, 0),
                    long style = kBottom);
};

class CHorizontalSlider : public CSlider {
public:
    CHorizontalSlider(const CRect& size, CControlListener* listener, long tag, long minPos, long maxPos,
                      CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint(0, 0),
                      long style = kLeft);
};

// Text in a rectangle. Unless the text is transparent, the rectangle is filled
// with the back colour and framed with the frame colour (no frame with
// kNoFrame) first. kNoDrawStyle draws nothing.
class CParamDisplay : public CControl {
public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, long style = 0);
    void draw(CDrawContext* context) override;

    void setFont(CFontRef font) { font_ = font; setDirty(true); }
    CFontRef getFont() const { return font_; }
    void setFontColor(const CColor& color) { fontColor_ = color; setDirty(true); }
    CColor getFontColor() const { return fontColor_; }
    void setBackColor(const CColor& color) { backColor_ = color; setDirty(true); }
    CColor getBackColor() const { return backColor_; }
    void setFrameColor(const CColor& color) { frameColor_ = color; setDirty(true); }
    CColor getFrameColor() const { return frameColor_; }
    void setHoriAlign(CHoriTxtAlign align) { align_ = align; setDirty(true); }
    void setTextTransparency(bool state) { textTransparent_ = state; setDirty(true); }
    bool getTextTransparency() const { return textTransparent_; }
    void setStyle(long style) { style_ = style; setDirty(true); }
    long getStyle() const { return style_; }

protected:
    void drawText(CDrawContext* context, const char* text);
    CFontRef font_;
    CColor fontColor_ = kWhiteCColor;
    CColor backColor_ = kBlackCColor;
    CColor frameColor_ = kBlackCColor;
    CHoriTxtAlign align_ = kCenterText;
    long style_;
    bool textTransparent_ = false;
};

class CTextLabel : public CParamDisplay {
public:
    CTextLabel(const CRect& size, const char* text = nullptr, CBitmap* background = nullptr, long style = 0);
    void setText(const char* text);  // null is the empty text; marks dirty when changed
    const char* getText() const { return text_.c_str(); }
    void draw(CDrawContext* context) override;

private:
    std::string text_;
};

// A hot spot that, when clicked, shows its bitmap over the frame at
// `toDisplay` (from `offset` of the bitmap) as a modal view; another click
// anywhere hides it. The listener hears value 1 on show and 0 on hide.
// Hovering reports nothing.
class CSplashScreen : public CControl {
public:
    CSplashScreen(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                  const CRect& toDisplay, const CPoint& offset = CPoint(0, 0));
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
    bool hitTest(const CPoint& where, const long& buttons = -1) override;
    void mouseOverNotify() override {}
    bool removed(CFrame* frame) override;
    bool isShown() const { return shown_; }
    void unSplash();

private:
    CRect toDisplay_;
    CRect keepSize_;
    CPoint offset_;
    bool shown_ = false;
};

}  // namespace VSTGUI
