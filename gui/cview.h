#pragma once
// CView: a rectangle of the frame that draws itself and may take the mouse.
// All coordinates are frame coordinates (the frame holds its views flat).

#include "base/relaxed.h"
#include "gui/cbaseobject.h"
#include "gui/cgeometry.h"

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;

enum CMouseEventResult {
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

enum CDragType { kFile = 0, kText, kUnknown = -1 };

// What was dropped on a view: a list of typed items (files or texts).
class CDragContainer {
public:
    virtual ~CDragContainer() = default;
    // The first item's data and type; null when empty.
    virtual void* first(long& size, long& type) = 0;
    virtual void* next(long& size, long& type) = 0;
    virtual long getType(long index) const = 0;
    virtual long getCount() const = 0;
};

class CView : public CBaseObject {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    // Drawing. The frame calls draw() with a clip rectangle already set; a
    // view that is drawn is then clean (setDirty(false)).
    virtual void draw(CDrawContext* context);
    virtual void setDirty(bool state = true) { dirty_ = state; }
    virtual bool isDirty() const { return dirty_.load(); }
    // Asks the frame to redraw this view at its next idle.
    void invalid() { setDirty(true); }

    // Mouse. `where` is in frame coordinates; `buttons` is CButton bits.
    virtual CMouseEventResult onMouseDown(CPoint& where, const long& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const long& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const long& buttons);
    virtual CMouseEventResult onMouseEntered(CPoint& where, const long& buttons);
    virtual CMouseEventResult onMouseExited(CPoint& where, const long& buttons);
    // distance: wheel notches, positive away from the user.
    virtual bool onWheel(const CPoint& where, const float& distance, const long& buttons);
    // Returns 1 when the key was used, 0 to pass it on, -1 when not handled.
    virtual long onKeyDown(CKeyCode& key);
    virtual long onKeyUp(CKeyCode& key);
    virtual bool onDrop(CDragContainer* drag, const CPoint& where);
    // Told when the pointer moves over the view with no button held.
    virtual void mouseOverNotify() {}
    virtual bool hitTest(const CPoint& where, const long& buttons = -1);

    void setMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
    bool getMouseEnabled() const { return mouseEnabled_; }
    void setMouseableArea(const CRect& rect) { mouseableArea_ = rect; }
    CRect& getMouseableArea(CRect& rect) const { rect = mouseableArea_; return rect; }
    const CRect& getMouseableArea() const { return mouseableArea_; }

    // Size and placement. setViewSize also moves the mouseable area and
    // redraws both the old and the new place.
    virtual void setViewSize(const CRect& rect, bool invalidate = true);
    CRect& getViewSize(CRect& rect) const { rect = size_; return rect; }
    const CRect& getViewSize() const { return size_; }
    CCoord getWidth() const { return size_.width(); }
    CCoord getHeight() const { return size_.height(); }

    void setVisible(bool state);
    bool isVisible() const { return visible_; }
    // A transparent view does not paint its rectangle first: what lies below shows.
    void setTransparency(bool state) { transparent_ = state; setDirty(true); }
    bool getTransparency() const { return transparent_; }

    // The background bitmap (remembered by the view).
    virtual void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background_; }

    // Attachment to a frame (done by CFrame::addView / removeView).
    virtual bool attached(CFrame* frame);
    virtual bool removed(CFrame* frame);
    bool isAttached() const { return frame_ != nullptr; }
    CFrame* getFrame() const { return frame_; }

protected:
    CRect size_;
    CRect mouseableArea_;
    CFrame* frame_ = nullptr;
    CBitmap* background_ = nullptr;
    bool mouseEnabled_ = true;
    bool visible_ = true;
    bool transparent_ = false;

private:
    // Written by the thread that changes a value, read by the frame's idle.
    Relaxed<bool> dirty_{true};
};

}  // namespace VSTGUI
