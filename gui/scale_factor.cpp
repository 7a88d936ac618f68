#include "gui/scale_factor.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "gui/platform_window.h"

namespace VSTGUI {

double checkScaleFactor(double factor) {
    if (!std::isfinite(factor) || factor <= 0.0 || factor > kImplausibleScaleFactor) return 0.0;
    return std::min(kMaxScaleFactor, std::max(kMinScaleFactor, factor));
}

double parseScaleFactor(const char* text) {
    if (!text) return 0.0;
    const char* end = text + std::strlen(text);
    // Surrounding blanks are harmless; anything else around the number is not.
    while (text < end && (*text == ' ' || *text == '\t')) ++text;
    while (end > text && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\n')) --end;
    double value = 0.0;
    // from_chars, unlike strtod, ignores the host's locale (a decimal comma).
    const std::from_chars_result r = std::from_chars(text, end, value, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != end || text == end) return 0.0;
    return value;
}

double chooseScaleFactor(double hostFactor, const char* environmentText, double desktopFactor) {
    for (double candidate : {hostFactor, parseScaleFactor(environmentText), desktopFactor})
        if (const double f = checkScaleFactor(candidate)) return f;
    return 1.0;
}

double currentScaleFactor(double hostFactor) {
    const char* environment = std::getenv(kScaleEnvironmentVariable);
    if (checkScaleFactor(hostFactor) || checkScaleFactor(parseScaleFactor(environment)))
        return chooseScaleFactor(hostFactor, environment, 0.0);
    return chooseScaleFactor(0.0, nullptr, platformScaleFactor());
}

CCoord toPixels(CCoord v, double scale) {
    return static_cast<CCoord>(std::floor(static_cast<double>(v) * scale + 0.5));
}

CCoord fromPixels(CCoord p, double scale) {
    // The largest unit v with toPixels(v) <= p: about (p + 0.5) / scale, then
    // settled against toPixels itself, so that rounding cannot part the two.
    CCoord v = static_cast<CCoord>(std::floor((static_cast<double>(p) + 0.5) / scale));
    while (toPixels(v, scale) > p) --v;
    while (toPixels(v + 1, scale) <= p) ++v;
    return v;
}

CRect toPixels(const CRect& r, double scale) {
    return CRect(toPixels(r.left, scale), toPixels(r.top, scale), toPixels(r.right, scale), toPixels(r.bottom, scale));
}

CPoint fromPixels(const CPoint& p, double scale) { return CPoint(fromPixels(p.h, scale), fromPixels(p.v, scale)); }

}  // namespace VSTGUI
