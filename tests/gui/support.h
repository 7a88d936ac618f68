#pragma once
// Shared helpers of the toolkit tests: PNG bytes painted on the spot, and a
// listener that records what controls tell it.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "gui/vstgui.h"
#include "tests/common/scoped_env.h"

namespace guitest {

using namespace VSTGUI;

// PNG bytes of a width x height image; paint(x, y) gives each pixel's colour.
inline std::vector<unsigned char> makePng(int width, int height, const std::function<CColor(int, int)>& paint) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const CColor c = paint(x, y);
            // Premultiplied ARGB in native order.
            const uint32_t a = c.alpha;
            const uint32_t px = (a << 24) | ((c.red * a / 255) << 16) | ((c.green * a / 255) << 8) | (c.blue * a / 255);
            std::memcpy(data + y * stride + 4 * x, &px, 4);
        }
    cairo_surface_mark_dirty(s);
    std::vector<unsigned char> out;
    cairo_surface_write_to_png_stream(
        s,
        [](void* closure, const unsigned char* bytes, unsigned int length) {
            auto* v = static_cast<std::vector<unsigned char>*>(closure);
            v->insert(v->end(), bytes, bytes + length);
            return CAIRO_STATUS_SUCCESS;
        },
        &out);
    cairo_surface_destroy(s);
    return out;
}

inline CBitmap* makeBitmap(int width, int height, const std::function<CColor(int, int)>& paint) {
    std::vector<unsigned char> png = makePng(width, height, paint);
    return new CBitmap(png.data(), png.size());
}

inline CBitmap* solidBitmap(int width, int height, CColor color) {
    return makeBitmap(width, height, [color](int, int) { return color; });
}

struct Event {
    std::string what;  // "value", "begin", "end", "hover"
    long tag;
    float value;
};

class RecordingListener : public CControlListener {
public:
    void valueChanged(CControl* c) override { events.push_back({"value", c->getTag(), c->getValue()}); }
    void controlBeginEdit(CControl* c) override { events.push_back({"begin", c->getTag(), c->getValue()}); }
    void controlEndEdit(CControl* c) override { events.push_back({"end", c->getTag(), c->getValue()}); }
    void updatemouseOverInfo(CControl* c) override { events.push_back({"hover", c->getTag(), c->getValue()}); }

    std::vector<float> values() const {
        std::vector<float> out;
        for (const Event& e : events)
            if (e.what == "value") out.push_back(e.value);
        return out;
    }
    std::vector<std::string> kinds() const {
        std::vector<std::string> out;
        for (const Event& e : events) out.push_back(e.what);
        return out;
    }
    int count(const std::string& what) const {
        int n = 0;
        for (const Event& e : events) n += e.what == what;
        return n;
    }
    std::vector<Event> events;
};

// The red channel of a rendered pixel (opaque pixels only, so no unpremultiplying).
inline unsigned redAt(cairo_surface_t* s, int x, int y) {
    uint32_t px;
    std::memcpy(&px, cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + x * 4, 4);
    return (px >> 16) & 255;
}

// The red channel at (x, y) of the frame as drawn now.
inline unsigned frameRedAt(CFrame* frame, int x, int y) {
    cairo_surface_t* s = frame->renderToSurface();
    const unsigned r = redAt(s, x, y);
    cairo_surface_destroy(s);
    return r;
}

// Event entry points with plain arguments.
inline void down(CFrame* f, CCoord x, CCoord y, long buttons = kLButton) { CPoint p(x, y); f->onMouseDown(p, buttons); }
inline void move(CFrame* f, CCoord x, CCoord y, long buttons = kLButton) { CPoint p(x, y); f->onMouseMoved(p, buttons); }
inline void up(CFrame* f, CCoord x, CCoord y, long buttons = kLButton) { CPoint p(x, y); f->onMouseUp(p, buttons); }
inline void click(CFrame* f, CCoord x, CCoord y) { down(f, x, y); up(f, x, y); }


// At the end of a test program, lets cairo and fontconfig drop the caches they
// keep for the life of a process, so that the leak checker sees only our own.
class LibraryCachesReset : public ::testing::Environment {
public:
    void TearDown() override {
        cairo_debug_reset_static_data();
        FcFini();
    }
};

}  // namespace guitest
