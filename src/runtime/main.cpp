// The show: opens the fullscreen window, builds every resource, then plays the
// timeline until Escape, a close request, a stop signal or the end of the show
// at 295 s.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdio>
#include <iostream>

#include "render/gl.h"
#include "runtime/glfw_clock.h"
#include "runtime/glfw_platform.h"
#include "runtime/sdl_sound_engine.h"
#include "runtime/signals.h"
#include "runtime/startup.h"
#include "show_facts.h"
#include "timeline/show_host.h"

namespace {

void framebufferSizeChanged(GLFWwindow*, int width, int height) {
    glViewport(0, 0, width, height);
}

// Says why GLFW failed (no display, no such context, ...). Standard output
// keeps only the show's own messages, so this goes to standard error. When
// glfwInit fails, every later call fails as "not initialized": that adds
// nothing to the first report.
void reportGlfwError(int code, const char* description) {
    if (code == GLFW_NOT_INITIALIZED) return;
    std::fprintf(stderr, "GLFW: %s\n", description);
}

}  // namespace

int main() {
    catchStopSignals();
    glfwSetErrorCallback(reportGlfwError);
    // The show clock starts here: everything built below eats its first seconds.
    chooseGlfwPlatform();
    glfwInit();
    // Fonts are rasterised and images decoded on worker threads while the window opens.
    StartupPrefetch prefetch = startPrefetch();
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 6);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);

    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    GLFWwindow* window = glfwCreateWindow(kScreenWidth, kScreenHeight, "", monitor, nullptr);
    if (window == nullptr) {
        std::cout << "Failed to create GLFW window" << std::endl;
        glfwTerminate();
        return -1;
    }
    glfwMakeContextCurrent(window);
    glfwSetFramebufferSizeCallback(window, framebufferSizeChanged);
    // A tap of Escape that starts and ends between two polls still counts.
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);

    // From here on every exit terminates GLFW: only GLFW gives the monitor its
    // video mode back after a fullscreen window.
    if (!loadGL(glfwGetProcAddress)) {
        std::cout << "Failed to initialize GLAD" << std::endl;
        glfwTerminate();
        return -1;
    }

    Resources resources;
    if (!buildResources(resources, prefetch)) {
        glfwTerminate();
        return -1;
    }

    GlfwClock clock;
    ShowHost host(resources, showSoundEngine, clock);
    // A stop signal ends the loop at a frame boundary, as a close request does.
    while (!glfwWindowShouldClose(window) && stopSignal() == 0) {
        if (glfwGetKey(window, GLFW_KEY_ESCAPE) == GLFW_PRESS)
            glfwSetWindowShouldClose(window, GLFW_TRUE);

        if (host.drawFrame()) {
            // Past 295 s: this frame is never presented.
            glfwTerminate();
            return 0;
        }
        glfwSwapBuffers(window);
        glfwPollEvents();
    }
    glfwTerminate();
    endByStopSignal();
    return 0;
}
