#include "render/gl.h"

namespace gl_api {
#define SHOW_GL_DEFINE(type, name) type name = nullptr;
SHOW_GL_FUNCTIONS(SHOW_GL_DEFINE)
#undef SHOW_GL_DEFINE
}  // namespace gl_api

int loadGL(GLProcResolver resolve) {
    int complete = 1;
#define SHOW_GL_LOAD(type, name)                                   \
    gl_api::name = reinterpret_cast<type>(resolve(#name));        \
    if (gl_api::name == nullptr) complete = 0;
    SHOW_GL_FUNCTIONS(SHOW_GL_LOAD)
#undef SHOW_GL_LOAD
    return complete;
}
