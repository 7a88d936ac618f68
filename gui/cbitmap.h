#pragma once
// Bitmaps: PNG images decoded once into cairo image surfaces.
#include <cstddef>

#include "gui/cbaseobject.h"
#include "gui/cgeometry.h"

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CDrawContext;

// Where the PNG bytes of a numbered resource come from. The program embeds its
// images and installs a provider; it answers true and points at the bytes
// (which must stay valid for the life of the program) or false if unknown.
typedef bool (*ResourceProvider)(int id, const unsigned char** data, size_t* size);
void setResourceProvider(ResourceProvider provider);

class CResourceDescription {
public:
    CResourceDescription(int id) : id_(id) {}  // implicit, as bitmaps are named by number
    int getId() const { return id_; }
private:
    int id_;
};

class CBitmap : public CBaseObject {
public:
    // From a numbered resource; an unknown number or bad PNG gives an unloaded
    // bitmap of size 0 x 0, which draws nothing.
    explicit CBitmap(const CResourceDescription& desc);
    // From PNG bytes (copied as needed; the bytes may go after the call).
    CBitmap(const unsigned char* png, size_t size);
    // A blank (transparent) bitmap of the given size, for drawing into.
    CBitmap(CCoord width, CCoord height);
    ~CBitmap() override;

    bool isLoaded() const { return surface_ != nullptr; }
    CCoord getWidth() const { return width_; }
    CCoord getHeight() const { return height_; }
    int getResourceId() const { return resourceId_; }

    // Draws the part of the bitmap that starts at `offset` into `rect` of the
    // context, at the bitmap's own scale (clipped to `rect`).
    void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0));
    // As draw, with the whole image faded by alpha (0..255).
    void drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0),
                        unsigned char alpha = 128);

    // The pixel at (x, y) as RGBA (not premultiplied); transparent outside.
    CColor getPixel(CCoord x, CCoord y) const;
    cairo_surface_t* getSurface() const { return surface_; }

private:
    void loadPng(const unsigned char* png, size_t size);

    cairo_surface_t* surface_ = nullptr;
    CCoord width_ = 0, height_ = 0;
    int resourceId_ = -1;
};

}  // namespace VSTGUI
