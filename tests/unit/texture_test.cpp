#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include "fake_gl.h"
#include "render/texture.h"

// Local copy of the PNG writer, kept private to this file.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

namespace fs = std::filesystem;

// Every test writes its own small PNG fixtures into a private temporary folder.
class LoadTexture : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        fakegl::install();
        // The first glyph atlas leaves the unpack alignment at 1 for every later upload.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(::testing::TempDir()) / (std::string("texture_test_") + info->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A picture whose pixel (x, y), y counted from the top, is value(x, y, channel).
    template <typename F>
    std::string png(const std::string& name, int width, int height, int channels, F value) {
        std::vector<unsigned char> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < channels; ++c) pixels.push_back(static_cast<unsigned char>(value(x, y, c)));
        const std::string path = (dir / name).string();
        EXPECT_NE(stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels), 0);
        return path;
    }
    std::string file(const std::string& name, const std::string& bytes) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static const fakegl::Texture& texture(unsigned int name) { return fakegl::state().textures.at(name); }

    // Loads a file that should fail; returns the name and checks what was printed.
    unsigned int expectFailure(const std::string& path) {
        ::testing::internal::CaptureStdout();
        const unsigned int name = loadTexture(path.c_str());
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Texture failed to load at path: " + path + "\n");
        EXPECT_NE(name, 0u);
        EXPECT_FALSE(texture(name).hasImage) << path;
        EXPECT_TRUE(fakegl::calls("glBindTexture").empty()) << "a failed load binds nothing";
        EXPECT_TRUE(fakegl::calls("glTexImage2D").empty());
        return name;
    }
};

int pattern(int x, int y, int c) { return (x * 37 + y * 91 + c * 53 + 11) % 256; }

