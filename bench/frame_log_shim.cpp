// Preloaded into the real show binary by frame_log.sh: wraps the buffer swap
// and logs every presented frame (frame_log_record.h).
#include <dlfcn.h>

#include "frame_log_record.h"

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    using Swap = void (*)(GLFWwindow*);
    static const Swap realSwap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    realSwap(window);
    logPresentedFrame();
}
