// How long the editor's window takes to open at a scale, until it is drawn:
// the first time (no other instance of the process holds the pictures, so
// they are decoded then) and again in the same instance (pictures kept).
// Each case times the window at scale 1 beside it, in the same process, and
// reports its time against that baseline (x_scale_1). With DISPLAY set the
// window opens inside an X window, as a host's; without it the frame draws
// offscreen.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "editor/ov_editor.h"
#include "vst2/ov_vst_editor.h"
#include "vst2/ovaudio.h"

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
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 3500, 2200, 0, 0, 0);
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
    std::unique_ptr<OvAudio> effect;
    OvEditor* editor;
    explicit Instance(double scale)
        : effect(new OvAudio(hostCallback, createOvVstEditor)),
          editor(&static_cast<OvVstEditor*>(effect->getEditor())->editor()) {
        effect->setSampleRate(44100.0f);
        editor->setHostScaleFactor(scale);  // as a host that tells its scale
    }
    // Opens the window and draws it (the first idle computes the wave
    // display and draws everything); returns the seconds taken.
    double open(HostWindow& host) {
        const auto start = std::chrono::steady_clock::now();
        editor->open(host.handle());
        if (host.display) XSync(host.display, False);
        editor->idle();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

void reportAgainstBaseline(benchmark::State& state, double seconds, double baselineSeconds) {
    state.counters["x_scale_1"] = baselineSeconds > 0 ? seconds / baselineSeconds : 0.0;
}

void BM_OpenFirstTime(benchmark::State& state, double scale) {
    HostWindow host;
    double total = 0, baseline = 0;
    for (auto _ : state) {
        double seconds = 0;
        {
            Instance in(scale);
            seconds = in.open(host);
            in.editor->close();
        }
        state.SetIterationTime(seconds);
        total += seconds;
        Instance one(1.0);
        baseline += one.open(host);
        one.editor->close();
    }
    reportAgainstBaseline(state, total, baseline);
}

void BM_OpenAgain(benchmark::State& state, double scale) {
    HostWindow host;
    Instance in(scale), one(1.0);
    in.open(host);
    in.editor->close();
    one.open(host);
    one.editor->close();
    double total = 0, baseline = 0;
    for (auto _ : state) {
        const double seconds = in.open(host);
        in.editor->close();
        state.SetIterationTime(seconds);
        total += seconds;
        baseline += one.open(host);
        one.editor->close();
    }
    reportAgainstBaseline(state, total, baseline);
}

struct Registrar {
    Registrar() {
        for (double scale : {1.0, 1.25, 1.5, 2.0, 3.0}) {
            const std::string s = std::to_string(scale).substr(0, 4);
            benchmark::RegisterBenchmark(("editor_open/first/scale:" + s).c_str(), BM_OpenFirstTime, scale)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("editor_open/again/scale:" + s).c_str(), BM_OpenAgain, scale)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
} registrar;

}  // namespace
