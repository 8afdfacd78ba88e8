#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "timeline/scene_math.h"

TEST(RootTriple, PillarRowDiagonal) {
    // Diagonal (1, 4, 1) with a4 = m[1][1] = 4, not a1.
    RootTriple r = rootTriple(1.0f, 4.0f, 1.0f, 4.0f);
    EXPECT_NEAR(r.rootone, 1.112182f, 1e-5f);
    EXPECT_NEAR(r.roottwo, -3.15392f, 1e-4f);
    EXPECT_NEAR(r.rootthree, -0.12413f, 1e-4f);
}

TEST(RootTriple, SlabDiagonal) {
    // (10.5, 15, 2.5; 15): the first term is a1 + a1, not 2 a1^3; roottwo and
    // rootthree hang on the cube root of the tiny S - T.
    RootTriple r = rootTriple(10.5f, 15.0f, 2.5f, 15.0f);
    EXPECT_NEAR(r.rootone, 9.494217f, 1e-5f);
    EXPECT_NEAR(r.roottwo, -15.846877f, 2e-4f);
    EXPECT_NEAR(r.rootthree, 2.223350f, 2e-4f);
}

TEST(RootTriple, SlabRibbonRowsOneToThree) {
    // The slab ribbon at t = 60, k = 1 sends (m[1][1], m[2][2], m[3][3]; m[1][1]).
    RootTriple r = rootTriple(1.707467f, 6.705205f, 1.0f, 1.707467f);
    EXPECT_NEAR(r.rootone, 3.25765f, 1e-4f);
    EXPECT_NEAR(r.roottwo, -3.4174f, 1e-3f);
    EXPECT_NEAR(r.rootthree, 1.3224f, 1e-3f);
}

TEST(QuadraticValue, SceneProjectionsGiveNegativeZero) {
    for (float farPlane : {100.0f, 150.0f}) {
        glm::mat4 p = sceneProjection(farPlane);
        float value = quadraticValue(p[0][0], p[0][1], p[0][2]);
        EXPECT_EQ(value, 0.0f) << farPlane;
        EXPECT_TRUE(std::signbit(value)) << farPlane;
    }
}

TEST(QuadraticValue, MultipliesAllFourFactorsUnderTheRoot) {
    // n = -2 sqrt(2^2 * 4 * 1 * 3) = -2 sqrt(48); value = n / 2.
    EXPECT_NEAR(quadraticValue(1.0f, 2.0f, 3.0f), -std::sqrt(48.0f), 1e-5f);
    EXPECT_NEAR(quadraticValue(4.0f, 1.0f, 1.0f), -0.5f, 1e-6f);
}

TEST(SceneProjection, ConstantsAndEntries) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(kFovy), 0x3F490FDBu);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(kAspect), 0x3FE38E39u);
    glm::mat4 p = sceneProjection(100.0f);
    EXPECT_NEAR(p[0][0], 1.357995f, 1e-5f);
    EXPECT_NEAR(p[1][1], 2.414213f, 1e-5f);
    EXPECT_NEAR(p[2][2], -1.002002f, 1e-6f);
    EXPECT_EQ(p[2][3], -1.0f);
    EXPECT_NEAR(p[3][2], -0.2002002f, 1e-7f);
    EXPECT_EQ(p[3][3], 0.0f);
    glm::mat4 far = sceneProjection(150.0f);
    EXPECT_NEAR(far[2][2], -150.1f / 149.9f, 1e-6f);
    EXPECT_NEAR(far[3][2], -30.0f / 149.9f, 1e-7f);
}
