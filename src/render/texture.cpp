// Placeholder until image loading lands.
#include "render/texture.h"

#include "render/gl.h"

unsigned int loadTexture(const char*) {
    unsigned int texture = 0;
    glGenTextures(1, &texture);
    return texture;
}
