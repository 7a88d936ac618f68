#include "dsp/delay2_taps.h"
#include "dsp/reverb_formulas.h"
#include "dsp/reverb_kernels.h"
#include "dsp/simd.h"

#include <emmintrin.h>

namespace {
constexpr int kWidth = 4;
typedef __m128 vf;
typedef __m128i vi;
inline vf set1(float x) { return _mm_set1_ps(x); }
inline vf load(const float* p) { return _mm_load_ps(p); }
inline vf loadu(const float* p) { return _mm_loadu_ps(p); }
inline void storeu(float* p, vf v) { _mm_storeu_ps(p, v); }
inline vi set1i(int32_t x) { return _mm_set1_epi32(x); }
inline vi loadi(const int32_t* p) { return _mm_load_si128(reinterpret_cast<const __m128i*>(p)); }
inline void storei(int32_t* p, vi v) { _mm_store_si128(reinterpret_cast<__m128i*>(p), v); }
inline vi addi(vi a, vi b) { return _mm_add_epi32(a, b); }
inline vi subi(vi a, vi b) { return _mm_sub_epi32(a, b); }
inline vi cvtt(vf x) { return _mm_cvttps_epi32(x); }
inline vf cvt(vi x) { return _mm_cvtepi32_ps(x); }
inline vf cmplt(vf a, vf b) { return _mm_cmplt_ps(a, b); }
inline vf select(vf mask, vf a, vf b) { return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b)); }
inline int32_t lane0(vi x) { return _mm_cvtsi128_si32(x); }
inline bool allEqual(vi a, vi b) { return _mm_movemask_epi8(_mm_cmpeq_epi32(a, b)) == 0xFFFF; }

// The phases advance in groups of four lanes.
constexpr int kGroup = 4;
typedef __m128 pg;
inline pg pload(const float* p) { return _mm_load_ps(p); }
inline void pstore(float* p, pg v) { _mm_store_ps(p, v); }
inline void pstoreu(float* p, pg v) { _mm_storeu_ps(p, v); }
inline bool anyAtLeastOne(pg v) { return _mm_movemask_ps(_mm_cmpge_ps(v, _mm_set1_ps(1.0f))) != 0; }
inline pg takeOneAwayWhereAtLeastOne(pg p)
{
    const pg one = _mm_set1_ps(1.0f);
    const pg over = _mm_cmpge_ps(p, one);
    return _mm_or_ps(_mm_and_ps(over, _mm_sub_ps(p, one)), _mm_andnot_ps(over, p));
}
inline void transposeGroup(pg (&s)[4]) { _MM_TRANSPOSE4_PS(s[0], s[1], s[2], s[3]); }
} // namespace

#include "dsp/delay2_phases.inc"
#include "dsp/delay2_taps.inc"
#include "dsp/reverb_kernels.inc"

extern const SimdKernels kSse2Kernels;
const SimdKernels kSse2Kernels = { run, runPhases, runReverbReads, runDiffuser, runTank };
