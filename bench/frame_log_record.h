#pragma once
// The frame log's writer, which the preloaded shim (frame_log_shim.cpp) and
// the Windows bench build's linker wrap (frame_log_wrap.cpp) call right after
// the real buffer swap: per presented frame, the show clock when the frame
// began and the wall milliseconds from the previous swap to this one (the
// frame's whole cost: drawing, the driver's flush and the copy to the
// display). The log goes to the file named by SHOW_FRAME_LOG.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

inline void logPresentedFrame() {
    struct FrameLog {
        std::FILE* file = nullptr;
        FrameLog() {
            if (const char* path = std::getenv("SHOW_FRAME_LOG")) file = std::fopen(path, "w");
        }
        ~FrameLog() {
            if (file != nullptr) std::fclose(file);
        }
    };
    static FrameLog frameLog;
    static bool first = true;
    static std::chrono::steady_clock::time_point previous;
    static double frameStart = 0.0;

    const auto now = std::chrono::steady_clock::now();
    if (!first && frameLog.file != nullptr)
        std::fprintf(frameLog.file, "%.4f %.3f\n", frameStart,
                     std::chrono::duration<double, std::milli>(now - previous).count());
    first = false;
    previous = now;
    frameStart = glfwGetTime();  // the next frame reads its clock just after this
}
