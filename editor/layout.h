#pragma once
// Where the editor puts the views that are not in controlTabs, and the rules
// that turn a table record and a bitmap size into a control's rectangle.
// The editor and the skin generator both read these, so the painted labels
// and panels sit exactly under the controls.
#include <cstdint>

#include "editor/control_table.h"

struct LayoutRect {
    int64_t left, top, right, bottom;
    int64_t width() const { return right - left; }
    int64_t height() const { return bottom - top; }
};

namespace layout {

constexpr LayoutRect kWaveDisplay{460, 204, 841, 346};
constexpr int64_t kWetOnlyX = 382, kWetOnlyY = 106;
constexpr LayoutRect kProgramMenu{68, 75, 263, 107};
constexpr LayoutRect kMainMenu{64, 139, 112, 171};
constexpr LayoutRect kInfoLabel{68, 117, 263, 139};
constexpr LayoutRect kSplash{410, 382, 453, 539};

constexpr int64_t kOutputMeterX = 452, kGateMeterX = 674, kDuckMeterX = 817;
constexpr int kNumLeds = 10;

// The compact window: the program menu, the main menu, the command buttons
// and the info line.
constexpr int64_t kCompactWidth = 381, kCompactHeight = 178;

// The smallest background that holds every rectangle of the layout.
constexpr int64_t kMinBackgroundWidth = 841, kMinBackgroundHeight = 539;

// Top of LED i (0 at the bottom): the product is formed in float and truncated.
inline int64_t ledTop(int i) { return 147 - static_cast<int64_t>(static_cast<float>(i) * 15.4f); }

inline LayoutRect ledRect(int64_t columnX, int i, int64_t bitmapWidth, int64_t bitmapHeight) {
    int64_t top = ledTop(i);
    return {columnX, top, columnX + bitmapWidth, top + bitmapHeight / 2};
}

// A knob: the filmstrip's width, one frame's height (256 frames).
inline LayoutRect knobRect(const ControlRecord& r, int64_t bitmapWidth, int64_t bitmapHeight) {
    int64_t left = r.x - 20, top = r.y + 8;
    return {left, top, left + bitmapWidth, top + bitmapHeight / 256};
}

// On/off and kick buttons of the table: one state of the two stacked.
inline LayoutRect buttonRect(const ControlRecord& r, int64_t bitmapWidth, int64_t bitmapHeight) {
    int64_t left = r.x - 1, top = r.y - 1;
    return {left, top, left + bitmapWidth, top + bitmapHeight / 2};
}

// Step sliders: the size of the plain slider background.
inline LayoutRect sliderRect(const ControlRecord& r, int64_t bitmapWidth, int64_t bitmapHeight) {
    int64_t left = r.x - 2, top = r.y + 2;
    return {left, top, left + bitmapWidth, top + bitmapHeight};
}

// The wet-only button: one pixel taller than one state.
inline LayoutRect wetOnlyRect(int64_t bitmapWidth, int64_t bitmapHeight) {
    return {kWetOnlyX, kWetOnlyY, kWetOnlyX + bitmapWidth, kWetOnlyY + bitmapHeight / 2 + 1};
}

// Steps 0, 4, 8, 12 and 16 have the accented slider background.
inline bool isAccentedStep(int64_t tag) { return tag >= 29 && tag <= 62 && ((tag - 29) / 2) % 4 == 0; }

}  // namespace layout
