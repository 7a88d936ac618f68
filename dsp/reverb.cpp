#include "dsp/reverb.h"

#include <cmath>
#include <cstring>

#include "dsp/dspmath.h"
#include "dsp/reverb_formulas.h"
#include "dsp/reverb_kernels.h"
#include "dsp/simd.h"

using dspmath::frac;
using dspmath::limited;
using dspmath::saneOr0;
using dspmath::truncIndex;
using dspmath::unitControl;

namespace {

// Chunks shorter than this run sample by sample: the setup would cost more
// than the vectors save.
constexpr int64_t kMinChunk = 8;

// Four-point fifth-order interpolator over line[k], line[k-1], line[k-2],
// line[k-3]: y1 at t = 0, y2 at t = 1.
inline float interpP(float y0, float y1, float y2, float y3, float t)
{
    return y1 + 0.5f * t * ((y2 - y0) + t * ((-2.0f * y1 + y2 + y0)
        + t * ((9.0f * (y2 - y1) + 3.0f * (y0 - y3))
        + t * ((15.0f * (y1 - y2) + 5.0f * (y3 - y0))
        + t * (6.0f * (y2 - y1) + 2.0f * (y0 - y3))))));
}

inline float readP(const float* line, int64_t m, int64_t k, float t)
{
    return interpP(line[k & m], line[(k - 1) & m], line[(k - 2) & m], line[(k - 3) & m], t);
}

inline float triangle(float ph)
{
    return ph <= 0.5f ? 2.0f * ph : 2.0f - 2.0f * ph;
}

inline int64_t smallest(int64_t a, int64_t b)
{
    return a < b ? a : b;
}

inline int64_t largest(int64_t a, int64_t b)
{
    return a > b ? a : b;
}

} // namespace

Reverb::Reverb() : memory(10 * kLineSize)
{
    float* base = memory.data();
    allPasses.place(base, 4, kLineSize);
    crossFeeds.place(base + 4 * kLineSize, 2, kLineSize);
    diffusers.place(base + 6 * kLineSize, 3, kLineSize);
    lastDiffuser.place(base + 9 * kLineSize, 1, kLineSize);
    std::memset(chunkTriA, 0, sizeof chunkTriA);
    std::memset(chunkTriB, 0, sizeof chunkTriB);
    ranSize = 0.5f;
    prepare(44100.0f);
}

void Reverb::prepare(float sampleRate)
{
    samplerate = sampleRate;
    const RingLengths n = ringLengths(ranSize, sampleRate);
    allPasses.settle(n.allPasses);
    crossFeeds.settle(n.crossFeeds);
    diffusers.settle(n.diffusers);
    lastDiffuser.settle(n.lastDiffuser);
    lastSize = 0.0f;
    reset();
}

void Reverb::reset()
{
    // The lines are wiped when the next block has fitted their rings, and
    // only as far as those reach.
    restartPending = true;
    fittedSize = fittedRate = -1.0f;
    tankPos = 0;
    diffPos = 0;
    phaseA = phaseB = 0.0f;
    lpL = lpR = hpL = hpR = 0.0f;
    lcL = lcR = hcL = hcR = 0.0f;
}

const float* Reverb::line(int n) const
{
    static constexpr int kGroupIndex[10] = { 0, 1, 0, 2, 3, 1, 0, 1, 2, 0 };
    const RingLines& g = n == 3 || n == 6 ? crossFeeds
        : n >= 10                         ? lastDiffuser
        : n >= 7                          ? diffusers
                                          : allPasses;
    return g.line(kGroupIndex[n - 1]);
}

int64_t Reverb::lineLength(int n) const
{
    return n == 3 || n == 6 ? crossFeeds.length()
        : n >= 10           ? lastDiffuser.length()
        : n >= 7            ? diffusers.length()
                            : allPasses.length();
}

int64_t Reverb::sizeUnit(float size, float sr)
{
    const float sizeF = size * size * 0.8f + 0.2f;
    return truncIndex(sizeF * sr / 44100.0f * 93.0f);
}

