// How long the editor's window takes to open at a scale, until it is drawn:
// the first time in an instance (its pictures at that scale decoded then)
// and again (pictures kept). Scale 1 is the baseline to read the others
// against. With DISPLAY set the window opens inside an X window, as a host's;
// without it the frame draws offscreen.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "editor/ov_editor.h"
#include "host/ovaudio.h"
#include "resources/resource_ids.h"

namespace {

intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// The host's window, when there is a display.
struct HostWindow {
    Display* display = nullptr;
    Window window = 0;
    HostWindow() {
        display = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
        if (!display) return;
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1800, 1200, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }
    ~HostWindow() {
        if (!display) return;
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    void* handle() const { return display ? reinterpret_cast<void*>(static_cast<uintptr_t>(window)) : nullptr; }
};

struct Instance {
    std::unique_ptr<OvAudio> effect{new OvAudio(hostCallback)};
    OvEditor* editor;
    Instance() : editor(static_cast<OvEditor*>(effect->getEditor())) {
        effect->setSampleRate(44100.0f);
        // The pictures at every scale (the editor itself installs those at 1).
        VSTGUI::setScaledResourceProvider(findNimbrelPicture, kSkinScales, kNumSkinScales);
    }
    // Opens the window at `scale` and draws it (the first idle computes the
    // wave display and draws everything).
    void open(void* parent, double scale, HostWindow& host) {
        editor->open(parent);
        editor->getFrame()->setScaleFactor(scale);
        if (host.display) XSync(host.display, False);
        editor->idle();
    }
};

void BM_OpenFirstTime(benchmark::State& state, double scale) {
    HostWindow host;
    for (auto _ : state) {
        state.PauseTiming();
        auto in = std::make_unique<Instance>();
        state.ResumeTiming();
        in->open(host.handle(), scale, host);
        state.PauseTiming();
        in->editor->close();
        in.reset();
        state.ResumeTiming();
    }
}

void BM_OpenAgain(benchmark::State& state, double scale) {
    HostWindow host;
    Instance in;
    in.open(host.handle(), scale, host);
    in.editor->close();
    for (auto _ : state) {
        in.open(host.handle(), scale, host);
        state.PauseTiming();
        in.editor->close();
        state.ResumeTiming();
    }
}

struct Registrar {
    Registrar() {
        for (double scale : {1.0, 1.25, 1.5, 2.0, 3.0}) {
            const std::string s = std::to_string(scale).substr(0, 4);
            benchmark::RegisterBenchmark(("editor_open/first/scale:" + s).c_str(), BM_OpenFirstTime, scale)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("editor_open/again/scale:" + s).c_str(), BM_OpenAgain, scale)
                ->Unit(benchmark::kMillisecond);
        }
    }
} registrar;

}  // namespace
