// The X11 back end: a child window of the host's window on a display
// connection of our own, served without blocking from the frame's idle.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo-xlib.h>
#include <cairo.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "gui/platform_window.h"

namespace VSTGUI {
namespace {

long modifiers(unsigned int state) {
    long buttons = 0;
    if (state & ShiftMask) buttons |= kShift;
    if (state & ControlMask) buttons |= kControl;
    if (state & Mod1Mask) buttons |= kAlt;
    return buttons;
}

long heldButtons(unsigned int state) {
    long buttons = modifiers(state);
    if (state & Button1Mask) buttons |= kLButton;
    if (state & Button2Mask) buttons |= kMButton;
    if (state & Button3Mask) buttons |= kRButton;
    return buttons;
}

long buttonBit(unsigned int button) {
    switch (button) {
        case Button1: return kLButton;
        case Button2: return kMButton;
        case Button3: return kRButton;
        default: return 0;
    }
}

unsigned char virtualKey(KeySym sym) {
    switch (sym) {
        case XK_BackSpace: return VKEY_BACK;
        case XK_Tab: return VKEY_TAB;
        case XK_Return: return VKEY_RETURN;
        case XK_Escape: return VKEY_ESCAPE;
        case XK_space: return VKEY_SPACE;
        case XK_End: return VKEY_END;
        case XK_Home: return VKEY_HOME;
        case XK_Left: return VKEY_LEFT;
        case XK_Up: return VKEY_UP;
        case XK_Right: return VKEY_RIGHT;
        case XK_Down: return VKEY_DOWN;
        case XK_Page_Up: return VKEY_PAGEUP;
        case XK_Page_Down: return VKEY_PAGEDOWN;
        case XK_KP_Enter: return VKEY_ENTER;
        default: return 0;
    }
}

// Xlib's default error handler ends the process. A host may destroy its
// window, and with it ours, before it closes the editor; errors on our own
// connections are therefore caught here and only noted. Errors on the host's
// connections go on to the handler that was there before.
class ErrorTrap {
public:
    static void add(Display* display) {
        if (entries().empty()) previous() = XSetErrorHandler(handler);
        entries().push_back({display, false});
    }
    static void remove(Display* display) {
        auto& e = entries();
        e.erase(std::remove_if(e.begin(), e.end(), [display](const Entry& x) { return x.display == display; }), e.end());
        if (e.empty()) {
            // Put the old handler back, unless someone replaced ours meanwhile.
            XErrorHandler current = XSetErrorHandler(previous());
            if (current != handler) XSetErrorHandler(current);
        }
    }
    // Whether an error arrived on the connection since the last call.
    static bool takeError(Display* display) {
        for (Entry& x : entries())
            if (x.display == display) {
                const bool failed = x.failed;
                x.failed = false;
                return failed;
            }
        return false;
    }

private:
    struct Entry {
        Display* display;
        bool failed;
    };
    static std::vector<Entry>& entries() {
        static std::vector<Entry> list;
        return list;
    }
    static XErrorHandler& previous() {
        static XErrorHandler h = nullptr;
        return h;
    }
    static int handler(Display* display, XErrorEvent* event) {
        for (Entry& x : entries())
            if (x.display == display) {
                x.failed = true;
                return 0;
            }
        return previous() ? previous()(display, event) : 0;
    }
};

class X11Window : public PlatformWindow {
public:
    // A child of `parent` at (x, y); a pop-up is a borderless top-level window
    // that the window manager leaves alone (override-redirect).
    X11Window(Display* display, Window parent, CCoord x, CCoord y, CCoord width, CCoord height, bool popup)
        : display_(display) {
        XSetWindowAttributes attrs = {};
        attrs.override_redirect = popup ? True : False;
        // No key events: keys typed over our window go on to the host's, so
        // that its shortcuts keep working. An open list takes them by a grab.
        attrs.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                           LeaveWindowMask | StructureNotifyMask;
        attrs.background_pixmap = None;  // no flashing: we paint every pixel
        attrs.bit_gravity = NorthWestGravity;
        window_ = XCreateWindow(display_, parent, static_cast<int>(x), static_cast<int>(y), static_cast<unsigned>(width),
                                static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                CWEventMask | CWBackPixmap | CWBitGravity | CWOverrideRedirect, &attrs);
        XWindowAttributes wa = {};
        const bool made = XGetWindowAttributes(display_, window_, &wa) != 0 && wa.visual;
        gc_ = XCreateGC(display_, window_, 0, nullptr);
        // The back buffer's pixels (32-bit xRGB) are the window's own format on
        // a 24-bit true-colour visual: they go up as they are. Other visuals
        // go through cairo's conversion.
        directPixels_ = made && wa.depth == 24 && wa.visual->c_class == TrueColor && wa.visual->red_mask == 0xff0000 &&
                        wa.visual->green_mask == 0xff00 && wa.visual->blue_mask == 0xff;
        if (made && !directPixels_)
            surface_ = cairo_xlib_surface_create(display_, window_, wa.visual, static_cast<int>(width), static_cast<int>(height));
        XMapRaised(display_, window_);
        XFlush(display_);
    }