ReverbCoeffs Reverb::coefficients(float sr, float mix, float decay, float size, float predelay,
    float swirl, float hiDamp, float lowDamp, float hiCut, float lowCut, float wetLevel)
{
    sr = dspmath::positiveRate(sr);
    ReverbCoeffs k;
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
    // phases inside [0, 1) and the modulation within a sane number of samples.
    k.rateA = k.rateA >= 0.0f && k.rateA <= 0.5f ? k.rateA : 0.0f;
    k.rateB = k.rateB >= 0.0f && k.rateB <= 0.5f ? k.rateB : 0.0f;
    k.depthA = saneOr0(k.depthA, 1.0e6f);
    k.depthB = saneOr0(k.depthB, 1.0e6f);

    // The damping one-poles are stable for coefficients 0..1, where the
    // formulas stay at any rate; controls that are no number open the high
    // damping and take the low damping away.
    const float hd = (1.0f - hiDamp) * 0.97f * (1.0f - hiDamp) + 0.03f;
    k.c1 = 1.0f - std::exp(static_cast<float>(static_cast<double>(hd * 44100.0f / sr) * -6.28));
    k.c1 = limited(k.c1, 0.0f, 1.0f, 1.0f);
    const float ld = lowDamp * (lowDamp * 0.05f);
    k.c2 = 1.0f - std::exp(static_cast<float>(static_cast<double>(ld * 44100.0f / sr) * -6.28));
    k.c2 = limited(k.c2, 0.0f, 1.0f, 0.0f);

    k.off1 = truncIndex(static_cast<float>(kLine1Units * k.unit) + k.depthA * -0.5f);
    k.off2 = truncIndex(static_cast<float>(kLine4Units * k.unit) + k.depthA * -0.5f);
    k.pd = truncIndex(sr * 0.65f * predelay * predelay);
    k.tapL = truncIndex(static_cast<float>(k.pd)
        + (sr / 1000.0f * 10.0f + (k.sizeF * sr / 1000.0f * 50.0f + 1.0f)));
    k.tapR = truncIndex((1.0f + sr / 1000.0f * 10.0f) + static_cast<float>(k.pd));
    // The output cuts are one-poles with the pole at 1 - c: stable for c
    // below 2. At low rates a cut's corner lies above the whole band: the low
    // cut then takes everything away and the high cut lets everything through.
    k.lc = limited(lowCut * lowCut * 8.0f * 680.0f / sr, 0.0f, 2.0f, 0.0f);
    if (k.lc >= 2.0f)
        k.lc = 1.0f;
    k.hc = static_cast<float>((static_cast<double>((1.0f - hiCut) * (1.0f - hiCut) * 0.96f) + 0.04)
        * 44100.0 / static_cast<double>(sr));
    k.hc = limited(k.hc, 0.0f, 2.0f, 1.0f);
    if (k.hc >= 2.0f)
        k.hc = 1.0f;
    return k;
}

Reverb::RingLengths Reverb::ringLengths(float size, float sr)
{
    // Ring lengths for the farthest reads any predelay and swirl can ask for
    // at this size: those move without clearing the lines.
    const int64_t u = sizeUnit(size, sr);
    const ReverbCoeffs least = coefficients(sr, 1.0f, 0.5f, size, 0.0f, 0.0f, 0, 0, 0, 0, 1.0f);
    const ReverbCoeffs most = coefficients(sr, 1.0f, 0.5f, size, 1.0f, 1.0f, 0, 0, 0, 0, 1.0f);
    const int64_t dA = truncIndex(most.depthA), dB = truncIndex(most.depthB);
    RingLengths n;
    // Lines 1 and 4 read up to two samples further at a lesser swirl (their
    // base delay and the depth are truncated apart); four spare cover it.
    n.allPasses = RingLines::lengthFor(smallest(smallest(most.off1, most.off2), kLine2Units * u),
        largest(largest(most.off1, most.off2) + dA, kLine5Units * u + dB) + 3 + 4, kLineSize);
    n.crossFeeds = RingLines::lengthFor(smallest(kLine3Units * u, smallest(least.tapL, least.tapR)),
        largest(kLine6Units * u, largest(most.tapL, most.tapR)), kLineSize);
    n.diffusers = RingLines::lengthFor(kLine7Units * u, kLine8Units * u, kLineSize);
    // Line 10 keeps its content when the size moves: it serves every size.
    n.lastDiffuser = RingLines::lengthFor(kLine10Units * sizeUnit(0.0f, sr),
        kLine10Units * sizeUnit(1.0f, sr), kLineSize);
    return n;
}

