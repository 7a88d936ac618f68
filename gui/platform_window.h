#pragma once
// The windowing back end behind CFrame: one native child window of the host's
// window, its events, and showing the frame's back buffer in it. One back end
// exists (X11, gui/x11/); another windowing system needs only another
// implementation of PlatformWindow and of createPlatformWindow.
#include <memory>

#include "gui/cgeometry.h"

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

// The back end works in the window's pixels; the frame maps them to and from
// its layout units.

// What the back end reports, in the window's pixels.
class PlatformEventSink {
public:
    virtual ~PlatformEventSink() = default;
    virtual void platformMouseDown(const CPoint& where, long buttons) = 0;
    virtual void platformMouseUp(const CPoint& where, long buttons) = 0;
    virtual void platformMouseMoved(const CPoint& where, long buttons) = 0;
    virtual void platformMouseExited(const CPoint& where, long buttons) = 0;
    virtual void platformWheel(const CPoint& where, float distance, long buttons) = 0;
    virtual void platformKeyDown(CKeyCode& key) = 0;
    virtual void platformKeyUp(CKeyCode& key) = 0;
    virtual void platformExpose(const CRect& area) = 0;
};

class PlatformWindow {
public:
    virtual ~PlatformWindow() = default;
    // Drains the queued events without blocking and reports them to the sink.
    virtual void pollEvents(PlatformEventSink& sink) = 0;
    // Copies `area` of the back buffer (same pixels) to the window.
    virtual void present(cairo_surface_t* backBuffer, const CRect& area) = 0;
    virtual void setSize(CCoord width, CCoord height) = 0;
    virtual unsigned long getNativeHandle() const = 0;
    // The screen, in this window's coordinates: where a pop-up may lie.
    virtual CRect getScreenArea() = 0;
    // A borderless window above everything at `rect` (this window's
    // coordinates), for a pop-up list that may reach beyond this window; its
    // events come in its own coordinates. Null when not possible.
    virtual std::unique_ptr<PlatformWindow> createPopup(const CRect& rect) = 0;
    // Takes every pointer and key event of the screen, reported to this
    // window in its coordinates, until releaseInput (or the window goes), so
    // that a click anywhere reaches an open list. False when the pointer
    // cannot be taken (another program holds it).
    virtual bool grabInput() = 0;
    virtual void releaseInput() = 0;
};

// A child window of `parent` (the host's window); null if it cannot be made
// (no display), in which case the frame stays offscreen.
std::unique_ptr<PlatformWindow> createPlatformWindow(void* parent, CCoord width, CCoord height);

// The desktop's user-interface scale as the windowing system publishes it,
// checked (checkScaleFactor); 0 when there is none or no display.
double platformScaleFactor();

}  // namespace VSTGUI
