// The frame embedded in a host-like parent window on a real (virtual) X
// display: size, events from the X server reaching controls, drawing reaching
// the window, resizing, and many open/close cycles. Run through xvfb_run.sh.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "gui/platform_window.h"
#include "gui/scale_factor.h"
#include "support.h"

// After the test framework: Xlib's macros (None, Bool, ...) would clash with it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using namespace guitest;

namespace {

::testing::Environment* const gCachesReset = ::testing::AddGlobalTestEnvironment(new LibraryCachesReset);

class X11Test : public ::testing::Test {
protected:
    void SetUp() override {
        dpy = XOpenDisplay(nullptr);
        ASSERT_NE(dpy, nullptr) << "no X display (run through xvfb_run.sh)";
        int ev, err, major, minor;
        ASSERT_TRUE(XTestQueryExtension(dpy, &ev, &err, &major, &minor));
        // The host's window, as a host makes it for the editor.
        parent = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 900, 600, 0, 0, 0);
        XMapWindow(dpy, parent);
        XSync(dpy, False);
        Window child;
        XTranslateCoordinates(dpy, parent, DefaultRootWindow(dpy), 0, 0, &originX, &originY, &child);
    }
    void TearDown() override {
        if (!dpy) return;
        XDestroyWindow(dpy, parent);
        XCloseDisplay(dpy);
    }

    // Calls the frame's idle, as a host's idle timer does, until `done` or a timeout.
    bool serve(CFrame* frame, const std::function<bool()>& done, int ms = 3000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            XSync(dpy, False);
            frame->idle();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    void pointerTo(int x, int y) {
        XTestFakeMotionEvent(dpy, -1, originX + x, originY + y, 0);
        XFlush(dpy);
    }
    // Pointer positions in units of a frame at `scale`: the pixel where the unit starts.
    void pointerToUnits(CCoord x, CCoord y, double scale) {
        pointerTo(static_cast<int>(toPixels(x, scale)), static_cast<int>(toPixels(y, scale)));
    }
    void pointerToScreen(int x, int y) {
        XTestFakeMotionEvent(dpy, -1, x, y, 0);
        XFlush(dpy);
    }
    void button(unsigned b, bool press) {
        XTestFakeButtonEvent(dpy, b, press ? True : False, 0);
        XFlush(dpy);
    }
    void clickButton() {
        button(1, true);
        button(1, false);
    }
    void key(KeySym sym) {
        const KeyCode code = XKeysymToKeycode(dpy, sym);
        XTestFakeKeyEvent(dpy, code, True, 0);
        XTestFakeKeyEvent(dpy, code, False, 0);
        XFlush(dpy);
    }
    // A menu of the given entries at (10, 10) in the frame, its list opened by a click.
    COptionMenu* openMenu(CFrame* frame, const std::vector<std::string>& entries, long style = 0) {
        COptionMenu* menu = new COptionMenu(CRect(10, 10, 110, 30), &listener, 100, nullptr, nullptr, style);
        menu->setNbItemsPerColumn(30);
        for (const std::string& e : entries) menu->addEntry(e.c_str());
        frame->addView(menu);
        serve(frame, [] { return false; }, 30);
        pointerToUnits(50, 20, frame->getScaleFactor());
        clickButton();
        EXPECT_TRUE(serve(frame, [&] { return menu->isPopupOpen(); }));
        return menu;
    }
    static std::vector<std::string> numbered(int n) {
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i) out.push_back("Entry " + std::to_string(i));
        return out;
    }
    // Whether another program could take the pointer now (nobody holds it).
    bool pointerFree() {
        const bool free = XGrabPointer(dpy, parent, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None,
                                       CurrentTime) == GrabSuccess;
        if (free) XUngrabPointer(dpy, CurrentTime);
        XSync(dpy, False);
        return free;
    }
    XWindowAttributes attributes(Window w) {
        XWindowAttributes wa;
        XSync(dpy, False);
        XGetWindowAttributes(dpy, w, &wa);
        return wa;
    }
    unsigned long pixel(Window w, int x, int y) {
        XSync(dpy, False);
        XImage* img = XGetImage(dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!img) return 0xdeadbeef;
        const unsigned long p = XGetPixel(img, 0, 0) & 0xffffff;
        XDestroyImage(img);
        return p;
    }
    unsigned childCount() {
        Window root, par, *children = nullptr;
        unsigned n = 0;
        XSync(dpy, False);
        XQueryTree(dpy, parent, &root, &par, &children, &n);
        if (children) XFree(children);
        return n;
    }

