// What a user sees and does on the X display a host's window is on, for the
// real-host checks: find the editor's window inside the host's, compare its
// pixels with the skin, and drag a control with the pointer (XTest).
//
//   lv2_x11_probe window SKIN_PNG TIMEOUT_SECONDS
//       waits for a window with no children and the skin's size inside a
//       top-level window; prints its id
//   lv2_x11_probe skin WINDOW SKIN_PNG
//       prints the share (0..1) of the window's pixels equal to the skin's
//   lv2_x11_probe drag WINDOW TAG KNOB_PNG DY
//       presses on the knob of parameter TAG, moves DY pixels down (up when
//       negative) in small steps, releases
#include <cairo.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "editor/control_table.h"
#include "editor/layout.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

struct Png {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB
};

bool loadPng(const char* path, Png& out) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return false;
    }
    cairo_surface_flush(s);
    out.width = cairo_image_surface_get_width(s);
    out.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    out.rgb.resize(static_cast<size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.rgb[static_cast<size_t>(y) * out.width + x] =
                reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride)[x] & 0xffffff;
    cairo_surface_destroy(s);
    return true;
}

// The first window without children of exactly this size, depth first.
Window findLeaf(Display* dpy, Window w, int width, int height) {
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(dpy, w, &root, &parent, &children, &n)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < n && !found; ++i) found = findLeaf(dpy, children[i], width, height);
    if (children) XFree(children);
    if (found || n > 0) return found;
    XWindowAttributes a;
    if (XGetWindowAttributes(dpy, w, &a) && a.width == width && a.height == height && a.map_state == IsViewable)
        return w;
    return 0;
}

int quietErrors(Display*, XErrorEvent*) { return 0; }

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int window(Display* dpy, const char* skinPath, double timeout) {
    Png skin;
    if (!loadPng(skinPath, skin)) {
        std::fprintf(stderr, "cannot read %s\n", skinPath);
        return 2;
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(timeout * 1000));
    while (std::chrono::steady_clock::now() < until) {
        Window root, parent, *tops = nullptr;
        unsigned int n = 0;
        XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &tops, &n);
        Window found = 0;
        // Inside a top-level window, not a top-level window itself.
        for (unsigned int i = 0; i < n && !found; ++i) {
            Window r, p, *c = nullptr;
            unsigned int m = 0;
            if (XQueryTree(dpy, tops[i], &r, &p, &c, &m)) {
                for (unsigned int j = 0; j < m && !found; ++j) found = findLeaf(dpy, c[j], skin.width, skin.height);
                if (c) XFree(c);
            }
        }
        if (tops) XFree(tops);
        if (found) {
            std::printf("0x%lx\n", found);
            return 0;
        }
        sleepMs(100);
    }
    std::fprintf(stderr, "no %dx%d window appeared within %g s\n", skin.width, skin.height, timeout);
    return 1;
}

int skinShare(Display* dpy, Window w, const char* skinPath) {
    Png skin;
    if (!loadPng(skinPath, skin)) return 2;
    XImage* image = XGetImage(dpy, w, 0, 0, static_cast<unsigned>(skin.width), static_cast<unsigned>(skin.height),
                              AllPlanes, ZPixmap);
    if (!image) {
        std::fprintf(stderr, "cannot read the window's pixels\n");
        return 1;
    }
    size_t same = 0;
    for (int y = 0; y < skin.height; ++y)
        for (int x = 0; x < skin.width; ++x)
            same += (XGetPixel(image, x, y) & 0xffffff) == skin.rgb[static_cast<size_t>(y) * skin.width + x];
    XDestroyImage(image);
    std::printf("%.4f\n", static_cast<double>(same) / (static_cast<double>(skin.width) * skin.height));
    return 0;
}

int drag(Display* dpy, Window w, long tag, const char* knobPath, int dy) {
    Png knob;
    if (!loadPng(knobPath, knob)) return 2;
    const ControlRecord* record = nullptr;
    for (int i = 0; i < kNumControlRecords; ++i)
        if (controlTabs[i].tag == tag && controlTabs[i].kind == kKindKnob) record = &controlTabs[i];
    if (!record) {
        std::fprintf(stderr, "no knob for tag %ld\n", tag);
        return 2;
    }
    const LayoutRect r = layout::knobRect(*record, knob.width, knob.height);
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), static_cast<int>((r.left + r.right) / 2),
                          static_cast<int>((r.top + r.bottom) / 2), &x, &y, &child);
    XTestFakeMotionEvent(dpy, -1, x, y, 0);
    XFlush(dpy);
    sleepMs(100);
    XTestFakeButtonEvent(dpy, 1, True, 0);
    XFlush(dpy);
    sleepMs(100);
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        XTestFakeMotionEvent(dpy, -1, x, y + dy * i / steps, 0);
        XFlush(dpy);
        sleepMs(30);
    }
    sleepMs(100);
    XTestFakeButtonEvent(dpy, 1, False, 0);
    XSync(dpy, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    // Windows of other programs may go while we look at them.
    XSetErrorHandler(quietErrors);
    int status = 2;
    if (command == "window" && argc == 4)
        status = window(dpy, argv[2], std::atof(argv[3]));
    else if (command == "skin" && argc == 4)
        status = skinShare(dpy, std::strtoul(argv[2], nullptr, 0), argv[3]);
    else if (command == "drag" && argc == 6)
        status = drag(dpy, std::strtoul(argv[2], nullptr, 0), std::atol(argv[3]), argv[4], std::atoi(argv[5]));
    else
        std::fprintf(stderr, "usage: see the comment at the top of x11_probe.cpp\n");
    XCloseDisplay(dpy);
    return status;
}
