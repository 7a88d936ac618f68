#include "gui/cbitmap.h"

#include <cairo.h>
#include <cstring>

#include "gui/cdrawcontext.h"
#include "gui/pixels.h"

namespace VSTGUI {
namespace {

ResourceProvider gProvider = nullptr;

struct PngReader {
    const unsigned char* data;
    size_t size;
    size_t pos;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length) {
    PngReader* r = static_cast<PngReader*>(closure);
    if (length > r->size - r->pos) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->data + r->pos, length);
    r->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

void setResourceProvider(ResourceProvider provider) { gProvider = provider; }

CBitmap::CBitmap(const CResourceDescription& desc) : resourceId_(desc.getId()) {
    const unsigned char* data = nullptr;
    size_t size = 0;
    if (gProvider && gProvider(desc.getId(), &data, &size) && data) loadPng(data, size);
}

CBitmap::CBitmap(const unsigned char* png, size_t size) {
    if (png) loadPng(png, size);
}

CBitmap::CBitmap(CCoord width, CCoord height) {
    if (width <= 0 || height <= 0) return;
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
    width_ = width;
    height_ = height;
}

CBitmap::~CBitmap() {
    if (surface_) cairo_surface_destroy(surface_);
}

void CBitmap::loadPng(const unsigned char* png, size_t size) {
    PngReader reader{png, size, 0};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readPng, &reader);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return;
    }
    surface_ = s;
    width_ = cairo_image_surface_get_width(s);
    height_ = cairo_image_surface_get_height(s);
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    drawAlphaBlend(context, rect, offset, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset, unsigned char alpha) {
    if (!surface_ || !context || rect.isEmpty()) return;
    cairo_t* cr = context->getCairo();
    cairo_save(cr);
    cairo_rectangle(cr, double(rect.left), double(rect.top), double(rect.width()), double(rect.height()));
    cairo_clip(cr);
    // Bitmap pixel (offset.h, offset.v) lands on the rectangle's top-left.
    cairo_set_source_surface(cr, surface_, double(rect.left - offset.h), double(rect.top - offset.v));
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    if (alpha == 255)
        cairo_paint(cr);
    else
        cairo_paint_with_alpha(cr, alpha / 255.0);
    cairo_restore(cr);
}

CColor CBitmap::getPixel(CCoord x, CCoord y) const { return surfacePixel(surface_, x, y); }

}  // namespace VSTGUI
