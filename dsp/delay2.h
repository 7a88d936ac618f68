#pragma once
// Tempo-synchronised 17-step multitap delay: a recirculating stereo loop of two
// sync units with damping, and 17 taps spread evenly over one loop length, each
// with its own left and right level. Processes two buffers in place; its
// lines are reserved once when the object is made and become resident only as
// far as the loop length reaches.
#include <cstddef>
#include <cstdint>

#include "dsp/delay_lines.h"
#include "dsp/dspmath.h"

// Figures computed once per call from the controls, tempo and sample rate.
struct Delay2Coeffs {
    float syncValue;       // note value in beats
    int64_t loopLength;    // samples
    float feedbackBase;
    bool oneShot;          // no recirculation
    float tapGain[17];
    float cHiDamp, cLowDamp, cLowCut, cHiCut;
    float tapRate[17];     // tap modulator phase per sample
    float tapDepth[17];    // tap modulation depth in samples
    float mainRate, mainDepth;
    int64_t farthest;      // the farthest read behind the next write, at any detune
};

class Delay2 {
public:
    Delay2();
    Delay2(const Delay2&) = delete;
    Delay2& operator=(const Delay2&) = delete;

    float stepL[17];
    float stepR[17];
    float samplerate;          // Hz
    float bpm;                 // beats per minute

    // When the rate is set or processing resumes, never on the audio thread:
    // takes the rate and starts from silence, as a new object would. The
    // lines hold resident what the loop of the last call (a new object: the
    // init program's at 120 bpm) reaches at that rate, so the audio thread's
    // writes take no page faults while the loop stays; the rest goes back to
    // the system. A new object is prepared for 44.1 kHz.
    void prepare(float sampleRate);
    void reset();
    // Back to the state of a new object: reset() keeps the last feedback base and loop
    // length, so without this a delay that ran before would skip the change-detecting
    // reset of its first call and its modulators would run ahead of a new one's.
    void forgetLastSettings() { lastFeedback = 0.0f; lastLoop = 0.0f; }
    // Controls and step levels outside 0..1 are read as the nearest end, not a
    // number as 0; MTime wraps round the note values (see syncIndex).
    void universalTapCalc17(float* left, float* right, int64_t count, float mix, float time,
        float feedback, float detune, float hiDamp, float lowDamp, float hiCut, float lowCut,
        float, float, float);

    // The longest ring a line can have: the longest loop fits it.
    static constexpr int64_t kLineSize = 262144;
    static constexpr int64_t kMask = kLineSize - 1;
    static constexpr int kSteps = 17;
    // The most samples processed as one chunk, stage by stage.
    static constexpr int kChunk = 256;
    static const float MultiDelaySyncTab2[13];
    static const float lfoprimfactors[18];

    // Index into MultiDelaySyncTab2 for an MTime control value; values
    // outside 0..1 wrap around the 13 note values.
    static int syncIndex(float time);
    // Tempo actually used: 120 for a tempo that is zero, negative or not finite.
    static float usableBpm(float bpm);
    // The per-call figures (before the change detection and step-level tests).
    static Delay2Coeffs coefficients(float samplerate, float bpm, float time, float feedback,
        float detune, float hiDamp, float lowDamp, float hiCut, float lowCut);
    static float lfoShape(float p);

    // Read-only views for tests.
    float lastFeedbackBase() const { return lastFeedback; }
    float lastLoopLength() const { return lastLoop; }
    int64_t writePosition() const { return writePos; }
    int64_t lineLength() const { return lines.length(); } // the ring length the lines now wrap at
    // Bytes of the lines now resident in memory.
    size_t residentBytes() const { return memory.residentBytes(); }

private:
    LineMemory memory;
    dspmath::KeptFigures<9, Delay2Coeffs> kept;
    RingLines lines;           // the loop and the tap source, left and right
    bool restartPending;       // a reset waits for the next call to fit the ring
    float ranTempo, ranTime, ranFeedback; // what set the loop of the last call, for prepare
    static int64_t ringLength(const Delay2Coeffs& c);
    int64_t writePos;
    float loopState[4];        // high-damp low-pass L/R, low-damp low-pass L/R
    float outState[4];         // low-cut low-pass R/L, high-cut low-pass R/L
    float mainPhase;
    float tapPhase[17];
    float lastFeedback;
    float lastLoop;

    // Work space of one chunk: the samples are processed in stages (loop,
    // tap phases, taps, output), each stage over the whole chunk.
    // The vector stages run whole vectors: room for one more (16 lanes) at the end.
    static constexpr int kPad = 16;
    // Modulators: the active taps and the loop, rounded up to whole groups of eight.
    static constexpr int kLanes = 24;
    alignas(64) float chunkPhase[kLanes][kChunk + kPad]; // modulator phase per lane and sample
    alignas(64) float chunkAccL[kChunk + kPad];
    alignas(64) float chunkAccR[kChunk + kPad];
    alignas(64) float chunkLoopL[kChunk + kPad];     // loop reads dL, dR per sample
    alignas(64) float chunkLoopR[kChunk + kPad];

    float* loopL() const { return lines.line(0); }
    float* loopR() const { return lines.line(1); }
    float* tapSourceL() const { return lines.line(2); }
    float* tapSourceR() const { return lines.line(3); }

    void loopStage(const float* left, const float* right, int n, const Delay2Coeffs& c,
        bool firstStepLouder, const float* phase);
};
