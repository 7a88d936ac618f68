#pragma once
// The host's side of the editor for the timing tool and the editor
// benchmark: an X window to open the editor in (when DISPLAY is set; the
// frame draws offscreen otherwise), and an instance with its editor built in
// this process as the plug-in's entry builds it.
#include <X11/Xlib.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "editor/ov_editor.h"
#include "vst2/ov_vst_editor.h"
#include "vst2/ovaudio.h"

namespace editor_host {

inline intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct HostWindow {
    Display* display = nullptr;
    Window window = 0;
    HostWindow(unsigned width, unsigned height) {
        display = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
        if (!display) return;
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }
    ~HostWindow() {
        if (!display) return;
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    void* handle() const { return display ? reinterpret_cast<void*>(static_cast<uintptr_t>(window)) : nullptr; }
    // Waits until the X server has done what was asked of it.
    void sync() const {
        if (display) XSync(display, False);
    }
};

struct Instance {
    std::unique_ptr<OvAudio> effect{new OvAudio(hostCallback, createOvVstEditor)};
    OvEditor& editor = static_cast<OvVstEditor*>(effect->getEditor())->editor();
    // hostScale 0: the scale the editor picks itself, as without a host's word.
    explicit Instance(double hostScale = 0) {
        effect->setSampleRate(44100.0f);
        if (hostScale > 0) editor.setHostScaleFactor(hostScale);
    }
    // Opens the window and shows it: the first idle computes the wave
    // display and draws the whole window.
    void openAndShow(HostWindow& host) {
        editor.open(host.handle());
        host.sync();
        editor.idle();
    }
};

}  // namespace editor_host