    Display* dpy = nullptr;
    Window parent = 0;
    int originX = 0, originY = 0;
    RecordingListener listener;
};

TEST_F(X11Test, FrameIsAChildOfTheHostWindowWithItsSizeAndDrawsIntoIt) {
    CFrame* frame = new CFrame(CRect(0, 0, 400, 300), reinterpret_cast<void*>(parent), nullptr);
    ASSERT_TRUE(frame->isOpen());
    const Window w = frame->getNativeWindow();
    ASSERT_NE(w, 0u);
    Window root, par, *children = nullptr;
    unsigned n = 0;
    XSync(dpy, False);
    ASSERT_TRUE(XQueryTree(dpy, w, &root, &par, &children, &n));
    if (children) XFree(children);
    EXPECT_EQ(par, parent);
    const XWindowAttributes wa = attributes(w);
    EXPECT_EQ(wa.width, 400);
    EXPECT_EQ(wa.height, 300);
    EXPECT_EQ(wa.map_state, IsViewable);

    CBitmap* bg = solidBitmap(400, 300, kRedCColor);
    frame->setBackground(bg);
    bg->forget();
    CBitmap* green = solidBitmap(20, 20, kGreenCColor);
    frame->addView(new CAnimKnob(CRect(100, 100, 120, 120), nullptr, 0, 1, 20, green));
    green->forget();
    EXPECT_TRUE(serve(frame, [&] { return pixel(w, 5, 5) == 0xff0000 && pixel(w, 110, 110) == 0x00ff00; }));

    // Resize: the child window follows.
    frame->setSize(200, 100);
    EXPECT_TRUE(serve(frame, [&] {
        const XWindowAttributes a = attributes(w);
        return a.width == 200 && a.height == 100;
    }));
    frame->forget();
    EXPECT_EQ(childCount(), 0u);
}

TEST_F(X11Test, PointerEventsFromTheServerReachControls) {
    CFrame* frame = new CFrame(CRect(0, 0, 400, 300), reinterpret_cast<void*>(parent), nullptr);
    COnOffButton* onOff = new COnOffButton(CRect(50, 50, 80, 80), &listener, 3, nullptr);
    CKickButton* kick = new CKickButton(CRect(150, 50, 180, 80), &listener, 110, nullptr);
    CKnob* knob = new CKnob(CRect(250, 50, 290, 90), &listener, 7);
    frame->addView(onOff);
    frame->addView(kick);
    frame->addView(knob);
    serve(frame, [] { return false; }, 50);

    // Hover, then click the on/off button.
    pointerTo(60, 60);
    EXPECT_TRUE(serve(frame, [&] { return listener.count("hover") > 0; }));
    EXPECT_EQ(listener.events.back().tag, 3);
    button(1, true);
    button(1, false);
    EXPECT_TRUE(serve(frame, [&] { return listener.count("end") == 1; }));
    EXPECT_FLOAT_EQ(onOff->getValue(), 1.f);

    // Kick button pressed, dragged off and released: only the 0.
    listener.events.clear();
    pointerTo(160, 60);
    button(1, true);
    EXPECT_TRUE(serve(frame, [&] { return listener.count("begin") == 1; }));
    pointerTo(350, 250);
    serve(frame, [&] { return kick->getValue() == 0.f; });
    button(1, false);
    EXPECT_TRUE(serve(frame, [&] { return listener.count("end") == 1; }));
    EXPECT_EQ(listener.values(), (std::vector<float>{0.f}));

    // A knob dragged 40 px up, then a wheel notch.
    knob->setValue(0.5f);
    pointerTo(270, 70);
    button(1, true);
    pointerTo(270, 30);
    EXPECT_TRUE(serve(frame, [&] { return knob->getValue() > 0.69f; }));
    button(1, false);
    serve(frame, [&] { return !knob->isEditing(); });
    EXPECT_NEAR(knob->getValue(), 0.7f, 1e-5f);
    pointerTo(270, 70);  // back over the knob for the wheel
    button(4, true);
    button(4, false);
    EXPECT_TRUE(serve(frame, [&] { return knob->getValue() > 0.79f; }));
    EXPECT_NEAR(knob->getValue(), 0.8f, 1e-5f);
    frame->forget();
}

