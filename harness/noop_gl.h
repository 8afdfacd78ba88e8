#pragma once
// GL entry points that do nothing and return zero: for measuring the CPU cost
// of the show's own code, and for counting its allocations, without a driver.
#include "render/gl.h"

namespace noopgl {

template <typename Function>
struct NoOp;

template <typename Result, typename... Args>
struct NoOp<Result(APIENTRYP)(Args...)> {
    static Result APIENTRY call(Args...) { return Result(); }
};

inline void install() {
#define NOOPGL_INSTALL(type, name) gl_api::name = &NoOp<type>::call;
    SHOW_GL_FUNCTIONS(NOOPGL_INSTALL)
#undef NOOPGL_INSTALL
}

}  // namespace noopgl
