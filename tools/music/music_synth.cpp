// Writes the show's two soundtracks, Tune1.wav and newtune.wav, into the
// directory given as the only argument. Everything is computed from the song
// tables in songs.cpp: the same source always gives the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "dsp.h"
#include "songs.h"

namespace synth {
namespace {

// Mix levels of the instruments, chosen by ear-by-analysis: kick and bass
// carry the groove, the lead sits on top, arp and pad fill the space.
struct Levels {
    double kick = 0.55, snare = 0.36, hat = 0.11, openHat = 0.09, crash = 0.10, riser = 0.11;
    double bass = 0.30, lead = 0.16, leadEcho = 0.32, arp = 0.06, pad = 0.13;
};
constexpr Levels kLevels;

// Three groups: drums, the parts ducked under the kick (bass, pad, arp; that
// pumping is the breathing of the style), and the lead, which gets an echo.
struct Stems {
    Bus drums, ducked, lead;
    std::vector<float> duck;
    explicit Stems(std::size_t frames) : drums(frames), ducked(frames), lead(frames), duck(frames, 1.0f) {}
};

long stepSamples(double bpm) { return std::lround(kRate * 60.0 / bpm / 4.0); }

void duckUnderKick(std::vector<float>& duck, long at) {
    const long attack = 120, length = kRate / 4;
    for (long i = 0; i < length && at + i < static_cast<long>(duck.size()); ++i) {
        double x = static_cast<double>(i) / length;
        double depth = 0.55 * (1.0 - x) * (1.0 - x) * std::min(1.0, static_cast<double>(i) / attack);
        float g = static_cast<float>(1.0 - depth);
        duck[at + i] = std::min(duck[at + i], g);
    }
}

// Renders every event of the score, shifted by `offset` samples.
void render(const Score& score, long step, long offset, Stems& out) {
    auto at = [&](long s) { return offset + s * step; };
    for (const Hit& h : score.kicks) {
        kick(out.drums, at(h.step), h.velocity * kLevels.kick);
        duckUnderKick(out.duck, at(h.step));
    }
    for (const Hit& h : score.snares) snare(out.drums, at(h.step), h.velocity * kLevels.snare, h.step * 31u + 7u);
    for (const Hit& h : score.closedHats)
        hat(out.drums, at(h.step), h.velocity * kLevels.hat, false, h.step * 17u + 3u);
    for (const Hit& h : score.openHats)
        hat(out.drums, at(h.step), h.velocity * kLevels.openHat, true, h.step * 13u + 5u);
    for (const Hit& h : score.crashes) crash(out.drums, at(h.step), h.velocity * kLevels.crash, h.step + 11u);
    for (const Note& n : score.risers) riser(out.drums, at(n.step), n.steps * step, n.step + 23u);

    // Gates a little shorter than the written length, so repeated notes re-articulate.
    for (const Note& n : score.bass)
        bass(out.ducked, at(n.step), n.steps * step - step / 4, n.midi, n.velocity * kLevels.bass, n.brightness);
    for (const Note& n : score.arp)
        arp(out.ducked, at(n.step), n.steps * step / 2, n.midi, n.velocity * kLevels.arp,
            n.step % 2 == 0 ? -0.45 : 0.45);
    for (std::size_t i = 0; i < score.pads.size(); ++i) {
        const Chord& c = score.pads[i];
        // The song's last chord rings out.
        double release = i + 1 == score.pads.size() ? 3.0 : 0.5;
        pad(out.ducked, at(c.step), c.steps * step, c.notes, c.velocity * kLevels.pad, c.brightness, release);
    }
    for (const Note& n : score.lead)
        lead(out.lead, at(n.step), n.steps * step - step / 5, n.midi, n.velocity * kLevels.lead, n.tone);
}

// Ping-pong echo of the lead, a dotted eighth apart, darker on every repeat.
void echo(Bus& lead, long delay, double feedback, double wet) {
    const std::size_t n = lead.frames();
    std::vector<float> left(n, 0.0f), right(n, 0.0f);
    double toneL = 0.0, toneR = 0.0;
    for (std::size_t i = static_cast<std::size_t>(delay); i < n; ++i) {
        std::size_t j = i - delay;
        toneL += 0.35 * (right[j] - toneL);
        toneR += 0.35 * (left[j] - toneR);
        left[i] = static_cast<float>(0.5 * (lead.left[j] + lead.right[j]) + feedback * toneL);
        right[i] = static_cast<float>(feedback * toneR);
    }
    for (std::size_t i = 0; i < n; ++i) {
        lead.left[i] += static_cast<float>(wet * left[i]);
        lead.right[i] += static_cast<float>(wet * right[i]);
    }
}

// Sums the stems into `master` from `from` on, with a soft knee above 0.8 so
// that no sum of peaks can clip.
Bus mixdown(Stems& stems, long step, long from, long frames) {
    echo(stems.lead, 3 * step, 0.38, kLevels.leadEcho);
    Bus master(frames);
    auto knee = [](double x) {
        double a = std::abs(x);
        if (a <= 0.8) return x;
        return std::copysign(0.8 + 0.2 * std::tanh((a - 0.8) / 0.2), x);
    };
    for (long i = 0; i < frames; ++i) {
        long j = from + i;
        double d = stems.duck[j];
        master.left[i] = static_cast<float>(knee(stems.drums.left[j] + d * stems.ducked.left[j] + stems.lead.left[j]));
        master.right[i] = static_cast<float>(knee(stems.drums.right[j] + d * stems.ducked.right[j] + stems.lead.right[j]));
    }
    return master;
}

// Scales the whole track so that its peak sits at -1 dBFS.
void normalise(Bus& bus) {
    float peak = 0.0f;
    for (std::size_t i = 0; i < bus.frames(); ++i) peak = std::max({peak, std::abs(bus.left[i]), std::abs(bus.right[i])});
    if (peak <= 0.0f) return;
    const float gain = 0.891f / peak;
    for (std::size_t i = 0; i < bus.frames(); ++i) {
        bus.left[i] *= gain;
        bus.right[i] *= gain;
    }
}

void put16(std::ofstream& out, uint16_t v) { out.put(static_cast<char>(v & 0xff)).put(static_cast<char>(v >> 8)); }
void put32(std::ofstream& out, uint32_t v) { put16(out, v & 0xffff); put16(out, v >> 16); }

// 16-bit stereo PCM at 44.1 kHz, the canonical 44-byte header.
bool writeWav(const std::filesystem::path& path, const Bus& bus) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t dataBytes = static_cast<uint32_t>(bus.frames() * 4);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 2);
    put32(out, kRate);
    put32(out, kRate * 4);
    put16(out, 4);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    auto pcm = [](float v) { return static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f))); };
    for (std::size_t i = 0; i < bus.frames(); ++i) {
        put16(out, pcm(bus.left[i]));
        put16(out, pcm(bus.right[i]));
    }
    return static_cast<bool>(out);
}

