#pragma once
// A host's view of the editor: the built plug-in loaded through the VST 2.4
// interface, its window embedded in a parent window of our own on a real
// (virtual) X display, driven by pointer events through the X server and
// served by effEditIdle calls as a host's timer would. Positions come from
// the editor's control table and layout rules; nothing here calls the editor
// directly.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "editor/control_table.h"
#include "editor/layout.h"
#include "tools/vsthost/plugin_host.h"

// After the test framework: Xlib's macros would clash with it.
#include <X11/Xlib.h>

namespace e2e {

struct Size {
    int width = 0, height = 0;
};

// Width and height of one of the plug-in's bitmaps, by resource number.
Size bitmapSize(int resource);

// The table record of a control tag (a parameter index or a command code).
const ControlRecord& recordForTag(long tag);

// Where a table control lies in the window, by the layout's rules.
LayoutRect controlRect(long tag);
// The wet-only button.
LayoutRect wetOnlyRect();
// Rectangle of LED i (0 at the bottom) of a meter column.
LayoutRect ledRect(int64_t columnX, int i);
// The point of a step slider where a click gives `value` (0 at the bottom).
int sliderYForValue(long tag, float value);

// A private folder for the trace log and the compact-mode marker; set as
// NIMBREL_DATA_DIR before the first instance is made.
std::string dataFolder();
std::string markerPath();
bool fileExists(const std::string& path);

// The pixels of a window area, as 0xRRGGBB.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    bool operator==(const Picture& o) const {
        return width == o.width && height == o.height && pixels == o.pixels;
    }
    bool operator!=(const Picture& o) const { return !(*this == o); }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
bool savePng(const Picture& picture, const std::string& path);
// A PNG file's pixels; an empty picture when it cannot be read.
Picture loadPng(const std::string& path);
// For failure messages: the size and a checksum of the pixels.
void PrintTo(const Picture& picture, std::ostream* out);
// Where two pictures of one size differ: "left,top..right,bottom", or "".
std::string differingArea(const Picture& a, const Picture& b);

// Processes blocks of a sine at `level` on a thread of its own, as a host's
// audio thread does, until it goes.
class AudioThread {
public:
    AudioThread(PluginHost& host, float level);
    ~AudioThread();
    AudioThread(const AudioThread&) = delete;
    AudioThread& operator=(const AudioThread&) = delete;

private:
    float level_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a fresh instance (the previous one, if any, is closed first).
    void loadInstance();
    // effEditGetRect, the host window made large enough for it, then
    // effEditOpen in the host window; finds our child.
    void openEditor();
    void closeEditor();

    // Host idle calls with a little time between them, so the X server's
    // events reach the editor's connection.
    void idle(int times = 6);

    // Real pointer input, in the editor window's coordinates (or those of `w`).
    void moveTo(int x, int y) { moveTo(editor, x, y); }
    void moveTo(Window w, int x, int y);
    void press();
    void release();
    // Drags with the button held, in steps, as a hand does.
    void dragBy(int fromX, int fromY, int dx, int dy, int steps = 5);
    void click(int x, int y) { click(editor, x, y); }
    void click(Window w, int x, int y);
    // Clicks the middle of a layout rectangle (in units) of the editor window.
    void clickAt(const LayoutRect& r) { click(px(r.left + r.width() / 2), px(r.top + r.height() / 2)); }
    void clickControl(long tag) { clickAt(controlRect(tag)); }
    // Opens the main menu's list and chooses entry `index`.
    void chooseMainMenuEntry(int index);
    // Opens the program menu's list; returns its window (0 when it did not open).
    Window openProgramList();
    // Clicks entry `index` of a list of one column in its own window.
    void clickListEntry(Window list, int index) { click(list, px(10), px(16 * index + 8)); }

    // Layout units to the editor window's pixels at the scale under test.
    int px(int64_t units) const;
    LayoutRect px(const LayoutRect& units) const;

    // The pixels of an area of the editor window (or of `w`); a layout
    // rectangle is taken at the scale under test.
    Picture grab(Window w, int x, int y, int width, int height);
    Picture grab(int x, int y, int width, int height) { return grab(editor, x, y, width, height); }
    Picture grab(Window w, const LayoutRect& units) {
        const LayoutRect r = px(units);
        return grab(w, static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.width()),
                    static_cast<int>(r.height()));
    }
    Picture grab(const LayoutRect& r) { return grab(editor, r); }
    Size windowSize();
    // The lower right quarter of a layout rectangle at the scale under test:
    // above 1 it reaches past the rectangle's size in units, where a drawing
    // made at 1 would leave it as it was.
    Picture grabLowerRightQuarter(const LayoutRect& units);
    // The LEDs of a meter column as they look now (or their lower right quarters).
    std::vector<Picture> meter(int64_t columnX, bool quarters = false);
    // Serves the window until every LED of a meter looks `lit` (differs from
    // its dark picture) or not, or gives up after about two seconds.
    bool waitForMeter(int64_t columnX, const std::vector<Picture>& dark, bool lit, bool quarters = false);
    bool waitForOutputMeter(const std::vector<Picture>& dark, bool lit) {
        return waitForMeter(layout::kOutputMeterX, dark, lit);
    }
    // A list that did not fit the editor window opens in a borderless
    // top-level window of its own: the one mapped now, or 0.
    Window popupWindow();
    ERect editorRect();
    // The host's scale factor through the vendor opcode; the plug-in's answer.
    intptr_t sendScale(float factor);
    // A key through effEditKeyDown (virtual key, character); the plug-in's answer.
    intptr_t hostKey(unsigned char virt, int32_t character = 0);
    // A key pressed and released on the X server's keyboard.
    void typeKey(unsigned long keysym);
    // Whether another client could take the pointer (the keyboard) now,
    // that is, whether no window of ours holds it.
    bool pointerFree();
    bool keyboardFree();

    void* parentHandle() const;

    Display* dpy = nullptr;
    Window parent = 0;
    Window editor = 0;
    std::unique_ptr<PluginHost> host;
    // What the plug-in asked of the host on the user-interface thread.
    std::vector<std::pair<int, int>> sizeRequests;
    std::vector<std::pair<int, float>> automations;
    // Whether the host does what sizeWindow asks (it answers 0 when not).
    bool hostResizes = true;
    // The scale the editor is expected at (the test's choice); 1 unless set.
    double scale = 1.0;
};

}  // namespace e2e
