#pragma once
// Small building blocks of the synthesiser: a deterministic noise source,
// band-limited oscillators, a state-variable filter and a few helpers.
#include <cmath>
#include <cstdint>

#include "show_facts.h"

namespace synth {

constexpr int kRate = kSampleRate;
constexpr double kPi = 3.14159265358979323846;

inline double midiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// xorshift32: the same seed gives the same noise on every machine.
struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed * 2654435761u + 0x9e3779b9u) { if (state == 0) state = 1; }
    double next() {  // uniform in [-1, 1)
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }
};

// PolyBLEP correction: rounds the step of a naive waveform so that the
// oscillators do not alias audibly at lead and arp pitches.
inline double polyBlep(double phase, double dt) {
    if (phase < dt) {
        double x = phase / dt;
        return x + x - x * x - 1.0;
    }
    if (phase > 1.0 - dt) {
        double x = (phase - 1.0) / dt;
        return x * x + x + x + 1.0;
    }
    return 0.0;
}

// A phase accumulator with saw and pulse outputs; phase in [0, 1).
struct Osc {
    double phase = 0.0;
    double dt = 0.0;
    void advance(double hz) {
        dt = hz / kRate;
        phase += dt;
        if (phase >= 1.0) phase -= 1.0;
    }
    double saw() const { return 2.0 * phase - 1.0 - polyBlep(phase, dt); }
    double pulse(double width) const {
        double v = phase < width ? 1.0 : -1.0;
        v += polyBlep(phase, dt);
        double shifted = phase + 1.0 - width;
        if (shifted >= 1.0) shifted -= 1.0;
        v -= polyBlep(shifted, dt);
        return v;
    }
    double sine() const { return std::sin(2.0 * kPi * phase); }
};

// Trapezoidal state-variable filter (zero-delay feedback): stable under fast
// cutoff sweeps, which the filter envelopes of bass and pads rely on.
struct Svf {
    double ic1 = 0.0, ic2 = 0.0;
    double a1 = 0.0, a2 = 0.0, a3 = 0.0, k = 1.0;
    double low = 0.0, band = 0.0, high = 0.0;

    void tune(double hz, double q) {
        if (hz > 0.45 * kRate) hz = 0.45 * kRate;
        double g = std::tan(kPi * hz / kRate);
        k = 1.0 / q;
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    void process(double v0) {
        double v3 = v0 - ic2;
        double v1 = a1 * ic1 + a2 * v3;
        double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        low = v2;
        band = v1;
        high = v0 - k * v1 - v2;
    }
};

// Equal-power pan, -1 (left) to 1 (right).
struct Pan {
    double left, right;
    explicit Pan(double pan) : left(std::cos((pan + 1.0) * kPi / 4.0)), right(std::sin((pan + 1.0) * kPi / 4.0)) {}
};

}  // namespace synth
