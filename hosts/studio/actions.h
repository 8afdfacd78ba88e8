#pragma once
// What a key press asks of the studio, by the key's name in scripts.
#include <optional>
#include <string>

enum class Action {
    togglePause, back1, forward1, back10, forward10, previousBoundary, nextBoundary, home, slower, faster,
    toggleLoop, stepFrame, screenshot, toggleOverlay, toggleFullscreen, quit
};

// "space", "left", "right", "shift+left", "shift+right", "pageup",
// "pagedown", "home", "[", "]", "l", ".", "s", "h", "f", "escape".
std::optional<Action> actionNamed(const std::string& key);
// The name of the key that asks for `action`.
const char* nameOf(Action action);
// The action of a GLFW key with its modifiers, if any.
std::optional<Action> actionOfKey(int key, int mods);
