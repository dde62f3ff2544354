#pragma once

#include "core/AssertationFailedException.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace slmathtest {

inline const float kInf = std::numeric_limits<float>::infinity();
inline const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Runs `operation`, which must fail a bare slmath check, and returns the
// record it threw (an empty record, with a test failure, when none was thrown).
template <class Operation>
AssertationFailedException failureOf(Operation&& operation)
{
    try {
        operation();
    } catch (const AssertationFailedException& e) {
        return e;
    }
    ADD_FAILURE() << "no check failed";
    return AssertationFailedException("", "", "", -1);
}

// Expects `operation` to fail a bare check in `function`, recorded in a file
// whose path ends with `file`.
template <class Operation>
void expectCheckFails(Operation&& operation, const char* function, const char* file)
{
    const AssertationFailedException e = failureOf(operation);
    EXPECT_STREQ(e.message, "Vornic3D exception");
    EXPECT_STREQ(e.function, function);
    const std::string path = e.sourceFile;
    EXPECT_TRUE(path.size() >= std::strlen(file) &&
                path.compare(path.size() - std::strlen(file), std::string::npos, file) == 0)
        << path;
}

// |actual - expected| within `relative` of `scale`, both in double precision.
inline void expectNear(double actual, double expected, double scale, double relative)
{
    EXPECT_LE(std::fabs(actual - expected), relative * scale) << actual << " vs " << expected;
}

} // namespace slmathtest

// expectCheckFails with the place of the call in the failure message.
#define EXPECT_CHECK_FAILS(function, file, ...)                                                    \
    do {                                                                                           \
        SCOPED_TRACE(function);                                                                    \
        ::slmathtest::expectCheckFails(__VA_ARGS__, function, file);                               \
    } while (0)
