// Readable failures for glm vectors: printing for EXPECT_EQ, and a per-component tolerance check
// against hand-worked values written in double precision.
#pragma once

#include <glm/glm.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace glm {
// Found by GoogleTest through argument-dependent lookup.
inline void PrintTo(const vec3& v, std::ostream* os) {
    *os << '(' << v.x << ", " << v.y << ", " << v.z << ')';
}
} // namespace glm

inline testing::AssertionResult isNear(const glm::vec3& actual, const glm::dvec3& expected,
                                       double tolerance) {
    for (int i = 0; i < 3; ++i) {
        if (!(std::abs(static_cast<double>(actual[i]) - expected[i]) <= tolerance)) {
            return testing::AssertionFailure()
                   << "actual (" << actual.x << ", " << actual.y << ", " << actual.z
                   << ") differs from expected (" << expected.x << ", " << expected.y << ", "
                   << expected.z << ") by more than " << tolerance << " in component " << i;
        }
    }
    return testing::AssertionSuccess();
}
