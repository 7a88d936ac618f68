#include "gui/cbitmap.h"

#include <cairo.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/cdrawcontext.h"
#include "gui/image_surface.h"
#include "gui/packed_pixels.h"
#include "gui/pixels.h"
#include "gui/scale_factor.h"

namespace VSTGUI {
namespace {

ResourceProvider gProvider = nullptr;
ScaledResourceProvider gScaledProvider = nullptr;
std::vector<double> gScales;

// Bands of a reduced picture: well inside what one cairo image may be.
constexpr CCoord kBandRows = 8192;

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

cairo_surface_t* decodePacked(const unsigned char* bytes, size_t size, const packed::Header& header) {
    const uint32_t w = header.width, h = header.height;
    cairo_surface_t* s = createImageSurface(static_cast<int>(w), static_cast<int>(h));
    const int stride = cairo_image_surface_get_stride(s);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS || stride != static_cast<int>(4 * w)) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    unsigned char* data = cairo_image_surface_get_data(s);
    const uLongf expected = static_cast<uLongf>(4) * w * h;
    uLongf got = expected;
    const int status = uncompress(data, &got, bytes + packed::kHeaderSize, static_cast<uLong>(size - packed::kHeaderSize));
    if (status != Z_OK || got != expected) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    packed::undoPeriod(data, 4 * static_cast<size_t>(w), h, header.period);
    // The words are stored little-endian; cairo keeps them in the machine's order.
    const uint32_t probe = 1;
    if (*reinterpret_cast<const unsigned char*>(&probe) != 1)
        for (uLongf i = 0; i < expected; i += 4) {
            std::swap(data[i], data[i + 3]);
            std::swap(data[i + 1], data[i + 2]);
        }
    cairo_surface_mark_dirty(s);
    return s;
}

cairo_surface_t* decodeImage(const unsigned char* png, size_t size) {
    if (!png) return nullptr;
    packed::Header header;
    if (packed::readHeader(png, size, &header)) return decodePacked(png, size, header);
    PngReader reader{png, size, 0};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readPng, &reader);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return s;
}

int scaleIndex(double scale) {
    for (size_t i = 0; i < gScales.size(); ++i)
        if (gScales[i] == scale) return static_cast<int>(i);
    return -1;
}

}  // namespace

void setResourceProvider(ResourceProvider provider) {
    gProvider = provider;
    gScaledProvider = nullptr;
    gScales.clear();
}

void setScaledResourceProvider(ScaledResourceProvider provider, const double* scales, int numScales) {
    gProvider = nullptr;
    gScaledProvider = provider;
    gScales.assign(scales, scales + (scales && numScales > 0 ? numScales : 0));
    std::sort(gScales.begin(), gScales.end());
}

bool CBitmap::loadPicture(const std::vector<const unsigned char*>& pngs, const std::vector<size_t>& sizes,
                          Picture& out) {
    out = Picture();
    for (size_t i = 0; i < pngs.size(); ++i) {
        cairo_surface_t* s = decodeImage(pngs[i], sizes[i]);
        const CCoord w = s ? cairo_image_surface_get_width(s) : 0;
        if (!s || (i > 0 && w != out.pixelWidth)) {
            if (s) cairo_surface_destroy(s);
            releasePicture(out);
            return false;
        }
        out.bands.push_back({s, out.pixelHeight});
        out.pixelWidth = w;
        out.pixelHeight += cairo_image_surface_get_height(s);
    }
    return !out.bands.empty();
}

void CBitmap::releasePicture(Picture& p) {
    for (Band& b : p.bands) cairo_surface_destroy(b.surface);
    p.bands.clear();
}

void CBitmap::setBasePicture(Picture& p) {
    width_ = p.pixelWidth;
    height_ = p.pixelHeight;
    pictures_.push_back(p);
}

bool CBitmap::loadResourcePicture(int index, Picture& out) const {
    std::vector<const unsigned char*> pngs;
    std::vector<size_t> sizes;
    const unsigned char* data = nullptr;
    size_t size = 0;
    if (gScaledProvider) {
        for (int band = 0; gScaledProvider(resourceId_, index, band, &data, &size) && data; ++band) {
            pngs.push_back(data);
            sizes.push_back(size);
        }
    } else if (gProvider && index == 0 && gProvider(resourceId_, &data, &size) && data) {
        pngs.push_back(data);
        sizes.push_back(size);
    }
    if (!loadPicture(pngs, sizes, out)) return false;
    out.scale = out.drawnAt = gScaledProvider ? gScales[static_cast<size_t>(index)] : 1.0;
    return true;
}

CBitmap::CBitmap(const CResourceDescription& desc) : resourceId_(desc.getId()) {
    Picture p;
    const int one = gScaledProvider ? scaleIndex(1.0) : 0;
    if (one >= 0 && loadResourcePicture(one, p)) setBasePicture(p);
}

CBitmap::CBitmap(const unsigned char* png, size_t size) {
    Picture p;
    if (loadPicture({png}, {size}, p)) setBasePicture(p);
}

CBitmap::CBitmap(CCoord width, CCoord height) {
    if (width <= 0 || height <= 0) return;
    Picture p;
    p.bands.push_back({createImageSurface(static_cast<int>(width), static_cast<int>(height)), 0});
    p.pixelWidth = width;
    p.pixelHeight = height;
    setBasePicture(p);
}

CBitmap::~CBitmap() {
    for (Picture& p : pictures_) releasePicture(p);
}