TEST_F(X11Test, OptionMenuListWorksInsideTheHostWindow) {
    CFrame* frame = new CFrame(CRect(0, 0, 600, 400), reinterpret_cast<void*>(parent), nullptr);
    COptionMenu* menu = new COptionMenu(CRect(10, 10, 110, 30), &listener, 104);
    for (const char* t : {"Load preset", "Load bank", "_", "Save preset"}) menu->addEntry(t);
    frame->addView(menu);
    serve(frame, [] { return false; }, 50);
    pointerTo(50, 20);
    button(1, true);
    button(1, false);
    ASSERT_TRUE(serve(frame, [&] { return menu->isPopupOpen(); }));
    const CRect r = menu->getItemRect(3);
    pointerTo(static_cast<int>(r.left + 5), static_cast<int>(r.top + 5));
    button(1, true);
    button(1, false);
    ASSERT_TRUE(serve(frame, [&] { return !listener.values().empty(); }));
    EXPECT_EQ(listener.values(), (std::vector<float>{3.f}));
    frame->forget();
}

TEST_F(X11Test, ListTallerThanTheWindowGetsAWindowOfItsOwn) {
    // A compact window: the list of 40 entries in columns of 30 cannot fit.
    CFrame* frame = new CFrame(CRect(0, 0, 200, 100), reinterpret_cast<void*>(parent), nullptr);
    COptionMenu* menu = new COptionMenu(CRect(10, 10, 110, 30), &listener, 100, nullptr, nullptr, kCheckStyle);
    menu->setNbItemsPerColumn(30);
    for (int i = 0; i < 40; ++i) menu->addEntry(("Program " + std::to_string(i)).c_str());
    frame->addView(menu);
    serve(frame, [] { return false; }, 50);
    pointerTo(50, 20);
    button(1, true);
    button(1, false);
    ASSERT_TRUE(serve(frame, [&] { return menu->isPopupOpen(); }));
    const Window popup = frame->getPopupWindow();
    ASSERT_NE(popup, 0u);
    const XWindowAttributes wa = attributes(popup);
    EXPECT_EQ(wa.height, 30 * COptionMenu::kItemHeight);
    EXPECT_EQ(wa.map_state, IsViewable);
    EXPECT_TRUE(wa.override_redirect);

    // Entry 35 lies outside the frame's window; a click there chooses it.
    const CRect r = menu->getItemRect(35);
    EXPECT_GT(r.bottom, 100);
    pointerTo(static_cast<int>(r.left + 5), static_cast<int>(r.top + 5));
    serve(frame, [] { return false; }, 30);
    button(1, true);
    button(1, false);
    ASSERT_TRUE(serve(frame, [&] { return !listener.values().empty(); }));
    EXPECT_EQ(listener.values(), (std::vector<float>{35.f}));
    EXPECT_EQ(frame->getPopupWindow(), 0u);

    // Closing the window with the list open takes the list along.
    pointerTo(50, 20);
    button(1, true);
    button(1, false);
    ASSERT_TRUE(serve(frame, [&] { return frame->getPopupWindow() != 0; }));
    frame->forget();
    Window root, par, *children = nullptr;
    unsigned n = 0;
    XSync(dpy, False);
    XQueryTree(dpy, DefaultRootWindow(dpy), &root, &par, &children, &n);
    bool stillThere = false;
    for (unsigned i = 0; i < n; ++i) stillThere |= children[i] == popup;
    if (children) XFree(children);
    EXPECT_FALSE(stillThere);
}

