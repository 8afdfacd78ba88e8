#include "loudness.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "dsp.h"

namespace synth {

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0.0, z2 = 0.0;
    double process(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The K-weighting curve: a high shelf of +4 dB above about 1.7 kHz (the head's
// effect) and a high-pass at about 38 Hz, set from their analogue prototypes
// for this sample rate.
std::array<Biquad, 2> kWeighting() {
    const double k1 = std::tan(kPi * 1681.974450955533 / kRate), q1 = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0), vb = std::pow(vh, 0.4996667741545416);
    const double a01 = 1.0 + k1 / q1 + k1 * k1;
    const Biquad shelf{(vh + vb * k1 / q1 + k1 * k1) / a01, 2.0 * (k1 * k1 - vh) / a01,
                       (vh - vb * k1 / q1 + k1 * k1) / a01, 2.0 * (k1 * k1 - 1.0) / a01,
                       (1.0 - k1 / q1 + k1 * k1) / a01};
    const double k2 = std::tan(kPi * 38.13547087602444 / kRate), q2 = 0.5003270373238773;
    const double a02 = 1.0 + k2 / q2 + k2 * k2;
    const Biquad highPass{1.0, -2.0, 1.0, 2.0 * (k2 * k2 - 1.0) / a02, (1.0 - k2 / q2 + k2 * k2) / a02};
    return {shelf, highPass};
}

}  // namespace

double integratedLoudness(const Bus& bus, long from, long length) {
    // Mean square of the weighted signal per 100 ms; blocks are 400 ms, every 100 ms.
    const long quarter = kRate / 10;
    std::vector<double> energy;
    auto filters = std::array{kWeighting(), kWeighting()};
    for (long at = 0; at + quarter <= length; at += quarter) {
        double sum = 0.0;
        for (long i = at; i < at + quarter; ++i) {
            const double l = filters[0][1].process(filters[0][0].process(bus.left[from + i]));
            const double r = filters[1][1].process(filters[1][0].process(bus.right[from + i]));
            sum += l * l + r * r;
        }
        energy.push_back(sum / quarter);
    }
    std::vector<double> blocks;
    for (std::size_t i = 3; i < energy.size(); ++i)
        blocks.push_back((energy[i - 3] + energy[i - 2] + energy[i - 1] + energy[i]) / 4.0);
    auto lufs = [](double e) { return -0.691 + 10.0 * std::log10(std::max(e, 1e-30)); };
    // Silence does not count (-70 LUFS), nor what lies 10 LU under the rest.
    auto gatedMean = [&](double threshold) {
        double sum = 0.0;
        int count = 0;
        for (double b : blocks)
            if (lufs(b) > threshold) sum += b, ++count;
        return count ? sum / count : 0.0;
    };
    return lufs(gatedMean(lufs(gatedMean(-70.0)) - 10.0));
}

std::vector<float> truePeaks(const Bus& bus) {
    // Windowed-sinc interpolation at a quarter, half and three quarters of a frame.
    constexpr int kTaps = 16;
    std::array<std::array<double, 2 * kTaps>, 3> h{};
    for (int p = 0; p < 3; ++p) {
        const double frac = (p + 1) / 4.0;
        double sum = 0.0;
        for (int k = 0; k < 2 * kTaps; ++k) {
            const double x = k - (kTaps - 1) - frac;  // distance to the point, in frames
            const double window = 0.5 + 0.5 * std::cos(kPi * x / kTaps);
            h[p][k] = (x == 0.0 ? 1.0 : std::sin(kPi * x) / (kPi * x)) * window;
            sum += h[p][k];
        }
        for (double& v : h[p]) v /= sum;
    }
    const long n = static_cast<long>(bus.frames());
    std::vector<float> peaks(static_cast<std::size_t>(n));
    for (const std::vector<float>* channel : {&bus.left, &bus.right}) {
        const std::vector<float>& x = *channel;
        for (long i = 0; i < n; ++i) {
            double peak = std::abs(x[i]);
            for (int p = 0; p < 3; ++p) {
                double v = 0.0;
                for (int k = 0; k < 2 * kTaps; ++k) {
                    const long j = i - (kTaps - 1) + k;
                    if (j >= 0 && j < n) v += h[p][k] * x[j];
                }
                peak = std::max(peak, std::abs(v));
            }
            peaks[i] = std::max(peaks[i], static_cast<float>(peak));
        }
    }
    return peaks;
}

}  // namespace synth
