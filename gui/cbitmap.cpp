#include "gui/cbitmap.h"

#include <cairo.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <mutex>

#include "gui/cdrawcontext.h"
#include "gui/image_surface.h"
#include "gui/packed_pixels.h"
#include "gui/pixels.h"
#include "gui/scale_factor.h"

namespace VSTGUI {
namespace {

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

std::atomic<long> gDecodedImages{0};

cairo_surface_t* decodeImage(const unsigned char* png, size_t size) {
    if (!png) return nullptr;
    ++gDecodedImages;
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

// The size an encoded image declares, read from its header alone; false
// when the bytes are neither a PNG nor the packed form, or declare no image
// there may be.
bool encodedSize(const unsigned char* bytes, size_t size, CCoord* width, CCoord* height) {
    if (!bytes) return false;
    packed::Header header;
    if (packed::readHeader(bytes, size, &header)) {
        *width = header.width;
        *height = header.height;
        return true;
    }
    // The signature, then the first chunk, which must be the header chunk.
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (size < 24 || std::memcmp(bytes, kSignature, 8) != 0 || std::memcmp(bytes + 12, "IHDR", 4) != 0) return false;
    auto bigEndian = [bytes](size_t at) {
        return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
               static_cast<uint32_t>(bytes[at + 2]) << 8 | static_cast<uint32_t>(bytes[at + 3]);
    };
    const uint32_t w = bigEndian(16), h = bigEndian(20);
    if (w == 0 || h == 0 || w > packed::kMaxSide || h > packed::kMaxSide) return false;
    *width = w;
    *height = h;
    return true;
}

// Guards what bitmaps share, perhaps between threads: the providers, the
// cache below and the making of bands (recursive: a reduced band is made
// from the bands of the picture it comes from).
std::recursive_mutex gPictureMutex;

}  // namespace

// Where numbered resources come from; each editor sets them as it is made.
struct CBitmap::Providers {
    ResourceProvider plain = nullptr;
    ScaledResourceProvider scaled = nullptr;
    std::vector<double> scales;  // rising; the scaled provider's
    bool operator==(const Providers& o) const { return plain == o.plain && scaled == o.scaled && scales == o.scales; }
    // What tells one provider's pictures from another's.
    uintptr_t id() const { return scaled ? reinterpret_cast<uintptr_t>(scaled) : reinterpret_cast<uintptr_t>(plain); }
    int indexOf(double scale) const {
        for (size_t i = 0; i < scales.size(); ++i)
            if (scales[i] == scale) return static_cast<int>(i);
        return -1;
    }
};

namespace {

using Providers = CBitmap::Providers;

// Made on first use: a provider may be set while other files' statics are
// initialised, before a global of this file would be.
Providers& providers() {
    static Providers shared;
    return shared;
}

Providers currentProviders() {
    std::lock_guard<std::recursive_mutex> lock(gPictureMutex);
    return providers();
}

void setProviders(const Providers& p) {
    std::lock_guard<std::recursive_mutex> lock(gPictureMutex);
    if (!(providers() == p)) providers() = p;
}

}  // namespace

struct CBitmap::Picture {
    struct Band {
        cairo_surface_t* surface = nullptr;    // null until made
        CCoord top = 0, rows = 0;              // its rows in the picture
        const unsigned char* bytes = nullptr;  // a resource's, still to decode
        size_t size = 0;
        bool reduced = false;                  // still to make from `source`
    };
    double scale = 1.0;    // pixels per unit
    double drawnAt = 1.0;  // the scale of the pixels it was made from
    CCoord pixelWidth = 0, pixelHeight = 0;
    std::vector<Band> bands;
    // The picture the reduced (or enlarged) bands are made from.
    std::shared_ptr<Picture> source;

    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture() {
        for (Band& b : bands)
            if (b.surface) cairo_surface_destroy(b.surface);
    }

    // Band i's image, decoded or made now if it is not yet; null when it
    // cannot be (it then stays null, and draws nothing).
    cairo_surface_t* surface(size_t i) {
        std::lock_guard<std::recursive_mutex> lock(gPictureMutex);
        Band& b = bands[i];
        if (!b.surface && b.bytes) {
            b.surface = decodeImage(b.bytes, b.size);
            if (b.surface && (cairo_image_surface_get_width(b.surface) != pixelWidth ||
                              cairo_image_surface_get_height(b.surface) != b.rows)) {
                cairo_surface_destroy(b.surface);
                b.surface = nullptr;
            }
            b.bytes = nullptr;
        } else if (!b.surface && b.reduced) {
            b.surface = resample(b.top, b.rows);
            b.reduced = false;
            // Made in full: the source may go (unless other bitmaps hold it).
            if (std::none_of(bands.begin(), bands.end(), [](const Band& x) { return x.reduced; })) source.reset();
        }
        return b.surface;
    }

