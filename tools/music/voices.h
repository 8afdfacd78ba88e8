#pragma once
// The instruments. Each voice renders one note or hit into a stereo bus,
// starting at a sample position; voices are independent, so a song is the sum
// of its notes.
#include <cstddef>
#include <vector>

namespace synth {

struct Bus {
    std::vector<float> left, right;
    explicit Bus(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t frames() const { return left.size(); }
    void add(std::size_t i, double l, double r) {
        if (i >= left.size()) return;
        left[i] += static_cast<float>(l);
        right[i] += static_cast<float>(r);
    }
};

enum class LeadTone { Pulse, Saw };

// Drums. `seed` picks the noise, so repeated hits differ slightly but
// every render is identical.
void kick(Bus& bus, long at, double velocity);
void snare(Bus& bus, long at, double velocity, unsigned seed);
void hat(Bus& bus, long at, double velocity, bool open, unsigned seed);
void crash(Bus& bus, long at, double velocity, unsigned seed);
// A noise sweep from 300 Hz to 7.5 kHz whose level follows `velocity` times a
// rising curve, whatever the band.
void riser(Bus& bus, long at, long length, double velocity, unsigned seed);

// Pitched voices: `length` is the gate in samples, the release follows it.
// `brightness` (0..1) opens the filter.
void bass(Bus& bus, long at, long length, int midi, double velocity, double brightness);
void lead(Bus& bus, long at, long length, int midi, double velocity, LeadTone tone);
void arp(Bus& bus, long at, long length, int midi, double velocity, double pan);
void pad(Bus& bus, long at, long length, const std::vector<int>& notes, double velocity,
         double brightness, double releaseSeconds);

}  // namespace synth
