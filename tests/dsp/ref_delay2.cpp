#include "tests/dsp/ref_delay2.h"

#include <cmath>
#include <cstring>

#include "dsp/dspmath.h"

using dspmath::frac;
using dspmath::truncIndex;

const float RefDelay2::MultiDelaySyncTab2[13] = {
    0.0625f, 0.125f, 0.1875f, 0.25f, 0.33333f, 0.375f, 0.5f,
    0.66666f, 0.75f, 1.0f, 1.333333f, 1.5f, 2.0f,
};

// Tap k is modulated at lfoprimfactors[k] / 100 Hz; primes keep the taps from
// drifting in step. The last entry is not used.
const float RefDelay2::lfoprimfactors[18] = {
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

inline float readLeft(const float* line, int64_t q, float t)
{
    const int64_t m = RefDelay2::kMask;
    return interp4(line[q & m], line[(q - 1) & m], line[(q - 2) & m], line[(q - 3) & m], 1.0f - t);
}

inline float readRight(const float* line, int64_t q, float t)
{
    const int64_t m = RefDelay2::kMask;
    return interp4(line[q & m], line[(q - 1) & m], line[(q - 2) & m], line[(q - 3) & m], t);
}

inline float readLeftLinear(const float* line, int64_t q, float t)
{
    const int64_t m = RefDelay2::kMask;
    return t * line[(q - 2) & m] + (1.0f - t) * line[(q - 1) & m];
}

inline float readRightLinear(const float* line, int64_t q, float t)
{
    const int64_t m = RefDelay2::kMask;
    return (1.0f - t) * line[(q - 2) & m] + t * line[(q - 1) & m];
}

// Kept within 0..1, where the one-pole is stable; no number opens it.
inline float onePole(float f, float sr)
{
    const float c = 1.0f - std::exp(f / sr * -6.28318f);
    if (!(c <= 1.0f))
        return 1.0f;
    return c < 0.0f ? 0.0f : c;
}

// Phase increment per sample, limited to [0, 0.5].
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

} // namespace

RefDelay2::RefDelay2()
{
    samplerate = 44100.0f;
    bpm = 120.0f;
    lastFeedback = 0.0f;
    lastLoop = 0.0f;
    reset();
}

