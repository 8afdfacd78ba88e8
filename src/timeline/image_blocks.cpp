#include "timeline/image_blocks.h"

#include <iterator>

#include <glm/gtc/matrix_transform.hpp>

#include "render/gl.h"
#include "timeline/shared_with_glsl.h"

namespace {

using TransBuilder = glm::mat4 (*)();

// One image window: while its interval holds t, its image is shown placed by its "trans".
struct ImageRow {
    Interval window;
    unsigned int ImageTextures::*image;
    TransBuilder trans;
};

const glm::mat4 kIdentity(1.0f);

glm::mat4 rightMiddle() { return glm::translate(kIdentity, glm::vec3(0.74f, -0.24f, 0.0f)); }
glm::mat4 bottomLeft() { return glm::translate(kIdentity, glm::vec3(-0.74f, -0.74f, 0.0f)); }
glm::mat4 upperLeft() { return glm::translate(kIdentity, glm::vec3(-0.74f, 0.44f, 0.0f)); }
glm::mat4 bottomRight() { return glm::translate(kIdentity, glm::vec3(0.74f, -0.74f, 0.0f)); }
glm::mat4 nearCentre() { return glm::translate(kIdentity, glm::vec3(0.175f, 0.3f, 0.0f)); }
glm::mat4 rightOfCentre() { return glm::translate(kIdentity, glm::vec3(0.65f, -0.2f, 0.0f)); }
// Scaled first, so the translation is scaled too: its column is (0.6, -0.648, 0).
glm::mat4 lastOne() {
    const glm::mat4 scaled = glm::scale(kIdentity, glm::vec3(1.2f, 1.2f, 1.2f));
    return glm::translate(scaled, glm::vec3(0.5f, -0.54f, 0.0f));
}
glm::mat4 endCardTrans() { return glm::translate(kIdentity, glm::vec3(-0.7f, -0.7f, 0.0f)); }

// Tested in this order; the windows do not overlap, so at most one row matches.
// The first row needs only t < 26: the overlay never runs at t <= 17.
constexpr ImageRow kImageRows[] = {
    {kImageWindows[0], &ImageTextures::what1, rightMiddle},
    {kImageWindows[1], &ImageTextures::where3, bottomLeft},
    {kImageWindows[2], &ImageTextures::lafrange, upperLeft},
    {kImageWindows[3], &ImageTextures::maybe, bottomRight},
    {kImageWindows[4], &ImageTextures::mais, nearCentre},
    {kImageWindows[5], &ImageTextures::answer1, rightMiddle},
    {kImageWindows[6], &ImageTextures::nonsensical1, rightOfCentre},
    {kImageWindows[7], &ImageTextures::last1, lastOne},
};
static_assert(std::size(kImageRows) == std::size(kImageWindows), "one row per picture window");

// Every image draw starts from this state: a fresh depth buffer, so the image
// lands over the captions and scenes, and alpha blending for its transparency.
// The image quad's triangles wind clockwise, so culling would drop them.
void imageState() {
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
}

void drawImageQuad(const Frame& frame) {
    frame.res.programs.demo6image.setFloat("time", frame.t);
    glBindVertexArray(frame.res.imageQuad);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
}

}  // namespace

void imageOverlay(Frame& frame) {
    const Shader& program = frame.res.programs.demo6image;
    imageState();
    program.use();

    glm::mat4 trans = kIdentity;
    for (const ImageRow& row : kImageRows)
        if (row.window.contains(frame.t)) trans = row.trans();
    program.setMat4("trans", trans);

    // Between the rows (exactly 26.0, or 295.0) nothing is bound: unit 0 keeps
    // whatever the frame bound last.
    glActiveTexture(GL_TEXTURE0);
    for (const ImageRow& row : kImageRows)
        if (row.window.contains(frame.t)) glBindTexture(GL_TEXTURE_2D, frame.res.images.*row.image);

    drawImageQuad(frame);
}

void endCard(Frame& frame) {
    const Shader& program = frame.res.programs.demo6image;
    imageState();
    program.use();
    program.setMat4("trans", endCardTrans());
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, frame.res.images.maybe);
    drawImageQuad(frame);
}