    ~X11Window() override {
        releaseInput();
        if (surface_) {
            cairo_surface_finish(surface_);
            cairo_surface_destroy(surface_);
        }
        XFreeGC(display_, gc_);
        XDestroyWindow(display_, window_);  // may be gone with the host's window: trapped
        XSync(display_, False);
        XCloseDisplay(display_);
        ErrorTrap::remove(display_);
    }

    // Whether the window could be made (the parent window exists).
    bool valid() {
        XSync(display_, False);
        return !ErrorTrap::takeError(display_);
    }

    void pollEvents(PlatformEventSink& sink) override {
        // XPending reads what has arrived and never waits for more.
        while (XPending(display_) > 0) {
            XEvent e;
            XNextEvent(display_, &e);
            if (e.xany.window != window_) continue;
            switch (e.type) {
                case ButtonPress: {
                    const CPoint where(e.xbutton.x, e.xbutton.y);
                    if (e.xbutton.button == Button4 || e.xbutton.button == Button5)
                        sink.platformWheel(where, e.xbutton.button == Button4 ? 1.f : -1.f, modifiers(e.xbutton.state));
                    else if (long b = buttonBit(e.xbutton.button))
                        sink.platformMouseDown(where, b | modifiers(e.xbutton.state));
                    break;
                }
                case ButtonRelease:
                    if (long b = buttonBit(e.xbutton.button))
                        sink.platformMouseUp(CPoint(e.xbutton.x, e.xbutton.y), b | modifiers(e.xbutton.state));
                    break;
                case MotionNotify: {
                    // Only the latest of a run of moves matters.
                    while (XPending(display_) > 0) {
                        XEvent next;
                        XPeekEvent(display_, &next);
                        if (next.type != MotionNotify || next.xany.window != window_) break;
                        XNextEvent(display_, &e);
                    }
                    sink.platformMouseMoved(CPoint(e.xmotion.x, e.xmotion.y), heldButtons(e.xmotion.state));
                    break;
                }
                case LeaveNotify:
                    sink.platformMouseExited(CPoint(e.xcrossing.x, e.xcrossing.y), heldButtons(e.xcrossing.state));
                    break;
                case EnterNotify:
                    sink.platformMouseMoved(CPoint(e.xcrossing.x, e.xcrossing.y), heldButtons(e.xcrossing.state));
                    break;
                case Expose:
                    sink.platformExpose(CRect(e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                                              e.xexpose.y + e.xexpose.height));
                    break;
                case KeyPress:
                case KeyRelease: {
                    char text[8] = {};
                    KeySym sym = 0;
                    const int n = XLookupString(&e.xkey, text, sizeof text - 1, &sym, nullptr);
                    CKeyCode key;
                    key.virt = virtualKey(sym);
                    key.character = (n == 1 && key.virt == 0) ? static_cast<unsigned char>(text[0]) : 0;
                    key.modifier = static_cast<unsigned char>(modifiers(e.xkey.state) >> 3);
                    if (e.type == KeyPress) sink.platformKeyDown(key);
                    else sink.platformKeyUp(key);
                    break;
                }
                default:
                    break;
            }
        }
    }

