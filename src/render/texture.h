#pragma once

// Loads a PNG into a new GL_TEXTURE_2D (flipped so that t = 0 is the bottom
// of the picture, with a mipmap chain, GL_REPEAT and GL_NEAREST) and returns
// its name. On failure it prints the path and returns a name without image.
unsigned int loadTexture(const char* path);
