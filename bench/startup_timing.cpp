// Start-up timing: the time from glfwInit (where the show clock starts) to the
// first presented frame, split by resource group, measured exactly as the show
// starts: the prefetch of fonts and images, a fullscreen 1920 x 1080 window,
// then every resource in start-up order. A group's time includes any wait for
// its prefetched part. The last line is the figure to watch: from the moment
// the window exists to the first presented frame.
// Run from the run directory. Without a display it starts a private Xvfb
// (Mesa's software renderer); with DISPLAY set it uses that display's driver.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "render/gl.h"
#include "runtime/startup.h"
#include "runtime/glfw_clock.h"
#include "runtime/glfw_platform.h"
#include "show_facts.h"
#include "timeline/show_host.h"
#include "private_display.h"

namespace {

// CPU seconds used so far by the calling thread or the whole process.
double cpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

}  // namespace

int main() {
    if (std::getenv("DISPLAY") == nullptr && startPrivateXvfb().empty()) {
        std::fprintf(stderr, "no display and no Xvfb\n");
        return 1;
    }
    chooseGlfwPlatform();
    glfwInit();
    StartupPrefetch prefetch = startPrefetch();
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 6);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    const double windowAsked = glfwGetTime();
    GLFWwindow* window = glfwCreateWindow(kScreenWidth, kScreenHeight, "", glfwGetPrimaryMonitor(), nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "no OpenGL 4.6 core context\n");
        return 1;
    }
    glfwMakeContextCurrent(window);
    if (!loadGL(glfwGetProcAddress)) return 1;
    const double windowReady = glfwGetTime();
    const double mainCpuAtWindow = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double processCpuAtWindow = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);

    Resources resources;
    StartupTimes times;
    if (!buildResources(resources, prefetch, &times)) return 1;
    const double resourcesReady = glfwGetTime();

    SilentSoundEngine silence;
    GlfwClock clock;
    const float t = static_cast<float>(clock.now());
    ShowHost(resources, silence, clock).drawFrameAt(t);
    glfwSwapBuffers(window);
    const double firstFrame = glfwGetTime();
    const double mainCpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainCpuAtWindow;
    const double processCpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processCpuAtWindow;

    auto getString = reinterpret_cast<PFNGLGETSTRINGPROC>(glfwGetProcAddress("glGetString"));
    std::printf("renderer: %s\n", getString ? reinterpret_cast<const char*>(getString(GL_RENDERER)) : "?");
    std::printf("window, context, GL loader  %8.1f ms\n", windowReady * 1e3);
    std::printf("  programs (22)             %8.1f ms\n", times.programs * 1e3);
    std::printf("  glyph atlases (3)         %8.1f ms\n", times.atlases * 1e3);
    std::printf("  meshes (2)                %8.1f ms\n", times.meshes * 1e3);
    std::printf("  image textures (8)        %8.1f ms\n", times.textures * 1e3);
    std::printf("  (atlases and images waited %5.1f ms for the workers)\n", times.waitingForWorkers * 1e3);
    std::printf("all resources               %8.1f ms\n", (resourcesReady - windowReady) * 1e3);
    std::printf("first frame presented at    %8.1f ms after glfwInit (t = %.3f s)\n", firstFrame * 1e3, t);
    std::printf("window created (%5.1f ms) to first frame presented  %8.1f ms\n",
                (windowReady - windowAsked) * 1e3, (firstFrame - windowReady) * 1e3);
    // On a busy machine the wall times stretch; the CPU the main thread used
    // over the same stretch shows how much of it was its own work.
    std::printf("  CPU over that stretch: main thread %.1f ms, whole process %.1f ms\n", mainCpu * 1e3,
                processCpu * 1e3);
    glfwTerminate();
    return 0;
}
