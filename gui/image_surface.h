#pragma once
// Where the toolkit's pictures and back buffers live (toolkit-internal).
// Large images are given memory of their own, mapped afresh and returned to
// the system when they go, in huge pages where the system lends them for the
// asking: a window's back buffer and its skin at 2x are tens of megabytes,
// and touching that many small pages for the first time costs more than
// decoding and drawing them.
typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

// A transparent ARGB32 image surface of width x height pixels (each at
// least 1); its memory goes with the surface. Never null: a failed surface
// reports its error through cairo_surface_status, as cairo's own do.
cairo_surface_t* createImageSurface(int width, int height);

}  // namespace VSTGUI