    void present(cairo_surface_t* backBuffer, const CRect& area) override {
        if (area.isEmpty()) return;
        if (directPixels_) {
            putPixels(backBuffer, area);
            return;
        }
        if (!surface_) return;
        cairo_t* cr = cairo_create(surface_);
        cairo_rectangle(cr, double(area.left), double(area.top), double(area.width()), double(area.height()));
        cairo_clip(cr);
        cairo_set_source_surface(cr, backBuffer, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(surface_);
        XFlush(display_);
    }

    void setSize(CCoord width, CCoord height) override {
        XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (surface_) cairo_xlib_surface_set_size(surface_, static_cast<int>(width), static_cast<int>(height));
        XFlush(display_);
    }

    unsigned long getNativeHandle() const override { return window_; }

    CRect getScreenArea() override {
        int rootX = 0, rootY = 0;
        Window child;
        const int screen = DefaultScreen(display_);
        XTranslateCoordinates(display_, window_, RootWindow(display_, screen), 0, 0, &rootX, &rootY, &child);
        return CRect(-rootX, -rootY, DisplayWidth(display_, screen) - rootX, DisplayHeight(display_, screen) - rootY);
    }

    std::unique_ptr<PlatformWindow> createPopup(const CRect& rect) override {
        if (rect.isEmpty()) return nullptr;
        // A connection of its own, so that its events queue apart from ours.
        Display* display = XOpenDisplay(DisplayString(display_));
        if (!display) return nullptr;
        ErrorTrap::add(display);
        int rootX = 0, rootY = 0;
        Window child;
        const Window root = DefaultRootWindow(display_);
        XTranslateCoordinates(display_, window_, root, 0, 0, &rootX, &rootY, &child);
        return std::unique_ptr<PlatformWindow>(new X11Window(display, DefaultRootWindow(display), rootX + rect.left,
                                                             rootY + rect.top, rect.width(), rect.height(), true));
    }

    bool grabInput() override {
        // Not given to our own windows first (owner_events False): every
        // event comes to this window, in its coordinates, wherever it happens.
        pointerGrabbed_ = XGrabPointer(display_, window_, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                       GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
        if (pointerGrabbed_)
            keyboardGrabbed_ = XGrabKeyboard(display_, window_, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
        XFlush(display_);
        return pointerGrabbed_;
    }

    void releaseInput() override {
        if (pointerGrabbed_) XUngrabPointer(display_, CurrentTime);
        if (keyboardGrabbed_) XUngrabKeyboard(display_, CurrentTime);
        // Done by the server when this returns: the host may grab at once.
        if (pointerGrabbed_ || keyboardGrabbed_) XSync(display_, False);
        pointerGrabbed_ = keyboardGrabbed_ = false;
    }

private:
    // Sends the area of the back buffer to the window with a plain image
    // request, over the connection, without shared memory.
    void putPixels(cairo_surface_t* backBuffer, const CRect& area) {
        cairo_surface_flush(backBuffer);
        const int w = cairo_image_surface_get_width(backBuffer);
        const int h = cairo_image_surface_get_height(backBuffer);
        CRect r = area;
        r.bound(CRect(0, 0, w, h));
        if (r.isEmpty()) return;
        XImage image = {};
        image.width = w;
        image.height = h;
        image.format = ZPixmap;
        image.data = reinterpret_cast<char*>(cairo_image_surface_get_data(backBuffer));
        // Cairo's pixels are 32-bit words in the machine's byte order.
        const uint32_t probe = 1;
        const int order = *reinterpret_cast<const unsigned char*>(&probe) == 1 ? LSBFirst : MSBFirst;
        image.byte_order = order;
        image.bitmap_unit = 32;
        image.bitmap_bit_order = order;
        image.bitmap_pad = 32;
        image.depth = 24;
        image.bytes_per_line = cairo_image_surface_get_stride(backBuffer);
        image.bits_per_pixel = 32;
        image.red_mask = 0xff0000;
        image.green_mask = 0xff00;
        image.blue_mask = 0xff;
        if (!XInitImage(&image)) return;
        XPutImage(display_, window_, gc_, &image, static_cast<int>(r.left), static_cast<int>(r.top),
                  static_cast<int>(r.left), static_cast<int>(r.top), static_cast<unsigned>(r.width()),
                  static_cast<unsigned>(r.height()));
        XFlush(display_);
    }

    Display* display_;
    Window window_ = 0;
    GC gc_ = nullptr;
    bool directPixels_ = false;
    bool pointerGrabbed_ = false, keyboardGrabbed_ = false;
    cairo_surface_t* surface_ = nullptr;
};

}  // namespace

std::unique_ptr<PlatformWindow> createPlatformWindow(void* parent, CCoord width, CCoord height) {
    if (!parent || width <= 0 || height <= 0) return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "editor window not opened: no X display\n");
        return nullptr;
    }
    ErrorTrap::add(display);
    const Window parentWindow = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
    std::unique_ptr<X11Window> window(new X11Window(display, parentWindow, 0, 0, width, height, false));
    if (!window->valid()) {
        std::fprintf(stderr, "editor window not opened: the host window is not valid\n");
        return nullptr;
    }
    return window;
}

}  // namespace VSTGUI
