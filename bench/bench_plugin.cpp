// Speed of the whole plug-in instance, through processReplacing as a format
// layer calls it: control ticks, both engines as routed, surround, gate,
// ducker, volume and meters.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/ov_core.h"

namespace {

enum Setup { ReverbOnly, MultitapOnly, Serial, Parallel, Full, Bypass };

void configure(OvCore& fx, Setup s)
{
    using namespace param;
    for (int i = 0; i < kNumNamedParams; ++i)
        fx.setParameter(i, kParameterInit.v[i]);
    // All 17 steps on, detune on; the polynomial taps (the costlier kind).
    for (int i = StepL0; i <= StepR16; ++i)
        fx.setParameter(i, 0.3f + 0.02f * (i - StepL0));
    fx.setParameter(MDetune, 0.25f);
    fx.setParameter(MHiCut, 1.0f);
    fx.setParameter(MHiDamp, 0.3f);
    fx.setParameter(MFeedba, 0.5f);
    fx.setParameter(MTime, 0.5f);
    fx.setParameter(RMix, s == MultitapOnly ? 0.0f : 1.0f);
    fx.setParameter(MMix, s == ReverbOnly ? 0.0f : 1.0f);
    fx.setParameter(Route, s == Serial ? 1.0f : 0.0f);
    fx.setParameter(param::Bypass, s == Setup::Bypass ? 1.0f : 0.0f);
    fx.setParameter(GThresh, s == Full ? 0.3f : 1.0f);
    fx.setParameter(DLevel, s == Full ? 0.5f : 0.0f);
}

void BM_Plugin(benchmark::State& state, Setup setup, float sr, int frames, bool tail)
{
    auto fx = std::make_unique<OvCore>();
    fx->setSampleRate(sr);
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
