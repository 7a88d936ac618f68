#include "gui/cframe.h"

#include <algorithm>
#include <cairo.h>

#include "gui/cbitmap.h"
#include "gui/ccontrol.h"
#include "gui/cdrawcontext.h"
#include "gui/image_surface.h"
#include "gui/platform_window.h"
#include "gui/scale_factor.h"

namespace VSTGUI {

// Turns a back end's reports into the frame's event entry points: pixels of
// a window whose first pixel is `origin` of the frame's pixels, mapped to units.
class WindowEventSink : public PlatformEventSink {
public:
    explicit WindowEventSink(CFrame& frame, const CPoint& origin = CPoint(0, 0)) : frame_(frame), origin_(origin) {}
    // A closed list's window may still be reporting what was queued: ignored.
    void close() { closed_ = true; }
    void platformMouseDown(const CPoint& where, long buttons) override {
        CPoint p = at(where);
        if (!closed_) frame_.onMouseDown(p, buttons);
    }
    void platformMouseUp(const CPoint& where, long buttons) override {
        CPoint p = at(where);
        if (!closed_) frame_.onMouseUp(p, buttons);
    }
    void platformMouseMoved(const CPoint& where, long buttons) override {
        CPoint p = at(where);
        if (!closed_) frame_.onMouseMoved(p, buttons);
    }
    void platformMouseExited(const CPoint& where, long buttons) override {
        CPoint p = at(where);
        if (!closed_ && !isPopup()) frame_.onMouseExited(p, buttons);
    }
    void platformWheel(const CPoint& where, float distance, long buttons) override {
        if (!closed_) frame_.onWheel(at(where), distance, buttons);
    }
    void platformKeyDown(CKeyCode& key) override {
        if (!closed_) frame_.onKeyDown(key);
    }
    void platformKeyUp(CKeyCode& key) override {
        if (!closed_) frame_.onKeyUp(key);
    }
    void platformExpose(const CRect& area) override {
        if (closed_) return;
        if (isPopup()) {
            if (frame_.popupWindow_ && frame_.popupBuffer_) frame_.popupWindow_->present(frame_.popupBuffer_, area);
        } else if (frame_.backBuffer_ && frame_.window_) {
            // The back buffer always holds the whole picture: show it again.
            frame_.window_->present(frame_.backBuffer_, area);
        } else {
            frame_.invalid();
        }
    }

private:
    bool isPopup() const { return this == frame_.popupSink_.get(); }
    CPoint at(const CPoint& p) const { return fromPixels(CPoint(p.h + origin_.h, p.v + origin_.v), frame_.scale_); }
    CFrame& frame_;
    CPoint origin_;
    bool closed_ = false;
};

CFrame::CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor, double scale)
    : CView(size), systemWindow_(systemWindow), editor_(editor), scale_(checkScaleFactor(scale)) {
    if (scale_ == 0.0) scale_ = 1.0;
    frame_ = this;
    sink_.reset(new WindowEventSink(*this));
    const CRect pixels = getPixelSize();
    if (systemWindow_) window_ = createPlatformWindow(systemWindow_, pixels.width(), pixels.height());
    invalid();
}

CFrame::~CFrame() {
    closePopupWindow();
    releaseInputGrab();
    modalView_ = nullptr;
    mouseDownView_ = nullptr;
    hoverView_ = nullptr;
    std::vector<CView*> views;
    views.swap(views_);
    for (CView* v : views) {
        v->removed(this);
        v->forget();
    }
    window_.reset();
    if (backBuffer_) cairo_surface_destroy(backBuffer_);
    frame_ = nullptr;
}

bool CFrame::isOpen() const { return window_ != nullptr; }

unsigned long CFrame::getNativeWindow() const { return window_ ? window_->getNativeHandle() : 0; }

void CFrame::idle() {
    if (inIdle_) return;
    inIdle_ = true;
    remember();  // a listener may let the frame go while its events are served
    if (window_) window_->pollEvents(*sink_);
    // Choosing from the list closes it from inside this call: its window is
    // only retired then (closePopupWindow), and goes below.
    if (popupWindow_) popupWindow_->pollEvents(*popupSink_);
    retiredPopupWindow_.reset();
    retiredPopupSink_.reset();
    if (getNbReference() > 1) updateDirty();
    inIdle_ = false;
    forget();
}

CRect CFrame::getPixelSize() const { return toPixels(CRect(0, 0, size_.width(), size_.height()), scale_); }

CRect CFrame::pixelArea(const CRect& area) const {
    CRect r = toPixels(area, scale_);
    r.bound(getPixelSize());
    return r;
}

