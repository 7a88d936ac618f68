#include "tests/dsp/ref_reverb.h"

#include <cmath>
#include <cstring>

#include "dsp/dspmath.h"

using dspmath::frac;
using dspmath::saneOr0;
using dspmath::truncIndex;

namespace {

// Four-point fifth-order interpolator over line[k], line[k-1], line[k-2],
// line[k-3]: y1 at t = 0, y2 at t = 1.
inline float interpP(float y0, float y1, float y2, float y3, float t)
{
    return y1 + 0.5f * t * ((y2 - y0) + t * ((-2.0f * y1 + y2 + y0)
        + t * ((9.0f * (y2 - y1) + 3.0f * (y0 - y3))
        + t * ((15.0f * (y1 - y2) + 5.0f * (y3 - y0))
        + t * (6.0f * (y2 - y1) + 2.0f * (y0 - y3))))));
}

inline float readP(const float* line, int64_t k, float t)
{
    const int64_t m = RefReverb::kMask;
    return interpP(line[k & m], line[(k - 1) & m], line[(k - 2) & m], line[(k - 3) & m], t);
}

inline float triangle(float ph)
{
    return ph <= 0.5f ? 2.0f * ph : 2.0f - 2.0f * ph;
}

} // namespace

RefReverb::RefReverb()
{
    samplerate = 44100.0f;
    lastSize = 0.0f;
    reset();
}

void RefReverb::reset()
{
    std::memset(workL, 0, sizeof workL);
    std::memset(workR, 0, sizeof workR);
    std::memset(lines, 0, sizeof lines);
    tankPos = 0;
    diffPos = 0;
    phaseA = phaseB = 0.0f;
    lpL = lpR = hpL = hpR = 0.0f;
    lcL = lcR = hcL = hcR = 0.0f;
}

int64_t RefReverb::sizeUnit(float size, float sr)
{
    const float sizeF = size * size * 0.8f + 0.2f;
    return truncIndex(sizeF * sr / 44100.0f * 93.0f);
}

RefReverbCoeffs RefReverb::coefficients(float sr, float mix, float decay, float size, float predelay,
    float swirl, float hiDamp, float lowDamp, float hiCut, float lowCut, float wetLevel)
{
    RefReverbCoeffs k;
    k.sizeF = size * size * 0.8f + 0.2f;
    k.unit = sizeUnit(size, sr);
    k.dry = 1.0f - mix;
    k.shapedDecay = 2.0f * decay - decay * decay;
    k.fb = k.shapedDecay * 0.999f + 0.001f;
    // Short decays are louder, so the wet level follows the decay.
    k.wet = (2.0f - k.shapedDecay) * mix * wetLevel;
    k.q = (size - 0.5f) * -0.5f + 0.5f;
    k.rateB = (3.0f * (k.q * k.q) + 0.25f) / sr;
    k.rateA = k.rateB / 1.414f;
    k.depthB = swirl * swirl / k.q * sr / 1000.0f;
    k.depthA = k.depthB * 1.414f;
    // Outside the controls' range these could grow without bound; keep the
    // phases inside (-1, 2) and the modulation within a sane number of samples.
    k.rateA = k.rateA >= 0.0f && k.rateA <= 0.5f ? k.rateA : 0.0f;
    k.rateB = k.rateB >= 0.0f && k.rateB <= 0.5f ? k.rateB : 0.0f;
    k.depthA = saneOr0(k.depthA, 1.0e6f);
    k.depthB = saneOr0(k.depthB, 1.0e6f);

    const float hd = (1.0f - hiDamp) * 0.97f * (1.0f - hiDamp) + 0.03f;
    k.c1 = 1.0f - std::exp(static_cast<float>(static_cast<double>(hd * 44100.0f / sr) * -6.28));
    // Each one-pole is kept stable: a coefficient within 0..1. Where the
    // formula gives no number the high damping opens and the low damping
    // does nothing.
    if (!(k.c1 <= 1.0f))
        k.c1 = 1.0f;
    if (k.c1 < 0.0f)
        k.c1 = 0.0f;
    const float ld = lowDamp * (lowDamp * 0.05f);
    k.c2 = 1.0f - std::exp(static_cast<float>(static_cast<double>(ld * 44100.0f / sr) * -6.28));
    if (!(k.c2 >= 0.0f))
        k.c2 = 0.0f;
    if (k.c2 > 1.0f)
        k.c2 = 1.0f;

    k.off1 = truncIndex(static_cast<float>(71 * k.unit) + k.depthA * -0.5f);
    k.off2 = truncIndex(static_cast<float>(79 * k.unit) + k.depthA * -0.5f);
    k.pd = truncIndex(sr * 0.65f * predelay * predelay);
    k.tapL = truncIndex(static_cast<float>(k.pd)
        + (sr / 1000.0f * 10.0f + (k.sizeF * sr / 1000.0f * 50.0f + 1.0f)));
    k.tapR = truncIndex((1.0f + sr / 1000.0f * 10.0f) + static_cast<float>(k.pd));
    k.lc = lowCut * lowCut * 8.0f * 680.0f / sr;
    k.hc = static_cast<float>((static_cast<double>((1.0f - hiCut) * (1.0f - hiCut) * 0.96f) + 0.04)
        * 44100.0 / static_cast<double>(sr));
    // At low rates a cut's one-pole passes its stability limit (pole 1 - c at
    // or beyond -1): the corner then lies above the band, so the low cut
    // takes everything away and the high cut passes the signal.
    if (!(k.lc >= 0.0f))
        k.lc = 0.0f;
    else if (k.lc >= 2.0f)
        k.lc = 1.0f;
    if (!(k.hc < 2.0f))
        k.hc = 1.0f;
    if (k.hc < 0.0f)
        k.hc = 0.0f;
    return k;
}

