#include "dsp/delay2.h"

#include <cmath>
#include <cstring>

#include "dsp/delay2_taps.h"
#include "dsp/dspmath.h"
#include "dsp/simd.h"


using dspmath::frac;
using dspmath::limited;
using dspmath::truncIndex;
using dspmath::unitControl;

static_assert(Delay2::kChunk <= kTapChunkMax, "the tap kernel plans whole chunks");

const float Delay2::MultiDelaySyncTab2[13] = {
    0.0625f, 0.125f, 0.1875f, 0.25f, 0.33333f, 0.375f, 0.5f,
    0.66666f, 0.75f, 1.0f, 1.333333f, 1.5f, 2.0f,
};

// Tap k is modulated at lfoprimfactors[k] / 100 Hz; primes keep the taps from
// drifting in step. The last entry is not used.
const float Delay2::lfoprimfactors[18] = {
    79.0f, 47.0f, 97.0f, 107.0f, 43.0f, 71.0f, 67.0f, 101.0f, 103.0f,
    89.0f, 41.0f, 59.0f, 83.0f, 109.0f, 53.0f, 61.0f, 73.0f, 113.0f,
};

namespace {

constexpr float kMaxDepth = 65536.0f;

// Four-point fifth-order interpolator over ym (newest), y0, y1, y2 (oldest):
// y1 at u = 0, y0 at u = 1.
inline float interp4(float ym, float y0, float y1, float y2, float u)
{
    return y1 + 0.5f * u * ((y0 - y2) + u * ((y0 - 2.0f * y1 + y2)
        + u * (9.0f * (y0 - y1) + 3.0f * (y2 - ym)
        + u * (15.0f * (y1 - y0) + 5.0f * (ym - y2)
        + u * (6.0f * (y0 - y1) + 2.0f * (y2 - ym))))));
}

inline float readLeft(const float* line, int64_t m, int64_t q, float t)
{
    return interp4(line[q & m], line[(q - 1) & m], line[(q - 2) & m], line[(q - 3) & m], 1.0f - t);
}

inline float readRight(const float* line, int64_t m, int64_t q, float t)
{
    return interp4(line[q & m], line[(q - 1) & m], line[(q - 2) & m], line[(q - 3) & m], t);
}

// A one-pole coefficient: within 0..1, where the filter is stable; a control
// that is no number opens the filter.
inline float onePole(float f, float sr)
{
    return limited(1.0f - std::exp(f / sr * -6.28318f), 0.0f, 1.0f, 1.0f);
}

// Modulator phase increment per sample; a sample rate far outside the usable
// range (zero, negative) would otherwise give none that is sane.
inline float boundedRate(float r)
{
    return r >= 0.0f && r <= 0.5f ? r : 0.0f;
}

// Modulation depth in samples; bounded so that no control drives the reads
// beyond the lines (NaN gives none).
inline float boundedDepth(float d)
{
    if (d > kMaxDepth)
        return kMaxDepth;
    return d >= 0.0f ? d : 0.0f;
}

// Depth in samples of a modulator of this rate: `scale` / rate / 44100. A
// modulator that stands still (rate 0) gets the deepest depth there is any
// detune, as the division by zero would have given.
inline float depthFor(float scale, float rate)
{
    if (rate > 0.0f)
        return boundedDepth(scale / rate / 44100.0f);
    return scale > 0.0f ? kMaxDepth : 0.0f;
}

} // namespace

Delay2::Delay2() : memory(4 * kLineSize)
{
    lines.place(memory.data(), 4, kLineSize);
    samplerate = 44100.0f;
    bpm = 120.0f;
    lastFeedback = 0.0f;
    lastLoop = 0.0f;
    std::memset(chunkPhase, 0, sizeof chunkPhase);
    std::memset(chunkAccL, 0, sizeof chunkAccL);
    std::memset(chunkAccR, 0, sizeof chunkAccR);
    std::memset(chunkLoopL, 0, sizeof chunkLoopL);
    std::memset(chunkLoopR, 0, sizeof chunkLoopR);
    ranTempo = 120.0f, ranTime = 0.5f, ranFeedback = 0.5f;
    prepare(44100.0f);
}

