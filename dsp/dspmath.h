#pragma once
// Small arithmetic helpers shared by the engines.
#include <cfloat>
#include <cstdint>
#include <cstring>

namespace dspmath {

// Float to signed 64-bit, rounding toward zero. Values that do not fit (and NaN)
// give 0: a control far outside its range then lands on a harmless index
// instead of an undefined conversion. Every value the engines meet with sane
// controls is far inside the range, where this is the plain conversion.
inline int64_t truncIndex(float x)
{
    if (x > -1.0e15f && x < 1.0e15f)
        return static_cast<int64_t>(x);
    return 0;
}

// x with its integer part removed (toward zero).
inline float frac(float x)
{
    return x - static_cast<float>(static_cast<int64_t>(x));
}

// Keeps a per-block figure finite and within +-limit (NaN gives 0), so the
// per-sample conversions to integers stay defined.
inline float saneOr0(float x, float limit)
{
    if (x >= -limit && x <= limit)
        return x;
    return 0.0f;
}

// The rate coefficients are figured at. A rate that is no positive number
// (zero, as a denormal rate reads under flush-to-zero, a negative rate, not a
// number) is read as the smallest positive one, where every coefficient takes
// its low-rate limit; no division then divides by zero.
inline float positiveRate(float sr)
{
    return sr > 0.0f ? sr : FLT_MIN;
}

// A control as the engines read it: within 0..1, not a number as 0.
inline float unitControl(float x)
{
    return x >= 0.0f ? (x <= 1.0f ? x : 1.0f) : 0.0f;
}

// x within lo..hi; not a number gives `otherwise`.
inline float limited(float x, float lo, float hi, float otherwise)
{
    if (x >= lo)
        return x <= hi ? x : hi;
    return x < lo ? lo : otherwise;
}

// The figures last computed from N numbers, kept while the numbers stay the
// same bit for bit: the engines' per-block coefficients cost exponentials,
// and the controls rarely move between blocks.
template <int N, typename Figures>
class KeptFigures {
public:
    template <typename Compute>
    const Figures& get(const float (&from)[N], Compute&& compute)
    {
        if (!valid_ || std::memcmp(from_, from, sizeof from_) != 0) {
            std::memcpy(from_, from, sizeof from_);
            figures_ = compute();
            valid_ = true;
        }
        return figures_;
    }

private:
    float from_[N] = {};
    Figures figures_ = {};
    bool valid_ = false;
};

} // namespace dspmath
