#include "score.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace synth {

namespace {

constexpr int kStepsPerBar = 16;

std::vector<std::string> tokens(const char* text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string t; in >> t;) out.push_back(t);
    return out;
}

int pitchClass(char letter) {
    switch (letter) {
        case 'C': return 0;
        case 'D': return 2;
        case 'E': return 4;
        case 'F': return 5;
        case 'G': return 7;
        case 'A': return 9;
        case 'B': return 11;
        default: return -1;
    }
}

// The pitch of `pc` (0..11) placed in [low, low + 12).
int place(int pc, int low) { return low + ((pc - low) % 12 + 12) % 12; }

void requireBar(std::size_t count, const char* text) {
    if (count != kStepsPerBar)
        throw std::runtime_error(std::string("a bar needs 16 steps: \"") + text + "\"");
}

// Turns a bar of tokens into notes: each pitch token starts a note, "-"
// lengthens it, "." ends it. `pitchOf` maps a token to a MIDI note or -1.
template <typename PitchOf>
void parseLine(const char* text, long barStep, PitchOf pitchOf, std::vector<Note>& out, Note style) {
    std::vector<std::string> steps = tokens(text);
    requireBar(steps.size(), text);
    Note* open = nullptr;
    for (int i = 0; i < kStepsPerBar; ++i) {
        const std::string& tok = steps[i];
        if (tok == "-") {
            if (open != nullptr) ++open->steps;
            continue;
        }
        open = nullptr;
        if (tok == ".") continue;
        int midi = pitchOf(tok);
        if (midi < 0) throw std::runtime_error("not a note: " + tok);
        Note n = style;
        n.step = barStep + i;
        n.steps = 1;
        n.midi = midi;
        out.push_back(n);
        open = &out.back();
    }
}

void parseDrums(const char* pattern, long barStep, double scale, std::vector<Hit>& hits,
                std::vector<Hit>* openHits) {
    std::string p;
    for (const char* c = pattern; *c; ++c)
        if (*c != ' ') p.push_back(*c);
    requireBar(p.size(), pattern);
    for (int i = 0; i < kStepsPerBar; ++i) {
        char c = p[i];
        if (c == 'x') hits.push_back({barStep + i, scale});
        else if (c == 'o') hits.push_back({barStep + i, 0.55 * scale});
        else if (c == 'g') hits.push_back({barStep + i, 0.22 * scale});
        else if (c == 'O' && openHits != nullptr) openHits->push_back({barStep + i, 0.8 * scale});
    }
}

double lerp(double a, double b, double x) { return a + (b - a) * x; }

// Drops what lies before `start` and shortens what straddles it.
template <typename Event>
void clipBefore(std::vector<Event>& events, long start) {
    std::vector<Event> kept;
    for (Event e : events) {
        if constexpr (requires { e.steps; }) {
            if (e.step < start && e.step + e.steps > start) {
                e.steps -= static_cast<int>(start - e.step);
                e.step = start;
            }
        }
        if (e.step >= start) kept.push_back(e);
    }
    events = std::move(kept);
}

// Empties the steps [from, to): drops what starts there, and ends there what
// rings into them.
void silence(Score& score, long from, long to) {
    auto hits = [&](std::vector<Hit>& v) {
        std::erase_if(v, [&](const Hit& h) { return h.step >= from && h.step < to; });
    };
    auto notes = [&](auto& v) {
        std::erase_if(v, [&](const auto& n) { return n.step >= from && n.step < to; });
        for (auto& n : v)
            if (n.step < from && n.step + n.steps > from) n.steps = static_cast<int>(from - n.step);
    };
    for (auto* v : {&score.kicks, &score.snares, &score.closedHats, &score.openHats, &score.crashes}) hits(*v);
    for (auto* v : {&score.bass, &score.lead, &score.arp}) notes(*v);
    notes(score.pads);
}

}  // namespace

int noteNumber(const std::string& name) {
    if (name.size() < 2) return -1;
    int pc = pitchClass(name[0]);
    if (pc < 0) return -1;
    std::size_t i = 1;
    if (name[i] == '#') { ++pc; ++i; }
    else if (name[i] == 'b') { --pc; ++i; }
    if (i >= name.size() || name[i] < '0' || name[i] > '9') return -1;
    int octave = std::stoi(name.substr(i));
    return 12 * (octave + 1) + pc;
}

int chordRoot(const std::string& symbol) {
    int root = pitchClass(symbol.empty() ? '?' : symbol[0]);
    if (root < 0) throw std::runtime_error("not a chord: " + symbol);
    if (symbol.size() > 1 && symbol[1] == '#') ++root;
    if (symbol.size() > 1 && symbol[1] == 'b') --root;
    return root;
}

std::vector<int> chordTones(const std::string& symbol, int low) {
    int root = chordRoot(symbol);
    bool minor = symbol.find('m') != std::string::npos;
    std::vector<int> tones = {place(root, low), place(root + (minor ? 3 : 4), low), place(root + 7, low)};
    std::sort(tones.begin(), tones.end());
    return tones;
}