void Delay2::prepare(float sampleRate)
{
    samplerate = sampleRate;
    lines.settle(ringLength(coefficients(sampleRate, ranTempo, ranTime, ranFeedback, 0, 0, 0, 0, 0)));
    reset();
    forgetLastSettings();
}

int64_t Delay2::ringLength(const Delay2Coeffs& c)
{
    return RingLines::lengthFor(c.oneShot ? 1 : c.loopLength, c.farthest, kLineSize);
}

void Delay2::reset()
{
    // The lines are wiped when the next call has fitted their ring, and only
    // as far as that reaches.
    restartPending = true;
    writePos = 0;
    for (float& s : loopState)
        s = 0.0f;
    for (float& s : outState)
        s = 0.0f;
    mainPhase = 0.0f;
    for (int k = 0; k < kSteps; ++k) {
        tapPhase[k] = 0.0f;
        stepL[k] = 0.0f;
        stepR[k] = 0.0f;
    }
}

float Delay2::lfoShape(float p)
{
    // Parabolic sine: 0.5 -> 1 -> 0.5 -> 0 -> 0.5 over one period.
    if (p < 0.5f)
        return -8.0f * p * p + 4.0f * p + 0.5f;
    return 8.0f * p * p - 12.0f * p + 4.5f;
}

int Delay2::syncIndex(float time)
{
    const int64_t k = truncIndex(time * 12.999f) % 13;
    return static_cast<int>(k < 0 ? k + 13 : k);
}

float Delay2::usableBpm(float b)
{
    if (b > 0.0f && std::isfinite(b))
        return b;
    return 120.0f;
}

Delay2Coeffs Delay2::coefficients(float sr, float tempo, float time, float feedback, float detune,
    float hiDamp, float lowDamp, float hiCut, float lowCut)
{
    sr = dspmath::positiveRate(sr);
    Delay2Coeffs c;
    c.syncValue = MultiDelaySyncTab2[syncIndex(time)];
    const int64_t syncSamples = truncIndex(sr / usableBpm(tempo) * 60.0f * c.syncValue);
    c.loopLength = 2 * syncSamples;

    c.feedbackBase = static_cast<float>(
        static_cast<double>(feedback) * static_cast<double>(feedback) * 0.995 + 0.005);
    c.oneShot = !(feedback > 0.05f);
    if (!c.oneShot) {
        // Each step is one seventeenth of the loop's decay quieter than the last.
        const float g = std::pow(c.feedbackBase, 0.05882352963089943f);
        c.tapGain[0] = 1.0f;
        for (int k = 1; k < kSteps; ++k)
            c.tapGain[k] = c.tapGain[k - 1] * g;
        const float norm = 1.0f / (c.feedbackBase + 0.001f);
        for (int k = 0; k < kSteps; ++k)
            c.tapGain[k] *= norm;
    } else {
        for (int k = 0; k < kSteps; ++k)
            c.tapGain[k] = 1.0f;
        if (c.syncValue == 0.0625f)
            c.loopLength = 2;
    }

    c.cHiDamp = onePole((1.0f - hiDamp) * (1.0f - hiDamp) * 22000.0f + 300.0f, sr);
    c.cLowDamp = onePole(8.0f + lowDamp * lowDamp * 3000.0f, sr);
    c.cLowCut = onePole(5.0f + lowCut * lowCut * 5000.0f, sr);
    c.cHiCut = onePole((1.0f - hiCut) * (1.0f - hiCut) * (1.0f - hiCut) * 22000.0f + 200.0f, sr);

    // Rates are bounded to [0, 0.5], so every phase stays within [0, 1).
    for (int k = 0; k < kSteps; ++k) {
        c.tapRate[k] = boundedRate(lfoprimfactors[k] / 100.0f / sr);
        c.tapDepth[k] = depthFor(detune * detune * 250.0f, c.tapRate[k]);
    }
    c.mainRate = boundedRate(1.13f / sr);
    c.mainDepth = depthFor(detune * detune * 80.0f, c.mainRate);

    // The longest read (tap 16 and the loop) is loopLength + depth + 3 samples
    // back; keep it inside the lines so slow tempi with long note values never
    // read newer material. The bound uses the deepest modulation at full
    // detune, so moving MDetune never changes the loop length.
    float deepest = depthFor(250.0f, c.tapRate[10]);
    for (int k = 0; k < kSteps; ++k)
        deepest = c.tapDepth[k] > deepest ? c.tapDepth[k] : deepest;
    deepest = c.mainDepth > deepest ? c.mainDepth : deepest;
    const int64_t longest = kLineSize - 5 - static_cast<int64_t>(deepest);
    if (c.loopLength > longest)
        c.loopLength = longest;
    if (c.loopLength < 0)
        c.loopLength = 0;
    // The right-hand reads of tap 16 reach furthest: one sample, three more
    // for the interpolation, and the whole depth behind one loop length.
    c.farthest = c.loopLength + static_cast<int64_t>(deepest) + 4;
    return c;
}

