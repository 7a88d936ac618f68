// Speed of the whole plug-in instance, through processReplacing as a host
// calls it: control ticks, both engines as routed, surround, gate, ducker,
// volume and meters.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/ovaudio.h"

namespace {

// Parameter indices.
enum {
    kMix = 0, kVolume = 1, kBypass = 3, kRoute = 4, kRMix = 5, kGThresh = 15, kDLevel = 19,
    kMMix = 21, kMTime = 22, kMFeedba = 23, kMDetune = 24, kMHiDamp = 25, kMHiCut = 27,
    kFirstStep = 29, kLastStep = 62,
};

// The init values of the 63 named parameters.
const float kInit[63] = {
    0.5f, 0.705f, 0.5f, 0.0f, 0.0f,                                       // Mix..Route
    1.0f, 0.5f, 0.6f, 1.0f, 0.2f, 0.4f, 0.1f, 1.0f, 0.4f, 0.55f,          // RMix..RSwirl
    1.0f, 0.125f, 0.25f, 0.25f, 0.0f, 0.5f,                               // GThresh..DLimit
    1.0f, 0.5f, 0.5f, 0.25f, 0.5f, 0.0625f, 1.0f, 0.125f,                 // MMix..MLowCut
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f, 1.0f,          // steps
};

enum Setup { ReverbOnly, MultitapOnly, Serial, Parallel, Full, Bypass };

void configure(OvAudio& fx, Setup s)
{
    for (int i = 0; i < 63; ++i)
        fx.setParameter(i, kInit[i]);
    // All 17 steps on, detune on; the polynomial taps (the costlier kind).
    for (int i = kFirstStep; i <= kLastStep; ++i)
        fx.setParameter(i, 0.3f + 0.02f * (i - kFirstStep));
    fx.setParameter(kMDetune, 0.25f);
    fx.setParameter(kMHiCut, 1.0f);
    fx.setParameter(kMHiDamp, 0.3f);
    fx.setParameter(kMFeedba, 0.5f);
    fx.setParameter(kMTime, 0.5f);
    fx.setParameter(kRMix, s == MultitapOnly ? 0.0f : 1.0f);
    fx.setParameter(kMMix, s == ReverbOnly ? 0.0f : 1.0f);
    fx.setParameter(kRoute, s == Serial ? 1.0f : 0.0f);
    fx.setParameter(kBypass, s == Bypass ? 1.0f : 0.0f);
    fx.setParameter(kGThresh, s == Full ? 0.3f : 1.0f);
    fx.setParameter(kDLevel, s == Full ? 0.5f : 0.0f);
}

void BM_Plugin(benchmark::State& state, Setup setup, float sr, int frames, bool tail)
{
    auto fx = std::make_unique<OvAudio>(nullptr);
    fx->setSampleRate(sr);
    fx->resume();
    configure(*fx, setup);
    std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
    std::vector<float> silenceL(frames, 0.0f), silenceR(frames, 0.0f);
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> d(-0.5f, 0.5f);
    for (int i = 0; i < frames; ++i) {
        inL[i] = d(rng);
        inR[i] = d(rng);
    }
    float* noise[2] = { inL.data(), inR.data() };
    float* silence[2] = { silenceL.data(), silenceR.data() };
    float* out[2] = { outL.data(), outR.data() };
    if (tail) {
        // Half a second of noise, then silence: the tails ring out.
        for (int done = 0; done < static_cast<int>(sr / 2); done += frames)
            fx->processReplacing(noise, out, frames);
    }
    float** in = tail ? silence : noise;
    for (auto _ : state) {
        fx->processReplacing(in, out, frames);
        benchmark::DoNotOptimize(outL.data());
        benchmark::ClobberMemory();
    }
    const double total = static_cast<double>(state.iterations()) * frames;
    state.counters["realtime"] = benchmark::Counter(total / sr, benchmark::Counter::kIsRate);
    state.counters["ns_per_frame"] = benchmark::Counter(total * 1e-9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

struct Registrar {
    Registrar()
    {
        const struct {
            const char* name;
            Setup setup;
            bool tail;
        } cases[] = {
            { "reverb", ReverbOnly, false }, { "multitap", MultitapOnly, false },
            { "serial", Serial, false }, { "parallel", Parallel, false },
            { "full_gate_ducker", Full, false }, { "bypass", Bypass, false },
            { "tail_reverb", ReverbOnly, true }, { "tail_multitap", MultitapOnly, true },
        };
        const struct {
            float sr;
            int block;
        } setups[] = { { 44100.0f, 512 }, { 96000.0f, 512 }, { 44100.0f, 64 } };
        for (const auto& s : setups)
            for (const auto& c : cases) {
                const std::string name = std::string("plugin/") + c.name + "/sr:" +
                    std::to_string(static_cast<int>(s.sr)) + "/block:" + std::to_string(s.block);
                benchmark::RegisterBenchmark(name.c_str(), BM_Plugin, c.setup, s.sr, s.block, c.tail);
            }
    }
} registrar;

} // namespace