void RefReverb::diffuseBlock(const float* left, const float* right, int64_t n, float g, int64_t u)
{
    float* l7 = lines[6];
    float* l8 = lines[7];
    float* l9 = lines[8];
    float* l10 = lines[9];
    int64_t w = diffPos;
    for (int64_t i = 0; i < n; ++i) {
        // Two Schroeder all-passes in series per side, coefficient 0.5.
        const float a = l7[(w - 11 * u) & kMask];
        const float z7 = workL[i] - 0.5f * a;
        const float b = l8[(w - 19 * u) & kMask];
        const float c = l9[(w - 13 * u) & kMask];
        const float d = l10[(w - 23 * u) & kMask];
        l7[w] = z7;
        const float y7 = a + 0.5f * z7;
        const float z8 = y7 - 0.5f * b;
        l8[w] = z8;
        const float yL = b + 0.5f * z8;
        const float z9 = workR[i] - 0.5f * c;
        l9[w] = z9;
        const float y9 = c + 0.5f * z9;
        const float z10 = y9 - 0.5f * d;
        l10[w] = z10;
        const float yR = d + 0.5f * z10;
        workL[i] = g * yL + (1.0f - g) * left[i];
        workR[i] = g * yR + (1.0f - g) * right[i];
        w = (w + 1) & kMask;
    }
    diffPos = w;
}

