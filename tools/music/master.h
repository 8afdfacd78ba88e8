#pragma once
// The master chain: what turns the summed instruments into the released track.
#include <vector>

#include "voices.h"

namespace synth {

struct Mastered {
    Bus track;
    double gain = 1.0;              // applied to the sum before the limiter
    std::vector<float> reduction;   // the limiter's gain reduction per frame, in dB
};

// Masters `sum` and keeps `length` frames from `from` (the frames around them
// only prime the filters and the limiter's look-ahead).
Mastered master(const Bus& sum, long from, long length);

}  // namespace synth
