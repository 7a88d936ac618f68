// Built with -mavx512f: only called once the processor is known to have AVX-512.
#include "dsp/delay2_taps.h"
#include "dsp/reverb_formulas.h"
#include "dsp/reverb_kernels.h"
#include "dsp/simd.h"

// GCC 12's own AVX-512 conversion intrinsics start from an undefined
// register and trip its uninitialised-value warning; the values are fully
// written by the instruction.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>

namespace {
constexpr int kWidth = 16;
typedef __m512 vf;
typedef __m512i vi;
inline vf set1(float x) { return _mm512_set1_ps(x); }
inline vf load(const float* p) { return _mm512_load_ps(p); }
inline vf loadu(const float* p) { return _mm512_loadu_ps(p); }
inline void storeu(float* p, vf v) { _mm512_storeu_ps(p, v); }
inline vi set1i(int32_t x) { return _mm512_set1_epi32(x); }
inline vi loadi(const int32_t* p) { return _mm512_load_si512(p); }
inline void storei(int32_t* p, vi v) { _mm512_store_si512(p, v); }
inline vi addi(vi a, vi b) { return _mm512_add_epi32(a, b); }
inline vi subi(vi a, vi b) { return _mm512_sub_epi32(a, b); }
inline vi cvtt(vf x) { return _mm512_cvttps_epi32(x); }
inline vf cvt(vi x) { return _mm512_cvtepi32_ps(x); }
inline __mmask16 cmplt(vf a, vf b) { return _mm512_cmp_ps_mask(a, b, _CMP_LT_OQ); }
inline vf select(__mmask16 mask, vf a, vf b) { return _mm512_mask_blend_ps(mask, b, a); }
inline int32_t lane0(vi x) { return _mm_cvtsi128_si32(_mm512_castsi512_si128(x)); }
inline bool allEqual(vi a, vi b) { return _mm512_cmpeq_epi32_mask(a, b) == 0xFFFF; }

// The phases advance in groups of eight lanes.
#include "dsp/phase_group_avx.inc"
} // namespace

#include "dsp/delay2_phases.inc"
#include "dsp/delay2_taps.inc"
#include "dsp/reverb_kernels.inc"

extern const SimdKernels kAvx512Kernels;
const SimdKernels kAvx512Kernels = { run, runPhases, runReverbReads, runDiffuser, runTank };