TEST_F(X11Test, HostWindowGoneBeforeCloseOrNeverValidIsSurvived) {
    CFrame* frame = new CFrame(CRect(0, 0, 300, 200), reinterpret_cast<void*>(parent), nullptr);
    frame->addView(new CKnob(CRect(0, 0, 40, 40), &listener, 1));
    serve(frame, [] { return false; }, 30);
    // The host destroys its window (and so ours) first, then goes on idling and closes.
    XDestroyWindow(dpy, parent);
    XSync(dpy, False);
    parent = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 900, 600, 0, 0, 0);
    frame->invalid();
    serve(frame, [] { return false; }, 30);
    frame->forget();

    // A window id that does not exist: the frame stays offscreen.
    ::testing::internal::CaptureStderr();
    CFrame* orphan = new CFrame(CRect(0, 0, 100, 100), reinterpret_cast<void*>(uintptr_t(0x7ffffff)), nullptr);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(orphan->isOpen());
    EXPECT_NE(err.find("not valid"), std::string::npos);
    orphan->idle();
    orphan->forget();
}

TEST_F(X11Test, ManyOpenCloseCyclesLeaveNothingBehind) {
    CBitmap* bg = solidBitmap(300, 200, kBlueCColor);
    CBitmap* strip = solidBitmap(20, 20 * 4, kWhiteCColor);
    for (int cycle = 0; cycle < 40; ++cycle) {
        CFrame* frame = new CFrame(CRect(0, 0, 300, 200), reinterpret_cast<void*>(parent), nullptr);
        frame->setBackground(bg);
        for (int i = 0; i < 8; ++i)
            frame->addView(new CAnimKnob(CRect(i * 30, 10, i * 30 + 20, 30), &listener, i, 4, 20, strip));
        COptionMenu* menu = new COptionMenu(CRect(0, 100, 100, 120), &listener, 100);
        menu->addEntry("One");
        frame->addView(menu);
        if (cycle % 4 == 0) menu->popup();  // closed while its list is open
        pointerTo(15, 15);
        button(1, true);
        serve(frame, [] { return false; }, 10);
        frame->forget();  // closed mid-drag on some cycles
        button(1, false);
    }
    EXPECT_EQ(bg->getNbReference(), 1);
    EXPECT_EQ(strip->getNbReference(), 1);
    EXPECT_EQ(childCount(), 0u);
    bg->forget();
    strip->forget();
}

TEST_F(X11Test, ScaledFrameHasScaledWindowAndControlsWorkAtTheirScaledPlaces) {
    for (double scale : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        listener.events.clear();
        CFrame* frame = new CFrame(CRect(0, 0, 400, 300), reinterpret_cast<void*>(parent), nullptr, scale);
        ASSERT_TRUE(frame->isOpen());
        const XWindowAttributes wa = attributes(frame->getNativeWindow());
        EXPECT_EQ(wa.width, toPixels(400, scale));
        EXPECT_EQ(wa.height, toPixels(300, scale));
        CKnob* knob = new CKnob(CRect(250, 50, 290, 90), &listener, 7);
        CKickButton* kick = new CKickButton(CRect(150, 50, 180, 80), &listener, 110, nullptr);
        CVerticalSlider* slider = new CVerticalSlider(CRect(100, 100, 116, 160), &listener, 30, 100, 160, nullptr, nullptr);
        frame->addView(knob);
        frame->addView(kick);
        frame->addView(slider);
        serve(frame, [] { return false; }, 30);

        // A knob dragged 40 units up, whatever the pixels.
        knob->setValue(0.5f);
        pointerToUnits(270, 70, scale);
        button(1, true);
        pointerToUnits(270, 30, scale);
        EXPECT_TRUE(serve(frame, [&] { return knob->getValue() > 0.69f; }));
        button(1, false);
        serve(frame, [&] { return !knob->isEditing(); });
        EXPECT_NEAR(knob->getValue(), 0.7f, 1e-5f);

        // The kick button pressed and let go on its scaled place.
        listener.events.clear();
        pointerToUnits(165, 65, scale);
        clickButton();
        EXPECT_TRUE(serve(frame, [&] { return listener.count("end") == 1; }));
        EXPECT_EQ(listener.values(), (std::vector<float>{1.f, 0.f}));

        // The slider jumps to the value of the unit clicked.
        pointerToUnits(108, 145, scale);
        clickButton();
        EXPECT_TRUE(serve(frame, [&] { return !slider->isEditing() && slider->getValue() != 0.f; }));
        EXPECT_FLOAT_EQ(slider->getValue(), slider->valueAtPoint(CPoint(108, 145)));
        frame->forget();
    }
}

