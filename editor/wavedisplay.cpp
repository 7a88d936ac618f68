#include "editor/wavedisplay.h"

#include <algorithm>
#include <cmath>

using namespace VSTGUI;

Wavedisplay::Wavedisplay(CRect& size, CBitmap* background) : CView(size), displayBackground(background) {
    setMouseEnabled(true);
}

Wavedisplay::~Wavedisplay() = default;

bool Wavedisplay::onDrop(CDragContainer* drag, const CPoint& where) {
    (void)where;
    if (!drag) return false;
    long size = 0, type = kUnknown;
    void* item = drag->first(size, type);
    return item != nullptr && type == kFile;
}

namespace {

CColor white(unsigned char alpha) { return MakeCColor(255, 255, 255, alpha); }

// Screen row of a trace value: the centre is half the height up from the bottom.
CCoord traceRow(CCoord height, float half, float trace) {
    return static_cast<CCoord>(static_cast<float>(height) - std::max(0.0f, half + trace));
}

}  // namespace

void Wavedisplay::draw(CDrawContext* context) {
    const CRect& view = getViewSize();
    const CCoord width = view.width(), height = view.height();
    if (width < 1 || height < 1) {
        setDirty(false);
        return;
    }
    const CCoord centre = height - height / 2;
    const float half = static_cast<float>(height) * 0.5f;
    const CCoord columns = std::min<CCoord>(width, kMaxColumns);

    // Drawn offscreen first, so the view appears in one piece.
    COffscreenContext offscreen(getFrame(), width, height, MakeCColor(0, 0, 0, 255));
    offscreen.setLineWidth(1);
    if (displayBackground) displayBackground->draw(&offscreen, CRect(0, 0, width, height), CPoint(view.left, view.top));

    // Grid: one line every 19 pixels, the middle one brighter.
    offscreen.setLineWidth(2);
    for (int i = 1; i <= 19; ++i) {
        offscreen.setFrameColor(white(i == 10 ? 32 : 8));
        offscreen.moveTo(CPoint(19 * i, centre + 80));
        offscreen.lineTo(CPoint(19 * i, centre - 80));
    }
    offscreen.setFrameColor(white(8));
    offscreen.moveTo(CPoint(0, centre));
    offscreen.lineTo(CPoint(width, centre));

    // The filled envelope between the two traces.
    offscreen.setLineWidth(1);
    for (CCoord x = 0; x < columns; ++x) {
        offscreen.moveTo(CPoint(x, traceRow(height, half, topTrace[x]) + 1));
        offscreen.setFrameColor(white(64));
        offscreen.lineTo(CPoint(x, traceRow(height, half, bottomTrace[x]) - 1));
    }

    // Smooth outlines of both channels.
    offscreen.setDrawMode(kAntialias);
    offscreen.moveTo(CPoint(0, height / 2 + 1));
    for (CCoord x = 0; x < columns; ++x) {
        offscreen.setFrameColor(white(128));
        offscreen.lineTo(CPoint(x, traceRow(height, half, topTrace[x])));
    }
    offscreen.moveTo(CPoint(0, height / 2 + 1));
    for (CCoord x = 0; x < columns; ++x) {
        offscreen.setFrameColor(white(128));
        offscreen.lineTo(CPoint(x, traceRow(height, half, bottomTrace[x])));
    }

    offscreen.copyFrom(context, view, CPoint(0, 0));
    setDirty(false);
}
