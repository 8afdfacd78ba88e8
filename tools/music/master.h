#pragma once
// The master chain: what turns the summed instruments into the released track.
// A high-pass against DC and rumble, a small dip at 2.6 kHz and a gentle high
// shelf (a top that does not tire), a slightly wider stereo image with a mono
// low end, a gain that sets the integrated loudness, and a look-ahead limiter that holds the
// true peak under the ceiling.
#include <vector>

#include "voices.h"

namespace synth {

constexpr double kTargetLufs = -14.0;
constexpr double kCeilingDbtp = -1.5;  // under -1 dBTP, with room for rounding and other meters

struct Mastered {
    Bus track;
    double gain = 1.0;              // applied to the sum before the limiter
    std::vector<float> reduction;   // the limiter's gain reduction per frame, in dB
};

// The filters and the stereo width of the chain, in place: what the master
// does before its gain and limiter (and all it does to a stem).
void shape(Bus& bus);

// Masters `sum` and keeps `length` frames from `from`; the frames around them
// prime the filters and the limiter's look-ahead, and the loudness is that of
// the frames kept.
Mastered master(const Bus& sum, long from, long length);

}  // namespace synth
