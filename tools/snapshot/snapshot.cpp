// Pictures of the editor for people: the whole window drawn offscreen into a
// PNG, or one program's reverb response as the wave display draws it, at the
// scale the editor picks (NIMBREL_UI_SCALE=2 for the window at 2x).
//
//   nimbrel-snapshot OUT.png [--compact] [--program N]
//   nimbrel-snapshot --ir OUT.png --program N
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <cairo.h>

#include "editor/layout.h"
#include "editor/ov_editor.h"
#include "gui/scale_factor.h"
#include "vst2/ov_vst_editor.h"
#include "vst2/ovaudio.h"
#include "host/programs.h"

namespace {

// A host that says it is a VST 2.4 host and lets the window be resized.
intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterSizeWindow: return 1;
    default: return 0;
    }
}

int usage(const char* self) {
    std::fprintf(stderr,
                 "usage: %s OUT.png [--compact] [--program N]\n"
                 "       %s --ir OUT.png --program N\n",
                 self, self);
    return 2;
}

// Copies `area` of a surface into a PNG file of the area's size.
bool saveArea(cairo_surface_t* source, const LayoutRect& area, const char* path) {
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(area.width()),
                                                      static_cast<int>(area.height()));
    cairo_t* cr = cairo_create(out);
    cairo_set_source_surface(cr, source, -static_cast<double>(area.left), -static_cast<double>(area.top));
    cairo_paint(cr);
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(out, path) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(out);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const char* out = nullptr;
    bool compact = false, impulse = false;
    long program = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--compact") == 0) {
            compact = true;
        } else if (std::strcmp(argv[i], "--ir") == 0) {
            impulse = true;
        } else if (std::strcmp(argv[i], "--program") == 0 && i + 1 < argc) {
            char* end = nullptr;
            program = std::strtol(argv[++i], &end, 10);
            if (*end || program < 0 || program >= kNumPrograms) {
                std::fprintf(stderr, "the program must be 0..%d\n", kNumPrograms - 1);
                return 2;
            }
        } else if (argv[i][0] != '-' && !out) {
            out = argv[i];
        } else {
            return usage(argv[0]);
        }
    }
    if (!out || (impulse && program < 0)) return usage(argv[0]);

    OvAudio* effect = new OvAudio(hostCallback, createOvVstEditor);
    effect->setSampleRate(44100.0f);
    if (program >= 0) effect->setProgram(static_cast<int32_t>(program));
    OvEditor* editor = &static_cast<OvVstEditor*>(effect->getEditor())->editor();
    editor->open(nullptr);  // no host window: the frame draws offscreen
    if (compact) editor->changeWindowSize(layout::kCompactWidth, layout::kCompactHeight);
    editor->idle();  // computes the wave display and draws the frame

    int status = 0;
    VSTGUI::CFrame* frame = editor->getFrame();
    cairo_surface_t* picture = frame ? frame->renderToSurface() : nullptr;
    if (!picture) {
        std::fprintf(stderr, "the editor could not be drawn\n");
        status = 1;
    } else {
        // The picture has the window's pixels at the editor's scale.
        VSTGUI::CRect size;
        frame->getSize(size);
        const VSTGUI::CRect units = impulse ? VSTGUI::CRect(layout::kWaveDisplay.left, layout::kWaveDisplay.top,
                                                            layout::kWaveDisplay.right, layout::kWaveDisplay.bottom)
                                            : size;
        const VSTGUI::CRect pixels = VSTGUI::toPixels(units, frame->getScaleFactor());
        const LayoutRect area{pixels.left, pixels.top, pixels.right, pixels.bottom};
        if (!saveArea(picture, area, out)) {
            std::fprintf(stderr, "cannot write %s\n", out);
            status = 1;
        }
        cairo_surface_destroy(picture);
    }
    editor->close();
    delete effect;
    return status;
}
