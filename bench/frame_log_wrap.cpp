// Linked into the Windows bench build with --wrap=glfwSwapBuffers: every call
// of the show's buffer swap comes here, and every presented frame is logged
// (frame_log_record.h), as the native bench's preloaded shim does.
#include "frame_log_record.h"

extern "C" void __real_glfwSwapBuffers(GLFWwindow* window);

extern "C" void __wrap_glfwSwapBuffers(GLFWwindow* window) {
    __real_glfwSwapBuffers(window);
    logPresentedFrame();
}
