#pragma once
#include "render/shader.h"

// The 22 programs, named by their file stems under demo6/.
struct Programs {
    Shader demo6pt1, demo6pt3, demo6pt3_2, demo6pt4, demo6pt51, demo6pt61, demo6pt62,
        demo6pt71, demo6pt72, demo6pt91, demo6pt92, demo6ptA1, demo6ptA2, demo6ptB1,
        demo6ptB2, demo6ptC1, demo6ptC2, demo6ptD1, demo6ptD2, demo6ptE1, demo6ptE2,
        demo6image;
};

// Texture names of the eight images under demo6/images/.
struct ImageTextures {
    unsigned int what1 = 0, where3 = 0, lafrange = 0, maybe = 0, mais = 0, answer1 = 0,
                 nonsensical1 = 0, last1 = 0;
};

// Everything start-up builds that the timeline draws with (the glyph atlases
// are static objects of their own).
struct Resources {
    Programs programs;
    unsigned int cubeMesh = 0;   // vertex array
    unsigned int imageQuad = 0;  // vertex array
    ImageTextures images;
};
