#pragma once
// A song as data: sections of bars, each with its chords and the patterns its
// parts play, written as text one bar (sixteen 16th steps) at a time.
//
// Pattern languages, one token or character per 16th step:
// - drums ("x...x..."): x = hit, o = soft hit, g = ghost note, O = open hat,
//   . = nothing;
// - melody ("E5 - - A5 . ."): a note name, - holds the previous note, . rests;
// - bass ("R - O . F"): R root, O octave above, F fifth, with - and . as above;
// - arp ("0 1 2 3"): index into the chord's tones (3 is the root an octave up).
#include <string>
#include <vector>

#include "voices.h"

namespace synth {

struct Section {
    const char* name;
    int bars;
    const char* chords;              // one chord per bar, cycled: "Am F C G"
    using Bars = std::vector<const char*>;
    Bars kick = {};                  // drum patterns, one bar each, cycled;
    Bars snare = {};                 // none = the part rests
    Bars hats = {};
    const char* bass = nullptr;
    std::vector<const char*> lead = {};  // melody bars, cycled; a nullptr bar rests
    int leadShift = 0;               // semitones added to the melody
    LeadTone tone = LeadTone::Pulse;
    bool leadDouble = false;         // a saw one octave below the melody
    const char* arp = nullptr;
    double pad = 0.0;                // pad level, 0 = no pad
    double brightFrom = 0.5;         // filter opening of pad and bass across
    double brightTo = 0.5;           // the section (0 dark .. 1 open)
    bool fills = false;              // a snare fill in the last bar of every eight
                                     // (two fills, in turn)
    bool crash = false;              // a crash on the first beat of every eight bars
    bool riser = false;              // a noise sweep and a snare crescendo, and
                                     // the section's last beat left silent
    double padRelease = 0.5;         // seconds the section's pad chords ring on
    double gain = 1.0;               // scales every velocity of the section: its
                                     // place in the arc
    int rhythmBars = 0;              // drums and bass only in the first n bars (0 = all)
    int from = 0;                    // a pickup: the song's first section sounds from
                                     // this step of its first bar on
};

struct Song {
    double bpm;
    std::vector<Section> sections;
};

struct Note {
    long step;       // 16th step from the start of the song
    int steps;       // length in steps
    int midi;
    double velocity;
    double brightness = 0.5;
    LeadTone tone = LeadTone::Pulse;
};

struct Hit {
    long step;
    double velocity;
};

struct Chord {
    long step;
    int steps;
    std::vector<int> notes;
    double velocity;
    double brightness;
    double release = 0.5;  // seconds
};

// Every note and hit of a song, in steps.
struct Score {
    long start = 0;  // the step where the song begins (its pickup)
    long steps = 0;  // the end of its last bar
    std::vector<Hit> kicks, snares, closedHats, openHats, crashes;
    std::vector<Note> bass, lead, arp;
    std::vector<Chord> pads;
    std::vector<Note> risers;  // only step and steps are used
    std::vector<std::string> chords;  // the chord of every bar
};

// What a bar brings, as text that is equal for equal bars: its chord, its
// lead (onset steps and pitch classes, so an octave doubling is the same
// line) and its drums (every hit with its velocity).
struct BarKey {
    std::string chord, lead, drums;
};
// One key per bar of the score, from its first bar.
std::vector<BarKey> barKeys(const Score& score);

Score buildScore(const Song& song);

// Parsing helpers, exposed for the songs' own checks.
int noteNumber(const std::string& name);  // "C#5" -> 73, -1 when not a note
int chordRoot(const std::string& symbol);                         // "F#m" -> 6
std::vector<int> chordTones(const std::string& symbol, int low);  // triad in [low, low + 12)

}  // namespace synth
