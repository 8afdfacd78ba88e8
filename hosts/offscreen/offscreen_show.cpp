#include "offscreen_show.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include <unistd.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "render/gl.h"
#include "runtime/glfw_platform.h"
#include "runtime/startup.h"
#include "private_display.h"

namespace {

[[noreturn]] void fail(const char* why) {
    std::cerr << "offscreen show: " << why << std::endl;
    std::exit(2);
}

// Runs `work` with standard output captured into a string.
template <typename Work>
std::string captureStdout(Work work) {
    std::fflush(stdout);
    std::cout.flush();
    char path[] = "/tmp/offscreen_stdout_XXXXXX";
    int file = mkstemp(path);
    int saved = dup(STDOUT_FILENO);
    dup2(file, STDOUT_FILENO);
    work();
    std::cout.flush();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(file);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    unlink(path);
    return text.str();
}

}  // namespace

const GlExtras& glExtras() {
    static const GlExtras extras = [] {
        GlExtras table;
#define SHOW_GL_EXTRA_RESOLVE(type, name)                                   \
    table.name = reinterpret_cast<type>(glfwGetProcAddress(#name));        \
    if (table.name == nullptr) fail("missing " #name);
        SHOW_GL_EXTRA_FUNCTIONS(SHOW_GL_EXTRA_RESOLVE)
#undef SHOW_GL_EXTRA_RESOLVE
        return table;
    }();
    return extras;
}

OffscreenShow& OffscreenShow::instance() { return instance(true); }

OffscreenShow& OffscreenShow::instance(bool privateDisplay, Window window) {
    static OffscreenShow show(privateDisplay, window);
    return show;
}

OffscreenShow::OffscreenShow(bool privateDisplay, Window shown) {
    if (privateDisplay && startPrivateXvfb().empty()) fail("could not start Xvfb");
    chooseGlfwPlatform();
    if (!glfwInit()) fail("glfwInit failed");
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 6);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    const bool visible = shown == Window::shown;
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
    GLFWwindow* window = visible ? glfwCreateWindow(1280, 720, "studio", nullptr, nullptr)
                                 : glfwCreateWindow(kWidth, kHeight, "", nullptr, nullptr);
    if (window == nullptr) fail("no OpenGL 4.6 core context");
    window_ = window;
    glfwMakeContextCurrent(window);
    if (!loadGL(glfwGetProcAddress)) fail("GL entry points missing");
    const GlExtras& gl = glExtras();

    // A 1920 x 1080 colour + depth target that stays bound: the blocks never
    // bind framebuffers, so everything they draw lands here.
    GLuint renderbuffers[2] = {};
    gl.glGenFramebuffers(1, &framebuffer_);
    gl.glGenRenderbuffers(2, renderbuffers);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    gl.glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
    gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kWidth, kHeight);
    gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers[0]);
    gl.glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
    gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kWidth, kHeight);
    gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, renderbuffers[1]);
    if (gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) fail("framebuffer incomplete");
    glViewport(0, 0, kWidth, kHeight);

    bool built = false;
    startupOutput_ = captureStdout([&] { built = buildResources(resources_); });
    if (!built) fail(("start-up failed: " + startupOutput_).c_str());
}

void OffscreenShow::readBack() {
    const GlExtras& gl = glExtras();
    gl.glFinish();
    pixels_.resize(static_cast<std::size_t>(kWidth) * kHeight * 4);
    gl.glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels_.data());
}

std::array<std::uint8_t, 4> OffscreenShow::pixel(int x, int y) const {
    std::size_t at = (static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)) * 4;
    return {pixels_[at], pixels_[at + 1], pixels_[at + 2], pixels_[at + 3]};
}

bool OffscreenShow::writePng(const std::string& path) const {
    stbi_flip_vertically_on_write(1);  // GL rows run bottom-up
    return stbi_write_png(path.c_str(), kWidth, kHeight, 4, pixels_.data(), kWidth * 4) != 0;
}
