#pragma once
// The whole show rendered offscreen: for the recorder, the stills, the studio,
// the tests and the benches.
// The first use starts a private Xvfb server on a free display (with Mesa's
// software renderer and its 4.6 override), opens a 4.6 core window (hidden
// unless asked for), loads GL, and builds every resource exactly as start-up
// does, with the working directory as the run directory. Frames are drawn into a 1920 x 1080
// offscreen framebuffer with depth, exactly as the frame loop draws them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

    // Draws the frame at show time t (black clear, then the chain) and reads
    // it back. The second clock reading of the cube waves returns `clock` (t
    // when negative). Sound goes to a silent engine; the music cue flag
    // persists between calls.
    void renderFrame(float t, double clock = -1.0);
    // Draws the frame at t into the framebuffer and returns without waiting
    // for it or reading it back. Returns true past the show's end.
    bool drawOnly(float t, double clock);

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
    ScriptedClock clock_;
    SilentSoundEngine silence_;
    ShowHost host_{resources_, silence_, clock_};
};

// A GL entry point outside the show's loader list (framebuffers, read-back),
// from the current context. Ends the process with a message when missing.
void* requireGlEntryPoint(const char* name);
