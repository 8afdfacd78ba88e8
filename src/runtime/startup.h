#pragma once
#include "timeline/resources.h"

// Seconds spent on each group of start-up work.
struct StartupTimes {
    double programs = 0.0;
    double atlases = 0.0;
    double meshes = 0.0;
    double textures = 0.0;
};

// Sets the global GL state and builds every resource of the show in start-up
// order (programs, glyph atlases, meshes, image textures). Needs a current GL
// context with the entry points loaded. Returns false when a font could not
// be opened: start-up then ends with status -1. `times`, when given, receives
// the time spent per group.
bool buildResources(Resources& res, StartupTimes* times = nullptr);