void RefReverb::tankScalar(float* left, float* right, int64_t n, const RefReverbCoeffs& k)
{
    float* l1 = lines[0];
    float* l2 = lines[1];
    float* l3 = lines[2];
    float* l4 = lines[3];
    float* l5 = lines[4];
    float* l6 = lines[5];
    const int64_t u = k.unit;
    int64_t w = tankPos;
    for (int64_t i = 0; i < n; ++i) {
        phaseA = frac(phaseA + k.rateA);
        const float triA = triangle(phaseA);
        const float mA1 = k.depthA * triA;
        const float mA2 = (1.0f - triA) * k.depthA;
        phaseB = frac(phaseB + k.rateB);
        const float triB = triangle(phaseB);
        const float mB1 = k.depthB * triB;
        const float mB2 = (1.0f - triB) * k.depthB;
        const int64_t iA1 = static_cast<int64_t>(mA1);
        const int64_t iA2 = static_cast<int64_t>(mA2);
        const int64_t iB1 = static_cast<int64_t>(mB1);
        const int64_t iB2 = static_cast<int64_t>(mB2);

        const float a1 = k.fb * readP(l1, w - k.off1 - iA1, mA1 - static_cast<float>(iA1));
        const float b1 = k.fb * readP(l2, w - 31 * u - iB1, mB1 - static_cast<float>(iB1));
        const float a2 = k.fb * readP(l4, w - k.off2 - iA2, mA2 - static_cast<float>(iA2));
        const float b2 = k.fb * readP(l5, w - 41 * u - iB2, mB2 - static_cast<float>(iB2));
        const float x3 = l3[(w - 97 * u) & kMask];
        const float x6 = l6[(w - 109 * u) & kMask];

        lpL = k.c1 * (workL[i] + x6) + (1.0f - k.c1) * lpL;
        hpL = k.c2 * lpL + (1.0f - k.c2) * hpL;
        const float hL = lpL - hpL;
        const float z1 = hL - 0.5f * a1;
        const float z2 = (0.5f * z1 + a1) - 0.5f * b1;
        l1[w] = z1;
        l2[w] = z2;
        l3[w] = b1 + 0.5f * z2;

        lpR = k.c1 * (workR[i] + x3) + (1.0f - k.c1) * lpR;
        hpR = k.c2 * lpR + (1.0f - k.c2) * hpR;
        const float hR = lpR - hpR;
        const float z4 = hR - 0.5f * a2;
        const float z5 = (0.5f * z4 + a2) - 0.5f * b2;
        l4[w] = z4;
        l5[w] = z5;
        l6[w] = b2 + 0.5f * z5;

        w = (w + 1) & kMask;

        const float oL = l3[(w - k.tapL) & kMask];
        const float oR = l6[(w - k.tapR) & kMask];
        lcL = (1.0f - k.lc) * lcL + k.lc * oL;
        lcR = (1.0f - k.lc) * lcR + k.lc * oR;
        hcL = (1.0f - k.hc) * hcL + k.hc * (oL - lcL);
        hcR = (1.0f - k.hc) * hcR + k.hc * (oR - lcR);
        left[i] = k.wet * hcL + k.dry * left[i];
        right[i] = k.wet * hcR + k.dry * right[i];
    }
    tankPos = w;
}

void RefReverb::tankBlock(float* left, float* right, int64_t n, const RefReverbCoeffs& k)
{
    tankScalar(left, right, n, k);
}

void RefReverb::universalReverbCalcEnhanced(float* left, float* right, int64_t count,
    float mix, float decay, float size, float predelay, float swirl, float hiDamp,
    float lowDamp, float hiCut, float lowCut, float diffuse, float wetLevel, float /*spare*/)
{
    // A new size moves every tap: clear the tank and diffuser rather than
    // replay old material at the new spacing. (Line 10 keeps its content.)
    if (!(size == lastSize))
        std::memset(lines, 0, sizeof(float) * 9 * kLineSize);
    lastSize = size;

    const RefReverbCoeffs k = coefficients(samplerate, mix, decay, size, predelay, swirl, hiDamp,
        lowDamp, hiCut, lowCut, wetLevel);
    const bool diffuserOn = diffuse >= 0.05f;
    const float g = diffuse * 0.75f;

    // The work buffers hold one chunk; longer blocks run chunk by chunk, which
    // gives the same result as one pass (the diffuser and the tank only meet
    // through the work buffers).
    for (int64_t start = 0; start < count; start += kLineSize) {
        const int64_t n = count - start < kLineSize ? count - start : kLineSize;
        float* l = left + start;
        float* r = right + start;
        for (int64_t i = 0; i < n; ++i) {
            const float m = (l[i] + r[i]) * 0.5f;
            workL[i] = m;
            workR[i] = m;
        }
        if (diffuserOn)
            diffuseBlock(l, r, n, g, k.unit);
        tankBlock(l, r, n, k);
    }
}
