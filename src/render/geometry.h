#pragma once
#include <array>
#include <cstdint>

#include <glm/mat4x4.hpp>

// The show's fixed meshes and the one matrix made at start-up.

// Unit cube centred on the origin: 36 vertices of (x, y, z, s, t), faces in
// the order back, front, left, right, bottom, top.
extern const std::array<float, 36 * 5> kCubeVertices;

// Square of side 0.52 in the z = 0 plane: 4 vertices of (x, y, z, r, g, b, s, t).
extern const std::array<float, 4 * 8> kImageQuadVertices;
extern const std::array<std::uint32_t, 6> kImageQuadIndices;

// Builds the cube mesh's vertex array (attribute 0: position, 1: texture
// coordinate) and returns it, unbound.
unsigned int buildCubeMesh();

// Builds the image quad's vertex array with its index buffer (attributes 0:
// position, 1: colour, 2: texture coordinate) and returns it, left bound.
unsigned int buildImageQuad();

// Orthographic projection of the 1920 x 1080 screen in pixels, origin at the
// bottom left, into clip space.
glm::mat4 screenProjection();
