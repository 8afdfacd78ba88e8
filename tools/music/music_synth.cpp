// Writes the show's two soundtracks, Tune1.wav and newtune.wav, into the
// directory given as the first argument. Everything is computed from the song
// tables in songs.cpp: the same source always gives the same bytes.
//   music_synth <output-directory> [--stems <directory>]
// With --stems it also writes, per track, each instrument alone at the level it
// has in the master (32-bit float WAVs), the limiter's gain reduction in dB
// and the start of every section: what tools/music/measure reads.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>

#include "dsp.h"
#include "master.h"
#include "show_facts.h"
#include "songs.h"
#include "wav_file.h"

namespace synth {
namespace {

// Mix levels of the instruments, set with tools/music/measure: kick and bass
// carry the groove without covering the rest, the lead sits on top, and the
// chip arp and the hats, the character of the style, are heard over the kick.
struct Levels {
    double kick = 0.34, snare = 0.30, hat = 0.30, openHat = 0.20, crash = 0.10, riser = 0.20;
    double bass = 0.30, lead = 0.16, leadEcho = 0.32, arp = 0.14, pad = 0.13;
};
constexpr Levels kLevels;

// The instruments, as bits of a mask: a stem is the song rendered with one bit.
enum Part : unsigned { Kick = 1, Snare = 2, Hats = 4, Crash = 8, Riser = 16, Bass = 32, Arp = 64, Pad = 128, Lead = 256 };
constexpr unsigned kAllParts = 511;
struct PartName {
    Part part;
    const char* name;
};
constexpr PartName kPartNames[] = {{Kick, "kick"}, {Snare, "snare"}, {Hats, "hats"}, {Crash, "crash"}, {Riser, "riser"},
                                   {Bass, "bass"}, {Arp, "arp"},     {Pad, "pad"},   {Lead, "lead"}};

// The groups: drums, the snare (which also feeds the reverb), the parts
// ducked under the kick (bass, and pad and arp, which feed the reverb; that
// pumping is the breathing of the style), and the lead, which gets an echo
// and feeds the reverb.
struct Stems {
    Bus drums, snare, bass, tonal, lead;
    std::vector<float> duck;
    explicit Stems(std::size_t frames)
        : drums(frames), snare(frames), bass(frames), tonal(frames), lead(frames), duck(frames, 1.0f) {}
};

// How much of each group the reverb hears.
struct Sends {
    double snare = 0.45, tonal = 0.5, lead = 0.45, wet = 0.5;
};
constexpr Sends kSends;

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

// Renders the events of the score that `parts` selects, shifted by `offset`
// samples. The kicks always duck, heard or not.
void render(const Score& score, long step, long offset, unsigned parts, Stems& out) {
    auto at = [&](long s) { return offset + (s - score.start) * step; };
    for (const Hit& h : score.kicks) {
        if (parts & Kick) kick(out.drums, at(h.step), h.velocity * kLevels.kick);
        duckUnderKick(out.duck, at(h.step));
    }
    if (parts & Snare)
        for (const Hit& h : score.snares) snare(out.snare, at(h.step), h.velocity * kLevels.snare, h.step * 31u + 7u);
    if (parts & Hats) {
        for (const Hit& h : score.closedHats)
            hat(out.drums, at(h.step), h.velocity * kLevels.hat, false, h.step * 17u + 3u);
        for (const Hit& h : score.openHats)
            hat(out.drums, at(h.step), h.velocity * kLevels.openHat, true, h.step * 13u + 5u);
    }
    if (parts & Crash)
        for (const Hit& h : score.crashes) crash(out.drums, at(h.step), h.velocity * kLevels.crash, h.step + 11u);
    if (parts & Riser)
        for (const Note& n : score.risers) riser(out.drums, at(n.step), n.steps * step, kLevels.riser, n.step + 23u);

    // Gates a little shorter than the written length, so repeated notes re-articulate.
    if (parts & Bass)
        for (const Note& n : score.bass)
            bass(out.bass, at(n.step), n.steps * step - step / 4, n.midi, n.velocity * kLevels.bass, n.brightness);
    if (parts & Arp)
        for (const Note& n : score.arp)
            arp(out.tonal, at(n.step), n.steps * step / 2, n.midi, n.velocity * kLevels.arp,
                n.step % 2 == 0 ? -0.6 : 0.6);
    if (parts & Pad)
        for (std::size_t i = 0; i < score.pads.size(); ++i) {
            const Chord& c = score.pads[i];
            pad(out.tonal, at(c.step), c.steps * step, c.notes, c.velocity * kLevels.pad, c.brightness, c.release);
        }
    if (parts & Lead)
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

// A short stereo room: four damped feedback combs and two all-passes per
// side, the right side's delays a little longer than the left's so the two
// tails differ (the width). Its input is high-passed at about 200 Hz, so the
// low end stays dry and mono. Returns the wet signal alone.
Bus reverb(const Bus& send) {
    constexpr int kCombs[4] = {1116, 1188, 1277, 1356};
    constexpr int kAllpasses[2] = {556, 441};
    constexpr int kSpread = 23;
    constexpr double kFeedback = 0.72, kDamp = 0.3, kAllpassGain = 0.5;
    const std::size_t n = send.frames();
    Bus wet(n);
    const double hp = std::exp(-2.0 * kPi * 200.0 / kRate);
    for (int side = 0; side < 2; ++side) {
        const std::vector<float>& in = side == 0 ? send.left : send.right;
        std::vector<float>& out = side == 0 ? wet.left : wet.right;
        std::vector<std::vector<double>> comb(4), all(2);
        std::vector<std::size_t> ci(4, 0), ai(2, 0);
        std::vector<double> store(4, 0.0);
        for (int c = 0; c < 4; ++c) comb[c].assign(kCombs[c] + side * kSpread, 0.0);
        for (int a = 0; a < 2; ++a) all[a].assign(kAllpasses[a] + side * kSpread, 0.0);
        double lowIn = 0.0, lowState = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            // One-pole high-pass: the input less its low part.
            lowState = (1.0 - hp) * in[i] + hp * lowState;
            lowIn = in[i] - lowState;
            double acc = 0.0;
            for (int c = 0; c < 4; ++c) {
                double y = comb[c][ci[c]];
                store[c] = y * (1.0 - kDamp) + store[c] * kDamp;
                comb[c][ci[c]] = lowIn * 0.25 + store[c] * kFeedback;
                if (++ci[c] == comb[c].size()) ci[c] = 0;
                acc += y;
            }
            for (int a = 0; a < 2; ++a) {
                double b = all[a][ai[a]];
                all[a][ai[a]] = acc + b * kAllpassGain;
                acc = b - acc;
                if (++ai[a] == all[a].size()) ai[a] = 0;
            }
            out[i] = static_cast<float>(acc);
        }
    }
    return wet;
}

// The groups summed, the kick's ducking applied, with the reverb of the
// snare, pad, arp and lead.
Bus mixdown(Stems& stems, long step) {
    echo(stems.lead, 3 * step, 0.38, kLevels.leadEcho);
    const std::size_t frames = stems.drums.frames();
    Bus send(frames);
    for (std::size_t j = 0; j < frames; ++j) {
        const double d = stems.duck[j];
        send.left[j] = static_cast<float>(kSends.snare * stems.snare.left[j] + kSends.tonal * d * stems.tonal.left[j] +
                                          kSends.lead * stems.lead.left[j]);
        send.right[j] = static_cast<float>(kSends.snare * stems.snare.right[j] + kSends.tonal * d * stems.tonal.right[j] +
                                           kSends.lead * stems.lead.right[j]);
    }
    const Bus wet = reverb(send);
    Bus sum(frames);
    for (std::size_t j = 0; j < frames; ++j) {
        const double d = stems.duck[j];
        sum.left[j] = static_cast<float>(stems.drums.left[j] + stems.snare.left[j] +
                                         d * (stems.bass.left[j] + stems.tonal.left[j]) + stems.lead.left[j] +
                                         kSends.wet * wet.left[j]);
        sum.right[j] = static_cast<float>(stems.drums.right[j] + stems.snare.right[j] +
                                          d * (stems.bass.right[j] + stems.tonal.right[j]) + stems.lead.right[j] +
                                          kSends.wet * wet.right[j]);
    }
    return sum;
}

// How a song becomes a track: rendered `passes` times in a row into `frames`,
// of which the frames [from, from + length) are kept.
struct Take {
    int passes;
    long frames, from, length;
};

Bus renderSum(const Song& song, const Score& score, Take take, unsigned parts) {
    const long step = stepSamples(song.bpm);
    Stems stems(static_cast<std::size_t>(take.frames));
    for (int p = 0; p < take.passes; ++p) render(score, step, p * (score.steps - score.start) * step, parts, stems);
    return mixdown(stems, step);
}

// A loop that joins without a click: the song is rendered three times in a
// row and the middle pass is kept, so its first bar already carries the tails
// (echo, releases, crash) of its own last bar, exactly as when the player
// wraps, and the master sees on either side what the loop has there.
Take loopTake(const Score& score, long step) {
    const long length = (score.steps - score.start) * step;
    return {3, 3 * length, length, length};
}

// A piece played once: rendered from silence and padded to `seconds`.
Take onceTake(const Score& score, long step, double seconds) {
    const long length = std::max((score.steps - score.start) * step, std::lround(seconds * kRate));
    return {1, length, 0, length};
}

struct Track {
    std::string name;  // the file's stem
    Song song;
    bool loop;
    double seconds;  // at least this long (a piece played once)
};

// One of the show's tracks with its song: named and looped as the cues play it.
Track showTrack(const ShowTrack& track, Song song, double seconds) {
    return {std::filesystem::path(track.path).stem().string(), std::move(song), track.looped, seconds};
}

Mastered renderTrack(const Track& t, const Score& score, Take take) {
    Bus sum = renderSum(t.song, score, take, kAllParts);
    Mastered out = master(sum, take.from, take.length);
    if (!t.loop) {
        // A short fade at the very end.
        const long fade = kRate / 2;
        for (long i = 0; i < fade; ++i) {
            float g = static_cast<float>(i) / fade;
            out.track.left[take.length - 1 - i] *= g;
            out.track.right[take.length - 1 - i] *= g;
        }
    }
    return out;
}

// Each instrument alone at its level in the master (through its filters and
// gain, short of the limiter), the limiter's work and the sections, under `dir`.
bool writeStems(const std::filesystem::path& dir, const Track& t, const Score& score, Take take, const Mastered& m) {
    std::filesystem::create_directories(dir);
    bool ok = true;
    for (const PartName& p : kPartNames) {
        Bus sum = renderSum(t.song, score, take, p.part);
        shape(sum);
        Bus stem(static_cast<std::size_t>(take.length));
        for (long i = 0; i < take.length; ++i) {
            stem.left[i] = static_cast<float>(sum.left[take.from + i] * m.gain);
            stem.right[i] = static_cast<float>(sum.right[take.from + i] * m.gain);
        }
        ok = ok && writeWavFloat(dir / (std::string(p.name) + ".wav"), {&stem.left, &stem.right});
    }
    ok = ok && writeWavFloat(dir / "limiter.wav", {&m.reduction});
    std::ofstream sections(dir / "sections.txt");
    const double stepSeconds = static_cast<double>(stepSamples(t.song.bpm)) / kRate;
    long at = 0;
    for (const Section& s : t.song.sections) {
        const long steps = 16L * s.bars - s.from;
        sections << at * stepSeconds << ' ' << steps * stepSeconds << ' ' << s.name << (s.riser ? " (riser)" : "") << '\n';
        at += steps;
    }
    // Every bar's chord, lead and drums (score.h's BarKey), from the song's first bar.
    std::ofstream bars(dir / "bars.txt");
    const double barSeconds = 16.0 * stepSeconds;
    const std::vector<BarKey> keys = barKeys(score);
    for (std::size_t b = 0; b < keys.size(); ++b)
        bars << static_cast<double>(b) * barSeconds - static_cast<double>(score.start) * stepSeconds << '|'
             << keys[b].chord << '|' << keys[b].lead << '|' << keys[b].drums << '\n';
    return ok && static_cast<bool>(sections) && static_cast<bool>(bars);
}

}  // namespace
}  // namespace synth

int main(int argc, char** argv) {
    using namespace synth;
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--stems")) {
        std::cerr << "usage: music_synth <output-directory> [--stems <directory>]\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    try {
        std::filesystem::create_directories(dir);
        for (const Track& t : {showTrack(kShowTracks[0], tune1(), 0.0), showTrack(kShowTracks[1], newtune(), 186.0)}) {
            const Score score = buildScore(t.song);
            const long step = stepSamples(t.song.bpm);
            const Take take = t.loop ? loopTake(score, step) : onceTake(score, step, t.seconds);
            const Mastered m = renderTrack(t, score, take);
            bool ok = writeWav16(dir / (t.name + ".wav"), m.track);
            if (argc == 4) ok = ok && writeStems(std::filesystem::path(argv[3]) / t.name, t, score, take, m);
            if (!ok) {
                std::cerr << "music_synth: cannot write the " << t.name << " track\n";
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "music_synth: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
