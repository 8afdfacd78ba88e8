#include "render/texture.h"

#include <cstddef>
#include <iostream>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include "render/gl.h"

namespace {

// Grey plus alpha has no GL format of its own that samples like an image
// viewer shows it (GL_RG would come out red and green), so it is widened to
// RGBA: the grey goes into r, g and b and the alpha is kept.
std::vector<unsigned char> greyAlphaToRgba(const unsigned char* pixels, int width, int height) {
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<unsigned char> rgba(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char grey = pixels[i * 2];
        rgba[i * 4 + 0] = grey;
        rgba[i * 4 + 1] = grey;
        rgba[i * 4 + 2] = grey;
        rgba[i * 4 + 3] = pixels[i * 2 + 1];
    }
    return rgba;
}

// Uploads the decoded picture (1 to 4 channels) to the bound texture and
// builds its mipmaps.
void upload(const unsigned char* pixels, int width, int height, int channels) {
    GLenum format = 0;
    std::vector<unsigned char> widened;
    switch (channels) {
        case 1: format = GL_RED; break;
        case 3: format = GL_RGB; break;
        case 4: format = GL_RGBA; break;
        case 2:
            widened = greyAlphaToRgba(pixels, width, height);
            pixels = widened.data();
            format = GL_RGBA;
            break;
    }
    // Rows are tightly packed; the unpack alignment of 1 set with the first
    // glyph atlas stays in force, so odd RGB widths upload without skew.
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
}

}  // namespace

void DecodedImage::FreePixels::operator()(unsigned char* pixels) const { stbi_image_free(pixels); }

DecodedImage decodeImage(const char* path) {
    // Bottom row first, so that t = 0 is the bottom of the picture. The flag is
    // set for this thread only: decoding may run on several threads at once.
    stbi_set_flip_vertically_on_load_thread(true);
    DecodedImage image;
    image.pixels.reset(stbi_load(path, &image.width, &image.height, &image.channels, 0));
    // stb only ever gives 1 to 4 channels; anything else is treated as a failed load.
    if (image.channels < 1 || image.channels > 4) image.pixels.reset();
    return image;
}

unsigned int uploadTexture(const char* path, const DecodedImage& image) {
    unsigned int texture = 0;
    glGenTextures(1, &texture);
    if (image.pixels) {
        glBindTexture(GL_TEXTURE_2D, texture);
        upload(image.pixels.get(), image.width, image.height, image.channels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    } else {
        // Nothing is bound: the name stays without storage.
        std::cout << "Texture failed to load at path: " << path << std::endl;
    }
    return texture;
}

unsigned int loadTexture(const char* path) { return uploadTexture(path, decodeImage(path)); }
