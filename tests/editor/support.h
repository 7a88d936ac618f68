#pragma once
// An instance with its editor, opened offscreen, for the editor's tests. The
// trace log and the compact-mode marker go to a private folder.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <cairo.h>

#include "editor/ov_editor.h"
#include "resources/resource_ids.h"
#include "tests/common/private_data_folder.h"
#include "vst2/ov_vst_editor.h"
#include "vst2/ovaudio.h"

namespace edtest {

// Bitmaps by number work in every test, also before any editor exists.
inline const bool kEmbeddedBitmaps = (VSTGUI::setResourceProvider(findNimbrelResource), true);

inline std::string privateFolder() { return privateDataFolder(); }

// What the host was asked for.
struct HostLog {
    std::vector<std::pair<int, int>> sizeRequests;
    bool canResize = true;
    bool saysItCanResize = true;  // the answer to canDo("sizeWindow")
};
inline HostLog& hostLog() {
    static HostLog log;
    return log;
}

inline intptr_t hostCallback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float) {
    switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterCanDo:  // whether it then does resize is canResize
        return (hostLog().saysItCanResize && ptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0) ? 1 : 0;
    case audioMasterSizeWindow:
        hostLog().sizeRequests.emplace_back(index, static_cast<int>(value));
        return hostLog().canResize ? 1 : 0;
    default: return 0;
    }
}

// The VST 2 instance with its editor, as the plug-in's entry builds it.
struct Instance {
    std::unique_ptr<OvAudio> fx;
    OvVstEditor* glue = nullptr;  // the host's editor opcodes
    OvEditor* editor = nullptr;

    explicit Instance(bool open = true) {
        privateFolder();
        fx = std::make_unique<OvAudio>(hostCallback, createOvVstEditor);
        fx->setSampleRate(44100.0f);
        glue = static_cast<OvVstEditor*>(fx->getEditor());
        editor = &glue->editor();
        if (open) editor->open(nullptr);
    }
    ~Instance() {
        if (editor) editor->close();
    }
    VSTGUI::CFrame* frame() const { return editor->getFrame(); }
};

// A pixel of an ARGB32 surface, as RGB (the editor's pictures are opaque).
inline VSTGUI::CColor surfacePixel(cairo_surface_t* s, long x, long y) {
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    uint32_t p;
    std::memcpy(&p, row + 4 * x, 4);
    return VSTGUI::MakeCColor((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff, (p >> 24) & 0xff);
}

inline std::string markerPath() { return privateFolder() + "/NimbrelHideEditor.cfg"; }

}  // namespace edtest