// A loop that joins without a click: the song is rendered twice in a row and
// the second pass is kept, so its first bar already carries the tails (echo,
// releases, crash) of its own last bar, exactly as when the player wraps.
Bus renderLoop(const Song& song) {
    const Score score = buildScore(song);
    const long step = stepSamples(song.bpm);
    const long length = score.steps * step;
    Stems stems(2 * length);
    render(score, step, 0, stems);
    render(score, step, length, stems);
    Bus master = mixdown(stems, step, length, length);
    normalise(master);
    return master;
}

// A piece played once: rendered from silence, padded to `seconds`, with a
// short fade at the very end.
Bus renderOnce(const Song& song, double seconds) {
    const Score score = buildScore(song);
    const long step = stepSamples(song.bpm);
    const long length = std::max(score.steps * step, std::lround(seconds * kRate));
    Stems stems(length);
    render(score, step, 0, stems);
    Bus master = mixdown(stems, step, 0, length);
    normalise(master);
    const long fade = kRate / 2;
    for (long i = 0; i < fade; ++i) {
        float g = static_cast<float>(i) / fade;
        master.left[length - 1 - i] *= g;
        master.right[length - 1 - i] *= g;
    }
    return master;
}

}  // namespace
}  // namespace synth

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: music_synth <output-directory>\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    try {
        std::filesystem::create_directories(dir);
        if (!synth::writeWav(dir / "Tune1.wav", synth::renderLoop(synth::tune1())) ||
            !synth::writeWav(dir / "newtune.wav", synth::renderOnce(synth::newtune(), 186.0))) {
            std::cerr << "music_synth: cannot write into " << dir << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "music_synth: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
