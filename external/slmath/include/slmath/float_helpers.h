#pragma once

#include <cfloat>

namespace slmath {

// ---- free functions on floats ----------------------------------------------

// The finite test every slmath check is built on: true for every value in
// -FLT_MAX..FLT_MAX, false for both infinities and for every NaN (a NaN fails
// both comparisons). Written as comparisons, not std::isfinite, so that it
// says exactly which values pass.
inline bool isFinite(float x)
{
    return x >= -FLT_MAX && x <= FLT_MAX;
}

// lo when x < lo, else hi when hi < x, else x. No finiteness check: a NaN x
// fails both comparisons and comes back unchanged.
inline float clamp(float x, float lo, float hi)
{
    if (x < lo)
        return lo;
    if (hi < x)
        return hi;
    return x;
}

} // namespace slmath
