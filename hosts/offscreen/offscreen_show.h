#pragma once
// The show's frames drawn offscreen: for the recorder, the stills, the studio,
// the tests and the benches.
// OffscreenShow gives a context, a framebuffer, the resources and the
// read-back. Its first use starts a private Xvfb server on a free display
// (with Mesa's software renderer and its 4.6 override), opens a 4.6 core
// window (hidden unless asked for), loads GL and the extra entry points, and
// builds every resource exactly as start-up does, with the working directory
// as the run directory. Every frame lands in a 1920 x 1080 offscreen
// framebuffer with depth. It draws nothing itself: each caller owns the host
// that draws its frames (a ShowHost over resources(), or a SilentHost below).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "render/gl.h"
#include "show_facts.h"
#include "timeline/show_host.h"

struct GLFWwindow;

class OffscreenShow {
public:
    // One per process, built on first use. Fails the process (with a message)
    // when no display or no 4.6 context can be had.
    static OffscreenShow& instance();
    // The same, but the first call may choose the display: a private Xvfb, or
    // the one DISPLAY names (with whatever driver it has), and whether the
    // window shows (resizable, 1280 x 720 at first): the frame is still drawn
    // offscreen, for the host to put into the window as it likes.
    enum class Window { hidden, shown };
    static OffscreenShow& instance(bool privateDisplay, Window window = Window::hidden);

    const Resources& resources() const { return resources_; }
    GLFWwindow* window() const { return window_; }
    // The 1920 x 1080 colour + depth framebuffer every frame is drawn into.
    unsigned int framebuffer() const { return framebuffer_; }
    // For tests that swap a program for a variant of their own, and for the
    // studio's live reload.
    Resources& mutableResources() { return resources_; }
    // Everything start-up printed on standard output.
    const std::string& startupOutput() const { return startupOutput_; }

    // Waits for the frame drawn last and reads it back (for pixel, pixels, writePng).
    void readBack();

    // RGBA of one pixel of the last frame; (0, 0) is the bottom-left corner.
    std::array<std::uint8_t, 4> pixel(int x, int y) const;
    // The last frame, bottom row first, RGBA.
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }
    // Writes the last frame as a PNG, top row first.
    bool writePng(const std::string& path) const;

    static constexpr int kWidth = kScreenWidth;
    static constexpr int kHeight = kScreenHeight;

private:
    OffscreenShow(bool privateDisplay, Window window);
    GLFWwindow* window_ = nullptr;
    unsigned int framebuffer_ = 0;
    Resources resources_;
    std::string startupOutput_;
    std::vector<std::uint8_t> pixels_;
};

// A host that draws the frames at show times its caller picks, silently: what
// the stills, the recorder's picture, the tests and the benches draw with. Its
// music cue flag persists between its frames.
class SilentHost {
public:
    explicit SilentHost(OffscreenShow& show) : show_(show), host_(show.resources(), silence_, clock_) {}

    // Draws the frame at t (black clear, then the chain) into the framebuffer
    // and returns without waiting for it or reading it back. The cube waves'
    // second clock reading returns `clock` (t when negative). Returns true
    // past the show's end.
    bool draw(float t, double clock = -1.0) {
        clock_.at = clock < 0.0 ? t : clock;
        return host_.drawFrameAt(t);
    }
    // Draws the frame at t and reads it back (the show's pixel, pixels, writePng).
    void render(float t, double clock = -1.0) {
        draw(t, clock);
        show_.readBack();
    }

private:
    OffscreenShow& show_;
    ScriptedClock clock_;
    SilentSoundEngine silence_;
    ShowHost host_;
};

// The GL entry points outside the show's loader list (SHOW_GL_EXTRA_FUNCTIONS
// in render/gl.h), resolved from the current context on the first call; a
// missing one ends the process with a message.
const GlExtras& glExtras();
