#pragma once
// Bitmaps: PNG images decoded into cairo image surfaces. A bitmap has one
// size in layout units (its picture at scale 1) and is drawn at the scale of
// the context it is drawn into, from a picture drawn at that scale where its
// resource provides one, else from the nearest finer one, reduced once.
// A numbered resource's pictures are decoded once per process, when first
// drawn, band by band (a filmstrip decodes only the bands of the frames
// shown), and shared by every bitmap of that number while any is alive.
#include <cstddef>
#include <memory>
#include <vector>

#include "gui/cbaseobject.h"
#include "gui/cgeometry.h"

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CDrawContext;

// Where the PNG bytes of a numbered resource come from. The program embeds its
// images and installs a provider; it answers true and points at the bytes
// (which must stay valid for the life of the program) or false if unknown.
// This one gives the pictures at scale 1 only. Wherever a bitmap takes PNG
// bytes it also takes the toolkit's packed form (packed_pixels.h).
typedef bool (*ResourceProvider)(int id, const unsigned char** data, size_t* size);
void setResourceProvider(ResourceProvider provider);

// The same for pictures drawn at several scales: `scales` (copied) lists
// them in rising order and holds 1. The provider gives band `band` of
// resource `id` drawn at scales[scaleIndex]: a picture taller than one image
// may be comes in bands, stacked top to bottom from band 0, and the provider
// answers false past the last one. Replaces a provider set before, as
// setResourceProvider replaces this one.
typedef bool (*ScaledResourceProvider)(int id, int scaleIndex, int band, const unsigned char** data, size_t* size);
void setScaledResourceProvider(ScaledResourceProvider provider, const double* scales, int numScales);

class CResourceDescription {
public:
    CResourceDescription(int id) : id_(id) {}  // implicit, as bitmaps are named by number
    int getId() const { return id_; }
private:
    int id_;
};

class CBitmap : public CBaseObject {
public:
    // From a numbered resource; an unknown number, or bytes that are neither
    // a PNG nor the packed form, give an unloaded bitmap of size 0 x 0, which
    // draws nothing. (A resource's pictures are decoded when first drawn: a
    // band damaged past its header draws nothing.)
    explicit CBitmap(const CResourceDescription& desc);
    // From PNG bytes (copied as needed; the bytes may go after the call).
    CBitmap(const unsigned char* png, size_t size);
    // A blank (transparent) bitmap of the given size, for drawing into (at
    // scale 1; its pictures at other scales are made from it when first drawn).
    CBitmap(CCoord width, CCoord height);
    ~CBitmap() override;

    bool isLoaded() const { return !pictures_.empty(); }
    CCoord getWidth() const { return width_; }
    CCoord getHeight() const { return height_; }
    int getResourceId() const { return resourceId_; }

    // Draws the part of the bitmap that starts at `offset` into `rect` of the
    // context, one unit for one unit (clipped to `rect`).
    void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0));
    // As draw, with the whole image faded by alpha (0..255).
    void drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0),
                        unsigned char alpha = 128);

    // The pixel at (x, y) of the picture at scale 1, as RGBA (not
    // premultiplied); transparent outside.
    CColor getPixel(CCoord x, CCoord y) const;
    // The picture at scale 1 (its first band).
    cairo_surface_t* getSurface() const;

    // The picture this bitmap is drawn from at `scale`, made now if needed:
    // its pixel size, and the scale it was drawn at by its resource (`scale`
    // itself when provided; the finer scale it was reduced from otherwise;
    // 1 for a bitmap without a scaled resource). False when not loaded.
    bool getPictureInfo(double scale, CCoord* pixelWidth, CCoord* pixelHeight, double* drawnAt);
    // Pixel (x, y) of the picture at `scale` (made as for drawing).
    CColor getPicturePixel(double scale, CCoord x, CCoord y);

    // How many encoded images (a picture's bands) this process has decoded
    // so far: a count of work done, for tests.
    static long getDecodedImageCount();

    // One picture of the bitmap at one scale, and where numbered resources
    // come from (toolkit-internal).
    struct Picture;
    struct Providers;

private:
    using PicturePtr = std::shared_ptr<Picture>;
    // The picture at `scale`: kept by this bitmap, shared with the other
    // bitmaps of the same resource, loaded from the resource or reduced.
    Picture* pictureAt(double scale);
    // The resource's picture at the provider's scales[scaleIndex]: its size
    // from the headers, its bands decoded when first drawn.
    PicturePtr resourcePicture(const Providers& from, int scaleIndex) const;
    // The picture at `scale` made from `from`, band by band when first drawn.
    PicturePtr derive(const PicturePtr& from, double scale) const;
    void setBasePicture(PicturePtr p);

    std::vector<PicturePtr> pictures_;  // the first at scale 1
    CCoord width_ = 0, height_ = 0;
    int resourceId_ = -1;
};

}  // namespace VSTGUI