void Delay2::loopStage(const float* left, const float* right, int n, const Delay2Coeffs& c,
    bool firstStepLouder, const float* phase)
{
    int64_t w = writePos;
    const int64_t ring = lines.mask();
    float* const sourceL = tapSourceL();
    float* const sourceR = tapSourceR();
    if (c.oneShot) {
        // No recirculation: the taps read the input itself.
        for (int i = 0; i < n; ++i) {
            sourceL[w & ring] = left[i];
            sourceR[w & ring] = right[i];
            w = (w + 1) & kMask;
        }
        return;
    }
    const float fb = c.feedbackBase;
    const int64_t loopLength = c.loopLength;
    const int64_t mainD = static_cast<int64_t>(c.mainDepth);
    // A loop longer than the chunk reads only samples written before the
    // chunk: all its reads can then be made first, several samples at a time.
    const bool readAhead = loopLength >= n;
    if (readAhead) {
        const float* rows[1] = { phase };
        const float depth[1] = { c.mainDepth };
        const int32_t whole[1] = { static_cast<int32_t>(mainD) };
        const int32_t base[1] = { static_cast<int32_t>(loopLength) };
        const float unity[1] = { 1.0f };
        TapChunk job;
        job.lineL = loopL();
        job.lineR = loopR();
        job.mask = static_cast<int32_t>(ring);
        job.w0 = w;
        job.n = n;
        job.smooth = true;
        job.taps = 1;
        job.phase = rows;
        job.depth = depth;
        job.wholeDepth = whole;
        job.base = base;
        job.gainL = unity;
        job.gainR = unity;
        job.accL = chunkLoopL;
        job.accR = chunkLoopR;
        job.store = true;
        simdKernels().tapChunk(job);
    }
    float* const lineL = loopL();
    float* const lineR = loopR();
    float a0 = loopState[0], a1 = loopState[1], b0 = loopState[2], b1 = loopState[3];
    for (int i = 0; i < n; ++i) {
        float dL, dR;
        if (readAhead) {
            dL = chunkLoopL[i];
            dR = chunkLoopR[i];
        } else {
            const float m = lfoShape(phase[i]) * c.mainDepth;
            const int64_t M = static_cast<int64_t>(m);
            const float t = m - static_cast<float>(M);
            dL = readLeft(lineL, ring, w - loopLength - M, t);
            dR = readRight(lineR, ring, w - loopLength + M - mainD, t);
        }
        const float fbL = (left[i] - dL) * fb;
        const float fbR = (right[i] - dR) * fb;
        // The 1e-7 keeps the damping states out of the denormal range.
        a0 = (1.0f - c.cHiDamp) * a0 + c.cHiDamp * fbL + 1e-7f;
        a1 = (1.0f - c.cHiDamp) * a1 + c.cHiDamp * fbR + 1e-7f;
        b0 = (1.0f - c.cLowDamp) * b0 + c.cLowDamp * a0 + 1e-7f;
        b1 = (1.0f - c.cLowDamp) * b1 + c.cLowDamp * a1 + 1e-7f;
        const float hL = a0 - b0;
        const float hR = a1 - b1;
        // Stored negated: the read above is subtracted, so the loop feeds back positively.
        lineL[w & ring] = -hL;
        lineR[w & ring] = -hR;
        sourceL[w & ring] = firstStepLouder ? fbL : hL;
        sourceR[w & ring] = firstStepLouder ? fbR : hR;
        w = (w + 1) & kMask;
    }
    loopState[0] = a0;
    loopState[1] = a1;
    loopState[2] = b0;
    loopState[3] = b1;
}