TEST_F(X11Test, ScaleChangeResizesTheWindowAndItsListsWindow) {
    CFrame* frame = new CFrame(CRect(0, 0, 200, 100), reinterpret_cast<void*>(parent), nullptr);
    const Window w = frame->getNativeWindow();
    EXPECT_TRUE(frame->setScaleFactor(2.0));
    EXPECT_TRUE(serve(frame, [&] {
        const XWindowAttributes a = attributes(w);
        return a.width == 400 && a.height == 200;
    }));
    // The list, taller than the window, in a window of its own at the scale.
    COptionMenu* menu = openMenu(frame, numbered(40), kCheckStyle);
    ASSERT_NE(frame->getPopupWindow(), 0u);
    const XWindowAttributes pa = attributes(frame->getPopupWindow());
    EXPECT_EQ(pa.height, 2 * 30 * COptionMenu::kItemHeight);
    EXPECT_EQ(pa.width, 2 * menu->getPopupRect().width());
    const CRect r = menu->getItemRect(35);
    pointerToUnits(r.left + 5, r.top + 5, 2.0);
    serve(frame, [] { return false; }, 30);
    clickButton();
    ASSERT_TRUE(serve(frame, [&] { return !listener.values().empty(); }));
    EXPECT_EQ(listener.values(), (std::vector<float>{35.f}));
    frame->forget();
}

TEST_F(X11Test, OpenListClosesOnAClickOutsideEveryWindowOfOursAndLetsThePointerGo) {
    for (int entries : {4, 40}) {  // a list inside the window, and one in a window of its own
        SCOPED_TRACE(entries);
        CFrame* frame = new CFrame(CRect(0, 0, 300, 200), reinterpret_cast<void*>(parent), nullptr);
        COptionMenu* menu = openMenu(frame, numbered(entries));
        ASSERT_TRUE(menu->isPopupOpen());
        EXPECT_TRUE(frame->hasInputGrab());
        EXPECT_FALSE(pointerFree());
        // Far outside the host's window, on the bare screen.
        pointerToScreen(1250, 1000);
        clickButton();
        EXPECT_TRUE(serve(frame, [&] { return !menu->isPopupOpen(); }));
        EXPECT_TRUE(listener.values().empty());
        EXPECT_FALSE(frame->hasInputGrab());
        EXPECT_TRUE(pointerFree());
        frame->forget();
    }
}

TEST_F(X11Test, KeysReachAnOpenListWhereverThePointerIs) {
    CFrame* frame = new CFrame(CRect(0, 0, 300, 200), reinterpret_cast<void*>(parent), nullptr);
    COptionMenu* menu = openMenu(frame, {"Load preset", "Load bank", "_", "Save preset"});
    ASSERT_TRUE(menu->isPopupOpen());
    pointerToScreen(1250, 1000);  // away from every window of ours
    serve(frame, [] { return false; }, 30);
    key(XK_Escape);
    EXPECT_TRUE(serve(frame, [&] { return !menu->isPopupOpen(); }));
    EXPECT_TRUE(pointerFree());

    pointerTo(50, 20);
    clickButton();
    ASSERT_TRUE(serve(frame, [&] { return menu->isPopupOpen(); }));
    pointerToScreen(1250, 1000);
    key(XK_Down);
    key(XK_Down);
    key(XK_Down);  // over the separator
    EXPECT_TRUE(serve(frame, [&] { return menu->getHighlight() == 3; }));
    key(XK_Return);
    EXPECT_TRUE(serve(frame, [&] { return !listener.values().empty(); }));
    EXPECT_EQ(listener.values(), (std::vector<float>{3.f}));
    EXPECT_FALSE(menu->isPopupOpen());
    frame->forget();
}

