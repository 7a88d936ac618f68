// Figures on what a hostile host's input does to the instance, program by
// program: how long after one block of the largest samples a float holds the
// output is a number again and back at a new instance's level, and the lowest
// sample rate at which every program's output stays a number.
//   nimbrel_hostile_figures [recovery|rates|both] [SECONDS [PROGRAM]]
// SECONDS is how long the recovery is followed (default 30); PROGRAM limits
// the recovery to one program.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "host/ov_core.h"

namespace {

constexpr int kBlock = 512;

struct Signal {
    std::vector<float> left, right;
    explicit Signal(size_t frames) : left(frames), right(frames) {}
};

Signal noise(size_t frames, float level, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> d(-level, level);
    Signal s(frames);
    for (size_t i = 0; i < frames; ++i) {
        s.left[i] = d(rng);
        s.right[i] = d(rng);
    }
    return s;
}

std::unique_ptr<OvCore> instance(int program, float rate) {
    auto fx = std::make_unique<OvCore>();
    fx->setSampleRate(rate);
    fx->setProgram(program);
    fx->suspend();
    return fx;
}

// Renders `in` from `from` on for `frames` frames in host-sized blocks.
Signal render(OvCore& fx, const Signal& in, size_t from, size_t frames) {
    Signal out(frames);
    for (size_t at = 0; at < frames; at += kBlock) {
        const int n = static_cast<int>(std::min<size_t>(kBlock, frames - at));
        float* i[2] = {const_cast<float*>(&in.left[from + at]), const_cast<float*>(&in.right[from + at])};
        float* o[2] = {&out.left[at], &out.right[at]};
        fx.processReplacing(i, o, n);
    }
    return out;
}

double levelDb(const Signal& s, size_t from, size_t to) {
    double e = 1e-30;
    for (size_t i = from; i < to; ++i)
        e += static_cast<double>(s.left[i]) * s.left[i] + static_cast<double>(s.right[i]) * s.right[i];
    return 10.0 * std::log10(e / static_cast<double>(to - from));
}

// Frames until the last sample that is no number has passed.
size_t finiteFrom(const Signal& s) {
    size_t from = 0;
    for (size_t i = 0; i < s.left.size(); ++i)
        if (!std::isfinite(s.left[i]) || !std::isfinite(s.right[i])) from = i + 1;
    return from;
}

// One 512-frame block of +-FLT_MAX, then half-scale noise; the same noise
// through a new instance is the reference. "Finite from" counts from the
// start of the burst; "back" is the time after the burst from which on every
// 100 ms window's level is within 1 dB of the reference's.
void recovery(float seconds, int first, int last) {
    const float rate = 44100.0f;
    const size_t frames = static_cast<size_t>(rate * seconds);
    const size_t window = static_cast<size_t>(rate / 10.0f);
    const Signal after = noise(frames, 0.5f, 22);
    Signal burst(kBlock);
    for (size_t i = 0; i < kBlock; ++i) {
        burst.left[i] = (i % 2) ? -FLT_MAX : FLT_MAX;
        burst.right[i] = -burst.left[i];
    }
    std::printf("recovery after one %d-frame block of +-FLT_MAX at %.0f Hz, followed for %.0f s\n", kBlock, rate,
                seconds);
    std::printf("program  finite from (ms)  level back after (s)  name\n");
    double worstFinite = 0.0, worstBack = 0.0;
    int notBack = 0;
    std::vector<double> backs;
    for (int program = first; program <= last; ++program) {
        auto fresh = instance(program, rate);
        auto hit = instance(program, rate);
        const Signal during = render(*hit, burst, 0, kBlock);
        const Signal expected = render(*fresh, after, 0, frames);
        const Signal out = render(*hit, after, 0, frames);
        // From the start of the burst.
        const size_t finite = finiteFrom(out) > 0 ? kBlock + finiteFrom(out) : finiteFrom(during);
        const double finiteMs = 1000.0 * static_cast<double>(finite) / rate;
        size_t back = frames;  // not back within the time followed
        for (size_t w = frames / window; w-- > 0;) {
            const size_t from = w * window, to = std::min(frames, from + window);
            if (std::fabs(levelDb(out, from, to) - levelDb(expected, from, to)) > 1.0) break;
            back = from;
        }
        char name[kProgramNameSize];
        hit->getProgramNameIndexed(program, name);
        worstFinite = std::max(worstFinite, finiteMs);
        if (back == frames) {
            ++notBack;
            const size_t last = frames - window;
            std::printf("%7d  %16.1f  %20s  %s (last 100 ms %+.1f dB from a new instance's)\n", program,
                        finiteMs, "not back", name, levelDb(out, last, frames) - levelDb(expected, last, frames));
        } else {
            const double backS = static_cast<double>(back) / rate;
            backs.push_back(backS);
            worstBack = std::max(worstBack, backS);
            std::printf("%7d  %16.1f  %20.1f  %s\n", program, finiteMs, backS, name);
        }
    }
    std::sort(backs.begin(), backs.end());
    std::printf("finite again at worst %.1f ms after the burst began; level back: median %.1f s, worst %.1f s over %zu programs; "
                "%d programs not back within %.0f s\n",
                worstFinite, backs.empty() ? 0.0 : backs[backs.size() / 2], worstBack, backs.size(), notBack,
                seconds);
}

// Every program at each rate of a ladder from 1 Hz up, 16384 frames of
// full-scale noise: the lowest rate from which on (within the ladder) every
// program's output is a number, and the largest sample met.
void rates() {
    const float ladder[] = {1.0f,    2.0f,    3.0f,    5.0f,    8.0f,    13.0f,   20.0f,    30.0f,
                            50.0f,   80.0f,   100.0f,  130.0f,  200.0f,  300.0f,  500.0f,   794.0f,
                            1000.0f, 2000.0f, 2512.0f, 2720.0f, 4000.0f, 8000.0f, 22050.0f, 44100.0f};
    const size_t frames = 16384;
    const Signal in = noise(frames, 1.0f, 23);
    float lowestForAll = 0.0f;
    int failingPrograms = 0;
    float largest = 0.0f;
    for (int program = 0; program < kNumPrograms; ++program) {
        float lowest = 0.0f;  // the lowest rate from which on every rate gave numbers
        for (float rate : ladder) {
            auto fx = instance(program, rate);
            const Signal out = render(*fx, in, 0, frames);
            const bool finite = finiteFrom(out) == 0;
            if (finite) {
                for (size_t i = 0; i < frames; ++i)
                    largest = std::max({largest, std::fabs(out.left[i]), std::fabs(out.right[i])});
                if (lowest == 0.0f) lowest = rate;
            } else {
                lowest = 0.0f;
            }
        }
        if (lowest != 1.0f) {
            ++failingPrograms;
            std::printf("program %d: finite from %g Hz on\n", program, lowest);
        }
        lowestForAll = std::max(lowestForAll, lowest == 0.0f ? FLT_MAX : lowest);
    }
    std::printf("lowest rate with finite output for every program (ladder 1 Hz .. 44100 Hz, %zu frames of "
                "full-scale noise): %g Hz; programs not finite from 1 Hz on: %d; largest output sample %g\n",
                frames, lowestForAll, failingPrograms, largest);
}

}  // namespace

int main(int argc, char** argv) {
    const char* what = argc > 1 ? argv[1] : "both";
    const float seconds = argc > 2 ? std::strtof(argv[2], nullptr) : 30.0f;
    if (!(seconds > 0.0f && seconds <= 600.0f)) {
        std::fprintf(stderr, "SECONDS: 0 < SECONDS <= 600\n");
        return 2;
    }
    const int program = argc > 3 ? std::atoi(argv[3]) : -1;
    if (program >= kNumPrograms) {
        std::fprintf(stderr, "PROGRAM: 0..%d\n", kNumPrograms - 1);
        return 2;
    }
    const bool both = std::strcmp(what, "both") == 0;
    if (both || std::strcmp(what, "recovery") == 0)
        recovery(seconds, program < 0 ? 0 : program, program < 0 ? kNumPrograms - 1 : program);
    if (both || std::strcmp(what, "rates") == 0) rates();
    return 0;
}
