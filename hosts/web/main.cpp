// The show in a browser. The page (index.html, page.js) fetches every data
// file into the virtual file system, then calls main: it opens the WebGL 2
// canvas, builds every resource in the native start-up order, and hands the
// show's frame to the browser's animation loop. The page owns the show clock
// (it stops while the tab is hidden) and starts, ends and restarts the show
// through show_begin and show_stop.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <emscripten/emscripten.h>

#include <cstdio>
#include <iostream>

#include "render/gl.h"
#include "runtime/startup.h"
#include "show_facts.h"
#include "timeline/show_host.h"
#include "web_sound_engine.h"

namespace {

// clang-format off
EM_JS(double, pageClock, (), { return Module.showPage.clock(); });
EM_JS(void, pageShowEnded, (), { Module.showPage.showEnded(); });
EM_JS(void, pageStartupDone, (int ok), { Module.showPage.startupDone(ok !== 0); });
// clang-format on

// The page's clock, for the frame and for the cube waves' second readings.
class PageClock : public Clock {
public:
    double now() override { return pageClock(); }
};

struct WebShow {
    Resources resources;
    WebSoundEngine sound;
    PageClock clock;
    ShowHost host{resources, sound, clock};
    bool playing = false;
};
WebShow show;

void reportGlfwError(int, const char* description) { std::fprintf(stderr, "GLFW: %s\n", description); }

void playFrame() {
    if (!show.playing) return;
    if (show.host.drawFrame()) {
        // Past 295 s: as natively, this frame is never presented (nothing was drawn).
        show.playing = false;
        show.sound.stopAll();
        pageShowEnded();
    }
}

}  // namespace

extern "C" {

// Starts the show at `t` seconds with the music the cues would have left
// playing by then. The page starts its clock at `t` right after.
EMSCRIPTEN_KEEPALIVE void show_begin(double t) {
    show.host.seekMusic(t);
    show.playing = true;
}

// Ends the show early (Escape): silence, and no more frames.
EMSCRIPTEN_KEEPALIVE void show_stop() {
    show.playing = false;
    show.sound.stopAll();
}

}  // extern "C"

int main() {
    glfwSetErrorCallback(reportGlfwError);
    glfwInit();
    // The page composites the canvas: an opaque drawing buffer shows the
    // frame as the native window does, whatever alpha the blending leaves.
    glfwWindowHint(GLFW_ALPHA_BITS, 0);
    // Nothing draws with a stencil: without one the depth buffer is depth
    // alone, and clearing it needs no care for stencil bits beside it.
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    // No monitor: Emscripten's GLFW would ask for fullscreen at once, be
    // refused without a user gesture and never size the canvas. The page asks
    // for fullscreen on the click that starts the show.
    GLFWwindow* window = glfwCreateWindow(kScreenWidth, kScreenHeight, "", nullptr, nullptr);
    if (window == nullptr) {
        std::cout << "Failed to create GLFW window" << std::endl;
        pageStartupDone(0);
        return -1;
    }
    glfwMakeContextCurrent(window);
    if (!loadGL(glfwGetProcAddress)) {
        std::cout << "Failed to initialize GLAD" << std::endl;
        pageStartupDone(0);
        return -1;
    }
    if (!buildResources(show.resources)) {
        pageStartupDone(0);
        return -1;
    }
    // Black behind the start screen; the clear colour goes back to GL's default.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    pageStartupDone(1);
    // The browser calls the frame at its display's pace; main never returns.
    emscripten_set_main_loop(playFrame, 0, 1);
    return 0;
}
