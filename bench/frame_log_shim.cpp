// Preloaded into the real show binary by frame_log.sh: wraps the buffer swap
// and logs, per presented frame, the show clock when the frame began and the
// wall milliseconds from the previous swap to this one (the frame's whole
// cost: drawing, the driver's flush and the copy to the X server).
// The log goes to the file named by SHOW_FRAME_LOG.
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {

struct FrameLog {
    std::FILE* file = nullptr;
    FrameLog() {
        if (const char* path = std::getenv("SHOW_FRAME_LOG")) file = std::fopen(path, "w");
    }
    ~FrameLog() {
        if (file != nullptr) std::fclose(file);
    }
};

FrameLog frameLog;

}  // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    using Swap = void (*)(GLFWwindow*);
    static const Swap realSwap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    static bool first = true;
    static std::chrono::steady_clock::time_point previous;
    static double frameStart = 0.0;

    realSwap(window);
    const auto now = std::chrono::steady_clock::now();
    if (!first && frameLog.file != nullptr)
        std::fprintf(frameLog.file, "%.4f %.3f\n", frameStart,
                     std::chrono::duration<double, std::milli>(now - previous).count());
    first = false;
    previous = now;
    frameStart = glfwGetTime();  // the next frame reads its clock just after this
}
