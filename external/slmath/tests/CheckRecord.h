#pragma once

#include "core/AssertationFailedException.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace slmathtest {

inline const float kInf = std::numeric_limits<float>::infinity();
inline const float kNaN = std::numeric_limits<float>::quiet_NaN();

// The function whose bare check `operation` fails; "" when none does.
template <class Operation>
std::string failedIn(Operation&& operation)
{
    try {
        operation();
    } catch (const AssertationFailedException& e) {
        return e.function;
    }
    return "";
}

// |actual - expected| within `relative` of `scale`, both in double precision.
inline void expectNear(double actual, double expected, double scale, double relative)
{
    EXPECT_LE(std::fabs(actual - expected), relative * scale) << actual << " vs " << expected;
}

} // namespace slmathtest
