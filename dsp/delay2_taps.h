#pragma once
// The multitap's tap stage over one chunk of samples, vectorised across
// samples. Three builds of the same kernel: SSE2 (every x86-64 processor),
// AVX2 and AVX-512 (chosen at run time). All give exactly the scalar results: the
// same float operations in the same order, only several samples at a time.
#include <cstdint>

// The most samples a chunk may have.
constexpr int kTapChunkMax = 256;

struct TapChunk {
    const float* lineL;        // tap source lines
    const float* lineR;
    int32_t mask;              // ring length of the lines minus one (a power of two minus one)
    int64_t w0;                // write index of the chunk's first sample
    int n;                     // samples in the chunk
    bool smooth;               // four-point polynomial, else linear
    int taps;                  // active taps, in step order
    const float* const* phase; // per active tap: its modulator phase for each sample
    const float* depth;        // per active tap: modulation depth in samples
    const int32_t* wholeDepth; // per active tap: integer part of the depth
    const int32_t* base;       // per active tap: base delay P in samples
    const float* gainL;        // per active tap: step level times step gain
    const float* gainR;
    float* accL;               // per sample, zeroed by the caller; taps add in step order
    float* accR;
    bool store;                // write the first tap's raw reads instead of adding
    TapChunk() : store(false) {}
};

// The modulators' phases over one chunk: each lane's phase advanced by its
// rate every sample, as rows of one lane's samples.
struct PhaseRun {
    int n;                     // samples in the chunk
    int lanes;                 // modulators
    float* phase;              // per lane, in and out; room for whole groups of lanes
    const float* rate;         // per lane; room for whole groups of lanes
    float* rows;               // lane a's phase at sample j: rows[a * stride + j]
    int stride;
    int pad;                   // samples past the chunk's end that get its last phase
};
