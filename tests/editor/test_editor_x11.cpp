// The editor embedded the way a host embeds it: the built plug-in loaded
// through the VST 2.4 interface, its window opened in a host window on a real
// (virtual) X display. Run through the Xvfb wrapper.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <utility>
#include <vector>

#include "support.h"
#include "tools/vsthost/plugin_host.h"

// After the test framework: Xlib's macros would clash with it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

class EditorX11 : public ::testing::Test {
protected:
    void SetUp() override {
        edtest::privateFolder();
        dpy = XOpenDisplay(nullptr);
        ASSERT_NE(dpy, nullptr) << "no X display (run through the Xvfb wrapper)";
        parent = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1000, 700, 0, 0, 0);
        XMapWindow(dpy, parent);
        XSync(dpy, False);
        std::string error;
        host = PluginHost::load(NIMBREL_PLUGIN_PATH, error);
        ASSERT_TRUE(host) << error;
        host->callbackHook = [this](int32_t opcode, int32_t index, intptr_t value, void*, float, intptr_t& result) {
            if (opcode != audioMasterSizeWindow) return false;
            sizeRequests.emplace_back(index, static_cast<int>(value));
            XResizeWindow(dpy, parent, index, static_cast<unsigned>(value));
            result = 1;
            return true;
        };
        host->start(44100.0f, 512);
    }
    void TearDown() override {
        host.reset();
        if (!dpy) return;
        XDestroyWindow(dpy, parent);
        XCloseDisplay(dpy);
    }

    // Real pointer input through the X server, in the editor window's coordinates.
    void pointerTo(Window w, int x, int y) {
        int rx = 0, ry = 0;
        Window child;
        XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), x, y, &rx, &ry, &child);
        XTestFakeMotionEvent(dpy, -1, rx, ry, 0);
        XFlush(dpy);
    }
    void click(Window w, int x, int y) {
        pointerTo(w, x, y);
        idle(3);
        XTestFakeButtonEvent(dpy, 1, True, 0);
        XFlush(dpy);
        idle(3);
        XTestFakeButtonEvent(dpy, 1, False, 0);
        XFlush(dpy);
        idle(3);
    }
    // The pixels of an area of a window, to see whether it changed.
    std::vector<unsigned long> grab(Window w, int x, int y, int width, int height) {
        XSync(dpy, False);
        XImage* image = XGetImage(dpy, w, x, y, width, height, AllPlanes, ZPixmap);
        std::vector<unsigned long> out;
        if (!image) return out;
        for (int j = 0; j < height; ++j)
            for (int i = 0; i < width; ++i) out.push_back(XGetPixel(image, i, j));
        XDestroyImage(image);
        return out;
    }

    void* parentHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent)); }

    std::vector<Window> children() {
        Window root, par, *list = nullptr;
        unsigned n = 0;
        XSync(dpy, False);
        XQueryTree(dpy, parent, &root, &par, &list, &n);
        std::vector<Window> out(list, list + n);
        if (list) XFree(list);
        return out;
    }

    void idle(int times) {
        for (int i = 0; i < times; ++i) {
            XSync(dpy, False);
            host->dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    ERect rect() {
        ERect* r = nullptr;
        EXPECT_EQ(host->dispatch(effEditGetRect, 0, 0, &r), 1);
        return r ? *r : ERect{};
    }

    Display* dpy = nullptr;
    Window parent = 0;
    std::unique_ptr<PluginHost> host;
    std::vector<std::pair<int, int>> sizeRequests;
};

}  // namespace

TEST_F(EditorX11, OpensAsAChildOfTheHostWindowWithItsSizeAndDraws) {
    ASSERT_TRUE(host->effect()->flags & effFlagsHasEditor);
    const ERect r = rect();
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.left, 0);
    EXPECT_GE(r.right, 841);
    EXPECT_GE(r.bottom, 539);
    ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
    idle(10);
    std::vector<Window> kids = children();
    ASSERT_EQ(kids.size(), 1u);
    XWindowAttributes wa;
    XGetWindowAttributes(dpy, kids[0], &wa);
    EXPECT_EQ(wa.width, r.right);
    EXPECT_EQ(wa.height, r.bottom);
    EXPECT_EQ(wa.map_state, IsViewable);
    EXPECT_TRUE(sizeRequests.empty());

    // The window shows the editor: many colours, not an empty window.
    XImage* image = XGetImage(dpy, kids[0], 0, 0, wa.width, wa.height, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    std::vector<unsigned long> seen;
    for (int y = 0; y < wa.height; y += 7)
        for (int x = 0; x < wa.width; x += 7) {
            unsigned long p = XGetPixel(image, x, y) & 0xffffff;
            if (seen.size() < 100 && std::find(seen.begin(), seen.end(), p) == seen.end()) seen.push_back(p);
        }
    XDestroyImage(image);
    EXPECT_GE(seen.size(), 100u);

    host->dispatch(effEditClose);
    EXPECT_TRUE(children().empty());
}