void Reverb::fitRings(float size, bool sizeChanged)
{
    const float sr = samplerate;
    if (!(size == fittedSize && sr == fittedRate)) {
        need = ringLengths(size, sr);
        fittedSize = size;
        fittedRate = sr;
    }
    if (restartPending) {
        allPasses.restart(need.allPasses);
        crossFeeds.restart(need.crossFeeds);
        diffusers.restart(need.diffusers);
        lastDiffuser.restart(need.lastDiffuser);
        restartPending = false;
        return;
    }
    // A new size moves every tap: clear the tank and diffuser rather than
    // replay old material at the new spacing. Otherwise a ring only changes
    // when a higher rate has outgrown it, and then starts from silence.
    if (sizeChanged || need.allPasses > allPasses.length())
        allPasses.restart(need.allPasses);
    if (sizeChanged || need.crossFeeds > crossFeeds.length())
        crossFeeds.restart(need.crossFeeds);
    if (sizeChanged || need.diffusers > diffusers.length())
        diffusers.restart(need.diffusers);
    if (need.lastDiffuser > lastDiffuser.length())
        lastDiffuser.restart(need.lastDiffuser);
}

void Reverb::diffuseScalar(const float* left, const float* right, int64_t n, float g, int64_t u)
{
    float* l7 = diffusers.line(0);
    float* l8 = diffusers.line(1);
    float* l9 = diffusers.line(2);
    float* l10 = lastDiffuser.line(0);
    const int64_t m = diffusers.mask(), m10 = lastDiffuser.mask();
    int64_t w = diffPos;
    for (int64_t i = 0; i < n; ++i) {
        const float a = l7[(w - kLine7Units * u) & m];
        const float b = l8[(w - kLine8Units * u) & m];
        const float c = l9[(w - kLine9Units * u) & m];
        const float d = l10[(w - kLine10Units * u) & m10];
        const float yL = diffuserSide(workL[i], a, b, 0.5f, l7[w & m], l8[w & m]);
        const float yR = diffuserSide(workR[i], c, d, 0.5f, l9[w & m], l10[w & m10]);
        workL[i] = g * yL + (1.0f - g) * left[i];
        workR[i] = g * yR + (1.0f - g) * right[i];
        w = (w + 1) & kMask;
    }
    diffPos = w;
}

void Reverb::diffuseBlock(const float* left, const float* right, int64_t n, float g, int64_t u)
{
    // Every all-pass reads at least 11 units back: a run no longer than its
    // nearest read only reads samples written before the run, so the reads
    // and writes of the whole run can be made as vectors.
    const int64_t m = diffusers.mask(), m10 = lastDiffuser.mask();
    const int64_t reach = smallest(smallest(ringDistance(kLine7Units * u, m), ringDistance(kLine8Units * u, m)),
        smallest(ringDistance(kLine9Units * u, m), ringDistance(kLine10Units * u, m10)));
    if (reach < kMinChunk) {
        diffuseScalar(left, right, n, g, u);
        return;
    }
    const auto diffuse = simdKernels().diffuser;
    DiffuserRun r;
    r.g = g;
    int64_t w = diffPos;
    for (int64_t s = 0; s < n;) {
        int64_t run = smallest(n - s, reach);
        run = smallest(run, smallest(untilWrap(w, m), untilWrap(w, m10)));
        run = smallest(run, smallest(untilWrap(w - kLine7Units * u, m), untilWrap(w - kLine8Units * u, m)));
        run = smallest(run, smallest(untilWrap(w - kLine9Units * u, m), untilWrap(w - kLine10Units * u, m10)));
        r.a = diffusers.line(0) + ((w - kLine7Units * u) & m);
        r.b = diffusers.line(1) + ((w - kLine8Units * u) & m);
        r.c = diffusers.line(2) + ((w - kLine9Units * u) & m);
        r.d = lastDiffuser.line(0) + ((w - kLine10Units * u) & m10);
        r.o7 = diffusers.line(0) + (w & m);
        r.o8 = diffusers.line(1) + (w & m);
        r.o9 = diffusers.line(2) + (w & m);
        r.o10 = lastDiffuser.line(0) + (w & m10);
        r.workL = workL + s;
        r.workR = workR + s;
        r.left = left + s;
        r.right = right + s;
        r.n = run;
        diffuse(r);
        w = (w + run) & kMask;
        s += run;
    }
    diffPos = w;
}

