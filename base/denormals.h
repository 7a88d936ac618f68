#pragma once
// Flush-to-zero and denormals-are-zero for the duration of one audio block,
// restoring the host's setting afterwards: a decaying tail then never turns
// into slow denormal arithmetic.
#if defined(__x86_64__) || defined(__SSE__)
#include <xmmintrin.h>

class ScopedFlushDenormals {
public:
    ScopedFlushDenormals() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero); }
    ~ScopedFlushDenormals() { _mm_setcsr(saved_); }
    ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
    ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

private:
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved_;
};
#else
class ScopedFlushDenormals {};
#endif
