#pragma once
// GL entry points the studio uses beyond the show's own list: direct state
// access for its window and overlay (so it never changes a binding the
// show's frames rely on), and deletion of what a reload replaces. Loaded
// from the current context; a missing one ends the process with a message.
#include "render/gl.h"

struct StudioGl {
    PFNGLCREATETEXTURESPROC createTextures;
    PFNGLTEXTURESTORAGE2DPROC textureStorage2D;
    PFNGLTEXTURESUBIMAGE2DPROC textureSubImage2D;
    PFNGLCREATEFRAMEBUFFERSPROC createFramebuffers;
    PFNGLNAMEDFRAMEBUFFERTEXTUREPROC namedFramebufferTexture;
    PFNGLBLITNAMEDFRAMEBUFFERPROC blitNamedFramebuffer;
    PFNGLCLEARNAMEDFRAMEBUFFERFVPROC clearNamedFramebufferfv;
    PFNGLDELETEPROGRAMPROC deleteProgram;
    PFNGLDELETETEXTURESPROC deleteTextures;
    PFNGLDELETEVERTEXARRAYSPROC deleteVertexArrays;
    PFNGLDELETEBUFFERSPROC deleteBuffers;
    PFNGLFINISHPROC finish;
};

// Loads them once; later calls return the same table.
const StudioGl& studioGl();
