#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <glm/vec4.hpp>

#include "fake_gl.h"
#include "render/geometry.h"

TEST(CubeMesh, IsTheUnitCubeWithFullTextureSquaresPerFace) {
    for (int face = 0; face < 6; ++face) {
        float minS = 1, maxS = 0, minT = 1, maxT = 0;
        for (int v = 0; v < 6; ++v) {
            const float* vertex = &kCubeVertices[(face * 6 + v) * 5];
            for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(std::abs(vertex[axis]), 0.5f);
            minS = std::min(minS, vertex[3]);
            maxS = std::max(maxS, vertex[3]);
            minT = std::min(minT, vertex[4]);
            maxT = std::max(maxT, vertex[4]);
        }
        EXPECT_EQ(minS, 0.0f);
        EXPECT_EQ(maxS, 1.0f);
        EXPECT_EQ(minT, 0.0f);
        EXPECT_EQ(maxT, 1.0f);
    }
    // Faces in the order back, front, left, right, bottom, top: the constant coordinate of each face.
    const int axis[6] = {2, 2, 0, 0, 1, 1};
    const float value[6] = {-0.5f, 0.5f, -0.5f, 0.5f, -0.5f, 0.5f};
    for (int face = 0; face < 6; ++face)
        for (int v = 0; v < 6; ++v) EXPECT_EQ(kCubeVertices[(face * 6 + v) * 5 + axis[face]], value[face]);
    // Spot checks against the table: vertices 13 and 25.
    EXPECT_EQ(kCubeVertices[12 * 5 + 3], 1.0f);
    EXPECT_EQ(kCubeVertices[12 * 5 + 4], 0.0f);
    EXPECT_EQ(kCubeVertices[24 * 5 + 4], 1.0f);
}

TEST(CubeMesh, BuildsOneBufferWithTwoAttributes) {
    fakegl::install();
    unsigned int vao = buildCubeMesh();
    const auto& gl = fakegl::state();
    ASSERT_EQ(fakegl::calls("glBufferData").size(), 1u);
    EXPECT_EQ(fakegl::calls("glBufferData")[0]->args[1], 720);
    EXPECT_EQ(fakegl::calls("glBufferData")[0]->args[2], GL_STATIC_DRAW);
    auto pointers = fakegl::calls("glVertexAttribPointer");
    ASSERT_EQ(pointers.size(), 2u);
    EXPECT_EQ(pointers[0]->args, (std::vector<double>{0, 3, GL_FLOAT, GL_FALSE, 20, 0}));
    EXPECT_EQ(pointers[1]->args, (std::vector<double>{1, 2, GL_FLOAT, GL_FALSE, 20, 12}));
    EXPECT_EQ(gl.vertexArray, 0u);  // left unbound
    EXPECT_NE(vao, 0u);
}

TEST(ImageQuad, RecordsItsIndexBufferAndStaysBound) {
    fakegl::install();
    unsigned int vao = buildImageQuad();
    const auto& gl = fakegl::state();
    EXPECT_EQ(gl.vertexArray, vao);
    GLuint elements = gl.vertexArrayElements.at(vao);
    ASSERT_NE(elements, 0u);
    const auto& indexBytes = gl.buffers.at(elements);
    ASSERT_EQ(indexBytes.size(), 24u);
    const auto* indices = reinterpret_cast<const std::uint32_t*>(indexBytes.data());
    EXPECT_EQ(std::vector<std::uint32_t>(indices, indices + 6), (std::vector<std::uint32_t>{0, 1, 3, 1, 2, 3}));
    auto pointers = fakegl::calls("glVertexAttribPointer");
    ASSERT_EQ(pointers.size(), 3u);
    EXPECT_EQ(pointers[0]->args, (std::vector<double>{0, 3, GL_FLOAT, GL_FALSE, 32, 0}));
    EXPECT_EQ(pointers[1]->args, (std::vector<double>{1, 3, GL_FLOAT, GL_FALSE, 32, 12}));
    EXPECT_EQ(pointers[2]->args, (std::vector<double>{2, 2, GL_FLOAT, GL_FALSE, 32, 24}));
    EXPECT_EQ(kImageQuadVertices[0], 0.26f);
    EXPECT_EQ(kImageQuadVertices[2 * 8 + 7], 0.0f);
    EXPECT_EQ(kImageQuadVertices[3 * 8 + 5], 0.7f);
}

TEST(ScreenProjection, MapsTheScreenCornersToClipSpace) {
    glm::mat4 p = screenProjection();
    glm::vec4 bottomLeft = p * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    glm::vec4 topRight = p * glm::vec4(1920.0f, 1080.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(bottomLeft.x, -1.0f);
    EXPECT_FLOAT_EQ(bottomLeft.y, -1.0f);
    EXPECT_FLOAT_EQ(topRight.x, 1.0f);
    EXPECT_FLOAT_EQ(topRight.y, 1.0f);
    EXPECT_EQ(p[0][0], 2.0f / 1920.0f);
    EXPECT_EQ(p[1][1], 2.0f / 1080.0f);
    EXPECT_EQ(p[2][2], -1.0f);
    EXPECT_EQ(p[3][0], -1.0f);
    EXPECT_EQ(p[3][1], -1.0f);
    EXPECT_EQ(p[3][2], 0.0f);
}
