#pragma once
// Reading one pixel of a cairo image surface (toolkit-internal).
#include "gui/cgeometry.h"

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {
// The pixel at (x, y) as RGBA, not premultiplied; transparent outside.
CColor surfacePixel(cairo_surface_t* surface, CCoord x, CCoord y);
}  // namespace VSTGUI
