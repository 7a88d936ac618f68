#include "gui/cview.h"

#include "gui/cbitmap.h"
#include "gui/cframe.h"

namespace VSTGUI {

CView::CView(const CRect& size) : size_(size), mouseableArea_(size) {}

CView::~CView() {
    if (background_) background_->forget();
}

void CView::draw(CDrawContext* context) {
    if (background_) background_->draw(context, size_, CPoint(0, 0));
    setDirty(false);
}

CMouseEventResult CView::onMouseDown(CPoint&, const long&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseUp(CPoint&, const long&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseMoved(CPoint&, const long&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseEntered(CPoint&, const long&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseExited(CPoint&, const long&) { return kMouseEventNotImplemented; }
bool CView::onWheel(const CPoint&, const float&, const long&) { return false; }
long CView::onKeyDown(CKeyCode&) { return -1; }
long CView::onKeyUp(CKeyCode&) { return -1; }
bool CView::onDrop(CDragContainer*, const CPoint&) { return false; }

bool CView::hitTest(const CPoint& where, const long&) { return mouseableArea_.pointInside(where); }

void CView::setViewSize(const CRect& rect, bool invalidate) {
    if (invalidate && frame_) frame_->invalidate(size_);  // the old place shows what lies below
    size_ = rect;
    mouseableArea_ = rect;
    if (invalidate) setDirty(true);
}

void CView::setVisible(bool state) {
    if (visible_ == state) return;
    visible_ = state;
    if (frame_) frame_->invalidate(size_);
    setDirty(true);
}

void CView::setBackground(CBitmap* bitmap) {
    if (bitmap == background_) return;
    if (bitmap) bitmap->remember();
    if (background_) background_->forget();
    background_ = bitmap;
    setDirty(true);
}

bool CView::attached(CFrame* frame) {
    frame_ = frame;
    setDirty(true);
    return true;
}

bool CView::removed(CFrame*) {
    frame_ = nullptr;
    return true;
}

}  // namespace VSTGUI