bool CFrame::ensureBackBuffer() {
    const CRect pixels = getPixelSize();
    const int w = static_cast<int>(std::max<CCoord>(pixels.width(), 1));
    const int h = static_cast<int>(std::max<CCoord>(pixels.height(), 1));
    if (backBuffer_ && cairo_image_surface_get_width(backBuffer_) == w && cairo_image_surface_get_height(backBuffer_) == h)
        return false;
    if (backBuffer_) cairo_surface_destroy(backBuffer_);
    backBuffer_ = createImageSurface(w, h);
    invalidAreas_.clear();
    invalidAreas_.push_back(CRect(0, 0, size_.width(), size_.height()));
    return true;
}

void CFrame::invalidate(const CRect& rect) {
    CRect r = rect;
    r.bound(CRect(0, 0, size_.width(), size_.height()));
    if (!r.isEmpty()) invalidAreas_.push_back(r);
}

void CFrame::setDirty(bool state) {
    if (state) invalid();
}

bool CFrame::isDirty() const {
    if (!invalidAreas_.empty()) return true;
    for (CView* v : views_)
        if (v->isVisible() && v->isDirty()) return true;
    return modalView_ && modalView_->isDirty();
}

void CFrame::drawArea(CDrawContext* context, const CRect& area, int* drawCount) {
    context->setClipRect(area);
    // Below everything: opaque black, then the frame's background picture.
    context->setFillColor(kBlackCColor);
    context->drawRect(area, kDrawFilled);
    if (background_) background_->draw(context, CRect(0, 0, background_->getWidth(), background_->getHeight()));
    auto drawView = [&](CView* v) {
        CRect clip = v->getViewSize();
        clip.bound(area);
        if (clip.isEmpty()) return;
        context->setClipRect(clip);
        context->setDrawMode(kCopyMode);
        context->setLineWidth(1);
        // A control's value may change on another thread while it is drawn:
        // it counts as drawn with the value read before, so a later change
        // is drawn at the next update.
        CControl* control = dynamic_cast<CControl*>(v);
        const float value = control ? control->getValue() : 0.f;
        v->draw(context);
        if (control) control->setDrawnValue(value);
        else v->setDirty(false);
        if (drawCount) ++*drawCount;
    };
    for (CView* v : views_)
        if (v != modalView_ && v->isVisible()) drawView(v);
    if (modalView_ && modalView_->isVisible() && !popupWindow_) drawView(modalView_);
    context->setClipRect(area);
}

namespace {
// Joins overlapping areas, so that each pixel is drawn once per update.
void mergeAreas(std::vector<CRect>& areas) {
    bool merged = true;
    while (merged) {
        merged = false;
        for (size_t i = 0; i < areas.size() && !merged; ++i)
            for (size_t j = i + 1; j < areas.size(); ++j)
                if (areas[i].rectOverlap(areas[j])) {
                    areas[i].unite(areas[j]);
                    areas.erase(areas.begin() + static_cast<long>(j));
                    merged = true;
                    break;
                }
    }
}
}  // namespace

int CFrame::updateDirty() {
    ensureBackBuffer();
    std::vector<CRect> areas;
    areas.swap(invalidAreas_);
    const CRect whole(0, 0, size_.width(), size_.height());
    auto addView = [&](CView* v) {
        if (!v->isVisible() || !v->isDirty()) return;
        CRect r = v->getViewSize();
        r.bound(whole);
        if (r.isEmpty()) v->setDirty(false);  // outside the window: nothing to show
        else areas.push_back(r);
    };
    int count = 0;
    if (popupWindow_ && modalView_) {
        // The modal view lives in its own window.
        if (modalView_->isDirty()) {
            CDrawContext context(popupBuffer_, popupRect_.getTopLeft(), scale_);
            context.setClipRect(popupRect_);
            modalView_->draw(&context);
            modalView_->setDirty(false);
            ++count;
            cairo_surface_flush(popupBuffer_);
            popupWindow_->present(popupBuffer_, context.toSurfacePixels(popupRect_));
        }
    }
    for (CView* v : views_)
        if (v != modalView_ || !popupWindow_) addView(v);
    if (modalView_ && !isChild(modalView_) && !popupWindow_) addView(modalView_);
    if (!areas.empty()) {
        mergeAreas(areas);
        CDrawContext context(backBuffer_, CPoint(0, 0), scale_);
        for (const CRect& a : areas) drawArea(&context, a, &count);
        cairo_surface_flush(backBuffer_);
        if (window_)
            for (const CRect& a : areas) window_->present(backBuffer_, pixelArea(a));
    }
    lastDrawCount_ = count;
    return count;
}

void CFrame::draw(CDrawContext* context) { drawArea(context, CRect(0, 0, size_.width(), size_.height()), nullptr); }