Score buildScore(const Song& song) {
    Score score;
    long bar = 0;
    for (const Section& s : song.sections) {
        if (s.from != 0 && &s != &song.sections.front())
            throw std::runtime_error(std::string("only the first section may start late: ") + s.name);
        std::vector<std::string> chords = tokens(s.chords);
        for (int b = 0; b < s.bars; ++b, ++bar) {
            const long at = bar * kStepsPerBar;
            const double progress = s.bars > 1 ? static_cast<double>(b) / (s.bars - 1) : 0.0;
            const double bright = lerp(s.brightFrom, s.brightTo, progress);
            const std::string& chord = chords[b % chords.size()];
            score.chords.push_back(chord);
            const bool rhythm = s.rhythmBars == 0 || b < s.rhythmBars;
            const bool fillBar = s.fills && b % 8 == 7;
            auto barOf = [b](const Section::Bars& bars) { return bars.empty() ? nullptr : bars[b % bars.size()]; };

            const double g = s.gain;
            if (rhythm && barOf(s.kick)) parseDrums(barOf(s.kick), at, g, score.kicks, nullptr);
            if (rhythm && barOf(s.hats)) parseDrums(barOf(s.hats), at, g, score.closedHats, &score.openHats);
            if (rhythm && (barOf(s.snare) || fillBar)) {
                // A crescendo under a riser; a fill closes every eight-bar
                // phrase, a different one every other time.
                double scale = g * (s.riser ? lerp(0.35, 0.9, progress) : 1.0);
                const char* fill = (b / 8) % 2 == 0 ? "..g.x..gx.x.xxxx" : "x.gxg.x.xgx.xxxx";
                parseDrums(fillBar ? fill : barOf(s.snare), at, scale, score.snares, nullptr);
            }
            const long first = b == 0 ? s.from : 0;
            if (b % 8 == 0 && s.crash) score.crashes.push_back({at + first, g});
            if (b == 0 && s.riser) score.risers.push_back({at + first, static_cast<int>(s.bars * kStepsPerBar - first - 4), 0, 1.0});

            // Bass: root between A1 and G#2, so every chord sits in the same register.
            if (rhythm && s.bass) {
                const int root = place(chordRoot(chord), 33);
                Note style{0, 0, 0, g, bright};
                parseLine(s.bass, at,
                          [root](const std::string& t) {
                              if (t == "R") return root;
                              if (t == "O") return root + 12;
                              if (t == "F") return root + 7;
                              return -1;
                          },
                          score.bass, style);
            }

            if (!s.lead.empty()) {
                const char* line = s.lead[b % s.lead.size()];
                if (line != nullptr) {
                    const int shift = s.leadShift;
                    auto pitch = [shift](const std::string& t) {
                        int n = noteNumber(t);
                        return n < 0 ? -1 : n + shift;
                    };
                    Note style{0, 0, 0, g, bright, s.tone};
                    parseLine(line, at, pitch, score.lead, style);
                    if (s.leadDouble) {
                        Note low{0, 0, 0, 0.6 * g, bright, LeadTone::Saw};
                        parseLine(line, at, [&](const std::string& t) { int n = pitch(t); return n < 0 ? -1 : n - 12; },
                                  score.lead, low);
                    }
                }
            }

            if (s.arp) {
                std::vector<int> tones = chordTones(chord, 69);
                tones.push_back(tones[0] + 12);
                Note style{0, 0, 0, g, bright};
                parseLine(s.arp, at,
                          [&tones](const std::string& t) {
                              if (t.size() != 1 || t[0] < '0' || t[0] > '3') return -1;
                              return tones[t[0] - '0'];
                          },
                          score.arp, style);
            }

            if (s.pad > 0.0) {
                std::vector<int> notes = chordTones(chord, 55);
                // The same chord held over several bars is one long chord.
                Chord* last = score.pads.empty() ? nullptr : &score.pads.back();
                if (last && last->notes == notes && last->step + last->steps == at && last->velocity == s.pad * g &&
                    last->release == s.padRelease)
                    last->steps += kStepsPerBar;
                else
                    score.pads.push_back({at, kStepsPerBar, notes, s.pad * g, bright, s.padRelease});
            }
        }
        // A rise holds its breath on its last beat: nothing starts there and
        // nothing rings into it, so the drop lands on silence.
        if (s.riser) silence(score, bar * kStepsPerBar - 4, bar * kStepsPerBar);
    }
    score.steps = bar * kStepsPerBar;
    score.start = song.sections.empty() ? 0 : song.sections.front().from;
    for (auto* hits : {&score.kicks, &score.snares, &score.closedHats, &score.openHats, &score.crashes})
        clipBefore(*hits, score.start);
    for (auto* notes : {&score.bass, &score.lead, &score.arp, &score.risers}) clipBefore(*notes, score.start);
    clipBefore(score.pads, score.start);
    return score;
}

std::vector<BarKey> barKeys(const Score& score) {
    std::vector<BarKey> keys(score.chords.size());
    for (std::size_t b = 0; b < keys.size(); ++b) keys[b].chord = score.chords[b];
    auto barOf = [&](long step) { return static_cast<std::size_t>(step / kStepsPerBar); };
    std::vector<std::vector<std::string>> lead(keys.size());
    for (const Note& n : score.lead)
        if (barOf(n.step) < keys.size())
            lead[barOf(n.step)].push_back(std::to_string(n.step % kStepsPerBar) + ":" + std::to_string(n.midi % 12));
    for (std::size_t b = 0; b < keys.size(); ++b) {
        std::sort(lead[b].begin(), lead[b].end());
        lead[b].erase(std::unique(lead[b].begin(), lead[b].end()), lead[b].end());
        for (const std::string& s : lead[b]) keys[b].lead += s + " ";
    }
    const std::pair<char, const std::vector<Hit>*> drums[] = {
        {'k', &score.kicks}, {'s', &score.snares}, {'h', &score.closedHats}, {'o', &score.openHats}, {'c', &score.crashes}};
    for (const auto& [name, hits] : drums)
        for (const Hit& h : *hits)
            if (barOf(h.step) < keys.size())
                keys[barOf(h.step)].drums += std::string(1, name) + std::to_string(h.step % kStepsPerBar) + "@" +
                                             std::to_string(std::lround(h.velocity * 100)) + " ";
    return keys;
}

}  // namespace synth
