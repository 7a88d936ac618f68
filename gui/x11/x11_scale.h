#pragma once
// The X server's idea of the user-interface scale: the Xft.dpi resource that
// desktops set (through xrdb) for their fonts, over the 96 dpi of scale 1.

namespace VSTGUI {

constexpr double kBaseDpi = 96.0;

// The checked scale (checkScaleFactor) of the Xft.dpi entry in an X resource
// text such as XResourceManagerString gives ("Xft.dpi:\t144\n..."); 0 when
// the text has none or its value is not a plain number.
double xftDpiScaleFactor(const char* resources);

}  // namespace VSTGUI
