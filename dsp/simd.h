#pragma once
// Which vector unit the engines use. Chosen once from the processor (the
// widest of AVX-512, AVX2 and SSE2, which every x86-64 processor has); tests
// and the benchmark may step down to compare the paths. All paths give
// identical bits.
enum class SimdLevel { Sse2 = 0, Avx2 = 1, Avx512 = 2 };

SimdLevel simdLevel();
// Selects a level; a level the processor lacks falls back to the best it has.
void setSimdLevel(SimdLevel level);
// The widest level this processor supports.
SimdLevel bestSimdLevel();

struct TapChunk;
struct PhaseRun;
struct ReverbReadChunk;
struct DiffuserRun;
struct TankRun;

// The engines' vector kernels, one table per vector unit; each file that
// builds the kernels for a unit fills its table.
struct SimdKernels {
    void (*tapChunk)(const TapChunk&);
    void (*phases)(const PhaseRun&);
    void (*reverbReads)(const ReverbReadChunk&);
    void (*diffuser)(const DiffuserRun&);
    void (*tank)(const TankRun&);
};

// The table of the level in use.
const SimdKernels& simdKernels();
