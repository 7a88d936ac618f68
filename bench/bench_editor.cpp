// How long the editor's window takes to open at a scale, until it is drawn:
// the first time (no other instance of the process holds the pictures, so
// they are decoded then) and again in the same instance (pictures kept).
// Each case times the window at scale 1 beside it, in the same process, and
// reports its time against that baseline (x_scale_1). With DISPLAY set the
// window opens inside an X window, as a host's; without it the frame draws
// offscreen. The editor_memory cases give its resident memory.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_common.h"
#include "tools/snapshot/editor_host.h"

namespace {

using editor_host::HostWindow;

struct Instance : editor_host::Instance {
    explicit Instance(double scale) : editor_host::Instance(scale) {}  // as a host that tells its scale
    // Opens the window and shows it; returns the seconds taken.
    double open(HostWindow& host) {
        const auto start = std::chrono::steady_clock::now();
        openAndShow(host);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

// Room for the window at 3x.
constexpr unsigned kHostWidth = 3500, kHostHeight = 2200;

void reportAgainstBaseline(benchmark::State& state, double seconds, double baselineSeconds) {
    state.counters["x_scale_1"] = baselineSeconds > 0 ? seconds / baselineSeconds : 0.0;
}

void BM_OpenFirstTime(benchmark::State& state, double scale) {
    HostWindow host(kHostWidth, kHostHeight);
    double total = 0, baseline = 0;
    for (auto _ : state) {
        double seconds = 0;
        {
            Instance in(scale);
            seconds = in.open(host);
            in.editor.close();
        }
        state.SetIterationTime(seconds);
        total += seconds;
        Instance one(1.0);
        baseline += one.open(host);
        one.editor.close();
    }
    reportAgainstBaseline(state, total, baseline);
}

void BM_OpenAgain(benchmark::State& state, double scale) {
    HostWindow host(kHostWidth, kHostHeight);
    Instance in(scale), one(1.0);
    in.open(host);
    in.editor.close();
    one.open(host);
    one.editor.close();
    double total = 0, baseline = 0;
    for (auto _ : state) {
        const double seconds = in.open(host);
        in.editor.close();
        state.SetIterationTime(seconds);
        total += seconds;
        baseline += one.open(host);
        one.editor.close();
    }
    reportAgainstBaseline(state, total, baseline);
}

// Resident memory of the editor: per instance with its editor closed (made,
// never opened; beside the same instance without an editor), for the first window opened in the process (it decodes the
// pictures at the scale, which every later window shares), and per further
// open window. Run each scale in a process of its own (--benchmark_filter):
// what one case frees is reused by the next.
void BM_EditorMemory(benchmark::State& state, double scale) {
    constexpr int kCount = 8;
    constexpr double kMiB = 1024.0 * 1024.0;
    HostWindow host(kHostWidth, kHostHeight);
    for (auto _ : state) {
        // The same instances without an editor, as the baseline of the closed ones.
        double start = residentBytesOfProcess();
        std::vector<std::unique_ptr<OvAudio>> plain;
        for (int i = 0; i < kCount; ++i) {
            plain.emplace_back(new OvAudio(editor_host::hostCallback, nullptr));
            plain.back()->setSampleRate(44100.0f);
        }
        state.counters["MiB_instance_without_editor"] = (residentBytesOfProcess() - start) / kCount / kMiB;
        start = residentBytesOfProcess();
        std::vector<std::unique_ptr<Instance>> instances;
        for (int i = 0; i < kCount; ++i) instances.push_back(std::make_unique<Instance>(scale));
        const double made = residentBytesOfProcess();
        instances[0]->open(host);
        const double first = residentBytesOfProcess();
        for (int i = 1; i < kCount; ++i) instances[i]->open(host);
        const double all = residentBytesOfProcess();
        state.counters["MiB_closed_instance"] = (made - start) / kCount / kMiB;
        state.counters["MiB_first_open"] = (first - made) / kMiB;
        state.counters["MiB_per_further_open"] = (all - first) / (kCount - 1) / kMiB;
        for (auto& in : instances) in->editor.close();
    }
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
            benchmark::RegisterBenchmark(("editor_memory/scale:" + s).c_str(), BM_EditorMemory, scale)->Iterations(1);
        }
    }
} registrar;

}  // namespace