void Delay2::universalTapCalc17(float* left, float* right, int64_t count, float mix, float time,
    float feedback, float detune, float hiDamp, float lowDamp, float hiCut, float lowCut,
    float, float, float)
{
    mix = unitControl(mix), feedback = unitControl(feedback), detune = unitControl(detune);
    hiDamp = unitControl(hiDamp), lowDamp = unitControl(lowDamp);
    hiCut = unitControl(hiCut), lowCut = unitControl(lowCut);
    const float dry = 1.0f - mix;
    const float from[9] = { samplerate, bpm, time, feedback, detune, hiDamp, lowDamp, hiCut, lowCut };
    const Delay2Coeffs& c = kept.get(from, [&] {
        return coefficients(samplerate, bpm, time, feedback, detune, hiDamp, lowDamp, hiCut, lowCut);
    });

    // Echoes laid out for another spacing or decay would replay wrongly: start
    // from silence whenever either changes.
    const float loopAsFloat = static_cast<float>(c.loopLength);
    if (!(c.feedbackBase == lastFeedback) || !(loopAsFloat == lastLoop))
        reset();
    lastFeedback = c.feedbackBase;
    lastLoop = loopAsFloat;
    ranTempo = bpm, ranTime = time, ranFeedback = feedback;
    // The ring follows the loop length. Otherwise it only changes when a
    // higher rate has outgrown it, and then starts from silence.
    const int64_t ring = ringLength(c);
    if (restartPending || ring > lines.length()) {
        lines.restart(ring);
        restartPending = false;
    }

    float levelL[kSteps], levelR[kSteps];
    for (int k = 0; k < kSteps; ++k) {
        levelL[k] = unitControl(stepL[k]);
        levelR[k] = unitControl(stepR[k]);
    }
    const bool firstStepLouder = levelL[0] > levelL[16] || levelR[0] > levelR[16];
    const bool smoothTaps = samplerate <= 48000.0f && hiCut <= 0.45f
        && (firstStepLouder || hiDamp <= 0.45f);
    if (count < 1)
        return;

    // Steps with both levels at 0 cost nothing (and their phases stand still).
    int active[kSteps];
    int taps = 0;
    float depth[kSteps], gainL[kSteps], gainR[kSteps];
    int32_t wholeDepth[kSteps], base[kSteps];
    const float* phaseRows[kSteps];
    for (int k = 0; k < kSteps; ++k) {
        if (!(levelL[k] + levelR[k] > 0.0f))
            continue;
        active[taps] = k;
        depth[taps] = c.tapDepth[k];
        wholeDepth[taps] = static_cast<int32_t>(c.tapDepth[k]);
        // Tap 0 has no base delay, tap 16 is one full loop length back.
        base[taps] = static_cast<int32_t>((k * c.loopLength) >> 4);
        gainL[taps] = levelL[k] * c.tapGain[k];
        gainR[taps] = levelR[k] * c.tapGain[k];
        phaseRows[taps] = chunkPhase[taps];
        ++taps;
    }

    // The taps of a chunk read the tap source after the loop stage has written
    // the whole chunk, and the loop makes its reads before its writes; that
    // is the same as sample by sample as long as no read reaches back to a
    // slot that a later sample of the chunk overwrites.
    float deepest = c.oneShot ? 0.0f : c.mainDepth;
    for (int a = 0; a < taps; ++a)
        deepest = depth[a] > deepest ? depth[a] : deepest;
    const int64_t reach = c.loopLength + static_cast<int64_t>(deepest) + 3;
    int64_t chunkLimit = lines.length() - reach;
    if (chunkLimit > kChunk)
        chunkLimit = kChunk;
    if (chunkLimit < 1)
        chunkLimit = 1;

    // Modulator phases side by side: the active taps, then the loop's.
    alignas(32) float phase[kLanes] = {};
    alignas(32) float rate[kLanes] = {};
    for (int a = 0; a < taps; ++a) {
        phase[a] = tapPhase[active[a]];
        rate[a] = c.tapRate[active[a]];
    }
    int lanes = taps;
    if (!c.oneShot) {
        phase[taps] = mainPhase;
        rate[taps] = c.mainRate;
        lanes = taps + 1;
    }

    const SimdKernels& kernels = simdKernels();
    for (int64_t start = 0; start < count; start += chunkLimit) {
        const int n = static_cast<int>(count - start < chunkLimit ? count - start : chunkLimit);
        float* l = left + start;
        float* r = right + start;
        const int64_t w0 = writePos;
        PhaseRun phases;
        phases.n = n;
        phases.lanes = lanes;
        phases.phase = phase;
        phases.rate = rate;
        phases.rows = chunkPhase[0];
        phases.stride = kChunk + kPad;
        phases.pad = kPad;
        kernels.phases(phases);
        loopStage(l, r, n, c, firstStepLouder, chunkPhase[taps]);
        std::memset(chunkAccL, 0, sizeof(float) * (n + kPad));
        std::memset(chunkAccR, 0, sizeof(float) * (n + kPad));
        if (taps > 0) {
            TapChunk job;
            job.lineL = tapSourceL();
            job.lineR = tapSourceR();
            job.mask = static_cast<int32_t>(lines.mask());
            job.w0 = w0;
            job.n = n;
            job.smooth = smoothTaps;
            job.taps = taps;
            job.phase = phaseRows;
            job.depth = depth;
            job.wholeDepth = wholeDepth;
            job.base = base;
            job.gainL = gainL;
            job.gainR = gainR;
            job.accL = chunkAccL;
            job.accR = chunkAccR;
            kernels.tapChunk(job);
        }
        float lcR = outState[0], lcL = outState[1], hcR = outState[2], hcL = outState[3];
        for (int i = 0; i < n; ++i) {
            float accL = chunkAccL[i];
            float accR = chunkAccR[i];
            lcR = (1.0f - c.cLowCut) * lcR + c.cLowCut * accR;
            accR -= lcR;
            lcL = (1.0f - c.cLowCut) * lcL + c.cLowCut * accL;
            accL -= lcL;
            hcR = (1.0f - c.cHiCut) * hcR + c.cHiCut * accR;
            hcL = (1.0f - c.cHiCut) * hcL + c.cHiCut * accL;
            l[i] = dry * l[i] + mix * hcL;
            r[i] = dry * r[i] + mix * hcR;
        }
        outState[0] = lcR;
        outState[1] = lcL;
        outState[2] = hcR;
        outState[3] = hcL;
        writePos = (w0 + n) & kMask;
    }
    for (int a = 0; a < taps; ++a)
        tapPhase[active[a]] = phase[a];
    if (!c.oneShot)
        mainPhase = phase[taps];
}