cairo_surface_t* CBitmap::getSurface() const { return pictures_.empty() ? nullptr : pictures_[0].bands[0].surface; }

CBitmap::Picture CBitmap::derive(const Picture& from, double scale) const {
    Picture out;
    out.scale = scale;
    out.drawnAt = from.drawnAt;
    out.pixelWidth = std::max<CCoord>(1, toPixels(width_, scale));
    out.pixelHeight = std::max<CCoord>(1, toPixels(height_, scale));
    // Source pixel = target pixel * ratio.
    const double ratio = from.scale / scale;
    const double enlargement = scale / from.scale;
    const cairo_filter_t filter = enlargement == std::floor(enlargement) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD;
    for (CCoord top = 0; top < out.pixelHeight; top += kBandRows) {
        const CCoord rows = std::min(kBandRows, out.pixelHeight - top);
        cairo_surface_t* s = createImageSurface(static_cast<int>(out.pixelWidth), static_cast<int>(rows));
        cairo_t* cr = cairo_create(s);
        for (const Band& b : from.bands) {
            // The band's rows here, rounded alike at both ends of every band so that they tile.
            auto row = [&](CCoord sourceRow) { return static_cast<CCoord>(std::floor(sourceRow / ratio + 0.5)) - top; };
            const CCoord first = row(b.top), last = row(b.top + cairo_image_surface_get_height(b.surface));
            if (last <= 0 || first >= rows) continue;
            cairo_save(cr);
            cairo_rectangle(cr, 0, double(first), double(out.pixelWidth), double(last - first));
            cairo_clip(cr);
            cairo_pattern_t* pattern = cairo_pattern_create_for_surface(b.surface);
            cairo_matrix_t m;
            cairo_matrix_init_translate(&m, 0, -double(b.top));
            cairo_matrix_scale(&m, ratio, ratio);
            cairo_matrix_translate(&m, 0, double(top));
            cairo_pattern_set_matrix(pattern, &m);
            // Band edges repeat their last row rather than fade into nothing.
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
            cairo_pattern_set_filter(pattern, filter);
            cairo_set_source(cr, pattern);
            cairo_pattern_destroy(pattern);
            cairo_paint(cr);
            cairo_restore(cr);
        }
        cairo_destroy(cr);
        cairo_surface_flush(s);
        out.bands.push_back({s, top});
    }
    return out;
}

const CBitmap::Picture* CBitmap::pictureAt(double scale) {
    if (pictures_.empty()) return nullptr;
    for (const Picture& p : pictures_)
        if (p.scale == scale) return &p;
    // The resource's pictures by preference: at the scale, the finer ones
    // nearest first (reduced), then the coarser ones nearest first (enlarged).
    std::vector<size_t> order;
    if (gScaledProvider && resourceId_ >= 0) {
        for (size_t i = 0; i < gScales.size(); ++i)
            if (gScales[i] >= scale) order.push_back(i);
        for (size_t i = gScales.size(); i-- > 0;)
            if (gScales[i] < scale) order.push_back(i);
    }
    Picture made;
    bool haveMade = false;
    for (size_t i : order) {
        const Picture* cached = nullptr;
        for (const Picture& p : pictures_)
            if (p.scale == gScales[i]) cached = &p;
        Picture loaded;
        if (cached) {
            made = derive(*cached, scale);
        } else if (loadResourcePicture(static_cast<int>(i), loaded)) {
            if (gScales[i] == scale) {
                made = loaded;
            } else {
                made = derive(loaded, scale);
                releasePicture(loaded);
            }
        } else {
            continue;
        }
        haveMade = true;
        break;
    }
    if (!haveMade) made = derive(pictures_[0], scale);
    pictures_.push_back(made);
    return &pictures_.back();
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    drawAlphaBlend(context, rect, offset, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset, unsigned char alpha) {
    if (!context || rect.isEmpty()) return;
    const Picture* p = pictureAt(context->getScaleFactor());
    if (!p) return;
    // Only the bands that hold rows of the part shown.
    const CCoord first = toPixels(offset.v, p->scale);
    const CCoord last = first + toPixels(rect.height(), p->scale) + 1;
    for (const Band& b : p->bands) {
        const CCoord rows = cairo_image_surface_get_height(b.surface);
        if (b.top + rows <= first || b.top >= last) continue;
        context->paintPicture(b.surface, p->scale, b.top, rect, offset, alpha);
    }
}

CColor CBitmap::pixelOf(const Picture& p, CCoord x, CCoord y) {
    for (const Band& b : p.bands)
        if (y >= b.top && y < b.top + cairo_image_surface_get_height(b.surface)) return surfacePixel(b.surface, x, y - b.top);
    return kTransparentCColor;
}

CColor CBitmap::getPixel(CCoord x, CCoord y) const {
    return pictures_.empty() ? kTransparentCColor : pixelOf(pictures_[0], x, y);
}

bool CBitmap::getPictureInfo(double scale, CCoord* pixelWidth, CCoord* pixelHeight, double* drawnAt) {
    const Picture* p = pictureAt(scale);
    if (!p) return false;
    if (pixelWidth) *pixelWidth = p->pixelWidth;
    if (pixelHeight) *pixelHeight = p->pixelHeight;
    if (drawnAt) *drawnAt = p->drawnAt;
    return true;
}

CColor CBitmap::getPicturePixel(double scale, CCoord x, CCoord y) {
    const Picture* p = pictureAt(scale);
    return p ? pixelOf(*p, x, y) : kTransparentCColor;
}

}  // namespace VSTGUI
