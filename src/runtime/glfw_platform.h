#pragma once
// Which windowing system GLFW connects to. Call before glfwInit.
//
// GLFW 3.4 built for both Wayland and X11 tries Wayland first. Where no
// Wayland compositor can be named (no XDG_RUNTIME_DIR, as over ssh, in a
// container or a chroot) the Wayland client library still tries, and prints
// "error: XDG_RUNTIME_DIR is invalid or not set in the environment." on
// standard error before GLFW moves on to X11. So where a compositor cannot
// be reached, X11 is asked for at once; everywhere else GLFW chooses as it
// would (a Wayland session gets Wayland). GLFW 3.3 knows only one platform
// per build, and this does nothing there.
#include <cstdlib>

#ifndef GLFW_VERSION_MAJOR
#error "include GLFW/glfw3.h first"
#endif

// Whether a Wayland compositor could be reached by name: the client library
// connects to WAYLAND_SOCKET, to WAYLAND_DISPLAY when it is an absolute path,
// and otherwise to WAYLAND_DISPLAY (or wayland-0) under XDG_RUNTIME_DIR.
inline bool waylandReachable() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && value[0] != '\0';
    };
    if (set("WAYLAND_SOCKET")) return true;
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (display != nullptr && display[0] == '/') return true;
    return set("XDG_RUNTIME_DIR");
}

inline void chooseGlfwPlatform() {
#if defined(GLFW_PLATFORM_X11)
    if (!waylandReachable() && glfwPlatformSupported(GLFW_PLATFORM_X11))
        glfwInitHint(GLFW_PLATFORM, GLFW_PLATFORM_X11);
#endif
}
