// Built with -mavx2 (no FMA): only called once the processor is known to have AVX2.
#include "dsp/delay2_taps.h"
#include "dsp/reverb_formulas.h"
#include "dsp/reverb_kernels.h"
#include "dsp/simd.h"

#include <immintrin.h>

namespace {
constexpr int kWidth = 8;
typedef __m256 vf;
typedef __m256i vi;
inline vf set1(float x) { return _mm256_set1_ps(x); }
inline vf load(const float* p) { return _mm256_load_ps(p); }
inline vf loadu(const float* p) { return _mm256_loadu_ps(p); }
inline void storeu(float* p, vf v) { _mm256_storeu_ps(p, v); }
inline vi set1i(int32_t x) { return _mm256_set1_epi32(x); }
inline vi loadi(const int32_t* p) { return _mm256_load_si256(reinterpret_cast<const __m256i*>(p)); }
inline void storei(int32_t* p, vi v) { _mm256_store_si256(reinterpret_cast<__m256i*>(p), v); }
inline vi addi(vi a, vi b) { return _mm256_add_epi32(a, b); }
inline vi subi(vi a, vi b) { return _mm256_sub_epi32(a, b); }
inline vi cvtt(vf x) { return _mm256_cvttps_epi32(x); }
inline vf cvt(vi x) { return _mm256_cvtepi32_ps(x); }
inline vf cmplt(vf a, vf b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
inline vf select(vf mask, vf a, vf b) { return _mm256_blendv_ps(b, a, mask); }
inline int32_t lane0(vi x) { return _mm_cvtsi128_si32(_mm256_castsi256_si128(x)); }
inline bool allEqual(vi a, vi b) { return _mm256_movemask_epi8(_mm256_cmpeq_epi32(a, b)) == -1; }

// The phases advance in groups of eight lanes.
#include "dsp/phase_group_avx.inc"
} // namespace

#include "dsp/delay2_phases.inc"
#include "dsp/delay2_taps.inc"
#include "dsp/reverb_kernels.inc"

extern const SimdKernels kAvx2Kernels;
const SimdKernels kAvx2Kernels = { run, runPhases, runReverbReads, runDiffuser, runTank };
