#pragma once
// Algorithmic stereo reverb: input diffuser, six-line cross-coupled tank of
// modulated lossy all-pass pairs, damping inside the loop, cut filters on the
// output. Processes two buffers in place; all memory lives in the object.
#include <cstdint>

// Figures computed once per block from the controls.
struct ReverbCoeffs {
    float sizeF;        // size shaped to 0.2..1
    int64_t unit;       // size unit in samples; every tank and diffuser delay is a multiple
    float dry, shapedDecay, fb, wet, q;
    float rateA, rateB;     // LFO increments per sample
    float depthA, depthB;   // LFO depths in samples
    float c1, c2;           // in-loop low-pass and high-pass-tracker coefficients
    int64_t off1, off2;     // base delays of lines 1 and 4
    int64_t pd, tapL, tapR; // predelay and output tap delays in samples
    float lc, hc;           // output low-cut and high-cut coefficients
};

class Reverb {
public:
    Reverb();

    float samplerate;          // Hz, 44100 after construction

    void reset();
    void universalReverbCalcEnhanced(float* left, float* right, int64_t count,
        float mix, float decay, float size, float predelay, float swirl, float hiDamp,
        float lowDamp, float hiCut, float lowCut, float diffuse, float wetLevel, float spare);

    static constexpr int64_t kLineSize = 32768;
    static constexpr int64_t kMask = kLineSize - 1;

    // Size unit in samples for a size control at a sample rate.
    static int64_t sizeUnit(float size, float sr);
    static ReverbCoeffs coefficients(float sr, float mix, float decay, float size, float predelay,
        float swirl, float hiDamp, float lowDamp, float hiCut, float lowCut, float wetLevel);

    // Read-only views for tests and the display.
    const float* line(int n) const { return lines[n - 1]; } // n = 1..10
    float rememberedSize() const { return lastSize; }

private:
    float workL[kLineSize];
    float workR[kLineSize];
    float lines[10][kLineSize];  // lines 1..10 at index 0..9
    int64_t tankPos;             // write index of lines 1..6
    int64_t diffPos;             // write index of lines 7..10
    float phaseA, phaseB;
    float lpL, lpR, hpL, hpR;    // damping: low-passes and high-pass trackers
    float lcL, lcR;              // output low-cut trackers
    float hcL, hcR;              // output high-cut low-passes
    float lastSize;

    // Work space of one tank chunk: LFO triangles and the four modulated
    // reads (already scaled by the loop gain) for each sample.
    // The vector reads run whole vectors: room for one more (16 lanes) at the end.
    static constexpr int kChunk = 256;
    static constexpr int kPad = 16;
    alignas(64) float chunkTriA[kChunk + kPad];
    alignas(64) float chunkTriB[kChunk + kPad];
    alignas(64) float chunkA1[kChunk + kPad];
    alignas(64) float chunkB1[kChunk + kPad];
    alignas(64) float chunkA2[kChunk + kPad];
    alignas(64) float chunkB2[kChunk + kPad];

    // The loop's filter states, kept in locals while a block runs.
    struct TankFilters {
        float lpL, lpR, hpL, hpR, lcL, lcR, hcL, hcR;
    };
    TankFilters loadFilters() const { return {lpL, lpR, hpL, hpR, lcL, lcR, hcL, hcR}; }
    void storeFilters(const TankFilters& f) {
        lpL = f.lpL, lpR = f.lpR, hpL = f.hpL, hpR = f.hpR;
        lcL = f.lcL, lcR = f.lcR, hcL = f.hcL, hcR = f.hcR;
    }
    void tankStep(const ReverbCoeffs& k, float a1, float b1, float a2, float b2, float inL, float inR,
        int64_t& w, TankFilters& f, float& left, float& right);

    void diffuseBlock(const float* left, const float* right, int64_t n, float g, int64_t u);
    void tankBlock(float* left, float* right, int64_t n, const ReverbCoeffs& k);
    void tankScalar(float* left, float* right, int64_t n, const ReverbCoeffs& k);
    void tankChunk(float* left, float* right, const float* wl, const float* wr, int n,
        const ReverbCoeffs& k);
};
