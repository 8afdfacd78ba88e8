#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <stb_image.h>

#include "offscreen_show.h"
#include "render/gl.h"

// Real GL (Mesa llvmpipe on a private Xvfb): each overlay shows up on screen
// around the point its "trans" moves the quad's centre to, and nowhere else.

namespace {

// Replaces the picture of a texture: with one transparent texel, or with the
// file's own pixels again (flipped, as the loader uploads them).
void makeTransparent(unsigned int texture) {
    const unsigned char clear[4] = {0, 0, 0, 0};
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, clear);
}
void restore(unsigned int texture, const char* path) {
    int w = 0, h = 0, n = 0;
    stbi_set_flip_vertically_on_load(true);
    unsigned char* px = stbi_load(path, &w, &h, &n, 4);
    ASSERT_NE(px, nullptr) << path;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
    stbi_image_free(px);
}

// Where two frames differ: the count, the centroid and the bounds in clip space.
struct Footprint {
    int count = 0;
    float cx = 0.0f, cy = 0.0f;
    float left = 1.0f, right = -1.0f, bottom = 1.0f, top = -1.0f;
};

Footprint difference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    Footprint f;
    double sx = 0.0, sy = 0.0;
    for (int y = 0; y < OffscreenShow::kHeight; ++y)
        for (int x = 0; x < OffscreenShow::kWidth; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * OffscreenShow::kWidth + x) * 4;
            int most = 0;
            for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(int(a[i + c]) - int(b[i + c])));
            if (most <= 2) continue;  // llvmpipe is exact frame to frame; allow a step of noise
            const float px = (x + 0.5f) / OffscreenShow::kWidth * 2.0f - 1.0f;
            const float py = (y + 0.5f) / OffscreenShow::kHeight * 2.0f - 1.0f;
            ++f.count;
            sx += px;
            sy += py;
            f.left = std::min(f.left, px);
            f.right = std::max(f.right, px);
            f.bottom = std::min(f.bottom, py);
            f.top = std::max(f.top, py);
        }
    if (f.count > 0) {
        f.cx = static_cast<float>(sx / f.count);
        f.cy = static_cast<float>(sy / f.count);
    }
    return f;
}

struct Placement {
    const char* file;
    unsigned int ImageTextures::*texture;
    float t;
    float x, y;  // where "trans" puts the quad's centre
    float scale;
};

TEST(ImagesGl, EachImageAppearsWhereItsTransPutsIt) {
    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    const ImageTextures& images = show.resources().images;
    const std::vector<Placement> placements = {
        // The phrase's pictures stand right of its first line, smaller.
        {"demo6/images/what1.png", &ImageTextures::what1, 21.0f, 0.84f, 0.36f, 0.8f},
        {"demo6/images/where3.png", &ImageTextures::where3, 30.0f, 0.84f, 0.36f, 0.8f},
        {"demo6/images/lafrange.png", &ImageTextures::lafrange, 45.0f, -0.74f, 0.44f, 1.0f},
        {"demo6/images/maybe.png", &ImageTextures::maybe, 57.0f, 0.74f, -0.74f, 1.0f},
        {"demo6/images/mais.png", &ImageTextures::mais, 68.0f, 0.175f, 0.3f, 1.0f},
        {"demo6/images/answer1.png", &ImageTextures::answer1, 117.0f, 0.74f, -0.24f, 1.0f},
        {"demo6/images/nonsensical1.png", &ImageTextures::nonsensical1, 217.0f, 0.65f, -0.2f, 1.0f},
        // The last picture and the end card stand right of the closing names'
        // second and third lines, clear of the last line.
        {"demo6/images/last1.png", &ImageTextures::last1, 287.0f, 0.47f, 0.3f, 0.85f},
        // After 290 s: the last image, and the end card beside it.
        {"demo6/images/last1.png", &ImageTextures::last1, 292.0f, 0.47f, 0.3f, 0.85f},
        {"demo6/images/maybe.png", &ImageTextures::maybe, 292.0f, 0.7f, -0.28f, 0.8f},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(std::string(p.file) + " at t = " + std::to_string(p.t));
        // The same frame with and without the picture: what differs is the image.
        host.render(p.t);
        const std::vector<std::uint8_t> with = show.pixels();
        makeTransparent(images.*p.texture);
        host.render(p.t);
        restore(images.*p.texture, p.file);
        const Footprint f = difference(with, show.pixels());

        // A good part of the picture shows (the quad covers some 80 000 pixels
        // at 1080p at size 1).
        EXPECT_GT(f.count, 2500);
        // Its ink sits around the centre that "trans" gives...
        EXPECT_NEAR(f.cx, p.x, 0.1f * p.scale);
        EXPECT_NEAR(f.cy, p.y, 0.15f * p.scale);
        // ...and nothing of it lands outside the quad's neighbourhood (the quad is
        // 0.52 across before scaling; the shader may sway and grow it a little).
        const float reach = 0.5f * p.scale;
        EXPECT_GT(f.left, p.x - reach);
        EXPECT_LT(f.right, p.x + reach);
        EXPECT_GT(f.bottom, p.y - reach);
        EXPECT_LT(f.top, p.y + reach);
    }
}

TEST(ImagesGl, NoPictureLandsOnACaption) {
    // At moments when only a caption and pictures are on screen: the pixels
    // the caption draws (away from its ground colour, halo included) stay
    // as they are when the pictures are taken away.
    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    const ImageTextures& images = show.resources().images;
    const std::vector<std::pair<float, std::vector<std::pair<unsigned int ImageTextures::*, const char*>>>> moments = {
        {18.0f, {{&ImageTextures::what1, "demo6/images/what1.png"}}},
        {31.0f, {{&ImageTextures::where3, "demo6/images/where3.png"}}},
        {292.0f, {{&ImageTextures::last1, "demo6/images/last1.png"}, {&ImageTextures::maybe, "demo6/images/maybe.png"}}},
    };
    for (const auto& [t, pictures] : moments) {
        SCOPED_TRACE("t = " + std::to_string(t));
        host.render(t);
        const std::vector<std::uint8_t> with = show.pixels();
        for (const auto& [texture, file] : pictures) makeTransparent(images.*texture);
        host.render(t);
        const std::vector<std::uint8_t> without = show.pixels();
        for (const auto& [texture, file] : pictures) restore(images.*texture, file);
        const std::uint8_t* ground = without.data();  // the bottom-left corner: the caption's ground
        int caption = 0, covered = 0;
        for (std::size_t i = 0; i < without.size(); i += 4) {
            int fromGround = 0, moved = 0;
            for (int c = 0; c < 3; ++c) {
                fromGround = std::max(fromGround, std::abs(int(without[i + c]) - int(ground[c])));
                moved = std::max(moved, std::abs(int(with[i + c]) - int(without[i + c])));
            }
            if (fromGround <= 24) continue;
            ++caption;
            if (moved > 8) ++covered;
        }
        EXPECT_GT(caption, 20000);  // the caption is there to be covered
        EXPECT_LE(covered, 100);
    }
}

TEST(ImagesGl, NoImageInTheGaps) {
    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    const ImageTextures& images = show.resources().images;
    // Between the windows the overlay draws nothing: taking the neighbouring
    // pictures away changes no pixel.
    host.render(37.0f);
    const std::vector<std::uint8_t> with = show.pixels();
    makeTransparent(images.where3);
    makeTransparent(images.lafrange);
    host.render(37.0f);
    restore(images.where3, "demo6/images/where3.png");
    restore(images.lafrange, "demo6/images/lafrange.png");
    EXPECT_EQ(difference(with, show.pixels()).count, 0);
}

}  // namespace
