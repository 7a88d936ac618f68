#pragma once
// The reverb's vector kernels (SSE2, and AVX2 or AVX-512 chosen at run time),
// each the scalar arithmetic in the same order, several samples at a time.
#include <cstdint>

// The tank's modulated reads over one chunk.
struct ReverbReadChunk {
    const float* line;   // a tank line
    int32_t mask;        // its ring length minus one (a power of two minus one)
    int64_t w0;          // tank write index of the chunk's first sample
    int n;               // samples in the chunk
    int32_t offset;      // base delay in samples, within the ring
    const float* tri;    // LFO triangle per sample, 0..1
    bool complement;     // modulate by 1 - triangle (the opposite phase)
    float depth;         // modulation depth in samples
    float fb;            // loop gain applied to the read
    float* out;          // per sample: fb times the interpolated read
};

// The diffuser's two all-pass pairs over one run that reads only samples
// written before it. Each pointer is the run's first sample in its line.
struct DiffuserRun {
    const float* a;      // reads of lines 7, 8, 9, 10
    const float* b;
    const float* c;
    const float* d;
    float* o7;           // writes of lines 7, 8, 9, 10
    float* o8;
    float* o9;
    float* o10;
    float* workL;        // in: the mono input; out: the diffused input of each side
    float* workR;
    const float* left;   // the block's input
    const float* right;
    float g;             // diffusion
    int64_t n;
};

// The tank's all-pass pair writes and the output mix over one chunk, once its
// reads and its filters are done.
struct TankRun {
    const float* hL;     // damped inputs of the two halves
    const float* hR;
    const float* a1;     // modulated reads, times the loop gain
    const float* b1;
    const float* a2;
    const float* b2;
    float* o1;           // writes of lines 1..6
    float* o2;
    float* o3;
    float* o4;
    float* o5;
    float* o6;
    const float* outL;   // the cut outputs
    const float* outR;
    float* left;         // in: the input; out: the mix
    float* right;
    float wet, dry;
    int n;
};
