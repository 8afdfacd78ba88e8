#include "timeline/scene_math.h"

#include <math.h>

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace {

// Cube root as the scenes take it: the float is widened and raised to the
// double 1.0 / 3.0 (not cbrt, which rounds differently).
double cubeRoot(float nonNegative) { return std::pow(double(nonNegative), 1.0 / 3.0); }

}  // namespace

RootTriple rootTriple(float a1, float a2, float a3, float a4) {
    // ::powf and ::sqrtf keep these steps in float; std::pow(float, int)
    // would silently widen to double.
    const float r = (((a1 + a1) - ((a1 * 9.0f) * a2)) + (a3 * 27.0f)) / 54.0f;
    const float q = ::powf(a2 * 3.0f - ::powf(a1, 2.0f), 3.0f) / 729.0f;
    const float h = ::sqrtf(::powf(r, 2.0f)) / 2916.0f;
    const float S = float(cubeRoot(std::fabs((h - r / 54.0f) + q)));
    const float T = float(cubeRoot(std::fabs(q + (-(r / 54.0f) - h))));
    const float e = a4 / 3.0f;

    RootTriple out;
    out.rootone = (T + S) - e;
    const double g = cubeRoot(std::fabs(S - T)) * 0.5 * double(::powf(-1.0f, 2.0f));
    out.roottwo = float(g + double(-(T * 0.5f + S) - e));
    out.rootthree = float(double((T + S) * 0.5f - e) - g);
    return out;
}

float quadraticValue(float p0, float p1, float p2) {
    // A product of all four factors under the root; with p1 = 0 the result
    // keeps the sign of -p1, hence -0.0.
    const float n = -p1 * ::sqrtf(::powf(p1, 2.0f) * 4.0f * p0 * p2);
    return float(double(n) / (2.0 * double(p0)));
}

glm::mat4 sceneProjection(float farPlane) {
    return glm::perspective(kFovy, kAspect, kNear, farPlane);
}