void Reverb::tankScalar(float* left, float* right, int64_t n, const ReverbCoeffs& k)
{
    float* l1 = allPasses.line(0);
    float* l2 = allPasses.line(1);
    float* l4 = allPasses.line(2);
    float* l5 = allPasses.line(3);
    float* l3 = crossFeeds.line(0);
    float* l6 = crossFeeds.line(1);
    const int64_t mA = allPasses.mask(), mB = crossFeeds.mask();
    const int64_t u = k.unit;
    int64_t w = tankPos;
    TankFilters f = loadFilters();
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

        const float a1 = k.fb * readP(l1, mA, w - k.off1 - iA1, mA1 - static_cast<float>(iA1));
        const float b1 = k.fb * readP(l2, mA, w - kLine2Units * u - iB1, mB1 - static_cast<float>(iB1));
        const float a2 = k.fb * readP(l4, mA, w - k.off2 - iA2, mA2 - static_cast<float>(iA2));
        const float b2 = k.fb * readP(l5, mA, w - kLine5Units * u - iB2, mB2 - static_cast<float>(iB2));
        const float x3 = l3[(w - kLine3Units * u) & mB];
        const float x6 = l6[(w - kLine6Units * u) & mB];

        f.lpL = k.c1 * (workL[i] + x6) + (1.0f - k.c1) * f.lpL;
        f.hpL = k.c2 * f.lpL + (1.0f - k.c2) * f.hpL;
        allPassPair(f.lpL - f.hpL, a1, b1, 0.5f, l1[w & mA], l2[w & mA], l3[w & mB]);
        f.lpR = k.c1 * (workR[i] + x3) + (1.0f - k.c1) * f.lpR;
        f.hpR = k.c2 * f.lpR + (1.0f - k.c2) * f.hpR;
        allPassPair(f.lpR - f.hpR, a2, b2, 0.5f, l4[w & mA], l5[w & mA], l6[w & mB]);

        w = (w + 1) & kMask;

        const float oL = l3[(w - k.tapL) & mB];
        const float oR = l6[(w - k.tapR) & mB];
        f.lcL = (1.0f - k.lc) * f.lcL + k.lc * oL;
        f.lcR = (1.0f - k.lc) * f.lcR + k.lc * oR;
        f.hcL = (1.0f - k.hc) * f.hcL + k.hc * (oL - f.lcL);
        f.hcR = (1.0f - k.hc) * f.hcR + k.hc * (oR - f.lcR);
        left[i] = k.wet * f.hcL + k.dry * left[i];
        right[i] = k.wet * f.hcR + k.dry * right[i];
    }
    tankPos = w;
    storeFilters(f);
}

int64_t Reverb::tankReach(const ReverbCoeffs& k) const
{
    // A chunk of the tank makes all its reads before its writes, so each read
    // must reach back further than the chunk is long, as the rings see it.
    if (!(k.depthA >= 0.0f && k.depthB >= 0.0f))
        return 0;
    const int64_t mA = allPasses.mask(), mB = crossFeeds.mask();
    const int64_t u = k.unit;
    const int64_t dA = static_cast<int64_t>(k.depthA);
    const int64_t dB = static_cast<int64_t>(k.depthB);
    int64_t reach = kChunk;
    // The modulated reads span base .. base + depth + 3 behind the write and
    // must not run round their ring.
    const int64_t base[4] = { k.off1, kLine2Units * u, k.off2, kLine5Units * u };
    const int64_t depth[4] = { dA, dB, dA, dB };
    for (int r = 0; r < 4; ++r) {
        if (base[r] < 1 || base[r] + depth[r] + 3 > mA + 1)
            return 0;
        reach = smallest(reach, base[r]);
    }
    reach = smallest(reach, smallest(ringDistance(kLine3Units * u, mB), ringDistance(kLine6Units * u, mB)));
    // The output taps read after the sample's own write.
    reach = smallest(reach, smallest(ringDistance(k.tapL, mB), ringDistance(k.tapR, mB)) - 1);
    return reach;
}