TEST_F(EditorX11, PointerOverAKnobWritesTheInfoLineAndAClickAutomates) {
    ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
    idle(5);
    std::vector<Window> kids = children();
    ASSERT_EQ(kids.size(), 1u);
    const Window editor = kids[0];
    XSelectInput(dpy, editor, 0);

    // The info line (68, 117 .. 263, 139) reads "Welcome!" until the pointer rests on a control.
    const std::vector<unsigned long> welcome = grab(editor, 68, 117, 195, 22);
    pointerTo(editor, 181 - 20 + 20, 279 + 8 + 20);  // the middle of the "Reverb low damp" knob
    idle(10);
    EXPECT_NE(grab(editor, 68, 117, 195, 22), welcome) << "the info line did not change";

    // A click on the Bypass switch (165, 9) turns it on and tells the host.
    host->lastAutomateIndex = -1;
    click(editor, 165 + 10, 9 + 8);
    EXPECT_EQ(host->lastAutomateIndex, param::Bypass);
    EXPECT_EQ(host->lastAutomateValue, 1.0f);
    EXPECT_EQ(host->getParameter(param::Bypass), 1.0f);
    click(editor, 165 + 10, 9 + 8);
    EXPECT_EQ(host->getParameter(param::Bypass), 0.0f);
    host->dispatch(effEditClose);
}

TEST_F(EditorX11, ManyOpenCloseCyclesLeaveNothingBehind) {
    auto cycle = [this] {
        ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
        idle(2);
        ASSERT_EQ(children().size(), 1u);
        host->dispatch(effEditClose);
        ASSERT_TRUE(children().empty());
    };
    for (int i = 0; i < 5; ++i) cycle();  // warm up caches of the libraries
    const size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 60; ++i) cycle();
    const size_t after = mallinfo2().uordblks;
    // One leaked window would keep its back buffer (about 1.9 MB) and views.
    EXPECT_LT(after, before + 256 * 1024) << "heap grew from " << before << " to " << after;
    // Idle and edits after close do nothing.
    host->dispatch(effEditIdle);
    host->setParameter(0, 0.25f);
    host->dispatch(effEditIdle);
}

TEST_F(EditorX11, CompactModeAsksTheHostToShrinkTheWindow) {
    host.reset();
    FILE* f = std::fopen(edtest::markerPath().c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    SetUp();
    const ERect r = rect();
    ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
    idle(5);
    ASSERT_EQ(sizeRequests.size(), 1u);
    EXPECT_EQ(sizeRequests[0], std::make_pair(381, 178));
    std::vector<Window> kids = children();
    ASSERT_EQ(kids.size(), 1u);
    XWindowAttributes wa;
    XGetWindowAttributes(dpy, kids[0], &wa);
    EXPECT_EQ(wa.width, 381);
    EXPECT_EQ(wa.height, 178);
    EXPECT_EQ(rect().right, r.right) << "the editor's own rectangle stays the full size";
    host->dispatch(effEditClose);
    std::remove(edtest::markerPath().c_str());
}

TEST_F(EditorX11, AutomationFromAnotherThreadWhileTheWindowIsServed) {
    ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
    std::thread audio([&] {
        for (int i = 0; i < 20000; ++i) host->setParameter(i % 63, (i % 10) / 10.0f);
    });
    idle(50);
    audio.join();
    idle(3);
    host->dispatch(effEditClose);
    EXPECT_TRUE(children().empty());
}

TEST_F(EditorX11, AParentThatIsNoWindowOpensNothingAndTheHostIsToldSo) {
    Window gone = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 10, 10, 0, 0, 0);
    XDestroyWindow(dpy, gone);
    XSync(dpy, False);
    EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(gone))), 0);
    EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, nullptr), 0);
    idle(2);
    host->dispatch(effEditClose);
    // A real parent afterwards still gets the editor.
    ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
    idle(2);
    EXPECT_EQ(children().size(), 1u);
    host->dispatch(effEditClose);
    EXPECT_TRUE(children().empty());
}

TEST_F(EditorX11, ParametersThatAreNoNumbersShowAsTheLowestPosition) {
    // The controls draw what the render path hears: not a number as 0, an
    // infinity or a huge value at an end of the range.
    ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
    std::vector<Window> kids = children();
    ASSERT_EQ(kids.size(), 1u);
    XSelectInput(dpy, kids[0], 0);
    XWindowAttributes wa;
    XGetWindowAttributes(dpy, kids[0], &wa);
    auto showing = [&](float value) {
        for (int i = 0; i < 68; ++i) host->setParameter(i, value);
        idle(5);
        return grab(kids[0], 0, 150, wa.width, wa.height - 150);  // the controls, below the info line
    };
    const std::vector<unsigned long> low = showing(0.0f);
    EXPECT_EQ(showing(NAN), low);
    EXPECT_EQ(showing(-INFINITY), low);
    EXPECT_EQ(showing(-1e30f), low);
    const std::vector<unsigned long> high = showing(1.0f);
    EXPECT_NE(high, low);
    EXPECT_EQ(showing(INFINITY), high);
    EXPECT_EQ(showing(1e30f), high);
    host->dispatch(effEditClose);
}