TEST_F(LoadTexture, ChannelCountChoosesTheFormatWithMipmapsRepeatAndNearest) {
    struct Case {
        const char* file;
        int channels;
        GLenum format;
    };
    for (const Case& c : {Case{"grey.png", 1, GL_RED}, Case{"rgb.png", 3, GL_RGB}, Case{"rgba.png", 4, GL_RGBA}}) {
        const unsigned int name = loadTexture(png(c.file, 4, 3, c.channels, pattern).c_str());
        const fakegl::Texture& tex = texture(name);
        EXPECT_TRUE(tex.hasImage) << c.file;
        EXPECT_EQ(tex.internalFormat, static_cast<GLint>(c.format)) << c.file;
        EXPECT_EQ(tex.format, c.format) << c.file;
        EXPECT_EQ(tex.width, 4);
        EXPECT_EQ(tex.height, 3);
        EXPECT_TRUE(tex.mipmaps) << c.file;
        EXPECT_EQ(tex.parameters.at(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(tex.parameters.at(GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_EQ(tex.parameters.at(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
        EXPECT_EQ(tex.parameters.at(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
        // Left bound on unit 0 after a successful load.
        EXPECT_EQ(fakegl::state().texture2D[GL_TEXTURE0], name);
    }
    // Level 0, no border, bytes, and the mipmaps built after the image.
    for (const fakegl::Call* call : fakegl::calls("glTexImage2D")) {
        EXPECT_EQ(call->args[0], GL_TEXTURE_2D);
        EXPECT_EQ(call->args[1], 0);
        EXPECT_EQ(call->args[5], 0);
        EXPECT_EQ(call->args[7], GL_UNSIGNED_BYTE);
    }
    const auto names = fakegl::callNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "glGenerateMipmap"), 3);
}

TEST_F(LoadTexture, OddWidthRgbIsFlippedAndUploadedWithoutRowSkew) {
    // 5 pixels of 3 bytes: 15-byte rows, which a 4-byte alignment would skew.
    const int width = 5;
    const int height = 3;
    const unsigned int name = loadTexture(png("odd.png", width, height, 3, pattern).c_str());
    const fakegl::Texture& tex = texture(name);
    ASSERT_EQ(tex.pixels.size(), static_cast<std::size_t>(width * height * 3));
    // The texture's first row (t = 0) is the picture's bottom row; its last row
    // (t = 1) is the picture's top row.
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(tex.pixels[(row * width + x) * 3 + c], pattern(x, height - 1 - row, c))
                    << "texture row " << row << ", x " << x << ", channel " << c;
}

TEST_F(LoadTexture, DecodingOnAWorkerThreadFlipsToo) {
    // Start-up decodes on fresh threads: the flip must hold there, not only
    // where an earlier load happened to set it.
    const std::string path = png("worker.png", 2, 3, 1, pattern);
    DecodedImage decoded = std::async(std::launch::async, [&] { return decodeImage(path.c_str()); }).get();
    ASSERT_TRUE(decoded.pixels);
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(decoded.pixels[row * 2 + x], pattern(x, 2 - row, 0)) << row << ", " << x;
}

TEST_F(LoadTexture, GreyWithAlphaBecomesRgbaWithTheGreyInEveryColour) {
    auto greyAlpha = [](int x, int y, int c) { return c == 0 ? 40 + x * 50 + y * 5 : 255 - x * 60; };
    const unsigned int name = loadTexture(png("grey_alpha.png", 3, 2, 2, greyAlpha).c_str());
    const fakegl::Texture& tex = texture(name);
    EXPECT_EQ(tex.internalFormat, GL_RGBA);
    EXPECT_EQ(tex.format, static_cast<GLenum>(GL_RGBA));
    ASSERT_EQ(tex.pixels.size(), 3u * 2u * 4u);
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 3; ++x) {
            const unsigned char* px = &tex.pixels[(row * 3 + x) * 4];
            const int grey = greyAlpha(x, 1 - row, 0);
            EXPECT_EQ(px[0], grey);
            EXPECT_EQ(px[1], grey);
            EXPECT_EQ(px[2], grey);
            EXPECT_EQ(px[3], greyAlpha(x, 1 - row, 1));
        }
    EXPECT_TRUE(tex.mipmaps);
}

TEST_F(LoadTexture, MissingFilePrintsItsPathAndGivesAFreshEmptyName) {
    const unsigned int first = expectFailure("demo6/images/no-such-image.png");
    const unsigned int second = expectFailure("demo6/images/no-such-image.png");
    EXPECT_NE(first, second);
}

TEST_F(LoadTexture, CorruptFilesAreLoadFailures) {
    expectFailure(file("garbage.png", "this is not a picture at all"));
    expectFailure(file("empty.png", ""));
    // A real PNG cut short in the middle of its pixel data.
    const std::string whole = png("whole.png", 64, 64, 4, pattern);
    std::ifstream in(whole, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    expectFailure(file("cut.png", bytes.substr(0, bytes.size() / 2)));
}

TEST_F(LoadTexture, EveryCallMakesANewName) {
    const std::string path = png("again.png", 2, 2, 4, pattern);
    const unsigned int first = loadTexture(path.c_str());
    const unsigned int second = loadTexture(path.c_str());
    EXPECT_NE(first, second);
    EXPECT_TRUE(texture(first).hasImage);
    EXPECT_TRUE(texture(second).hasImage);
}

TEST(ShowImages, AllEightLoadAsRgbaOfAFewHundredPixels) {
    fakegl::install();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (const char* path : {"demo6/images/what1.png", "demo6/images/where3.png", "demo6/images/lafrange.png",
                             "demo6/images/maybe.png", "demo6/images/mais.png", "demo6/images/answer1.png",
                             "demo6/images/nonsensical1.png", "demo6/images/last1.png"}) {
        ::testing::internal::CaptureStdout();
        const unsigned int name = loadTexture(path);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << path;
        const fakegl::Texture& tex = fakegl::state().textures.at(name);
        EXPECT_EQ(tex.format, static_cast<GLenum>(GL_RGBA)) << path;
        EXPECT_GE(tex.width, 200) << path;
        EXPECT_LE(tex.width, 512) << path;
        EXPECT_EQ(tex.width, tex.height) << path;
        // Transparent surroundings: the corners hold no ink.
        const std::size_t last = tex.pixels.size() - 4;
        EXPECT_EQ(tex.pixels[3], 0) << path;
        EXPECT_EQ(tex.pixels[last + 3], 0) << path;
    }
}

}  // namespace
