// Times the editor's user-interface work: opening the window (the first time
// in a fresh process, the first time in another instance of the same
// process, and again in the same instance), one wave display computation,
// and an idle call with nothing to redraw. With DISPLAY set the window is
// opened inside an X window, as a host does; without it the frame is
// offscreen. The editor picks its scale as in a host (NIMBREL_UI_SCALE, else
// the desktop's), so
//
//   NIMBREL_UI_SCALE=2 nimbrel-editor-timing [ROUNDS]
//
// times the window at 2x. Each first open in a fresh process runs in a child
// process of its own, so that nothing decoded before can help it.
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
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

void report(const char* what, std::vector<double> ms, double target) {
    if (ms.empty()) {
        std::printf("%-44s no figures\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2], worst = ms.back();
    std::printf("%-44s median %9.4f ms  max %9.4f ms  (target %g ms) %s\n", what, median, worst, target,
                median < target ? "ok" : "SLOW");
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
    void sync() const {
        if (display) XSync(display, False);
    }
};

struct Instance {
    std::unique_ptr<OvAudio> effect{new OvAudio(hostCallback, createOvVstEditor)};
    OvEditor& editor = static_cast<OvVstEditor*>(effect->getEditor())->editor();
    Instance() { effect->setSampleRate(44100.0f); }
    // Opens the window and shows it: the first idle computes the wave
    // display and draws the whole window. Returns the milliseconds taken.
    double open(HostWindow& host) {
        const Clock::time_point t = Clock::now();
        editor.open(host.handle());
        host.sync();
        editor.idle();
        return millisecondsSince(t);
    }
};

// The first open of the first instance of a process, in a child process.
// Returns a negative figure when the child could not report.
double firstOpenInFreshProcess() {
    int fds[2];
    if (pipe(fds) != 0) return -1.0;
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return -1.0;
    }
    if (child == 0) {
        close(fds[0]);
        double ms = -1.0;
        {
            HostWindow host;
            Instance in;
            ms = in.open(host);
            in.editor.close();
        }
        const ssize_t written = write(fds[1], &ms, sizeof ms);
        _exit(written == static_cast<ssize_t>(sizeof ms) ? 0 : 1);
    }
    close(fds[1]);
    double ms = -1.0;
    if (read(fds[0], &ms, sizeof ms) != static_cast<ssize_t>(sizeof ms)) ms = -1.0;
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;

    // Before this process decodes anything itself.
    std::vector<double> fresh;
    for (int i = 0; i < rounds; ++i)
        if (const double ms = firstOpenInFreshProcess(); ms >= 0) fresh.push_back(ms);

    HostWindow host;
    std::vector<double> firstInInstance, open, firstDraw, wave, idle;
    double scale = 1.0;
    for (int i = 0; i < rounds; ++i) {
        Instance in;
        scale = in.editor.getScaleFactor();
        firstInInstance.push_back(in.open(host));
        in.editor.close();
    }
    std::printf("editor timing, %s, scale %g, %d rounds\n", host.display ? "in an X window" : "offscreen", scale, rounds);

    Instance in;
    in.open(host);
    in.editor.close();
    OvEditor* editor = &in.editor;
    for (int i = 0; i < rounds; ++i) {
        Clock::time_point t = Clock::now();
        editor->open(host.handle());
        open.push_back(millisecondsSince(t));
        host.sync();
        editor->idle();
        firstDraw.push_back(millisecondsSince(t));
        for (int k = 0; k < 5; ++k) {
            host.sync();
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
    report("first open in a fresh process (shown)", fresh, 100.0);
    report("first open of a new instance, same process", firstInInstance, 100.0);
    report("reopen: open", open, 100.0);
    report("reopen: open and first idle (shown)", firstDraw, 100.0);
    report("updateWaveDisplayData", wave, 5.0);
    report("idle, nothing to redraw", idle, 0.2);
    return 0;
}
