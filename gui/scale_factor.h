#pragma once
// The user-interface scale: how many screen pixels one layout unit takes, and
// where it comes from. Views keep their layout units at every scale; only
// drawing contexts, native windows and pointer positions see pixels.
#include "gui/cgeometry.h"

namespace VSTGUI {

constexpr double kMinScaleFactor = 1.0;
constexpr double kMaxScaleFactor = 4.0;
// A factor above this is no screen's: the source is ignored rather than
// clamped, as it more likely carries a wrong value than a very dense screen.
constexpr double kImplausibleScaleFactor = 8.0;
// The environment variable that overrides the desktop's scale (and lets
// tests choose one).
constexpr const char* kScaleEnvironmentVariable = "NIMBREL_UI_SCALE";

// A factor from one source, kept within kMinScaleFactor..kMaxScaleFactor;
// 0 when the source gives none or nonsense (not finite, 0 or below, or above
// kImplausibleScaleFactor), so that the next source is asked.
double checkScaleFactor(double factor);
// A factor written as a plain decimal number ("1.5", "2"), read the same in
// every locale; 0 when the text is missing or is not such a number.
double parseScaleFactor(const char* text);

// The first usable factor of, in this order: the host's (0 when it gave
// none), the environment override's text, the desktop's (0 when none); else 1.
double chooseScaleFactor(double hostFactor, const char* environmentText, double desktopFactor);
// The same with the environment and the desktop read now: NIMBREL_UI_SCALE,
// then the windowing system's setting (platformScaleFactor). The desktop is
// only asked when the first two give nothing.
double currentScaleFactor(double hostFactor = 0);

// Layout units and pixels. A unit v starts at pixel toPixels(v, scale)
// (rounded to the nearest pixel, so that adjacent rectangles tile exactly);
// the unit that holds pixel p is fromPixels(p, scale). Identities at scale 1.
CCoord toPixels(CCoord v, double scale);
CCoord fromPixels(CCoord p, double scale);
CRect toPixels(const CRect& r, double scale);
CPoint fromPixels(const CPoint& p, double scale);

}  // namespace VSTGUI
