#include "window_host.h"

#include <cairo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "gui/cbitmap.h"
#include "gui/coptionmenu.h"
#include "gui/scale_factor.h"
#include "resources/resource_ids.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include "tests/common/private_data_folder.h"

namespace e2e {

// The toolkit's own PNG reader gives the sizes the editor sees.
Size bitmapSize(int resource) {
    const unsigned char* data = nullptr;
    size_t size = 0;
    if (!findNimbrelResource(resource, &data, &size)) return {};
    VSTGUI::CBitmap bitmap(data, size);
    if (!bitmap.isLoaded()) return {};
    return {static_cast<int>(bitmap.getWidth()), static_cast<int>(bitmap.getHeight())};
}

const ControlRecord& recordForTag(long tag) {
    for (int i = 0; i < kNumControlRecords; ++i)
        if (controlTabs[i].tag == tag) return controlTabs[i];
    ADD_FAILURE() << "no control with tag " << tag;
    return controlTabs[kNumControlRecords];
}

LayoutRect controlRect(long tag) {
    const ControlRecord& r = recordForTag(tag);
    switch (r.kind) {
    case kKindKnob: {
        const Size s = bitmapSize(kBitmapKnob);
        return layout::knobRect(r, s.width, s.height);
    }
    case kKindStepSlider: {
        const Size s = bitmapSize(kBitmapSlider);
        return layout::sliderRect(r, s.width, s.height);
    }
    default: {
        const Size s = bitmapSize(kBitmapButton);
        return layout::buttonRect(r, s.width, s.height);
    }
    }
}

LayoutRect wetOnlyRect() {
    const Size s = bitmapSize(kBitmapWetOnly);
    return layout::wetOnlyRect(s.width, s.height);
}

LayoutRect ledRect(int64_t columnX, int i) {
    const Size s = bitmapSize(kBitmapLedGreen);
    return layout::ledRect(columnX, i, s.width, s.height);
}

int sliderYForValue(long tag, float value) {
    // The step sliders draw a level bar: a handle twice the slider's height
    // hung one height above it, so a click puts the value's level under the
    // pointer: value = 1 - (y - top + 1) / height.
    const LayoutRect r = controlRect(tag);
    return static_cast<int>(r.top - 1 + (1.0f - value) * static_cast<float>(r.height()) + 0.5f);
}

std::string dataFolder() { return privateDataFolder(); }

std::string markerPath() { return dataFolder() + "/NimbrelHideEditor.cfg"; }

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool savePng(const Picture& picture, const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(data + static_cast<size_t>(y) * stride, &picture.pixels[static_cast<size_t>(y) * picture.width],
                    sizeof(uint32_t) * picture.width);
    cairo_surface_mark_dirty(s);
    const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

Picture loadPng(const std::string& path) {
    Picture picture;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        picture.width = cairo_image_surface_get_width(s);
        picture.height = cairo_image_surface_get_height(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                picture.pixels[static_cast<size_t>(y) * picture.width + x] =
                    reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride)[x] & 0xffffff;
    }
    cairo_surface_destroy(s);
    return picture;
}

void PrintTo(const Picture& picture, std::ostream* out) {
    uint64_t sum = 1469598103934665603ull;
    for (uint32_t p : picture.pixels) sum = (sum ^ p) * 1099511628211ull;
    *out << picture.width << "x" << picture.height << " pixels #" << std::hex << sum << std::dec;
}

std::string differingArea(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height) return "(different sizes)";
    int left = a.width, top = a.height, right = -1, bottom = -1;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.at(x, y) != b.at(x, y)) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    if (right < 0) return "";
    return std::to_string(left) + "," + std::to_string(top) + ".." + std::to_string(right + 1) + "," +
           std::to_string(bottom + 1);
}

