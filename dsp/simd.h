#pragma once
// Which vector unit the engines use. Chosen once from the processor (AVX2
// when present, else SSE2, which every x86-64 processor has); tests and the
// benchmark may step down to compare the paths. All paths give identical bits.
enum class SimdLevel { Sse2 = 0, Avx2 = 1 };

SimdLevel simdLevel();
// Selects a level; a level the processor lacks falls back to SSE2.
void setSimdLevel(SimdLevel level);
bool cpuHasAvx2();