void Reverb::tankChunk(float* left, float* right, const float* wl, const float* wr, int n,
    const ReverbCoeffs& k)
{
    // LFOs first: their phases depend on nothing but themselves. With the
    // rates in [0, 0.5] and the phases in [0, 1), taking away 1 at or above 1
    // is exactly the removal of the integer part.
    float pa = phaseA, pb = phaseB;
    for (int j = 0; j < n; ++j) {
        pa = pa + k.rateA;
        if (pa >= 1.0f)
            pa = pa - 1.0f;
        pb = pb + k.rateB;
        if (pb >= 1.0f)
            pb = pb - 1.0f;
        chunkTriA[j] = triangle(pa);
        chunkTriB[j] = triangle(pb);
    }
    phaseA = pa;
    phaseB = pb;
    // The vector reads run whole vectors past the chunk's end and drop those
    // lanes; the last triangle value keeps those lanes reading one run.
    for (int j = n; j < n + kPad; ++j) {
        chunkTriA[j] = chunkTriA[n - 1];
        chunkTriB[j] = chunkTriB[n - 1];
    }

    // The modulated reads reach further back than the chunk is long, so they
    // only see samples written before it and can all be made first.
    const int64_t u = k.unit;
    const int64_t mA = allPasses.mask(), mB = crossFeeds.mask();
    const auto reads = simdKernels().reverbReads;
    ReverbReadChunk r;
    r.mask = static_cast<int32_t>(mA);
    r.w0 = tankPos;
    r.n = n;
    r.fb = k.fb;
    r.line = allPasses.line(0), r.offset = static_cast<int32_t>(k.off1 & mA), r.tri = chunkTriA;
    r.complement = false, r.depth = k.depthA, r.out = chunkA1;
    reads(r);
    r.line = allPasses.line(1), r.offset = static_cast<int32_t>((kLine2Units * u) & mA), r.tri = chunkTriB;
    r.complement = false, r.depth = k.depthB, r.out = chunkB1;
    reads(r);
    r.line = allPasses.line(2), r.offset = static_cast<int32_t>(k.off2 & mA), r.tri = chunkTriA;
    r.complement = true, r.depth = k.depthA, r.out = chunkA2;
    reads(r);
    r.line = allPasses.line(3), r.offset = static_cast<int32_t>((kLine5Units * u) & mA), r.tri = chunkTriB;
    r.complement = true, r.depth = k.depthB, r.out = chunkB2;
    reads(r);

    // So do the cross-feeds and the output taps: every chunk lies within one
    // turn of each ring, so each read is one run of memory.
    const int64_t w = tankPos;
    float* l3 = crossFeeds.line(0);
    float* l6 = crossFeeds.line(1);
    const float* x3 = l3 + ((w - kLine3Units * u) & mB);
    const float* x6 = l6 + ((w - kLine6Units * u) & mB);
    const float* oL = l3 + ((w + 1 - k.tapL) & mB);
    const float* oR = l6 + ((w + 1 - k.tapR) & mB);

    // The only recursions: the damping filters at the tank's inputs and the
    // cut filters at its outputs, sample by sample.
    TankFilters f = loadFilters();
    for (int i = 0; i < n; ++i) {
        f.lpL = k.c1 * (wl[i] + x6[i]) + (1.0f - k.c1) * f.lpL;
        f.hpL = k.c2 * f.lpL + (1.0f - k.c2) * f.hpL;
        chunkHL[i] = f.lpL - f.hpL;
        f.lpR = k.c1 * (wr[i] + x3[i]) + (1.0f - k.c1) * f.lpR;
        f.hpR = k.c2 * f.lpR + (1.0f - k.c2) * f.hpR;
        chunkHR[i] = f.lpR - f.hpR;
        f.lcL = (1.0f - k.lc) * f.lcL + k.lc * oL[i];
        f.lcR = (1.0f - k.lc) * f.lcR + k.lc * oR[i];
        f.hcL = (1.0f - k.hc) * f.hcL + k.hc * (oL[i] - f.lcL);
        f.hcR = (1.0f - k.hc) * f.hcR + k.hc * (oR[i] - f.lcR);
        chunkOutL[i] = f.hcL;
        chunkOutR[i] = f.hcR;
    }
    storeFilters(f);

    // The lossy all-pass pairs write the tank, and the outputs are mixed.
    TankRun t;
    t.hL = chunkHL, t.hR = chunkHR;
    t.a1 = chunkA1, t.b1 = chunkB1, t.a2 = chunkA2, t.b2 = chunkB2;
    t.o1 = allPasses.line(0) + (w & mA);
    t.o2 = allPasses.line(1) + (w & mA);
    t.o3 = l3 + (w & mB);
    t.o4 = allPasses.line(2) + (w & mA);
    t.o5 = allPasses.line(3) + (w & mA);
    t.o6 = l6 + (w & mB);
    t.outL = chunkOutL, t.outR = chunkOutR;
    t.left = left, t.right = right;
    t.wet = k.wet, t.dry = k.dry;
    t.n = n;
    simdKernels().tank(t);
    tankPos = (w + n) & kMask;
}

