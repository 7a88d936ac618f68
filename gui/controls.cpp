#include "gui/controls.h"

#include <cmath>
#include <cstdio>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"

namespace VSTGUI {

namespace {
// A value as a position: within 0..1, and not a number at the start, so that
// pixel and frame numbers made from it are always defined.
float clamp01(float v) { return v >= 0.f ? (v <= 1.f ? v : 1.f) : 0.f; }
bool leftButton(long buttons) { return (buttons & kLButton) != 0; }
}  // namespace

// ---- CKnob

CKnob::CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CControl(size, listener, tag, background) {}

void CKnob::draw(CDrawContext* context) {
    if (background_) background_->draw(context, size_);
    // A pointer from the centre: 225 degrees at the minimum, -45 at the maximum.
    const double angle = (225.0 - 270.0 * clamp01(getValueNormalized())) * 3.14159265358979 / 180.0;
    const double cx = size_.left + size_.width() / 2.0, cy = size_.top + size_.height() / 2.0;
    const double r = std::min(size_.width(), size_.height()) / 2.0 - 2.0;
    context->setFrameColor(kWhiteCColor);
    context->drawLine(CPoint(static_cast<CCoord>(cx), static_cast<CCoord>(cy)),
                      CPoint(static_cast<CCoord>(cx + r * std::cos(angle)), static_cast<CCoord>(cy - r * std::sin(angle))));
    setDirty(false);
}

CMouseEventResult CKnob::onMouseDown(CPoint& where, const long& buttons) {
    if (!leftButton(buttons)) return kMouseEventNotHandled;
    if (checkDefaultValue(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    beginEdit();
    firstPoint_ = where;
    entryValue_ = getValue();
    fine_ = (buttons & kZoomModifier) != 0;
    dragging_ = true;
    mode_ = frame_ ? frame_->getKnobMode() : static_cast<long>(kLinearMode);
    if (mode_ == kCircularMode && !fine_) changeValueByUser(min_ + valueAtAngle(where) * (max_ - min_));
    return kMouseEventHandled;
}

float CKnob::valueAtAngle(const CPoint& where) const {
    // The pointer's angle around the centre, counter-clockwise from the right,
    // taken over the knob's travel: 225 degrees is the minimum, -45 the maximum.
    const double cx = size_.left + size_.width() / 2.0, cy = size_.top + size_.height() / 2.0;
    double degrees = std::atan2(cy - where.v, where.h - cx) * 180.0 / 3.14159265358979;
    if (degrees < -90.0) degrees += 360.0;
    return clamp01(static_cast<float>((225.0 - degrees) / 270.0));
}

CMouseEventResult CKnob::onMouseMoved(CPoint& where, const long& buttons) {
    if (!dragging_ || !leftButton(buttons)) return kMouseEventNotHandled;
    if (mode_ != kLinearMode && !(buttons & kZoomModifier)) {
        if (mode_ == kCircularMode) {
            changeValueByUser(min_ + valueAtAngle(where) * (max_ - min_));
        } else {
            // Relative circular: the value turns by as much as the pointer does.
            const float turn = valueAtAngle(where) - valueAtAngle(firstPoint_);
            changeValueByUser(getValue() + turn * (max_ - min_));
        }
        // Where a fine (zoom key) drag would start from.
        firstPoint_ = where;
        entryValue_ = getValue();
        fine_ = false;
        return kMouseEventHandled;
    }
    const bool fine = (buttons & kZoomModifier) != 0;
    if (fine != fine_) {
        // The zoom key changed mid-drag: carry on from here at the new rate.
        entryValue_ = getValue();
        firstPoint_ = where;
        fine_ = fine;
    }
    // Up and right raise the value.
    const float diff = static_cast<float>((firstPoint_.v - where.v) + (where.h - firstPoint_.h));
    const float range = fine_ ? kLinearRange * zoomFactor_ : kLinearRange;
    changeValueByUser(entryValue_ + diff * (max_ - min_) / range);
    return kMouseEventHandled;
}

CMouseEventResult CKnob::onMouseUp(CPoint&, const long&) {
    if (!dragging_) return kMouseEventNotHandled;
    dragging_ = false;
    endEdit();
    return kMouseEventHandled;
}

bool CKnob::onWheel(const CPoint&, const float& distance, const long& buttons) {
    const float step = (buttons & kZoomModifier) ? wheelInc_ * 0.1f : wheelInc_;
    beginEdit();
    changeValueByUser(getValue() + distance * step * (max_ - min_));
    endEdit();
    return true;
}

// ---- CAnimKnob

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                     CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CKnob(size, listener, tag, background),
      subPixmaps_(subPixmaps > 0 ? subPixmaps : 1),
      heightOfOneImage_(heightOfOneImage),
      offset_(offset) {}

long CAnimKnob::getFrameIndex() const {
    float v = clamp01(getValueNormalized());
    if (inverse_) v = 1.f - v;
    long index = static_cast<long>(v * static_cast<float>(subPixmaps_ - 1));
    if (index < 0) index = 0;
    if (index > subPixmaps_ - 1) index = subPixmaps_ - 1;
    return index;
}

void CAnimKnob::draw(CDrawContext* context) {
    if (background_)
        background_->draw(context, size_, CPoint(offset_.h, offset_.v + getFrameIndex() * heightOfOneImage_));
    setDirty(false);
}

// ---- COnOffButton

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background, long)
    : CControl(size, listener, tag, background) {}

void COnOffButton::draw(CDrawContext* context) {
    if (background_) {
        const CCoord off = getValueNormalized() > 0.5f ? background_->getHeight() / 2 : 0;
        background_->draw(context, size_, CPoint(0, off));
    }
    setDirty(false);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint&, const long& buttons) {
    if (!leftButton(buttons)) return kMouseEventNotHandled;
    beginEdit();
    changeValueByUser(getValueNormalized() > 0.5f ? min_ : max_, true);
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

// ---- CKickButton

CKickButton::CKickButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                         const CPoint& offset)
    : CKickButton(size, listener, tag, background ? background->getHeight() / 2 : size.height(), background, offset) {}

CKickButton::CKickButton(const CRect& size, CControlListener* listener, long tag, CCoord heightOfOneImage,
                         CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset_(offset), heightOfOneImage_(heightOfOneImage) {
    setValue(0.f);
}

void CKickButton::draw(CDrawContext* context) {
    if (background_) {
        const CCoord off = getValueNormalized() > 0.5f ? heightOfOneImage_ : 0;
        background_->draw(context, size_, CPoint(offset_.h, offset_.v + off));
    }
    setDirty(false);
}

CMouseEventResult CKickButton::onMouseDown(CPoint&, const long& buttons) {
    if (!leftButton(buttons)) return kMouseEventNotHandled;
    beginEdit();
    tracking_ = true;
    if (pressSends_)
        changeValueByUser(max_, true);
    else
        setValue(max_);  // shown pressed; told on release
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const long& buttons) {
    if (!tracking_ || !leftButton(buttons)) return kMouseEventNotHandled;
    // The picture follows the pointer; a press-sends button stays pressed, as reported.
    if (!pressSends_) setValue(size_.pointInside(where) ? max_ : min_);
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint& where, const long&) {
    if (!tracking_) return kMouseEventNotHandled;
    tracking_ = false;
    if (!pressSends_ && size_.pointInside(where)) changeValueByUser(max_, true);
    changeValueByUser(min_, true);
    endEdit();
    return kMouseEventHandled;
}

// ---- CSlider

CSlider::CSlider(const CRect& size, CControlListener* listener, long tag, long minPos, long maxPos, CBitmap* handle,
                 CBitmap* background, const CPoint& offset, long style)
    : CControl(size, listener, tag, background),
      handle_(handle),
      offset_(offset),
      style_(style),
      minPos_(minPos),
      maxPos_(maxPos) {
    if (handle_) handle_->remember();
}

CSlider::~CSlider() {
    if (handle_) handle_->forget();
}

bool CSlider::isInverted() const { return (style_ & (kLeft | kTop)) == 0; }

CRect CSlider::getHandleRect() const {
    const CCoord handleW = handle_ ? handle_->getWidth() : 0;
    const CCoord handleH = handle_ ? handle_->getHeight() : 0;
    const long range = maxPos_ - minPos_;
    float f = clamp01(getValueNormalized());
    if (isInverted()) f = 1.f - f;
    const CCoord travel = static_cast<CCoord>(f * static_cast<float>(range));
    CRect r;
    if (isVertical()) {
        r.left = size_.left + offsetHandle_.h;
        r.top = offsetHandle_.v + minPos_ + travel;
    } else {
        r.left = offsetHandle_.h + minPos_ + travel;
        r.top = size_.top + offsetHandle_.v;
    }
    r.right = r.left + handleW;
    r.bottom = r.top + handleH;
    return r;
}

float CSlider::valueAtPoint(const CPoint& where) const {
    const long range = maxPos_ - minPos_;
    if (range <= 0) return getValue();
    float v;
    if (isVertical()) {
        const CCoord delta = minPos_ + offsetHandle_.v + (handle_ ? handle_->getHeight() / 2 : 0) - 1;
        v = static_cast<float>(where.v - delta) / static_cast<float>(range);
    } else {
        const CCoord delta = minPos_ + offsetHandle_.h + (handle_ ? handle_->getWidth() / 2 : 0) - 1;
        v = static_cast<float>(where.h - delta) / static_cast<float>(range);
    }
    if (isInverted()) v = 1.f - v;
    return min_ + clamp01(v) * (max_ - min_);
}

void CSlider::draw(CDrawContext* context) {
    if (background_) background_->draw(context, size_, offset_);
    if (handle_) {
        CRect clip;
        context->getClipRect(clip);
        CRect inside = clip;
        inside.bound(size_);
        context->setClipRect(inside);
        handle_->draw(context, getHandleRect());
        context->setClipRect(clip);
    }
    setDirty(false);
}

CMouseEventResult CSlider::onMouseDown(CPoint& where, const long& buttons) {
    if (!leftButton(buttons)) return kMouseEventNotHandled;
    if (checkDefaultValue(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    beginEdit();
    fine_ = (buttons & kZoomModifier) != 0;
    lastPoint_ = where;
    if (!fine_) changeValueByUser(valueAtPoint(where));
    return kMouseEventHandled;
}

CMouseEventResult CSlider::onMouseMoved(CPoint& where, const long& buttons) {
    if (!editing_ || !leftButton(buttons)) return kMouseEventNotHandled;
    if (buttons & kZoomModifier) {
        // Fine: move by the pointer's travel, slowed down, from where the handle is.
        const long range = maxPos_ - minPos_;
        float pixels = isVertical() ? static_cast<float>(where.v - lastPoint_.v)
                                    : static_cast<float>(where.h - lastPoint_.h);
        if (isInverted()) pixels = -pixels;
        if (range > 0) changeValueByUser(getValue() + pixels * (max_ - min_) / (static_cast<float>(range) * zoomFactor_));
    } else {
        changeValueByUser(valueAtPoint(where));
    }
    lastPoint_ = where;
    return kMouseEventHandled;
}

CMouseEventResult CSlider::onMouseUp(CPoint&, const long&) {
    if (!editing_) return kMouseEventNotHandled;
    endEdit();
    return kMouseEventHandled;
}

bool CSlider::onWheel(const CPoint&, const float& distance, const long& buttons) {
    const float step = (buttons & kZoomModifier) ? wheelInc_ * 0.1f : wheelInc_;
    beginEdit();
    changeValueByUser(getValue() + distance * step * (max_ - min_));
    endEdit();
    return true;
}

CVerticalSlider::CVerticalSlider(const CRect& size, CControlListener* listener, long tag, long minPos, long maxPos,
                                 CBitmap* handle, CBitmap* background, const CPoint& offset, long style)
    : CSlider(size, listener, tag, minPos, maxPos, handle, background, offset, (style & ~kHorizontal) | kVertical) {}

CHorizontalSlider::CHorizontalSlider(const CRect& size, CControlListener* listener, long tag, long minPos, long maxPos,
                                     CBitmap* handle, CBitmap* background, const CPoint& offset, long style)
    : CSlider(size, listener, tag, minPos, maxPos, handle, background, offset, (style & ~kVertical) | kHorizontal) {}

// ---- CParamDisplay, CTextLabel

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, long style)
    : CControl(size, nullptr, 0, background), font_(kSystemFont), style_(style) {}

void CParamDisplay::drawText(CDrawContext* context, const char* text) {
    if (style_ & kNoDrawStyle) return;
    if (!textTransparent_) {
        context->setFillColor(backColor_);
        context->drawRect(size_, kDrawFilled);
        if (!(style_ & (k3DIn | k3DOut | kNoFrame))) {
            context->setFrameColor(frameColor_);
            context->drawRect(size_);
        }
    }
    if ((style_ & kNoTextStyle) || !text || !*text) return;
    context->setFont(font_);
    if (style_ & kShadowText) {
        CRect shadow = size_;
        shadow.offset(1, 1);
        context->setFontColor(kBlackCColor);
        context->drawString(text, shadow, false, align_);
    }
    context->setFontColor(fontColor_);
    context->drawString(text, size_, false, align_);
}

void CParamDisplay::draw(CDrawContext* context) {
    if (!(style_ & kNoDrawStyle)) {
        if (background_ && !transparent_) background_->draw(context, size_);
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(getValue()));
        drawText(context, text);
    }
    setDirty(false);
}

CTextLabel::CTextLabel(const CRect& size, const char* text, CBitmap* background, long style)
    : CParamDisplay(size, background, style), text_(text ? text : "") {}

void CTextLabel::setText(const char* text) {
    const std::string t = text ? text : "";
    if (t == text_) return;
    text_ = t;
    setDirty(true);
}

void CTextLabel::draw(CDrawContext* context) {
    if (!(style_ & kNoDrawStyle)) {
        if (background_ && !transparent_) background_->draw(context, size_);
        drawText(context, text_.c_str());
    }
    setDirty(false);
}

// ---- CSplashScreen

CSplashScreen::CSplashScreen(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                             const CRect& toDisplay, const CPoint& offset)
    : CControl(size, listener, tag, background), toDisplay_(toDisplay), keepSize_(size), offset_(offset) {}

void CSplashScreen::draw(CDrawContext* context) {
    if (shown_ && background_) background_->draw(context, toDisplay_, offset_);
    setDirty(false);
}

bool CSplashScreen::hitTest(const CPoint& where, const long& buttons) {
    return shown_ ? true : CView::hitTest(where, buttons);
}

CMouseEventResult CSplashScreen::onMouseDown(CPoint&, const long& buttons) {
    if (!leftButton(buttons)) return kMouseEventNotHandled;
    if (!shown_) {
        if (!frame_ || !frame_->setModalView(this)) return kMouseEventNotHandled;
        keepSize_ = size_;
        shown_ = true;
        size_ = toDisplay_;
        mouseableArea_ = toDisplay_;
        setDirty(true);
        changeValueByUser(max_, true);
    } else {
        unSplash();
        changeValueByUser(min_, true);
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CSplashScreen::unSplash() {
    if (!shown_) return;
    if (frame_ && frame_->getModalView() == this) frame_->setModalView(nullptr);
    if (frame_) frame_->invalidate(toDisplay_);
    shown_ = false;
    size_ = keepSize_;
    mouseableArea_ = keepSize_;
    setDirty(true);
}

bool CSplashScreen::removed(CFrame* frame) {
    if (shown_) {
        shown_ = false;
        size_ = keepSize_;
        mouseableArea_ = keepSize_;
    }
    return CControl::removed(frame);
}

}  // namespace VSTGUI
