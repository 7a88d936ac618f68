#pragma once
// Algorithmic stereo reverb: input diffuser, six-line cross-coupled tank of
// modulated lossy all-pass pairs, damping inside the loop, cut filters on the
// output. Processes two buffers in place; its lines are reserved once when the
// object is made and become resident only as far as the settings reach.
#include <cstddef>
#include <cstdint>

#include "dsp/delay_lines.h"
#include "dsp/dspmath.h"

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
    Reverb(const Reverb&) = delete;
    Reverb& operator=(const Reverb&) = delete;

    float samplerate;          // Hz, 44100 after construction

    // When the rate is set or processing resumes, never on the audio thread:
    // takes the rate and starts from silence, as a new object would. The
    // lines hold resident what the settings of the last block (a new object:
    // the init program's) reach at that rate, so the audio thread's writes
    // take no page faults while the settings stay; the rest goes back to the
    // system. A new object is prepared for 44.1 kHz.
    void prepare(float sampleRate);
    void reset();
    // Controls outside 0..1 are read as the nearest end, not a number as 0.
    void universalReverbCalcEnhanced(float* left, float* right, int64_t count,
        float mix, float decay, float size, float predelay, float swirl, float hiDamp,
        float lowDamp, float hiCut, float lowCut, float diffuse, float wetLevel, float spare);

    // The longest ring a line can have; at high rates the longest delays wrap round it.
    static constexpr int64_t kLineSize = 32768;
    static constexpr int64_t kMask = kLineSize - 1;
    // Delays in size units: the tank's lines 1..6 (lines 1 and 4 less half
    // the modulation depth), then the diffuser's lines 7..10.
    static constexpr int64_t kLine1Units = 71, kLine2Units = 31, kLine3Units = 97;
    static constexpr int64_t kLine4Units = 79, kLine5Units = 41, kLine6Units = 109;
    static constexpr int64_t kLine7Units = 11, kLine8Units = 19, kLine9Units = 13, kLine10Units = 23;
    // One trip round the tank's figure of eight, lines 1 to 6.
    static constexpr int64_t kTankTripUnits =
        kLine1Units + kLine2Units + kLine3Units + kLine4Units + kLine5Units + kLine6Units;

    // Size unit in samples for a size control at a sample rate.
    static int64_t sizeUnit(float size, float sr);
    // Every coefficient stays where its filter is stable, at any rate.
    static ReverbCoeffs coefficients(float sr, float mix, float decay, float size, float predelay,
        float swirl, float hiDamp, float lowDamp, float hiCut, float lowCut, float wetLevel);

    // Read-only views for tests and the display.
    const float* line(int n) const;      // n = 1..10
    int64_t lineLength(int n) const;     // the ring length line n now wraps at
    float rememberedSize() const { return lastSize; }
    // Bytes of the lines now resident in memory.
    size_t residentBytes() const { return memory.residentBytes(); }

private:
    LineMemory memory;
    dspmath::KeptFigures<11, ReverbCoeffs> kept;
    // Lines grouped by what decides their ring length.
    RingLines allPasses;     // lines 1, 2, 4, 5: the modulated all-passes
    RingLines crossFeeds;    // lines 3, 6: cross-feeds and output taps, reached by the predelay
    RingLines diffusers;     // lines 7, 8, 9: cleared with the tank when the size changes
    RingLines lastDiffuser;  // line 10: keeps its content through size changes
    bool restartPending;     // a reset waits for the next block to fit the rings
    // The ring lengths a size needs at a rate.
    struct RingLengths {
        int64_t allPasses, crossFeeds, diffusers, lastDiffuser;
    };
    static RingLengths ringLengths(float size, float sr);
    float fittedSize, fittedRate;
    RingLengths need;
    float ranSize;               // the size of the last block, for prepare

    int64_t tankPos;             // write index of lines 1..6
    int64_t diffPos;             // write index of lines 7..10
    float phaseA, phaseB;
    float lpL, lpR, hpL, hpR;    // damping: low-passes and high-pass trackers
    float lcL, lcR;              // output low-cut trackers
    float hcL, hcR;              // output high-cut low-passes
    float lastSize;

    // Blocks are worked in pieces through these: the mono input, then the
    // diffused input of each side.
    static constexpr int kWork = 1024;
    alignas(64) float workL[kWork];
    alignas(64) float workR[kWork];

    // Work space of one tank chunk: LFO triangles, the four modulated reads
    // (already scaled by the loop gain), the damped tank inputs and the cut outputs.
    // The vector reads run whole vectors: room for one more (16 lanes) at the end.
    static constexpr int kChunk = 256;
    static constexpr int kPad = 16;
    alignas(64) float chunkTriA[kChunk + kPad];
    alignas(64) float chunkTriB[kChunk + kPad];
    alignas(64) float chunkA1[kChunk + kPad];
    alignas(64) float chunkB1[kChunk + kPad];
    alignas(64) float chunkA2[kChunk + kPad];
    alignas(64) float chunkB2[kChunk + kPad];
    alignas(64) float chunkHL[kChunk];
    alignas(64) float chunkHR[kChunk];
    alignas(64) float chunkOutL[kChunk];
    alignas(64) float chunkOutR[kChunk];

    // The loop's filter states, kept in locals while a block runs.
    struct TankFilters {
        float lpL, lpR, hpL, hpR, lcL, lcR, hcL, hcR;
    };
    TankFilters loadFilters() const { return {lpL, lpR, hpL, hpR, lcL, lcR, hcL, hcR}; }
    void storeFilters(const TankFilters& f) {
        lpL = f.lpL, lpR = f.lpR, hpL = f.hpL, hpR = f.hpR;
        lcL = f.lcL, lcR = f.lcR, hcL = f.hcL, hcR = f.hcR;
    }

    void fitRings(float size, bool sizeChanged);
    void diffuseBlock(const float* left, const float* right, int64_t n, float g, int64_t u);
    void diffuseScalar(const float* left, const float* right, int64_t n, float g, int64_t u);
    int64_t tankReach(const ReverbCoeffs& k) const;
    void tankBlock(float* left, float* right, int64_t n, const ReverbCoeffs& k);
    void tankScalar(float* left, float* right, int64_t n, const ReverbCoeffs& k);
    void tankChunk(float* left, float* right, const float* wl, const float* wr, int n,
        const ReverbCoeffs& k);
};
