#include "studio_gl.h"

#include "offscreen_show.h"

namespace {

template <typename T>
void resolve(T& pointer, const char* name) {
    pointer = reinterpret_cast<T>(requireGlEntryPoint(name));
}

}  // namespace

const StudioGl& studioGl() {
    static const StudioGl gl = [] {
        StudioGl g{};
        resolve(g.createTextures, "glCreateTextures");
        resolve(g.textureStorage2D, "glTextureStorage2D");
        resolve(g.textureSubImage2D, "glTextureSubImage2D");
        resolve(g.createFramebuffers, "glCreateFramebuffers");
        resolve(g.namedFramebufferTexture, "glNamedFramebufferTexture");
        resolve(g.blitNamedFramebuffer, "glBlitNamedFramebuffer");
        resolve(g.clearNamedFramebufferfv, "glClearNamedFramebufferfv");
        resolve(g.deleteProgram, "glDeleteProgram");
        resolve(g.deleteTextures, "glDeleteTextures");
        resolve(g.deleteVertexArrays, "glDeleteVertexArrays");
        resolve(g.deleteBuffers, "glDeleteBuffers");
        resolve(g.finish, "glFinish");
        return g;
    }();
    return gl;
}
