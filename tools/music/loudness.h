#pragma once
// Loudness as listeners and streaming services judge it: the integrated,
// K-weighted and gated loudness of a stereo signal in LUFS, and the true peak
// (the highest value between the samples too, as a 4x oversampled meter sees
// it).
#include <vector>

#include "voices.h"

namespace synth {

// Integrated loudness of frames [from, from + length) of `bus`, in LUFS.
double integratedLoudness(const Bus& bus, long from, long length);

// The true peak of each frame: the largest magnitude, over both channels, of
// the frame and of three points interpolated between it and the next one.
std::vector<float> truePeaks(const Bus& bus);

}  // namespace synth