TEST_F(X11Test, KeysOverTheWindowWithoutAListGoOnToTheHostsWindow) {
    XSelectInput(dpy, parent, KeyPressMask);
    CFrame* frame = new CFrame(CRect(0, 0, 300, 200), reinterpret_cast<void*>(parent), nullptr);
    serve(frame, [] { return false; }, 30);
    pointerTo(100, 100);  // over our window; the focus follows the pointer
    XSync(dpy, False);
    serve(frame, [] { return false; }, 30);
    key(XK_space);
    bool hostGotIt = false;
    serve(frame, [&] {
        XEvent e;
        while (XCheckWindowEvent(dpy, parent, KeyPressMask, &e))
            hostGotIt = hostGotIt || XLookupKeysym(&e.xkey, 0) == XK_space;
        return hostGotIt;
    });
    EXPECT_TRUE(hostGotIt);
    frame->forget();
}

TEST_F(X11Test, ClosingWithTheListOpenLetsThePointerAndKeyboardGo) {
    CFrame* frame = new CFrame(CRect(0, 0, 300, 200), reinterpret_cast<void*>(parent), nullptr);
    COptionMenu* menu = openMenu(frame, {"One"});
    ASSERT_TRUE(menu->isPopupOpen());
    EXPECT_FALSE(pointerFree());
    frame->forget();
    EXPECT_TRUE(pointerFree());
    const bool keyboardFree =
        XGrabKeyboard(dpy, parent, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
    XUngrabKeyboard(dpy, CurrentTime);
    EXPECT_TRUE(keyboardFree);
}

// Sets the X server's resources as a desktop does, with xrdb; false when xrdb
// is missing.
bool setResources(const char* text) {
    FILE* p = popen(text ? "xrdb -nocpp -load - 2>/dev/null" : "xrdb -remove 2>/dev/null", "w");
    if (!p) return false;
    if (text) std::fputs(text, p);
    return pclose(p) == 0;
}

TEST_F(X11Test, DesktopScaleIsTheServersXftDpi) {
    if (!setResources("Xft.dpi:\t144\n")) GTEST_SKIP() << "xrdb is not installed";
    EXPECT_EQ(platformScaleFactor(), 1.5);
    {
        ScopedEnv env(kScaleEnvironmentVariable, nullptr);
        EXPECT_EQ(currentScaleFactor(), 1.5);
        EXPECT_EQ(currentScaleFactor(3.0), 3.0);  // the host's word first
    }
    {
        ScopedEnv env(kScaleEnvironmentVariable, "2");
        EXPECT_EQ(currentScaleFactor(), 2.0);
    }
    {
        ScopedEnv env(kScaleEnvironmentVariable, "two");
        EXPECT_EQ(currentScaleFactor(), 1.5);
    }
    ASSERT_TRUE(setResources("Xft.antialias:\t1\nXft.dpi:\t192\n"));
    EXPECT_EQ(platformScaleFactor(), 2.0);
    // A malformed or absent entry: no desktop factor, so 1.
    ScopedEnv env(kScaleEnvironmentVariable, nullptr);
    ASSERT_TRUE(setResources("Xft.dpi:\tlarge\n"));
    EXPECT_EQ(platformScaleFactor(), 0.0);
    EXPECT_EQ(currentScaleFactor(), 1.0);
    ASSERT_TRUE(setResources("Xft.dpi:\t-96\n"));
    EXPECT_EQ(currentScaleFactor(), 1.0);
    ASSERT_TRUE(setResources(nullptr));
    EXPECT_EQ(platformScaleFactor(), 0.0);
    EXPECT_EQ(currentScaleFactor(), 1.0);
}

}  // namespace