cairo_surface_t* CFrame::renderToSurface() {
    updateDirty();
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(backBuffer_),
                                                      cairo_image_surface_get_height(backBuffer_));
    cairo_t* cr = cairo_create(out);
    cairo_set_source_surface(cr, backBuffer_, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(out);
    return out;
}

bool CFrame::saveAsPng(const char* path) {
    if (!path) return false;
    cairo_surface_t* s = renderToSurface();
    const bool ok = cairo_surface_write_to_png(s, path) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

bool CFrame::setSize(CCoord width, CCoord height) {
    if (width <= 0 || height <= 0) return false;
    size_.right = size_.left + width;
    size_.bottom = size_.top + height;
    const CRect pixels = getPixelSize();
    if (window_) window_->setSize(pixels.width(), pixels.height());
    ensureBackBuffer();
    invalid();
    return true;
}

bool CFrame::setScaleFactor(double scale) {
    const double checked = checkScaleFactor(scale);
    if (checked == 0.0) return false;
    if (checked == scale_) return true;
    scale_ = checked;
    setSize(size_.width(), size_.height());
    // An open list's own window moves to its place at the new scale.
    if (popupWindow_ && modalView_) {
        CView* view = modalView_;
        closePopupWindow();
        openPopupWindow(view);
    }
    if (modalView_) modalView_->setDirty(true);
    return true;
}

void CFrame::setViewSize(const CRect& rect, bool invalidate) {
    setSize(rect.width(), rect.height());
    if (invalidate) invalid();
}

void CFrame::setBackground(CBitmap* bitmap) {
    CView::setBackground(bitmap);
    invalid();
}

bool CFrame::addView(CView* view) {
    if (!view || isChild(view)) return false;
    views_.push_back(view);
    view->attached(this);
    return true;
}

void CFrame::forgetView(CView* view) {
    if (modalView_ == view) {
        modalView_ = nullptr;
        closePopupWindow();
        releaseInputGrab();
    }
    if (mouseDownView_ == view) mouseDownView_ = nullptr;
    if (hoverView_ == view) hoverView_ = nullptr;
}

bool CFrame::removeView(CView* view, bool withForget) {
    auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end()) return false;
    views_.erase(it);
    forgetView(view);
    invalidate(view->getViewSize());
    view->removed(this);
    if (withForget) view->forget();
    return true;
}

bool CFrame::removeAll(bool withForget) {
    while (!views_.empty()) removeView(views_.back(), withForget);
    return true;
}

bool CFrame::isChild(CView* view) const { return std::find(views_.begin(), views_.end(), view) != views_.end(); }

CView* CFrame::getView(long index) const {
    if (index < 0 || index >= getNbViews()) return nullptr;
    return views_[static_cast<size_t>(index)];
}

bool CFrame::setModalView(CView* view, bool grabInput) {
    if (view && modalView_ && view != modalView_) return false;
    CView* old = modalView_;
    modalView_ = view;
    if (old != view) {
        closePopupWindow();
        releaseInputGrab();
    }
    if (old) {
        if (hoverView_ == old) hoverView_ = nullptr;
        if (mouseDownView_ == old) mouseDownView_ = nullptr;
        invalidate(old->getViewSize());
        if (!isChild(old)) old->removed(this);
    }
    if (view) {
        if (!isChild(view)) view->attached(this);
        view->setDirty(true);
        mouseDownView_ = nullptr;
        if (old != view) openPopupWindow(view);
        // The grab is taken by the frame's own window even when the view has a
        // window of its own: every event then comes on one connection, in the
        // frame's pixels, and the click that opened the view hands its
        // implicit grab straight over.
        if (grabInput && !inputGrabbed_ && window_) inputGrabbed_ = window_->grabInput();
    }
    return true;
}

void CFrame::releaseInputGrab() {
    if (inputGrabbed_ && window_) window_->releaseInput();
    inputGrabbed_ = false;
}

CRect CFrame::getPopupArea() {
    if (!window_) return CRect(0, 0, size_.width(), size_.height());
    // The whole units on the screen.
    const CRect screen = window_->getScreenArea();
    return CRect(fromPixels(screen.left - 1, scale_) + 1, fromPixels(screen.top - 1, scale_) + 1,
                 fromPixels(screen.right, scale_), fromPixels(screen.bottom, scale_));
}

unsigned long CFrame::getPopupWindow() const { return popupWindow_ ? popupWindow_->getNativeHandle() : 0; }