void Reverb::tankBlock(float* left, float* right, int64_t n, const ReverbCoeffs& k)
{
    const int64_t reach = tankReach(k);
    if (reach < kMinChunk) {
        tankScalar(left, right, n, k);
        return;
    }
    const int64_t mA = allPasses.mask(), mB = crossFeeds.mask();
    const int64_t u = k.unit;
    for (int64_t s = 0; s < n;) {
        const int64_t w = tankPos;
        int64_t run = smallest(n - s, reach);
        run = smallest(run, smallest(untilWrap(w, mA), untilWrap(w, mB)));
        run = smallest(run, smallest(untilWrap(w - kLine3Units * u, mB), untilWrap(w - kLine6Units * u, mB)));
        run = smallest(run, smallest(untilWrap(w + 1 - k.tapL, mB), untilWrap(w + 1 - k.tapR, mB)));
        tankChunk(left + s, right + s, workL + s, workR + s, static_cast<int>(run), k);
        s += run;
    }
}

void Reverb::universalReverbCalcEnhanced(float* left, float* right, int64_t count,
    float mix, float decay, float size, float predelay, float swirl, float hiDamp,
    float lowDamp, float hiCut, float lowCut, float diffuse, float wetLevel, float /*spare*/)
{
    mix = unitControl(mix), decay = unitControl(decay), size = unitControl(size);
    predelay = unitControl(predelay), swirl = unitControl(swirl), hiDamp = unitControl(hiDamp);
    lowDamp = unitControl(lowDamp), hiCut = unitControl(hiCut), lowCut = unitControl(lowCut);
    diffuse = unitControl(diffuse), wetLevel = unitControl(wetLevel);

    // Any change of size clears the tank and lines 7..9 (line 10 keeps its content).
    const bool sizeChanged = !(size == lastSize);
    lastSize = size;
    ranSize = size;
    fitRings(size, sizeChanged);

    const float from[11] = { samplerate, mix, decay, size, predelay, swirl, hiDamp, lowDamp, hiCut,
        lowCut, wetLevel };
    const ReverbCoeffs& k = kept.get(from, [&] {
        return coefficients(samplerate, mix, decay, size, predelay, swirl, hiDamp, lowDamp, hiCut,
            lowCut, wetLevel);
    });
    const bool diffuserOn = diffuse >= 0.05f;
    const float g = diffuse * 0.75f;

    // Longer blocks run piece by piece through the work buffers, which gives
    // the same result as one pass (the diffuser and the tank only meet
    // through the work buffers).
    for (int64_t start = 0; start < count; start += kWork) {
        const int64_t n = count - start < kWork ? count - start : kWork;
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