AudioThread::AudioThread(PluginHost& host, float level) : level_(level) {
    thread_ = std::thread([this, &host] {
        std::vector<float> inL(512), inR(512), outL(512), outR(512);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        int block = 0;
        while (!stop_) {
            for (int i = 0; i < 512; ++i)
                inL[i] = inR[i] = level_ * std::sin(0.05f * static_cast<float>(block * 512 + i));
            host.process(in, out, 512);
            ++block;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
}

AudioThread::~AudioThread() {
    stop_ = true;
    thread_.join();
}

void EditorWindow::dragBy(int fromX, int fromY, int dx, int dy, int steps) {
    moveTo(fromX, fromY);
    press();
    for (int i = 1; i <= steps; ++i) moveTo(fromX + dx * i / steps, fromY + dy * i / steps);
    release();
}

Picture EditorWindow::grabLowerRightQuarter(const LayoutRect& units) {
    const LayoutRect r = px(units);
    return grab(static_cast<int>(r.left + r.width() / 2), static_cast<int>(r.top + r.height() / 2),
                static_cast<int>(r.width() / 2), static_cast<int>(r.height() / 2));
}

std::vector<Picture> EditorWindow::meter(int64_t columnX, bool quarters) {
    std::vector<Picture> leds;
    for (int i = 0; i < layout::kNumLeds; ++i)
        leds.push_back(quarters ? grabLowerRightQuarter(ledRect(columnX, i)) : grab(ledRect(columnX, i)));
    return leds;
}

bool EditorWindow::waitForMeter(int64_t columnX, const std::vector<Picture>& dark, bool lit, bool quarters) {
    for (int round = 0; round < 200; ++round) {
        idle(2);
        const std::vector<Picture> now = meter(columnX, quarters);
        bool all = true;
        for (int i = 0; i < layout::kNumLeds; ++i)
            if ((now[i] != dark[i]) != lit) all = false;
        if (all) return true;
    }
    return false;
}

void EditorWindow::SetUp() {
    dataFolder();
    std::remove(markerPath().c_str());
    dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr) << "no X display (run through the Xvfb wrapper)";
    parent = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1000, 700, 0, 0, 0);
    XMapWindow(dpy, parent);
    XSync(dpy, False);
    loadInstance();
}

void EditorWindow::TearDown() {
    host.reset();
    std::remove(markerPath().c_str());
    if (!dpy) return;
    XDestroyWindow(dpy, parent);
    XCloseDisplay(dpy);
    dpy = nullptr;
}

void EditorWindow::loadInstance() {
    editor = 0;
    host.reset();
    sizeRequests.clear();
    automations.clear();
    std::string error;
    host = PluginHost::load(NIMBREL_PLUGIN_PATH, error);
    ASSERT_TRUE(host) << error;
    // Only the user-interface thread automates or resizes; the audio thread's
    // callbacks (time information) pass through untouched.
    host->callbackHook = [this](int32_t opcode, int32_t index, intptr_t value, void*, float opt, intptr_t& result) {
        if (opcode == audioMasterAutomate) {
            automations.emplace_back(index, opt);
            return false;  // the test host notes the last automation too
        }
        if (opcode == audioMasterSizeWindow) {
            sizeRequests.emplace_back(index, static_cast<int>(value));
            if (hostResizes) XResizeWindow(dpy, parent, static_cast<unsigned>(index), static_cast<unsigned>(value));
            result = hostResizes ? 1 : 0;
            return true;
        }
        return false;
    };
    host->start(44100.0f, 512);
}

void EditorWindow::openEditor() {
    ERect* r = nullptr;
    ASSERT_EQ(host->dispatch(effEditGetRect, 0, 0, &r), 1);
    ASSERT_NE(r, nullptr);
    // As a host sizes its window from the rectangle before opening.
    XWindowAttributes wa;
    XGetWindowAttributes(dpy, parent, &wa);
    if (r->right > wa.width || r->bottom > wa.height)
        XResizeWindow(dpy, parent, static_cast<unsigned>(std::max<int>(r->right, wa.width)),
                      static_cast<unsigned>(std::max<int>(r->bottom, wa.height)));
    ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, parentHandle()), 1);
    idle();
    Window root, par, *list = nullptr;
    unsigned n = 0;
    XSync(dpy, False);
    XQueryTree(dpy, parent, &root, &par, &list, &n);
    ASSERT_EQ(n, 1u) << "the editor should be the host window's only child";
    editor = list[0];
    XFree(list);
}

void EditorWindow::closeEditor() {
    host->dispatch(effEditClose);
    editor = 0;
}

void EditorWindow::idle(int times) {
    for (int i = 0; i < times; ++i) {
        XSync(dpy, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        host->dispatch(effEditIdle);
    }
}

void EditorWindow::moveTo(Window w, int x, int y) {
    int rx = 0, ry = 0;
    Window child;
    XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), x, y, &rx, &ry, &child);
    XTestFakeMotionEvent(dpy, -1, rx, ry, 0);
    XFlush(dpy);
    idle(3);
}

void EditorWindow::press() {
    XTestFakeButtonEvent(dpy, 1, True, 0);
    XFlush(dpy);
    idle(3);
}

