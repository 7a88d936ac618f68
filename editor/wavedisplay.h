#pragma once
// The reverb's impulse response as a picture: the left channel's envelope
// above a centre line, the right channel's below it, over a faint grid and the
// part of the window background under the view.
#include "gui/vstgui.h"

class Wavedisplay : public VSTGUI::CView {
public:
    static constexpr int kMaxColumns = 1024;  // the length of the traces
    static constexpr float kMaxTrace = 70.0f;  // pixels above or below the centre

    Wavedisplay(VSTGUI::CRect& size, VSTGUI::CBitmap* background);
    ~Wavedisplay() override;

    void draw(VSTGUI::CDrawContext* context) override;
    // Accepts a dropped file (and does nothing with it); refuses anything else.
    bool onDrop(VSTGUI::CDragContainer* drag, const VSTGUI::CPoint& where) override;

    // Per pixel column: the left peak in pixels above the centre (0..70) and
    // the negated right peak (-70..0). Zero until the first computation.
    float topTrace[kMaxColumns] = {};
    float bottomTrace[kMaxColumns] = {};

private:
    VSTGUI::CBitmap* displayBackground;  // not owned
};
