#include "voices.h"

#include <algorithm>
#include <cmath>

#include "dsp.h"

namespace synth {

namespace {

long seconds(double s) { return static_cast<long>(s * kRate); }

// The two saws through their darker filter, scaled to the loudness of the
// pulse at the same velocity: a change of tone is not a change of level.
constexpr double kSawLeadGain = 2.05;

// Attack-decay-sustain envelope with a release after the gate; linear
// attack and release keep note starts and ends free of clicks.
double adsr(long i, long gate, double attack, double decay, double sustain, double release) {
    double t = static_cast<double>(i) / kRate;
    double level;
    if (t < attack) level = t / attack;
    else level = sustain + (1.0 - sustain) * std::exp(-(t - attack) / decay);
    if (i >= gate) {
        double r = static_cast<double>(i - gate) / kRate / release;
        level *= std::max(0.0, 1.0 - r);
    }
    return level;
}

// A short fade-in so hits that start on a non-zero value do not click.
double onset(long i) { return std::min(1.0, static_cast<double>(i) / 44.0); }

}  // namespace

void kick(Bus& bus, long at, double velocity) {
    Osc body;
    Rng noise(static_cast<unsigned>(at));
    Svf click;
    click.tune(3200.0, 0.9);
    const long length = seconds(0.5);
    for (long i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / kRate;
        // The pitch sweeps from high up to a low body: the snap, then the
        // thump. A band of noise on top is the beater's click, which carries
        // the kick through the bass on small speakers.
        body.advance(47.0 + 90.0 * std::exp(-t * 26.0) + 280.0 * std::exp(-t * 110.0));
        double fade = t > 0.42 ? 1.0 - (t - 0.42) / 0.08 : 1.0;
        double amp = std::exp(-t * 6.5) * fade;
        click.process(noise.next());
        double v = std::tanh(1.8 * body.sine() * amp) / std::tanh(1.8) + 1.6 * click.band * std::exp(-t * 160.0);
        v *= velocity * onset(i);
        bus.add(at + i, v, v);
    }
}

void snare(Bus& bus, long at, double velocity, unsigned seed) {
    Osc tone;
    Rng noise(seed);
    Svf hp, lp;
    hp.tune(1600.0, 0.7);
    lp.tune(7000.0, 0.7);  // the wires, without the fizz that tires on a PA
    const long length = seconds(0.32);
    for (long i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / kRate;
        tone.advance(185.0 + 60.0 * std::exp(-t * 40.0));
        hp.process(noise.next());
        lp.process(hp.high);
        double fade = std::min(1.0, (0.32 - t) / 0.04);
        double v = 0.55 * tone.sine() * std::exp(-t * 28.0) + 0.9 * lp.low * std::exp(-t * 14.0);
        v *= velocity * fade * onset(i);
        bus.add(at + i, v, v);
    }
}

void hat(Bus& bus, long at, double velocity, bool open, unsigned seed) {
    Rng noise(seed);
    Svf hp, lp;
    hp.tune(7000.0, 0.9);
    lp.tune(10000.0, 0.7);  // a band, not noise up to Nyquist
    const double decay = open ? 9.0 : 60.0;
    const long length = seconds(open ? 0.45 : 0.09);
    const Pan pan(0.25);
    for (long i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / kRate;
        hp.process(noise.next());
        lp.process(hp.high);
        double fade = std::min(1.0, static_cast<double>(length - i) / 200.0);
        double v = 1.3 * lp.low * std::exp(-t * decay) * velocity * fade * onset(i);
        bus.add(at + i, v * pan.left, v * pan.right);
    }
}

void crash(Bus& bus, long at, double velocity, unsigned seed) {
    Rng noiseL(seed), noiseR(seed + 7919u);
    Svf hpL, hpR, lpL, lpR;
    hpL.tune(4500.0, 0.7);
    hpR.tune(4500.0, 0.7);
    lpL.tune(11000.0, 0.7);
    lpR.tune(11000.0, 0.7);
    const long length = seconds(2.6);
    for (long i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / kRate;
        hpL.process(noiseL.next());
        hpR.process(noiseR.next());
        lpL.process(hpL.high);
        lpR.process(hpR.high);
        double env = 1.3 * std::exp(-t * 2.0) * std::min(1.0, (2.6 - t) / 0.3) * velocity * onset(i);
        bus.add(at + i, lpL.low * env, lpR.low * env);
    }
}

void riser(Bus& bus, long at, long length, double velocity, unsigned seed) {
    Rng noiseL(seed), noiseR(seed + 104729u);
    Svf bpL, bpR;
    double norm = 0.0;
    for (long i = 0; i < length; ++i) {
        double x = static_cast<double>(i) / length;  // 0..1 across the riser
        if (i % 32 == 0) {
            double hz = 300.0 * std::pow(25.0, x);
            bpL.tune(hz, 2.5);
            bpR.tune(hz * 1.03, 2.5);
            // The band output peaks at Q and the band widens with its
            // centre: scaled back so that the noise keeps one level all
            // the way up, and only the envelope makes it rise.
            norm = bpL.k * std::sqrt(7500.0 / hz);
        }
        bpL.process(noiseL.next());
        bpR.process(noiseR.next());
        double env = x * x * std::min(1.0, static_cast<double>(length - i) / 400.0) * velocity * norm;
        bus.add(at + i, bpL.band * env, bpR.band * env);
    }
}

void bass(Bus& bus, long at, long length, int midi, double velocity, double brightness) {
    Osc saw, square;
    square.phase = 0.25;
    Svf lp;
    const double hz = midiToHz(midi);
    const long total = length + seconds(0.03);
    const double base = 180.0 * std::pow(9.0, brightness);
    for (long i = 0; i < total; ++i) {
        double t = static_cast<double>(i) / kRate;
        saw.advance(hz);
        square.advance(hz);
        if (i % 16 == 0) lp.tune(base * (1.0 + 5.0 * std::exp(-t * 16.0)), 1.3);
        lp.process(0.7 * saw.saw() + 0.5 * square.pulse(0.5));
        double env = adsr(i, length, 0.003, 0.12, 0.75, 0.03);
        double v = std::tanh(1.4 * lp.low) * env * velocity;
        bus.add(at + i, v, v);
    }
}

void lead(Bus& bus, long at, long length, int midi, double velocity, LeadTone tone) {
    Osc a, b;
    Svf lp;
    lp.tune(tone == LeadTone::Saw ? 3200.0 : 4500.0, 0.8);
    b.phase = 0.37;
    const long total = length + seconds(0.09);
    for (long i = 0; i < total; ++i) {
        double t = static_cast<double>(i) / kRate;
        // Vibrato fades in on held notes only, as a player would do it.
        double vibrato = 0.22 * std::min(1.0, std::max(0.0, (t - 0.18) / 0.25)) * std::sin(2.0 * kPi * 5.5 * t);
        double hz = midiToHz(midi + vibrato);
        double raw;
        if (tone == LeadTone::Pulse) {
            a.advance(hz);
            raw = a.pulse(0.3 + 0.12 * std::sin(2.0 * kPi * 0.7 * t));  // slow pulse-width sweep
        } else {
            a.advance(hz * 1.0046);  // two saws 8 cents apart
            b.advance(hz / 1.0046);
            raw = kSawLeadGain * 0.6 * (a.saw() + b.saw());
        }
        lp.process(raw);
        double env = adsr(i, length, 0.004, 0.25, 0.7, 0.09);
        double v = lp.low * env * velocity;
        bus.add(at + i, v, v);
    }
}

void arp(Bus& bus, long at, long length, int midi, double velocity, double pan) {
    Osc osc;
    const double hz = midiToHz(midi);
    const Pan gains(pan);
    const long total = length + seconds(0.01);
    for (long i = 0; i < total; ++i) {
        osc.advance(hz);
        double t = static_cast<double>(i) / kRate;
        double env = std::exp(-t * 14.0) * adsr(i, length, 0.001, 1.0, 1.0, 0.01);
        double v = osc.pulse(0.125) * env * velocity;
        bus.add(at + i, v * gains.left, v * gains.right);
    }
}

void pad(Bus& bus, long at, long length, const std::vector<int>& notes, double velocity,
         double brightness, double releaseSeconds) {
    // Three slightly detuned saws per note, spread across the stereo field,
    // through one low-pass per side.
    constexpr double kDetune[3] = {-0.07, 0.0, 0.07};
    constexpr double kSpread[3] = {-0.7, 0.0, 0.7};
    const std::size_t count = notes.size() * 3;
    std::vector<Osc> oscs(count);
    std::vector<double> hz(count);
    Rng phases(static_cast<unsigned>(at) + 17u);
    for (std::size_t j = 0; j < count; ++j) {
        oscs[j].phase = 0.5 * (phases.next() + 1.0);
        hz[j] = midiToHz(notes[j / 3] + kDetune[j % 3]);
    }
    const Pan spread[3] = {Pan(kSpread[0]), Pan(kSpread[1]), Pan(kSpread[2])};
    Svf lpL, lpR;
    const double cutoff = 300.0 * std::pow(18.0, brightness);
    lpL.tune(cutoff, 0.9);
    lpR.tune(cutoff, 0.9);
    const long total = length + seconds(releaseSeconds);
    const double scale = velocity / static_cast<double>(notes.size());
    for (long i = 0; i < total; ++i) {
        double l = 0.0, r = 0.0;
        for (std::size_t j = 0; j < count; ++j) {
            oscs[j].advance(hz[j]);
            double s = oscs[j].saw();
            l += s * spread[j % 3].left;
            r += s * spread[j % 3].right;
        }
        lpL.process(l);
        lpR.process(r);
        double env = adsr(i, length, 0.12, 1.5, 0.8, releaseSeconds) * scale;
        bus.add(at + i, lpL.low * env, lpR.low * env);
    }
}

}  // namespace synth
