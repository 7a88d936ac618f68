#pragma once
// CFrame: the root view. It holds the views flat, in drawing order (later views
// lie above earlier ones), keeps a back buffer, redraws only what is dirty,
// and, when given a host window, shows itself in a child window of it through
// a windowing back end. Without a host window it draws offscreen only; the
// onMouse*/onWheel/onKeyDown entry points drive it either way.
// The frame has a scale (see scale_factor.h): its views, its size and its
// event entry points are in layout units; its window, back buffer and
// pictures have `scale` pixels per unit, and pointer positions from the
// window are mapped back to units before they reach a view.
// Release it with forget() (or delete it outside its idle call): while idle
// serves events it holds a reference of its own, so a listener may let it go.
#include <memory>
#include <vector>

#include "gui/cview.h"

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CControl;
class PlatformWindow;

// The knob mode a frame reports when it has no editor: linear.
const long kLinearModeValue = 2;

// What the frame needs from the editor that owns it.
class VSTGUIEditorInterface {
public:
    virtual ~VSTGUIEditorInterface() = default;
    virtual void doIdleStuff() {}
    // 0 circular, 1 relative circular, 2 linear (see CKnob).
    virtual long getKnobMode() const { return 2; }
    // A control's tag was grabbed / released by the user.
    virtual void beginEdit(long /*index*/) {}
    virtual void endEdit(long /*index*/) {}
    virtual CFrame* getFrame() { return nullptr; }
};

class CFrame : public CView {
public:
    // systemWindow: the host's parent window (an X11 Window id) or null for an
    // offscreen frame. editor may be null. The window opens at `scale`.
    CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor, double scale = 1.0);
    ~CFrame() override;  // releases every view still attached

    bool isOpen() const;  // a native window exists
    void* getSystemWindow() const { return systemWindow_; }
    // The native child window's id (0 when offscreen).
    unsigned long getNativeWindow() const;

    // Serves the native window: drains queued events without blocking,
    // dispatches them, then redraws what is dirty.
    void idle();
    // Redraws dirty views and invalidated areas into the back buffer and
    // shows them; returns the number of views drawn.
    int updateDirty();

    // Resizes the frame (in units) and its native window.
    bool setSize(CCoord width, CCoord height);
    bool getSize(CRect& rect) const { rect = size_; return true; }

    // Pixels per layout unit (1 unless set), kept within 1..4. Setting it
    // resizes the native window and redraws everything at the new scale; a
    // factor checkScaleFactor refuses (0, NaN, ...) is ignored (false).
    bool setScaleFactor(double scale);
    double getScaleFactor() const { return scale_; }
    // The frame's size in its window's pixels: what a host sizes its window to.
    CRect getPixelSize() const;
    void setViewSize(const CRect& rect, bool invalidate = true) override;

    // Views. addView takes over the caller's reference; removeView with
    // withForget releases it.
    bool addView(CView* view);
    bool removeView(CView* view, bool withForget = true);
    bool removeAll(bool withForget = true);
    bool isChild(CView* view) const;
    long getNbViews() const { return static_cast<long>(views_.size()); }
    CView* getView(long index) const;

    // A modal view gets every mouse event and is drawn above all; null ends it.
    // Fails (false) when another modal view is already set. A modal view that
    // does not fit in a native frame window gets a pop-up window of its own.
    // With grabInput, the native window takes every pointer and key event of
    // the screen while the view is modal (see PlatformWindow::grabInput), so
    // that clicks outside our windows and keys reach it.
    bool setModalView(CView* view, bool grabInput = false);
    CView* getModalView() const { return modalView_; }
    // Where a pop-up list may lie, in frame coordinates: the screen around a
    // native window, else the frame itself.
    CRect getPopupArea();
    // The modal view's own pop-up window (0 when it has none).
    unsigned long getPopupWindow() const;
    // Whether the native window holds the screen's input for the modal view.
    bool hasInputGrab() const { return inputGrabbed_; }

    // Marks an area for redrawing at the next idle.
    void invalidate(const CRect& rect);
    void invalid() { invalidate(size_); }
    void setDirty(bool state = true) override;
    bool isDirty() const override;

    void draw(CDrawContext* context) override;
    // Draws the whole frame into a new ARGB image surface (the caller destroys
    // it with cairo_surface_destroy) or into a PNG file; no display is needed.
    cairo_surface_t* renderToSurface();
    bool saveAsPng(const char* path);

    // Event entry points, in frame coordinates. They route to the modal view,
    // to the view that took the mouse down, or to the topmost enabled view
    // under the pointer; hovering with no button tells the view (mouseOverNotify).
    CMouseEventResult onMouseDown(CPoint& where, const long& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const long& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const long& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const long& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const long& buttons) override;
    long onKeyDown(CKeyCode& key) override;
    long onKeyUp(CKeyCode& key) override;
    // The topmost visible, mouse-enabled view at `where` (null if none).
    CView* getViewAt(const CPoint& where) const;
    CView* getMouseDownView() const { return mouseDownView_; }
    CView* getHoverView() const { return hoverView_; }

    VSTGUIEditorInterface* getEditor() const { return editor_; }
    long getKnobMode() const { return editor_ ? editor_->getKnobMode() : kLinearModeValue; }
    void beginEdit(long index) { if (editor_) editor_->beginEdit(index); }
    void endEdit(long index) { if (editor_) editor_->endEdit(index); }

    // The frame's background: drawn first at the frame's top-left.
    void setBackground(CBitmap* bitmap) override;

    // Counts of work done, for tests: views drawn by the last updateDirty.
    int getLastDrawCount() const { return lastDrawCount_; }

private:
    friend class WindowEventSink;
    void openPopupWindow(CView* view);
    void closePopupWindow();
    void releaseInputGrab();
    // The back buffer's pixels of an area of units, within the frame.
    CRect pixelArea(const CRect& area) const;
    void drawArea(CDrawContext* context, const CRect& area, int* drawCount);
    void forgetView(CView* view);
    bool ensureBackBuffer();

    void* systemWindow_;
    VSTGUIEditorInterface* editor_;
    double scale_;
    std::vector<CView*> views_;
    CView* modalView_ = nullptr;
    CView* mouseDownView_ = nullptr;
    CView* hoverView_ = nullptr;
    std::vector<CRect> invalidAreas_;
    cairo_surface_t* backBuffer_ = nullptr;
    std::unique_ptr<PlatformWindow> window_;
    std::unique_ptr<class WindowEventSink> sink_;
    // The modal view's pop-up window, its own back buffer and event sink.
    std::unique_ptr<PlatformWindow> popupWindow_;
    cairo_surface_t* popupBuffer_ = nullptr;
    CRect popupRect_;
    std::unique_ptr<class WindowEventSink> popupSink_;
    std::unique_ptr<PlatformWindow> retiredPopupWindow_;
    std::unique_ptr<class WindowEventSink> retiredPopupSink_;
    int lastDrawCount_ = 0;
    bool inIdle_ = false;
    bool inputGrabbed_ = false;
};

}  // namespace VSTGUI