void RefDelay2::reset()
{
    std::memset(loopL, 0, sizeof loopL);
    std::memset(loopR, 0, sizeof loopR);
    std::memset(tapSourceL, 0, sizeof tapSourceL);
    std::memset(tapSourceR, 0, sizeof tapSourceR);
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

float RefDelay2::lfoShape(float p)
{
    // Parabolic sine: 0.5 -> 1 -> 0.5 -> 0 -> 0.5 over one period.
    if (p < 0.5f)
        return -8.0f * p * p + 4.0f * p + 0.5f;
    return 8.0f * p * p - 12.0f * p + 4.5f;
}

int RefDelay2::syncIndex(float time)
{
    const int64_t k = truncIndex(time * 12.999f) % 13;
    return static_cast<int>(k < 0 ? k + 13 : k);
}

float RefDelay2::usableBpm(float b)
{
    if (b > 0.0f && std::isfinite(b))
        return b;
    return 120.0f;
}

RefDelay2Coeffs RefDelay2::coefficients(float sr, float tempo, float time, float feedback, float detune,
    float hiDamp, float lowDamp, float hiCut, float lowCut)
{
    RefDelay2Coeffs c;
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

    // Rates are bounded so every phase stays within (-1, 2).
    for (int k = 0; k < kSteps; ++k) {
        c.tapRate[k] = boundedRate(lfoprimfactors[k] / 100.0f / sr);
        c.tapDepth[k] = boundedDepth(detune * detune * 250.0f / c.tapRate[k] / 44100.0f);
    }
    c.mainRate = boundedRate(1.13f / sr);
    c.mainDepth = boundedDepth(detune * detune * 80.0f / c.mainRate / 44100.0f);

    // The longest read (tap 16 and the loop) is loopLength + depth + 3 samples
    // back; keep it inside the lines so slow tempi with long note values never
    // read newer material. The bound uses the deepest modulation at full
    // detune, so moving MDetune never changes the loop length.
    float deepest = boundedDepth(250.0f / c.tapRate[10] / 44100.0f);
    for (int k = 0; k < kSteps; ++k)
        deepest = c.tapDepth[k] > deepest ? c.tapDepth[k] : deepest;
    deepest = c.mainDepth > deepest ? c.mainDepth : deepest;
    const int64_t longest = kLineSize - 5 - static_cast<int64_t>(deepest);
    if (c.loopLength > longest)
        c.loopLength = longest;
    if (c.loopLength < 0)
        c.loopLength = 0;
    return c;
}

void RefDelay2::universalTapCalc17(float* left, float* right, int64_t count, float mix, float time,
    float feedback, float detune, float hiDamp, float lowDamp, float hiCut, float lowCut,
    float, float, float)
{
    const float dry = 1.0f - mix;
    const RefDelay2Coeffs c = coefficients(samplerate, bpm, time, feedback, detune, hiDamp, lowDamp,
        hiCut, lowCut);

    // Echoes laid out for another spacing or decay would replay wrongly: start
    // from silence whenever either changes.
    const float loopAsFloat = static_cast<float>(c.loopLength);
    if (!(c.feedbackBase == lastFeedback) || !(loopAsFloat == lastLoop))
        reset();
    lastFeedback = c.feedbackBase;
    lastLoop = loopAsFloat;

    const bool firstStepLouder = stepL[0] > stepL[16] || stepR[0] > stepR[16];
    const bool smoothTaps = samplerate <= 48000.0f && hiCut <= 0.45f
        && (firstStepLouder || hiDamp <= 0.45f);
    if (count < 1)
        return;

    const float fb = c.feedbackBase;
    const int64_t loopLength = c.loopLength;
    const int64_t mainD = static_cast<int64_t>(c.mainDepth);
    for (int64_t i = 0; i < count; ++i) {
        const float inL = left[i];
        const float inR = right[i];
        const int64_t w = writePos;
        if (!c.oneShot) {
            mainPhase = frac(mainPhase + c.mainRate);
            const float m = lfoShape(mainPhase) * c.mainDepth;
            const int64_t M = static_cast<int64_t>(m);
            const float t = m - static_cast<float>(M);
            const float dL = readLeft(loopL, w - loopLength - M, t);
            const float dR = readRight(loopR, w - loopLength + M - mainD, t);
            const float fbL = (inL - dL) * fb;
            const float fbR = (inR - dR) * fb;
            loopState[0] = (1.0f - c.cHiDamp) * loopState[0] + c.cHiDamp * fbL + 1e-7f;
            loopState[1] = (1.0f - c.cHiDamp) * loopState[1] + c.cHiDamp * fbR + 1e-7f;
            loopState[2] = (1.0f - c.cLowDamp) * loopState[2] + c.cLowDamp * loopState[0] + 1e-7f;
            loopState[3] = (1.0f - c.cLowDamp) * loopState[3] + c.cLowDamp * loopState[1] + 1e-7f;
            const float hL = loopState[0] - loopState[2];
            const float hR = loopState[1] - loopState[3];
            // Stored negated: the read above is subtracted, so the loop feeds back positively.
            loopL[w] = -hL;
            loopR[w] = -hR;
            tapSourceL[w] = firstStepLouder ? fbL : hL;
            tapSourceR[w] = firstStepLouder ? fbR : hR;
        } else {
            tapSourceL[w] = inL;
            tapSourceR[w] = inR;
        }

        float accL = 0.0f;
        float accR = 0.0f;
        for (int k = 0; k < kSteps; ++k) {
            if (!(stepL[k] + stepR[k] > 0.0f))
                continue;
            tapPhase[k] = frac(tapPhase[k] + c.tapRate[k]);
            const float m = lfoShape(tapPhase[k]) * c.tapDepth[k];
            const int64_t M = static_cast<int64_t>(m);
            const float t = m - static_cast<float>(M);
            const int64_t D = static_cast<int64_t>(c.tapDepth[k]);
            const int64_t P = (k * loopLength) >> 4;
            float tL, tR;
            if (smoothTaps) {
                tL = readLeft(tapSourceL, w - P - M, t);
                tR = readRight(tapSourceR, w - P + M - D, t);
            } else {
                tL = readLeftLinear(tapSourceL, w - P - M, t);
                tR = readRightLinear(tapSourceR, w - P + M - D, t);
            }
            accL += stepL[k] * c.tapGain[k] * tL;
            accR += stepR[k] * c.tapGain[k] * tR;
        }

        outState[0] = (1.0f - c.cLowCut) * outState[0] + c.cLowCut * accR;
        accR -= outState[0];
        outState[1] = (1.0f - c.cLowCut) * outState[1] + c.cLowCut * accL;
        accL -= outState[1];
        outState[2] = (1.0f - c.cHiCut) * outState[2] + c.cHiCut * accR;
        outState[3] = (1.0f - c.cHiCut) * outState[3] + c.cHiCut * accL;
        left[i] = dry * inL + mix * outState[3];
        right[i] = dry * inR + mix * outState[2];
        writePos = (w + 1) & kMask;
    }
}
