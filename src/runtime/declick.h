#pragma once
// Stopping a sound mid-wave leaves a step in the output, heard as a click.
// Both the show's engine and the recorder's mixer end what they stop with
// this short fade (kDeclickSeconds long) instead.
#include <cmath>

#include "show_facts.h"

// The gain of the frame `remaining` frames before the fade's end (a raised
// cosine from 1 down towards 0 over `length` frames).
inline double declickGain(long remaining, long length) {
    if (remaining >= length) return 1.0;
    if (remaining <= 0) return 0.0;
    return 0.5 - 0.5 * std::cos(3.14159265358979323846 * static_cast<double>(remaining) / static_cast<double>(length));
}
