#pragma once
#include <memory>

// A PNG decoded on the CPU, rows flipped so that the first row is the bottom
// of the picture; 1, 3 or 4 channels of 8 bits (grey with alpha is widened to
// RGBA). No pixels means the file could not be loaded.
struct DecodedImage {
    struct FreePixels {
        void operator()(unsigned char* pixels) const;
    };
    std::unique_ptr<unsigned char[], FreePixels> pixels;
    int width = 0;
    int height = 0;
    int channels = 0;
};

// Decodes the file. Touches neither GL nor standard output, so it may run on
// any thread.
DecodedImage decodeImage(const char* path);

// Makes a new GL_TEXTURE_2D and uploads the decoded picture into it (with a
// mipmap chain, GL_REPEAT and GL_NEAREST), or, when `image` holds no pixels,
// prints the path and leaves the name without image. Returns the name.
unsigned int uploadTexture(const char* path, const DecodedImage& image);

// Both steps at once: decodes the PNG, then uploads it.
unsigned int loadTexture(const char* path);
