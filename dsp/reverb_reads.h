#pragma once
// The reverb tank's modulated reads over one chunk, vectorised across
// samples (SSE2, and AVX2 or AVX-512 chosen at run time). Exactly the scalar results.
#include <cstdint>

struct ReverbReadChunk {
    const float* line;   // a tank line of 32768 samples
    int64_t w0;          // tank write index of the chunk's first sample
    int n;               // samples in the chunk
    int32_t offset;      // base delay in samples
    const float* tri;    // LFO triangle per sample, 0..1
    bool complement;     // modulate by 1 - triangle (the opposite phase)
    float depth;         // modulation depth in samples
    float fb;            // loop gain applied to the read
    float* out;          // per sample: fb times the interpolated read
};

void reverbReadsSse2(const ReverbReadChunk& c);
void reverbReadsAvx2(const ReverbReadChunk& c);
void reverbReadsAvx512(const ReverbReadChunk& c);
