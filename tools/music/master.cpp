#include "master.h"

#include <algorithm>
#include <cmath>

namespace synth {

Mastered master(const Bus& sum, long from, long length) {
    Mastered out{Bus(static_cast<std::size_t>(length)), 1.0, std::vector<float>(static_cast<std::size_t>(length))};
    // A soft knee above 0.8 so that no sum of peaks can clip.
    auto knee = [](double x) {
        double a = std::abs(x);
        if (a <= 0.8) return x;
        return std::copysign(0.8 + 0.2 * std::tanh((a - 0.8) / 0.2), x);
    };
    float peak = 0.0f;
    for (long i = 0; i < length; ++i) {
        const double l = sum.left[from + i], r = sum.right[from + i];
        out.track.left[i] = static_cast<float>(knee(l));
        out.track.right[i] = static_cast<float>(knee(r));
        const double a = std::max(std::abs(l), std::abs(r));
        out.reduction[i] = a > 0.8 ? static_cast<float>(20.0 * std::log10(a / std::abs(knee(a)))) : 0.0f;
        peak = std::max({peak, std::abs(out.track.left[i]), std::abs(out.track.right[i])});
    }
    // The peak at -1 dBFS.
    const float gain = peak > 0.0f ? 0.891f / peak : 1.0f;
    out.gain = gain;
    for (long i = 0; i < length; ++i) {
        out.track.left[i] *= gain;
        out.track.right[i] *= gain;
    }
    return out;
}

}  // namespace synth
