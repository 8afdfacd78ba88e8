#pragma once
// A private X server for software-rendered GL: Xvfb on a free display, from
// scripts/lib/private_display.sh, with Mesa's 4.6 override, stopped by
// its process id when the process ends.
#include <string>

// Starts the server once per process (later calls return the same display),
// sets DISPLAY and the Mesa overrides in this process's environment and
// returns the display name, or "" when Xvfb could not be started.
std::string startPrivateXvfb();
