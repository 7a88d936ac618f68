#pragma once
// The reverb's per-sample formulas, written once for single samples and for
// vectors of samples alike (V is float or a vector type with the same
// operators): the scalar paths and the vector kernels share them. Internal
// linkage: each file builds its own copy for its vector unit, and a copy made
// for a wider unit can never stand in for another file's.
namespace {

// Two Schroeder all-passes in series (coefficient 0.5) on one side of the
// diffuser, reading a and b from their lines: writes za and zb, gives the output.
template <typename V>
inline V diffuserSide(V in, V a, V b, V half, V& za, V& zb)
{
    za = in - half * a;
    const V y = a + half * za;
    zb = y - half * b;
    return b + half * zb;
}

// One half of the tank: the damped input h through a lossy all-pass pair whose
// modulated reads (times the loop gain) are a and b, into its three lines.
template <typename V>
inline void allPassPair(V h, V a, V b, V half, V& z1, V& z2, V& z3)
{
    z1 = h - half * a;
    z2 = (half * z1 + a) - half * b;
    z3 = b + half * z2;
}

} // namespace
