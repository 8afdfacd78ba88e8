#pragma once
// Frames drawn with one of the show's programs edited, for tests that hold
// the shipped GLSL against a variant of it: the same frame must come out,
// or nearly.
#include <string>
#include <vector>

#include "offscreen_show.h"

struct ProgramEdit {
    Shader Programs::*program;
    const char* stem;  // the sources are demo6/<stem>.vs and .fs
    float t;           // the frame compared
};

// How far each pixel of the frame at c.t moves (its largest channel
// difference) when the program is drawn with the first `marker` in its
// `stage` source (".vs" or ".fs") replaced by `replacement`. `setUp`, when
// given, sets what start-up would have set on the edited program. Empty,
// with a failure, when the source has no `marker`.
std::vector<int> pixelsMovedByEdit(const ProgramEdit& c, const std::string& stage, const std::string& marker,
                                   const std::string& replacement, void (*setUp)(Shader&) = nullptr);