void EditorWindow::release() {
    XTestFakeButtonEvent(dpy, 1, False, 0);
    XFlush(dpy);
    idle(3);
}

void EditorWindow::click(Window w, int x, int y) {
    moveTo(w, x, y);
    press();
    release();
    idle(3);
}

void EditorWindow::chooseMainMenuEntry(int index) {
    const LayoutRect m = layout::kMainMenu;
    clickAt(m);
    // The list opens below the hot spot, one row per entry.
    const int64_t rowHeight = VSTGUI::COptionMenu::kItemHeight;
    click(px(m.left + 20), px(m.bottom + rowHeight * index + rowHeight / 2));
}

Window EditorWindow::openProgramList() {
    clickAt(layout::kProgramMenu);
    // 180 names in columns of 30 do not fit the window: the list has a window of its own.
    return popupWindow();
}

int EditorWindow::px(int64_t units) const { return static_cast<int>(VSTGUI::toPixels(units, scale)); }

LayoutRect EditorWindow::px(const LayoutRect& units) const {
    return {px(units.left), px(units.top), px(units.right), px(units.bottom)};
}

Picture EditorWindow::grab(Window w, int x, int y, int width, int height) {
    XSync(dpy, False);
    Picture out;
    XImage* image = XGetImage(dpy, w, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes,
                              ZPixmap);
    if (!image) return out;
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<size_t>(width) * height);
    // A 32-bit image in this machine's byte order is read row by row: a
    // window at 2x has millions of pixels, slow one by one under the sanitizers.
    const uint32_t one = 1;
    const bool native = image->bits_per_pixel == 32 &&
                        image->byte_order == (*reinterpret_cast<const unsigned char*>(&one) ? LSBFirst : MSBFirst);
    for (int j = 0; j < height; ++j) {
        uint32_t* row = &out.pixels[static_cast<size_t>(j) * width];
        if (native) std::memcpy(row, image->data + static_cast<size_t>(j) * image->bytes_per_line, sizeof(uint32_t) * width);
        for (int i = 0; i < width; ++i)
            row[i] = native ? row[i] & 0xffffff : static_cast<uint32_t>(XGetPixel(image, i, j) & 0xffffff);
    }
    XDestroyImage(image);
    return out;
}

Size EditorWindow::windowSize() {
    XSync(dpy, False);
    XWindowAttributes wa;
    if (!editor || !XGetWindowAttributes(dpy, editor, &wa)) return {};
    return {wa.width, wa.height};
}

Window EditorWindow::popupWindow() {
    XSync(dpy, False);
    Window root, par, *list = nullptr;
    unsigned n = 0;
    XQueryTree(dpy, DefaultRootWindow(dpy), &root, &par, &list, &n);
    Window found = 0;
    for (unsigned i = 0; i < n; ++i) {
        XWindowAttributes wa;
        if (list[i] != parent && XGetWindowAttributes(dpy, list[i], &wa) && wa.override_redirect &&
            wa.map_state == IsViewable)
            found = list[i];  // stacking order: the last is the topmost
    }
    if (list) XFree(list);
    return found;
}

ERect EditorWindow::editorRect() {
    ERect* r = nullptr;
    host->dispatch(effEditGetRect, 0, 0, &r);
    return r ? *r : ERect{};
}

intptr_t EditorWindow::sendScale(float factor) {
    return host->dispatch(effVendorSpecific, kVendorScaleIndex, kVendorScaleValue, nullptr, factor);
}

intptr_t EditorWindow::hostKey(unsigned char virt, int32_t character) {
    return host->dispatch(effEditKeyDown, character, virt, nullptr, 0.0f);
}

void EditorWindow::typeKey(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(dpy, keysym);
    ASSERT_NE(code, 0);
    XTestFakeKeyEvent(dpy, code, True, 0);
    XTestFakeKeyEvent(dpy, code, False, 0);
    XFlush(dpy);
    idle(3);
}

bool EditorWindow::pointerFree() {
    const bool free = XGrabPointer(dpy, parent, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None,
                                   CurrentTime) == GrabSuccess;
    if (free) XUngrabPointer(dpy, CurrentTime);
    XSync(dpy, False);
    return free;
}

bool EditorWindow::keyboardFree() {
    const bool free = XGrabKeyboard(dpy, parent, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
    if (free) XUngrabKeyboard(dpy, CurrentTime);
    XSync(dpy, False);
    return free;
}

void* EditorWindow::parentHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent)); }

}  // namespace e2e
