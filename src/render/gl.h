#pragma once
// Our own GL loader: one X-macro list of exactly the GL entry points the show
// calls. The list expands into function pointers (in namespace gl_api, so they
// never clash with a driver's exported C symbols) that code calls by their
// usual names, and into the loader that fills them once.
#ifdef __EMSCRIPTEN__
// Browser seam: WebGL 2 has no desktop GL header. OpenGL ES 3.0's carries the
// same types, names and values for every entry point below; its prototypes are
// left out so that the names stay free for the pointers.
#define GL_GLES_PROTOTYPES 0
#include <GLES3/gl3.h>
#ifndef APIENTRY
#define APIENTRY GL_APIENTRY
#endif
#define APIENTRYP GL_APIENTRYP
#else
#include <GL/glcorearb.h>
#endif

#define SHOW_GL_FUNCTIONS(X)                                   \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                 \
    X(PFNGLATTACHSHADERPROC, glAttachShader)                   \
    X(PFNGLBINDBUFFERPROC, glBindBuffer)                       \
    X(PFNGLBINDTEXTUREPROC, glBindTexture)                     \
    X(PFNGLBINDVERTEXARRAYPROC, glBindVertexArray)             \
    X(PFNGLBLENDFUNCPROC, glBlendFunc)                         \
    X(PFNGLBUFFERDATAPROC, glBufferData)                       \
    X(PFNGLBUFFERSUBDATAPROC, glBufferSubData)                 \
    X(PFNGLCLEARPROC, glClear)                                 \
    X(PFNGLCLEARCOLORPROC, glClearColor)                       \
    X(PFNGLCOMPILESHADERPROC, glCompileShader)                 \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                 \
    X(PFNGLCREATESHADERPROC, glCreateShader)                   \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                   \
    X(PFNGLDISABLEPROC, glDisable)                             \
    X(PFNGLDRAWARRAYSPROC, glDrawArrays)                       \
    X(PFNGLDRAWELEMENTSPROC, glDrawElements)                   \
    X(PFNGLENABLEPROC, glEnable)                               \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray) \
    X(PFNGLGENBUFFERSPROC, glGenBuffers)                       \
    X(PFNGLGENTEXTURESPROC, glGenTextures)                     \
    X(PFNGLGENVERTEXARRAYSPROC, glGenVertexArrays)             \
    X(PFNGLGENERATEMIPMAPPROC, glGenerateMipmap)               \
    X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)         \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                   \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)           \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                     \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)       \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                     \
    X(PFNGLPIXELSTOREIPROC, glPixelStorei)                     \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)                   \
    X(PFNGLTEXIMAGE2DPROC, glTexImage2D)                       \
    X(PFNGLTEXPARAMETERIPROC, glTexParameteri)                 \
    X(PFNGLUNIFORM1FPROC, glUniform1f)                         \
    X(PFNGLUNIFORM1IPROC, glUniform1i)                         \
    X(PFNGLUNIFORM3FPROC, glUniform3f)                         \
    X(PFNGLUNIFORMMATRIX4FVPROC, glUniformMatrix4fv)           \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                       \
    X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)     \
    X(PFNGLVIEWPORTPROC, glViewport)

namespace gl_api {
#define SHOW_GL_DECLARE(type, name) extern type name;
SHOW_GL_FUNCTIONS(SHOW_GL_DECLARE)
#undef SHOW_GL_DECLARE
}  // namespace gl_api

#define SHOW_GL_USING(type, name) using gl_api::name;
SHOW_GL_FUNCTIONS(SHOW_GL_USING)
#undef SHOW_GL_USING

// A function that resolves a GL entry point by name (glfwGetProcAddress in the show).
using GLProcResolver = void (*(*)(const char* name))();

// Fills every pointer of the list through `resolve`. Returns 0 when any entry
// point is missing (the pointers found so far stay filled), 1 otherwise.
int loadGL(GLProcResolver resolve);

// GL entry points the show itself never calls, for the programs that draw it
// offscreen: the offscreen framebuffer and its read-back, the recorder's pixel
// buffers, the studio's window and overlay (direct state access, so that they
// never change a binding the show's frames rely on) and the deletion of what
// a live reload replaces. Left out of the show's loader, so the show needs
// none of them; an offscreen host resolves them all at once (glExtras() in
// offscreen_show.h) and calls them through the table, by their usual names.
#define SHOW_GL_EXTRA_FUNCTIONS(X)                             \
    X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)             \
    X(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer)           \
    X(PFNGLBLITNAMEDFRAMEBUFFERPROC, glBlitNamedFramebuffer)   \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus) \
    X(PFNGLCLEARNAMEDFRAMEBUFFERFVPROC, glClearNamedFramebufferfv) \
    X(PFNGLCREATEFRAMEBUFFERSPROC, glCreateFramebuffers)       \
    X(PFNGLCREATETEXTURESPROC, glCreateTextures)               \
    X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers)                 \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                 \
    X(PFNGLDELETETEXTURESPROC, glDeleteTextures)               \
    X(PFNGLDELETEVERTEXARRAYSPROC, glDeleteVertexArrays)       \
    X(PFNGLFINISHPROC, glFinish)                               \
    X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer) \
    X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)             \
    X(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers)           \
    X(PFNGLMAPBUFFERRANGEPROC, glMapBufferRange)               \
    X(PFNGLNAMEDFRAMEBUFFERTEXTUREPROC, glNamedFramebufferTexture) \
    X(PFNGLREADPIXELSPROC, glReadPixels)                       \
    X(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage)     \
    X(PFNGLTEXTURESTORAGE2DPROC, glTextureStorage2D)           \
    X(PFNGLTEXTURESUBIMAGE2DPROC, glTextureSubImage2D)         \
    X(PFNGLUNMAPBUFFERPROC, glUnmapBuffer)

#ifndef __EMSCRIPTEN__
// The extra entry points as one table (WebGL 2 has no direct state access,
// and the browser host needs none of them).
struct GlExtras {
#define SHOW_GL_EXTRA_MEMBER(type, name) type name = nullptr;
    SHOW_GL_EXTRA_FUNCTIONS(SHOW_GL_EXTRA_MEMBER)
#undef SHOW_GL_EXTRA_MEMBER
};
#endif
