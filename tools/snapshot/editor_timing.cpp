// Times the editor's user-interface work: opening the window, one wave
// display computation, and an idle call with nothing to redraw. With DISPLAY
// set the window is opened inside an X window, as a host does; without it the
// frame is offscreen.
//
//   nimbrel-editor-timing [ROUNDS]
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "editor/ov_editor.h"
#include "vst2/ov_vst_editor.h"
#include "vst2/ovaudio.h"

namespace {

intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void report(const char* what, std::vector<double>& ms, double target) {
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2], worst = ms.back();
    std::printf("%-36s median %9.4f ms  max %9.4f ms  (target %g ms) %s\n", what, median, worst, target,
                median < target ? "ok" : "SLOW");
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;
    Display* display = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    Window parent = 0;
    if (display) {
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 900, 600, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
    }
    void* systemWindow = display ? reinterpret_cast<void*>(static_cast<uintptr_t>(parent)) : nullptr;
    std::printf("editor timing, %s, %d rounds\n", display ? "in an X window" : "offscreen", rounds);

    OvAudio* effect = new OvAudio(hostCallback, createOvVstEditor);
    effect->setSampleRate(44100.0f);
    OvEditor* editor = &static_cast<OvVstEditor*>(effect->getEditor())->editor();

    std::vector<double> open, firstDraw, wave, idle;
    for (int i = 0; i < rounds; ++i) {
        Clock::time_point t = Clock::now();
        editor->open(systemWindow);
        open.push_back(millisecondsSince(t));
        // The first idle computes the wave display and draws the whole window.
        if (display) XSync(display, False);
        editor->idle();
        firstDraw.push_back(millisecondsSince(t));
        for (int k = 0; k < 5; ++k) {
            if (display) XSync(display, False);
            editor->idle();
        }
        t = Clock::now();
        editor->updateWaveDisplayData();
        wave.push_back(millisecondsSince(t));
        for (int k = 0; k < 3; ++k) editor->idle();
        for (int k = 0; k < 50; ++k) {
            t = Clock::now();
            editor->idle();
            idle.push_back(millisecondsSince(t));
        }
        editor->close();
    }
    report("open", open, 100.0);
    report("open and first idle (window shown)", firstDraw, 100.0);
    report("updateWaveDisplayData", wave, 5.0);
    report("idle, nothing to redraw", idle, 0.2);

    delete effect;
    if (display) {
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }
    return 0;
}
