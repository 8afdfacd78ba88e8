#include "actions.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {

struct Binding {
    const char* name;
    int key;
    bool shift;
    Action action;
};

constexpr Binding kBindings[] = {
    {"space", GLFW_KEY_SPACE, false, Action::togglePause},
    {"left", GLFW_KEY_LEFT, false, Action::back1},
    {"right", GLFW_KEY_RIGHT, false, Action::forward1},
    {"shift+left", GLFW_KEY_LEFT, true, Action::back10},
    {"shift+right", GLFW_KEY_RIGHT, true, Action::forward10},
    {"pageup", GLFW_KEY_PAGE_UP, false, Action::previousBoundary},
    {"pagedown", GLFW_KEY_PAGE_DOWN, false, Action::nextBoundary},
    {"home", GLFW_KEY_HOME, false, Action::home},
    {"[", GLFW_KEY_LEFT_BRACKET, false, Action::slower},
    {"]", GLFW_KEY_RIGHT_BRACKET, false, Action::faster},
    {"l", GLFW_KEY_L, false, Action::toggleLoop},
    {".", GLFW_KEY_PERIOD, false, Action::stepFrame},
    {"s", GLFW_KEY_S, false, Action::screenshot},
    {"h", GLFW_KEY_H, false, Action::toggleOverlay},
    {"f", GLFW_KEY_F, false, Action::toggleFullscreen},
    {"escape", GLFW_KEY_ESCAPE, false, Action::quit},
};

}  // namespace

std::optional<Action> actionNamed(const std::string& key) {
    for (const Binding& binding : kBindings)
        if (key == binding.name) return binding.action;
    return std::nullopt;
}

const char* nameOf(Action action) {
    for (const Binding& binding : kBindings)
        if (binding.action == action) return binding.name;
    return "?";
}

std::optional<Action> actionOfKey(int key, int mods) {
    const bool shift = (mods & GLFW_MOD_SHIFT) != 0;
    for (const Binding& binding : kBindings)
        if (key == binding.key && (shift == binding.shift || (key != GLFW_KEY_LEFT && key != GLFW_KEY_RIGHT)))
            return binding.action;
    return std::nullopt;
}
