// The recorder's colour conversion: studio-range BT.601, rows flipped from
// GL's bottom-up order, chroma the mean of each 2 x 2 block; and the same
// luma as ffmpeg's own converter, which the recorder replaces.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "yuv420.h"

namespace {

using Rgb = std::array<int, 3>;

// A width x height RGBA image, rows bottom-up, from top-down rows of colours.
std::vector<std::uint8_t> glImage(const std::vector<std::vector<Rgb>>& topDown) {
    const int height = static_cast<int>(topDown.size()), width = static_cast<int>(topDown[0].size());
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c)
                rgba[((height - 1 - y) * width + x) * 4 + c] =
                    static_cast<std::uint8_t>(c < 3 ? topDown[y][x][c] : 255);
    return rgba;
}

}  // namespace

TEST(Yuv420, StudioRangeColoursFlippedRowsAndBlockMeanChroma) {
    const Rgb black{0, 0, 0}, white{255, 255, 255}, red{255, 0, 0}, blue{0, 0, 255};
    // Two blocks side by side: black over white, and red over blue.
    const auto rgba = glImage({{black, black, red, red}, {white, white, blue, blue}});
    std::vector<std::uint8_t> yuv(yuv420Bytes(4, 2));
    rgbaToYuv420(rgba.data(), 4, 2, yuv.data());
    // Y: the top row first.
    EXPECT_EQ(std::vector<int>(yuv.begin(), yuv.begin() + 8), (std::vector<int>{16, 16, 82, 82, 235, 235, 41, 41}));
    // U and V: grey blocks have none; red and blue pull them apart.
    EXPECT_EQ(int(yuv[8]), 128);
    EXPECT_EQ(int(yuv[10]), 128);
    EXPECT_EQ(int(yuv[9]), (90 + 240 + 1) / 2);  // the means of red's (90, 240) and blue's (240, 110)
    EXPECT_EQ(int(yuv[11]), (240 + 110 + 1) / 2);
}

TEST(Yuv420, LumaMatchesFfmpegsConverter) {
    constexpr int width = 64, height = 32;
    std::vector<std::uint8_t> rgba(width * height * 4);
    std::srand(7);
    for (auto& byte : rgba) byte = static_cast<std::uint8_t>(std::rand());
    std::vector<std::uint8_t> ours(yuv420Bytes(width, height));
    rgbaToYuv420(rgba.data(), width, height, ours.data());

    char rgbaPath[] = "/tmp/yuv420_test_XXXXXX";
    const int fd = mkstemp(rgbaPath);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, rgba.data(), rgba.size()), static_cast<ssize_t>(rgba.size()));
    close(fd);
    const std::string command = "ffmpeg -v error -f rawvideo -pix_fmt rgba -video_size 64x32 -i " +
                                std::string(rgbaPath) + " -vf vflip -f rawvideo -pix_fmt yuv420p -";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<std::uint8_t> theirs(ours.size());
    const std::size_t got = std::fread(theirs.data(), 1, theirs.size(), pipe);
    pclose(pipe);
    std::remove(rgbaPath);
    ASSERT_EQ(got, theirs.size());
    for (int i = 0; i < width * height; ++i) ASSERT_LE(std::abs(ours[i] - theirs[i]), 1) << "pixel " << i;
}
