#include "gui/x11/x11_scale.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <string>

#include "gui/platform_window.h"
#include "gui/scale_factor.h"

namespace VSTGUI {

double xftDpiScaleFactor(const char* resources) {
    if (!resources || !*resources) return 0.0;
    // Xlib's own resource matching, as the font library reads the entry
    // (so "Xft.dpi" and "*dpi" count, and later entries replace earlier ones).
    XrmInitialize();
    XrmDatabase db = XrmGetStringDatabase(resources);
    if (!db) return 0.0;
    char* type = nullptr;
    XrmValue value = {};
    double factor = 0.0;
    if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
        const std::string text(value.addr, value.size > 0 ? value.size - 1 : 0);
        factor = checkScaleFactor(parseScaleFactor(text.c_str()) / kBaseDpi);
    }
    XrmDestroyDatabase(db);
    return factor;
}

double platformScaleFactor() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0.0;
    // The server's resources as they were when the connection opened.
    const double factor = xftDpiScaleFactor(XResourceManagerString(display));
    XCloseDisplay(display);
    return factor;
}

}  // namespace VSTGUI
