#include "master.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "dsp.h"
#include "loudness.h"

namespace synth {

namespace {

// Second-order Butterworth high-pass at 30 Hz: the kick's body at 46 Hz
// passes, DC and sub-sonic drift do not.
void highPass(std::vector<float>& x) {
    const double k = std::tan(kPi * 30.0 / kRate), q = std::sqrt(0.5);
    const double a0 = 1.0 + k / q + k * k;
    const double b0 = 1.0 / a0, a1 = 2.0 * (k * k - 1.0) / a0, a2 = (1.0 - k / q + k * k) / a0;
    double z1 = 0.0, z2 = 0.0;
    for (float& v : x) {
        const double y = b0 * v + z1;
        z1 = -2.0 * b0 * v - a1 * y + z2;
        z2 = b0 * v - a2 * y;
        v = static_cast<float>(y);
    }
}

// A high shelf of `db` above about `hz`: the air and bite that chip voices
// and hats give, which the low end of a kick-and-bass mix masks.
void highShelf(std::vector<float>& x, double hz, double db) {
    const double a = std::pow(10.0, db / 40.0), w = 2.0 * kPi * hz / kRate;
    const double alpha = std::sin(w) / 2.0 * std::sqrt(2.0), c = std::cos(w), root = 2.0 * std::sqrt(a) * alpha;
    const double a0 = (a + 1.0) - (a - 1.0) * c + root;
    const double b0 = a * ((a + 1.0) + (a - 1.0) * c + root) / a0, b1 = -2.0 * a * ((a - 1.0) + (a + 1.0) * c) / a0,
                 b2 = a * ((a + 1.0) + (a - 1.0) * c - root) / a0, a1 = 2.0 * ((a - 1.0) - (a + 1.0) * c) / a0,
                 a2 = ((a + 1.0) - (a - 1.0) * c - root) / a0;
    double z1 = 0.0, z2 = 0.0;
    for (float& v : x) {
        const double y = b0 * v + z1;
        z1 = b1 * v - a1 * y + z2;
        z2 = b2 * v - a2 * y;
        v = static_cast<float>(y);
    }
}

// A peaking filter of `db` at `hz` (bandwidth set by `q`): here a small dip
// where the leads' second harmonics pile up and the ear is most sensitive.
void peak(std::vector<float>& x, double hz, double q, double db) {
    const double a = std::pow(10.0, db / 40.0), w = 2.0 * kPi * hz / kRate, alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w), a0 = 1.0 + alpha / a;
    const double b0 = (1.0 + alpha * a) / a0, b1 = -2.0 * c / a0, b2 = (1.0 - alpha * a) / a0, a1 = -2.0 * c / a0,
                 a2 = (1.0 - alpha / a) / a0;
    double z1 = 0.0, z2 = 0.0;
    for (float& v : x) {
        const double y = b0 * v + z1;
        z1 = b1 * v - a1 * y + z2;
        z2 = b2 * v - a2 * y;
        v = static_cast<float>(y);
    }
}

// Raises the side signal: a wider image without moving the centre (kick,
// bass, lead stay where they are). The side is high-passed at about 150 Hz
// first, so the low end is mono.
void widen(Bus& bus, double side) {
    const double pole = std::exp(-2.0 * kPi * 150.0 / kRate);
    double low = 0.0;
    for (std::size_t i = 0; i < bus.frames(); ++i) {
        const double raw = 0.5 * (bus.left[i] - bus.right[i]);
        low = (1.0 - pole) * raw + pole * low;
        const double mid = 0.5 * (bus.left[i] + bus.right[i]), diff = side * (raw - low);
        bus.left[i] = static_cast<float>(mid + diff);
        bus.right[i] = static_cast<float>(mid - diff);
    }
}

// Smallest value of `x` within `radius` frames either side (a monotonic deque).
std::vector<double> windowMin(const std::vector<double>& x, long radius) {
    const long n = static_cast<long>(x.size());
    std::vector<double> out(x.size());
    std::deque<long> window;
    for (long i = 0; i < n + radius; ++i) {
        if (i < n) {
            while (!window.empty() && x[window.back()] >= x[i]) window.pop_back();
            window.push_back(i);
        }
        const long centre = i - radius;
        if (centre < 0) continue;
        while (window.front() < centre - radius) window.pop_front();
        out[centre] = x[window.front()];
    }
    return out;
}

// The limiter's gain per frame for a signal whose true peaks are `peaks`:
// never above what keeps each peak under `ceiling`. The gain falls in a
// smooth 2 ms ramp that ends at the peak (the look-ahead) and recovers over
// about 80 ms.
std::vector<double> limiterGain(const std::vector<float>& peaks, double ceiling) {
    const long radius = kRate / 500;  // 2 ms
    std::vector<double> needed(peaks.size());
    for (std::size_t i = 0; i < peaks.size(); ++i) needed[i] = peaks[i] > ceiling ? ceiling / peaks[i] : 1.0;
    std::vector<double> held = windowMin(needed, radius);
    const double recovery = 1.0 - std::exp(-1.0 / (0.08 * kRate));
    for (std::size_t i = 1; i < held.size(); ++i) held[i] = std::min(held[i], held[i - 1] + (1.0 - held[i - 1]) * recovery);
    // Every frame within `radius` of a frame holds a gain no higher than
    // that frame needs, so their mean does not either. Beyond the ends, the
    // end's own gain.
    const long n = static_cast<long>(held.size());
    std::vector<double> prefix(held.size() + 1, 0.0);
    for (long i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + held[i];
    std::vector<double> gain(held.size());
    for (long i = 0; i < n; ++i) {
        const long lo = i - radius, hi = i + radius;
        double total = prefix[std::min(hi, n - 1) + 1] - prefix[std::max(lo, 0L)];
        if (lo < 0) total += static_cast<double>(-lo) * held.front();
        if (hi >= n) total += static_cast<double>(hi - n + 1) * held.back();
        gain[i] = total / static_cast<double>(2 * radius + 1);
    }
    return gain;
}

}  // namespace

// The presence shelf: a little air, gentle enough not to tire on a PA.
constexpr double kShelfDb = 0.5;

void shape(Bus& bus) {
    for (std::vector<float>* channel : {&bus.left, &bus.right}) {
        highPass(*channel);
        peak(*channel, 2600.0, 0.9, -1.5);
        highShelf(*channel, 3000.0, kShelfDb);
    }
    widen(bus, 1.6);
}

Mastered master(const Bus& sum, long from, long length) {
    Bus x = sum;
    shape(x);
    const std::vector<float> peaks = truePeaks(x);
    const double ceiling = std::pow(10.0, kCeilingDbtp / 20.0);

    // The gain that brings the kept frames to the target loudness once
    // limited: the limiter takes a little loudness away, so it is found in
    // a few rounds.
    Mastered out{Bus(static_cast<std::size_t>(length)), 1.0, std::vector<float>(static_cast<std::size_t>(length))};
    double gainDb = kTargetLufs - integratedLoudness(x, from, length);
    for (int round = 0; round < 4; ++round) {
        const double gain = std::pow(10.0, gainDb / 20.0);
        std::vector<float> scaled(peaks.size());
        for (std::size_t i = 0; i < peaks.size(); ++i) scaled[i] = static_cast<float>(peaks[i] * gain);
        const std::vector<double> limit = limiterGain(scaled, ceiling);
        for (long i = 0; i < length; ++i) {
            const double g = gain * limit[from + i];
            out.track.left[i] = static_cast<float>(x.left[from + i] * g);
            out.track.right[i] = static_cast<float>(x.right[from + i] * g);
            out.reduction[i] = static_cast<float>(-20.0 * std::log10(limit[from + i]));
        }
        out.gain = gain;
        gainDb += kTargetLufs - integratedLoudness(out.track, 0, length);
    }
    return out;
}

}  // namespace synth
