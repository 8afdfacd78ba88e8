#pragma once
#include <glm/mat4x4.hpp>

#include "show_facts.h"

// Extra float uniforms that some scene programs receive with every instance.
// Both computations mix float and double steps on purpose: the values the
// programs see depend on exactly where each rounding happens.

struct RootTriple {
    float rootone;
    float roottwo;
    float rootthree;
};

// "rootone", "roottwo", "rootthree" from four entries of a model matrix.
// Every step is float except the cube roots (double pow of an absolute value
// with the exponent 1.0 / 3.0) and the two final sums with g.
RootTriple rootTriple(float a1, float a2, float a3, float a4);

// "toinenaste" from the first three entries of a projection's first column.
// For the scenes' perspective projections p1 = p2 = 0, so it is -0.0.
float quadraticValue(float p0, float p1, float p2);

// The perspective every scene uses: fovy 45 degrees, aspect 1920 / 1080,
// near 0.1 and the given far plane.
glm::mat4 sceneProjection(float farPlane);

inline constexpr float kFovy = 0.7853982f;      // 45 degrees, float bits 0x3F490FDB
// The screen's aspect, rounded once to float: 1.7777778f (bits 0x3FE38E39) at 1920 x 1080.
inline constexpr float kAspect = float(kScreenWidth) / float(kScreenHeight);
inline constexpr float kNear = 0.1f;