    // The index of the band that holds pixel row y; bands.size() when none.
    size_t bandAt(CCoord y) const {
        for (size_t i = 0; i < bands.size(); ++i)
            if (y >= bands[i].top && y < bands[i].top + bands[i].rows) return i;
        return bands.size();
    }

private:
    // Rows top..top+rows of this picture painted from the source's bands
    // that reach them.
    cairo_surface_t* resample(CCoord top, CCoord rows) {
        Picture& from = *source;
        cairo_surface_t* s = createImageSurface(static_cast<int>(pixelWidth), static_cast<int>(rows));
        // Source pixel = target pixel * ratio.
        const double ratio = from.scale / scale;
        const double enlargement = scale / from.scale;
        const cairo_filter_t filter = enlargement == std::floor(enlargement) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD;
        cairo_t* cr = cairo_create(s);
        for (size_t i = 0; i < from.bands.size(); ++i) {
            const Band& b = from.bands[i];
            const CCoord first = targetRow(from, b.top) - top, last = targetRow(from, b.top + b.rows) - top;
            if (last <= 0 || first >= rows) continue;
            cairo_surface_t* band = from.surface(i);
            if (!band) continue;
            cairo_save(cr);
            cairo_rectangle(cr, 0, double(first), double(pixelWidth), double(last - first));
            cairo_clip(cr);
            cairo_pattern_t* pattern = cairo_pattern_create_for_surface(band);
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
        return s;
    }

public:
    // The row of this picture where row `sourceRow` of `from` falls, rounded
    // alike at both ends of every band so that the bands tile.
    CCoord targetRow(const Picture& from, CCoord sourceRow) const {
        return static_cast<CCoord>(std::floor(static_cast<double>(sourceRow) * scale / from.scale + 0.5));
    }
};

namespace {

// Pictures of numbered resources by provider, number and scale, while any
// bitmap holds them.
struct PictureKey {
    uintptr_t provider;
    int id;
    double scale;
    bool operator<(const PictureKey& o) const {
        if (provider != o.provider) return provider < o.provider;
        if (id != o.id) return id < o.id;
        return scale < o.scale;
    }
};
std::map<PictureKey, std::weak_ptr<CBitmap::Picture>>& pictureCache() {
    static std::map<PictureKey, std::weak_ptr<CBitmap::Picture>> cache;
    return cache;
}

std::shared_ptr<CBitmap::Picture> cachedPicture(const PictureKey& key) {
    std::lock_guard<std::recursive_mutex> lock(gPictureMutex);
    auto it = pictureCache().find(key);
    return it == pictureCache().end() ? nullptr : it->second.lock();
}

void rememberPicture(const PictureKey& key, const std::shared_ptr<CBitmap::Picture>& picture) {
    std::lock_guard<std::recursive_mutex> lock(gPictureMutex);
    auto& cache = pictureCache();
    for (auto it = cache.begin(); it != cache.end();)
        it = it->second.expired() ? cache.erase(it) : std::next(it);
    cache[key] = picture;
}

// A picture of one band already decoded.
std::shared_ptr<CBitmap::Picture> decodedPicture(cairo_surface_t* s, double scale) {
    auto p = std::make_shared<CBitmap::Picture>();
    p->scale = p->drawnAt = scale;
    p->pixelWidth = cairo_image_surface_get_width(s);
    p->pixelHeight = cairo_image_surface_get_height(s);
    p->bands.push_back({s, 0, p->pixelHeight, nullptr, 0});
    return p;
}

}  // namespace

void setResourceProvider(ResourceProvider provider) {
    Providers p;
    p.plain = provider;
    setProviders(p);
}

void setScaledResourceProvider(ScaledResourceProvider provider, const double* scales, int numScales) {
    Providers p;
    p.scaled = provider;
    p.scales.assign(scales, scales + (scales && numScales > 0 ? numScales : 0));
    std::sort(p.scales.begin(), p.scales.end());
    setProviders(p);
}

CBitmap::PicturePtr CBitmap::resourcePicture(const Providers& from, int index) const {
    if (resourceId_ < 0 || index < 0) return nullptr;
    if (from.scaled && static_cast<size_t>(index) >= from.scales.size()) return nullptr;
    if (!from.scaled && (!from.plain || index != 0)) return nullptr;
    const double scale = from.scaled ? from.scales[static_cast<size_t>(index)] : 1.0;
    const PictureKey key{from.id(), resourceId_, scale};
    if (PicturePtr shared = cachedPicture(key)) return shared;

    auto p = std::make_shared<Picture>();
    p->scale = p->drawnAt = scale;
    const unsigned char* data = nullptr;
    size_t size = 0;
    for (int band = 0;; ++band) {
        data = nullptr;
        if (from.scaled ? !from.scaled(resourceId_, index, band, &data, &size)
                        : (band > 0 || !from.plain(resourceId_, &data, &size)))
            break;
        CCoord w = 0, h = 0;
        if (!data || !encodedSize(data, size, &w, &h) || (band > 0 && w != p->pixelWidth)) return nullptr;
        p->bands.push_back({nullptr, p->pixelHeight, h, data, size});
        p->pixelWidth = w;
        p->pixelHeight += h;
    }
    if (p->bands.empty()) return nullptr;
    rememberPicture(key, p);
    return p;
}

void CBitmap::setBasePicture(PicturePtr p) {
    width_ = p->pixelWidth;
    height_ = p->pixelHeight;
    pictures_.push_back(std::move(p));
}

CBitmap::CBitmap(const CResourceDescription& desc) : resourceId_(desc.getId()) {
    const Providers from = currentProviders();
    if (PicturePtr p = resourcePicture(from, from.scaled ? from.indexOf(1.0) : 0)) setBasePicture(std::move(p));
}

CBitmap::CBitmap(const unsigned char* png, size_t size) {
    if (cairo_surface_t* s = decodeImage(png, size)) setBasePicture(decodedPicture(s, 1.0));
}

CBitmap::CBitmap(CCoord width, CCoord height) {
    if (width <= 0 || height <= 0) return;
    setBasePicture(decodedPicture(createImageSurface(static_cast<int>(width), static_cast<int>(height)), 1.0));
}

CBitmap::~CBitmap() = default;

cairo_surface_t* CBitmap::getSurface() const {
    return pictures_.empty() ? nullptr : pictures_[0]->surface(0);
}

CBitmap::PicturePtr CBitmap::derive(const PicturePtr& from, double scale) const {
    auto out = std::make_shared<Picture>();
    out->scale = scale;
    out->drawnAt = from->drawnAt;
    out->pixelWidth = std::max<CCoord>(1, toPixels(width_, scale));
    out->pixelHeight = std::max<CCoord>(1, toPixels(height_, scale));
    out->source = from;
    // The source's bands, each made when first drawn (a strip of frames
    // stays in bands of whole frames), none taller than kBandRows.
    std::vector<CCoord> edges;
    for (const Picture::Band& b : from->bands) edges.push_back(std::min(out->targetRow(*from, b.top), out->pixelHeight));
    edges.push_back(out->pixelHeight);
    for (size_t i = 0; i + 1 < edges.size(); ++i)
        for (CCoord top = edges[i]; top < edges[i + 1]; top += kBandRows)
            out->bands.push_back({nullptr, top, std::min(kBandRows, edges[i + 1] - top), nullptr, 0, true});
    return out;
}

CBitmap::Picture* CBitmap::pictureAt(double scale) {
    if (pictures_.empty()) return nullptr;
    for (const PicturePtr& p : pictures_)
        if (p->scale == scale) return p.get();
    const Providers from = currentProviders();
    const bool shared = from.scaled && resourceId_ >= 0;
    const PictureKey key{from.id(), resourceId_, scale};
    PicturePtr made = shared ? cachedPicture(key) : nullptr;
    if (!made && shared) {
        // The resource's pictures by preference: at the scale, the finer ones
        // nearest first (reduced), then the coarser ones nearest first (enlarged).
        const std::vector<double>& scales = from.scales;
        std::vector<size_t> order;
        for (size_t i = 0; i < scales.size(); ++i)
            if (scales[i] >= scale) order.push_back(i);
        for (size_t i = scales.size(); i-- > 0;)
            if (scales[i] < scale) order.push_back(i);
        for (size_t i : order) {
            PicturePtr source;
            for (const PicturePtr& p : pictures_)
                if (p->scale == scales[i]) source = p;
            if (!source) source = resourcePicture(from, static_cast<int>(i));
            if (!source) continue;
            made = scales[i] == scale ? source : derive(source, scale);
            break;
        }
        if (made) rememberPicture(key, made);
    }
    if (!made) made = derive(pictures_[0], scale);
    pictures_.push_back(made);
    return made.get();
}

long CBitmap::getDecodedImageCount() { return gDecodedImages; }

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    drawAlphaBlend(context, rect, offset, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset, unsigned char alpha) {
    if (!context || rect.isEmpty()) return;
    Picture* p = pictureAt(context->getScaleFactor());
    if (!p) return;
    // Only the bands that hold rows of the part shown (a rectangle h units
    // tall covers at most ceil(h * scale) rows wherever it lies).
    const CCoord first = toPixels(offset.v, p->scale);
    const CCoord last = first + static_cast<CCoord>(std::ceil(static_cast<double>(rect.height()) * p->scale));
    for (size_t i = 0; i < p->bands.size(); ++i) {
        const Picture::Band& b = p->bands[i];
        if (b.top + b.rows <= first || b.top >= last) continue;
        context->paintPicture(p->surface(i), p->scale, b.top, rect, offset, alpha);
    }
}

namespace {
CColor pixelOf(CBitmap::Picture& p, CCoord x, CCoord y) {
    const size_t i = p.bandAt(y);
    if (i == p.bands.size()) return kTransparentCColor;
    cairo_surface_t* s = p.surface(i);
    return s ? surfacePixel(s, x, y - p.bands[i].top) : kTransparentCColor;
}
}  // namespace

CColor CBitmap::getPixel(CCoord x, CCoord y) const {
    return pictures_.empty() ? kTransparentCColor : pixelOf(*pictures_[0], x, y);
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
    Picture* p = pictureAt(scale);
    return p ? pixelOf(*p, x, y) : kTransparentCColor;
}

}  // namespace VSTGUI
