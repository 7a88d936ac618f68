// Speed of the effect engines, driven the way the render path drives them:
// host blocks cut into sub-blocks of sample rate / 300 frames, with the
// countdown carried from one host block to the next. Every case also reports
// its cost in units of a plain baseline measured at the start of the same run
// (x_baseline), which stays comparable between machines and loads; and the
// memory the engines hold.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "base/denormals.h"
#include "bench/bench_common.h"
#include "dsp/delay2.h"
#include "dsp/reverb.h"
#include "dsp/simd.h"

namespace {

struct Signal {
    std::vector<float> l, r;
    Signal(int64_t frames, uint32_t seed) : l(frames), r(frames)
    {
        std::mt19937 rng(seed);
        std::uniform_real_distribution<float> d(-0.5f, 0.5f);
        for (int64_t i = 0; i < frames; ++i) {
            l[i] = d(rng);
            r[i] = d(rng);
        }
    }
};

// Cuts host blocks at control ticks like the render path.
class Ticker {
public:
    explicit Ticker(float sr) : tick_(static_cast<int64_t>(sr / 300.0)) {}
    template <typename F>
    void block(int64_t frames, F&& render)
    {
        int64_t offset = 0;
        while (frames > 0) {
            if (countdown_ == 0)
                countdown_ = tick_;
            const int64_t n = countdown_ < frames ? countdown_ : frames;
            render(offset, n);
            offset += n;
            frames -= n;
            countdown_ -= n;
        }
    }

private:
    int64_t tick_;
    int64_t countdown_ = 0;
};

void setSteps(Delay2& d)
{
    for (int k = 0; k < 17; ++k) {
        d.stepL[k] = 0.3f + 0.04f * k;
        d.stepR[k] = 0.9f - 0.03f * k;
    }
}

void runReverb(Reverb& rv, float* l, float* r, int64_t n)
{
    rv.universalReverbCalcEnhanced(l, r, n, 1.0f, 0.6f, 0.5f, 0.2f, 0.55f, 0.4f, 0.1f,
        1.0f - 1.0f, 0.4f, 1.0f, 1.0f, 0.5f);
}

void runDelay(Delay2& d, float* l, float* r, int64_t n)
{
    setSteps(d);
    d.bpm = 120.0f;
    d.universalTapCalc17(l, r, n, 1.0f, 0.5f, 0.5f, 0.25f, 0.2f, 0.0625f, 1.0f - 1.0f, 0.125f,
        0.0f, 1.0f, 0.5f);
}

enum Engines { ReverbOnly, DelayOnly, Serial, Parallel };

void BM_Engines(benchmark::State& state, Engines which, float sr, int64_t hostBlock, bool tail)
{
    ScopedFlushDenormals ftz;
    auto rv = std::make_unique<Reverb>();
    auto dl = std::make_unique<Delay2>();
    rv->samplerate = sr;
    dl->samplerate = sr;
    const int64_t span = static_cast<int64_t>(sr) * 2;
    Signal in(span, 7);
    std::vector<float> wl(hostBlock), wr(hostBlock), al(hostBlock), ar(hostBlock);
    Ticker ticker(sr);
    int64_t pos = 0;

    auto render = [&](int64_t len, bool silent) {
        for (int64_t i = 0; i < len;) {
            const int64_t at = (pos + i) % span;
            const int64_t n = len - i < span - at ? len - i : span - at;
            for (int64_t j = 0; j < n; ++j) {
                wl[i + j] = silent ? 0.0f : in.l[at + j];
                wr[i + j] = silent ? 0.0f : in.r[at + j];
            }
            i += n;
        }
        ticker.block(len, [&](int64_t off, int64_t n) {
            float* l = wl.data() + off;
            float* r = wr.data() + off;
            switch (which) {
            case ReverbOnly:
                runReverb(*rv, l, r, n);
                break;
            case DelayOnly:
                runDelay(*dl, l, r, n);
                break;
            case Serial:
                runReverb(*rv, l, r, n);
                runDelay(*dl, l, r, n);
                break;
            case Parallel:
                for (int64_t i = 0; i < n; ++i) {
                    al[off + i] = l[i];
                    ar[off + i] = r[i];
                }
                runReverb(*rv, l, r, n);
                runDelay(*dl, al.data() + off, ar.data() + off, n);
                break;
            }
        });
        pos += len;
        benchmark::DoNotOptimize(wl.data());
        benchmark::ClobberMemory();
    };

    if (tail) {
        // Half a second of noise, then only silence: the tails ring out.
        const int64_t burst = static_cast<int64_t>(sr / 2);
        for (int64_t done = 0; done < burst; done += hostBlock)
            render(hostBlock, false);
    }
    for (auto _ : state)
        render(hostBlock, tail);
    report(state, sr, hostBlock);
}

// Resident memory of engine pairs as a host holds them: made, prepared,
// then one second of noise each. Reported per reverb and multitap pair, from
// the process's resident size and from the engines' own pages (run each case
// in a process of its own for the first).
void BM_EngineMemory(benchmark::State& state, float sr, int count)
{
    ScopedFlushDenormals ftz;
    for (auto _ : state) {
        const double before = residentBytesOfProcess();
        std::vector<std::unique_ptr<Reverb>> reverbs;
        std::vector<std::unique_ptr<Delay2>> delays;
        for (int i = 0; i < count; ++i) {
            reverbs.push_back(std::make_unique<Reverb>());
            delays.push_back(std::make_unique<Delay2>());
            reverbs.back()->prepare(sr);
            delays.back()->prepare(sr);
        }
        const int64_t block = static_cast<int64_t>(sr / 300.0f);
        Signal in(block, 3);
        for (int i = 0; i < count; ++i)
            for (int64_t done = 0; done < static_cast<int64_t>(sr); done += block) {
                std::vector<float> l = in.l, r = in.r;
                runReverb(*reverbs[i], l.data(), r.data(), block);
                runDelay(*delays[i], l.data(), r.data(), block);
            }
        const double after = residentBytesOfProcess();
        double own = 0.0;
        for (int i = 0; i < count; ++i)
            own += static_cast<double>(reverbs[i]->residentBytes() + delays[i]->residentBytes());
        state.counters["MiB_per_pair"] = (after - before) / count / (1024.0 * 1024.0);
        state.counters["MiB_lines_per_pair"] = own / count / (1024.0 * 1024.0);
        state.counters["KiB_reverb_lines"] =
            static_cast<double>(reverbs[0]->residentBytes()) / 1024.0;
        state.counters["KiB_multitap_lines"] =
            static_cast<double>(delays[0]->residentBytes()) / 1024.0;
    }
}

void registerAll()
{
    benchmark::RegisterBenchmark("baseline/onepole/block:512", BM_Baseline);
    struct Case {
        const char* name;
        Engines which;
    };
    const Case cases[] = { { "reverb", ReverbOnly }, { "multitap", DelayOnly },
        { "serial", Serial }, { "parallel", Parallel } };
    const struct {
        float sr;
        int64_t block;
    } setups[] = { { 44100.0f, 512 }, { 96000.0f, 512 }, { 44100.0f, 64 } };
    for (const auto& s : setups) {
        for (const auto& c : cases) {
            const std::string name = std::string("engine/") + c.name + "/sr:" +
                std::to_string(static_cast<int>(s.sr)) + "/block:" + std::to_string(s.block);
            benchmark::RegisterBenchmark(name.c_str(), BM_Engines, c.which, s.sr, s.block, false);
        }
        for (const auto& c : { cases[0], cases[1] }) {
            const std::string name = std::string("engine_tail/") + c.name + "/sr:" +
                std::to_string(static_cast<int>(s.sr)) + "/block:" + std::to_string(s.block);
            benchmark::RegisterBenchmark(name.c_str(), BM_Engines, c.which, s.sr, s.block, true);
        }
    }
    for (float sr : { 44100.0f, 48000.0f, 96000.0f, 192000.0f })
        for (int count : { 1, 20 }) {
            const std::string name = "memory/engines/sr:" + std::to_string(static_cast<int>(sr)) +
                "/pairs:" + std::to_string(count);
            benchmark::RegisterBenchmark(name.c_str(), BM_EngineMemory, sr, count)->Iterations(1);
        }
}

} // namespace

// NIMBREL_SIMD=sse2|avx2|avx512 steps the engines down to a narrower vector
// unit, to measure what an older processor gets.
void chooseSimd()
{
    const char* want = std::getenv("NIMBREL_SIMD");
    if (want && std::strcmp(want, "sse2") == 0)
        setSimdLevel(SimdLevel::Sse2);
    else if (want && std::strcmp(want, "avx2") == 0)
        setSimdLevel(SimdLevel::Avx2);
    else if (want && std::strcmp(want, "avx512") == 0)
        setSimdLevel(SimdLevel::Avx512);
    const SimdLevel l = simdLevel();
    benchmark::AddCustomContext("simd", l == SimdLevel::Avx512 ? "avx512" : l == SimdLevel::Avx2 ? "avx2" : "sse2");
}

int main(int argc, char** argv)
{
    chooseSimd();
    measureBaseline();
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