void CFrame::openPopupWindow(CView* view) {
    const CRect r = view->getViewSize();
    const CRect inside(0, 0, size_.width(), size_.height());
    CRect clipped = r;
    clipped.bound(inside);
    if (!window_ || clipped == r || r.isEmpty()) return;  // fits in the frame: drawn there
    const CRect pixels = toPixels(r, scale_);
    popupWindow_ = window_->createPopup(pixels);
    if (!popupWindow_) return;  // no pop-up windows here: drawn in the frame, cut to it
    popupRect_ = r;
    popupBuffer_ = createImageSurface(static_cast<int>(pixels.width()), static_cast<int>(pixels.height()));
    popupSink_.reset(new WindowEventSink(*this, pixels.getTopLeft()));
}

void CFrame::closePopupWindow() {
    if (popupSink_) popupSink_->close();
    if (inIdle_) {
        retiredPopupWindow_ = std::move(popupWindow_);
        retiredPopupSink_ = std::move(popupSink_);
    }
    popupWindow_.reset();
    popupSink_.reset();
    if (popupBuffer_) cairo_surface_destroy(popupBuffer_);
    popupBuffer_ = nullptr;
}

CView* CFrame::getViewAt(const CPoint& where) const {
    for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
        CView* v = *it;
        if (v->isVisible() && v->getMouseEnabled() && v->hitTest(where)) return v;
    }
    return nullptr;
}

namespace {
bool handled(CMouseEventResult r) { return r == kMouseEventHandled || r == kMouseDownEventHandledButDontNeedMovedOrUpEvents; }
}  // namespace

CMouseEventResult CFrame::onMouseDown(CPoint& where, const long& buttons) {
    if (modalView_) {
        CView* v = modalView_;
        v->remember();
        CMouseEventResult r = v->onMouseDown(where, buttons);
        if (r == kMouseEventHandled && modalView_ == v) mouseDownView_ = v;
        v->forget();
        return r;
    }
    if (!mouseEnabled_ || !mouseableArea_.pointInside(where)) return kMouseEventNotHandled;
    // Topmost first; a transparent view that does not take the click lets it
    // through to the views below.
    std::vector<CView*> order(views_.rbegin(), views_.rend());
    for (CView* v : order) {
        if (!isChild(v) || !v->isVisible() || !v->getMouseEnabled() || !v->hitTest(where, buttons)) continue;
        v->remember();
        CMouseEventResult r = v->onMouseDown(where, buttons);
        const bool stillHere = isChild(v) || modalView_ == v;
        if (r == kMouseEventHandled && stillHere && !modalView_) mouseDownView_ = v;
        const bool transparent = v->getTransparency();
        v->forget();
        if (handled(r) || !transparent) return r;
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const long& buttons) {
    CView* v = mouseDownView_ ? mouseDownView_ : modalView_;
    mouseDownView_ = nullptr;
    if (!v) return kMouseEventNotHandled;
    v->remember();
    CMouseEventResult r = v->onMouseUp(where, buttons);
    v->forget();
    return r;
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const long& buttons) {
    if (mouseDownView_) {
        CView* v = mouseDownView_;
        v->remember();
        CMouseEventResult r = v->onMouseMoved(where, buttons);
        v->forget();
        return r;
    }
    CView* target = modalView_ ? modalView_ : getViewAt(where);
    if (target != hoverView_) {
        if (hoverView_) hoverView_->onMouseExited(where, buttons);
        hoverView_ = target;
        if (target) target->onMouseEntered(where, buttons);
    }
    if (!target) return kMouseEventNotHandled;
    target->remember();
    CMouseEventResult r = target->onMouseMoved(where, buttons);
    const bool stillHere = isChild(target) || modalView_ == target;
    if (stillHere && (buttons & (kLButton | kMButton | kRButton)) == 0) target->mouseOverNotify();
    target->forget();
    return r;
}

CMouseEventResult CFrame::onMouseExited(CPoint& where, const long& buttons) {
    if (hoverView_) hoverView_->onMouseExited(where, buttons);
    hoverView_ = nullptr;
    return kMouseEventHandled;
}

bool CFrame::onWheel(const CPoint& where, const float& distance, const long& buttons) {
    if (mouseDownView_) return false;
    CView* v = modalView_ ? modalView_ : getViewAt(where);
    if (!v) return false;
    v->remember();
    const bool r = v->onWheel(where, distance, buttons);
    v->forget();
    return r;
}

long CFrame::onKeyDown(CKeyCode& key) {
    if (!modalView_) return -1;
    CView* v = modalView_;
    v->remember();
    const long r = v->onKeyDown(key);
    v->forget();
    return r;
}

long CFrame::onKeyUp(CKeyCode& key) {
    if (!modalView_) return -1;
    return modalView_->onKeyUp(key);
}

}  // namespace VSTGUI
