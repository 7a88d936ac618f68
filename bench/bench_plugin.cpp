// Speed of the whole plug-in instance, through processReplacing as a format
// layer calls it: control ticks, both engines as routed, surround, gate,
// ducker, volume and meters. Also the memory an instance holds, and many
// instances served in turn as a host serves them.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_common.h"
#include "host/ov_core.h"

namespace {

enum Setup { ReverbOnly, MultitapOnly, Serial, Parallel, Full, Bypass, EnginesOff };

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
    fx.setParameter(RMix, s == MultitapOnly || s == EnginesOff ? 0.0f : 1.0f);
    fx.setParameter(MMix, s == ReverbOnly || s == EnginesOff ? 0.0f : 1.0f);
    fx.setParameter(Route, s == Serial ? 1.0f : 0.0f);
    fx.setParameter(param::Bypass, s == Setup::Bypass ? 1.0f : 0.0f);
    fx.setParameter(GThresh, s == Full ? 0.3f : 1.0f);
    fx.setParameter(DLevel, s == Full ? 0.5f : 0.0f);
}

// An instance as a format layer starts it: made, given the rate.
std::unique_ptr<OvCore> started(float sr)
{
    auto fx = std::make_unique<OvCore>();
    fx->setSampleRate(sr);
    return fx;
}

// Noise at half scale, the same for the same seed.
void fillNoise(std::vector<float>& l, std::vector<float>& r, std::mt19937& rng)
{
    std::uniform_real_distribution<float> d(-0.5f, 0.5f);
    for (size_t i = 0; i < l.size(); ++i) {
        l[i] = d(rng);
        r[i] = d(rng);
    }
}

void BM_Plugin(benchmark::State& state, Setup setup, float sr, int frames, bool tail)
{
    auto fx = started(sr);
    configure(*fx, setup);
    std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
    std::vector<float> silenceL(frames, 0.0f), silenceR(frames, 0.0f);
    std::mt19937 rng(1);
    fillNoise(inL, inR, rng);
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
    report(state, sr, frames);
}

// `count` instances of one program, each given its block in turn as a host
// serves its tracks; reported per instance and frame.
void BM_Instances(benchmark::State& state, int count)
{
    const float sr = 44100.0f;
    const int frames = 512;
    std::vector<std::unique_ptr<OvCore>> fxs;
    for (int i = 0; i < count; ++i) {
        fxs.push_back(started(sr));
        fxs.back()->setProgram(0);
    }
    std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
    std::mt19937 rng(2);
    fillNoise(inL, inR, rng);
    float* in[2] = { inL.data(), inR.data() };
    float* out[2] = { outL.data(), outR.data() };
    // Three seconds of playing first: the first pass through the program's
    // delay lines makes their pages resident, which costs once, not per block.
    for (int done = 0; done < 3 * static_cast<int>(sr); done += frames)
        for (auto& fx : fxs)
            fx->processReplacing(in, out, frames);
    for (auto _ : state) {
        for (auto& fx : fxs)
            fx->processReplacing(in, out, frames);
        benchmark::DoNotOptimize(outL.data());
        benchmark::ClobberMemory();
    }
    report(state, sr, static_cast<int64_t>(frames) * count);
}

// Resident memory per instance as a format layer holds them (no editor):
// made, given the rate, a factory program chosen, resumed, one second of noise each.
// Run each case in a process of its own (--benchmark_filter): memory one case
// frees is reused by the next.
void BM_InstanceMemory(benchmark::State& state, float sr, int count, int program)
{
    for (auto _ : state) {
        const double before = residentBytesOfProcess();
        std::vector<std::unique_ptr<OvCore>> fxs;
        for (int i = 0; i < count; ++i) {
            fxs.push_back(started(sr));
            fxs.back()->setProgram(program);
            fxs.back()->resume();
        }
        const int frames = 512;
        std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
        std::mt19937 rng(3);
        float* in[2] = { inL.data(), inR.data() };
        float* out[2] = { outL.data(), outR.data() };
        for (auto& fx : fxs)
            for (int done = 0; done < static_cast<int>(sr); done += frames) {
                fillNoise(inL, inR, rng);
                fx->processReplacing(in, out, frames);
            }
        const double after = residentBytesOfProcess();
        state.counters["MiB_per_instance"] = (after - before) / count / (1024.0 * 1024.0);
    }
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
            { "engines_off", EnginesOff, false },
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
        for (int count : { 1, 8, 40 }) {
            const std::string name = "plugin_instances/program:0/count:" + std::to_string(count);
            benchmark::RegisterBenchmark(name.c_str(), BM_Instances, count);
        }
        // Program 0, and program 148 with the bank's longest loop (1.5 beats).
        for (float sr : { 44100.0f, 48000.0f, 96000.0f, 192000.0f })
            for (int count : { 1, 20, 100 })
                for (int program : { 0, 148 }) {
                    const std::string name = "memory/plugin/sr:" + std::to_string(static_cast<int>(sr)) +
                        "/program:" + std::to_string(program) + "/instances:" + std::to_string(count);
                    benchmark::RegisterBenchmark(name.c_str(), BM_InstanceMemory, sr, count, program)
                        ->Iterations(1);
                }
    }
} registrar;

} // namespace
