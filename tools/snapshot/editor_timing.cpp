// Times the editor's user-interface work: opening the window (the first time
// in a fresh process, the first time in another instance while one lives in
// the same process, and again in the same instance), one wave display computation,
// and an idle call with nothing to redraw. With DISPLAY set the window is
// opened inside an X window, as a host does; without it the frame is
// offscreen. The editor picks its scale as in a host (NIMBREL_UI_SCALE, else
// the desktop's), so
//
//   NIMBREL_UI_SCALE=2 nimbrel-editor-timing [ROUNDS]
//
// times the window at 2x. Each first open in a fresh process runs in a child
// process of its own, so that nothing decoded before can help it.
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "tools/snapshot/editor_host.h"

namespace {

using editor_host::HostWindow;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// This thread's processor time in milliseconds: on a loaded machine the wall
// time also counts the waits for a processor, this does not.
double threadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// One measurement: wall time and this thread's processor time.
struct Figure {
    double wall = 0.0, cpu = 0.0;
};

struct Stopwatch {
    Clock::time_point wall = Clock::now();
    double cpu = threadMilliseconds();
    Figure read() const { return {millisecondsSince(wall), threadMilliseconds() - cpu}; }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void report(const char* what, const std::vector<Figure>& figures, double target) {
    if (figures.empty()) {
        std::printf("%-44s no figures\n", what);
        return;
    }
    std::vector<double> wall, cpu;
    for (const Figure& f : figures) {
        wall.push_back(f.wall);
        cpu.push_back(f.cpu);
    }
    const double m = median(wall);
    std::printf("%-44s median %9.4f ms  max %9.4f ms  (processor %9.4f ms)  (target %g ms) %s\n", what, m,
                *std::max_element(wall.begin(), wall.end()), median(cpu), target, m < target ? "ok" : "SLOW");
}

// An instance with its editor at the scale the editor picks.
struct Instance : editor_host::Instance {
    // Opens the window and shows it; returns the time taken.
    Figure open(HostWindow& host) {
        const Stopwatch t;
        openAndShow(host);
        return t.read();
    }
};

// The first open of the first instance of a process, in a child process.
// False when the child could not report.
bool firstOpenInFreshProcess(Figure& figure) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (child == 0) {
        close(fds[0]);
        Figure measured;
        {
            HostWindow host(1800, 1200);
            Instance in;
            measured = in.open(host);
            in.editor.close();
        }
        const ssize_t written = write(fds[1], &measured, sizeof measured);
        _exit(written == static_cast<ssize_t>(sizeof measured) ? 0 : 1);
    }
    close(fds[1]);
    const bool got = read(fds[0], &figure, sizeof figure) == static_cast<ssize_t>(sizeof figure);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;

    // Before this process decodes anything itself.
    std::vector<Figure> fresh;
    for (int i = 0; i < rounds; ++i)
        if (Figure f; firstOpenInFreshProcess(f)) fresh.push_back(f);

    HostWindow host(1800, 1200);
    // An instance whose window was opened once, as another track's would be.
    Instance in;
    in.open(host);
    in.editor.close();
    std::printf("editor timing, %s, scale %g, %d rounds\n", host.display ? "in an X window" : "offscreen",
                in.editor.getScaleFactor(), rounds);

    std::vector<Figure> firstInInstance, open, firstDraw, wave, idle;
    for (int i = 0; i < rounds; ++i) {
        Instance other;
        firstInInstance.push_back(other.open(host));
        other.editor.close();
    }

    OvEditor* editor = &in.editor;
    for (int i = 0; i < rounds; ++i) {
        Stopwatch t;
        editor->open(host.handle());
        open.push_back(t.read());
        host.sync();
        editor->idle();
        firstDraw.push_back(t.read());
        for (int k = 0; k < 5; ++k) {
            host.sync();
            editor->idle();
        }
        t = Stopwatch();
        editor->updateWaveDisplayData();
        wave.push_back(t.read());
        for (int k = 0; k < 3; ++k) editor->idle();
        for (int k = 0; k < 50; ++k) {
            t = Stopwatch();
            editor->idle();
            idle.push_back(t.read());
        }
        editor->close();
    }
    report("first open in a fresh process (shown)", fresh, 100.0);
    report("first open of another instance", firstInInstance, 100.0);
    report("reopen: open", open, 100.0);
    report("reopen: open and first idle (shown)", firstDraw, 100.0);
    report("updateWaveDisplayData", wave, 5.0);
    report("idle, nothing to redraw", idle, 0.2);
    return 0;
}
