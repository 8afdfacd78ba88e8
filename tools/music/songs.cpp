#include "songs.h"

namespace synth {

namespace {

// Tempo: 125 BPM gives a 16th of exactly 5292 samples at 44.1 kHz, so bars
// fall on whole samples and Tune1 loops on a bar boundary.
constexpr double kBpm = 125.0;

// --- Melodies, one bar per line -------------------------------------------
// Theme, over Am F C G: a syncopated 3-3-2 figure climbing through the chords.
constexpr const char* A1 = "E5 - - A5 - - G5 - E5 - - D5 - C5 - -";
constexpr const char* A2 = "C5 - - F5 - - E5 - C5 - - A4 - - - -";
constexpr const char* A3 = "E5 - - G5 - - C6 - B5 - - G5 - E5 - -";
constexpr const char* A4 = "D5 - - G5 - - B5 - A5 - G5 - D5 - B4 -";
constexpr const char* A4run = "D5 - B4 - G4 - B4 - D5 - G5 - B5 - D6 -";  // leads back to the top

// Answer, over F G Am Am F G E E: long notes falling, then the lift to E major.
constexpr const char* B1 = "A5 - - - G5 - F5 - - - E5 - F5 - - -";
constexpr const char* B2 = "G5 - - - F5 - E5 - - - D5 - B4 - - -";
constexpr const char* B3 = "C5 - - - - - - - E5 - D5 - C5 - B4 -";
constexpr const char* B4 = "A4 - - - - - - - . . E5 - A5 - C6 -";
constexpr const char* B5 = "C6 - - - B5 - A5 - - - G5 - A5 - - -";
constexpr const char* B6 = "B5 - - - A5 - G5 - - - F5 - D5 - - -";
constexpr const char* B7 = "E5 - - - G#5 - - - B5 - - - E6 - - -";
constexpr const char* B8 = "D6 - - - B5 - - - G#5 - E5 - D5 - B4 -";

// Groove, over F G Em Am: staccato saw figures.
constexpr const char* C1 = "A4 . C5 . F5 . A5 - G5 . F5 . C5 - . .";
constexpr const char* C2 = "B4 . D5 . G5 . B5 - A5 . G5 . D5 - . .";
constexpr const char* C3 = "G5 . E5 . B4 . E5 - G5 . B5 . A5 - G5 -";
constexpr const char* C4 = "E5 - - - - - . . A4 . C5 . E5 . G5 .";
constexpr const char* C4end = "A5 - - - - - - - - - - - . . . .";

// Second drop, over F G Am Am F G E E: broken chords in eighths.
constexpr const char* D1 = "F5 - A5 - C6 - A5 - F5 - A5 - C6 - D6 -";
constexpr const char* D2 = "D6 - - - B5 - - - G5 - - - D5 - - -";
constexpr const char* D3 = "E5 - A5 - C6 - E6 - D6 - C6 - B5 - C6 -";
constexpr const char* D4 = "A5 - - - - - - - - - - - E5 - G5 -";
constexpr const char* D5 = "F5 - A5 - C6 - F6 - E6 - C6 - A5 - C6 -";
constexpr const char* D6 = "B5 - - - D6 - - - G6 - - - F6 - D6 -";
constexpr const char* D7 = "E6 - - - - - - - D6 - - - B5 - - -";
constexpr const char* D8 = "G#5 - - - - - - - B5 - - - D6 - - -";

// Breakdown, over Dm Am F E: slow and wide.
constexpr const char* E1 = "D5 - - - - - - - F5 - - - A5 - - -";
constexpr const char* E2 = "E5 - - - - - - - - - - - C5 - - -";
constexpr const char* E3 = "F5 - - - - - - - A5 - - - C6 - - -";
constexpr const char* E4 = "B5 - - - - - - - G#5 - - - - - - -";
constexpr const char* E4end = "B5 - - - - - - - - - - - - - - -";

// Return, over the theme's chords a whole tone up: the theme answered an
// octave higher, climbing where the drop fell.
constexpr const char* R1 = "A5 - C6 - E6 - - - D6 - C6 - B5 - C6 -";
constexpr const char* R2 = "A5 - - - - - F5 - A5 - C6 - A5 - F5 -";
constexpr const char* R3 = "G5 - C6 - E6 - - - G6 - - - E6 - D6 -";
constexpr const char* R4 = "D6 - - - B5 - - - G5 - B5 - D6 - - -";
constexpr const char* R5 = "E6 - - - D6 - C6 - - - B5 - A5 - - -";
constexpr const char* R6 = "C6 - - - A5 - F5 - - - A5 - C6 - F6 -";
constexpr const char* R7 = "E6 - - - D6 - C6 - G5 - - - C6 - E6 -";
constexpr const char* R8 = "D6 - - - - - - - B5 - G5 - D6 - G6 -";

// --- Rhythms --------------------------------------------------------------
constexpr const char* kFour = "x...x...x...x...";
constexpr const char* kBackbeat = "....x.......x...";
constexpr const char* kHalfKick = "x.....x...x.....";
constexpr const char* kHalfSnare = "........x.......";
constexpr const char* kRoll = "x.x.x.x.xxxxxxxx";
constexpr const char* kOffHats = "..x...x...x...x.";
constexpr const char* kSoftHats = "o.x.o.x.o.x.o.x.";
constexpr const char* kDropHats = "xoOoxoOoxoOoxoOo";
constexpr const char* kSixteenHats = "xoxoxoxoxoxoxoxo";

constexpr const char* kBassHold = "R - - - - - - - - - - - - - - -";
constexpr const char* kBassOctaves = "R - O - R - O - R - O - R - O -";
constexpr const char* kBassDrive = "R . R O . R O . R . R O . R O R";
constexpr const char* kBassGroove = "R - - R . . R - . R - . F - O -";

constexpr const char* kArpUp = "0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3";
constexpr const char* kArpTriplet = "0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 3";
constexpr const char* kArpDown = "3 2 1 0 3 2 1 0 3 2 1 0 3 2 1 0";
constexpr const char* kArpSlow = "0 . 1 . 2 . 3 . 2 . 1 . 0 . 2 .";
constexpr const char* kArpBounce = "0 2 1 3 0 2 1 3 0 2 1 3 2 1 0 1";

// newtune's pickup: a hit on the chord and a snare run into the first bar.
constexpr const char* kPickupKick = "...........x....";
constexpr const char* kPickupSnare = "............o.xx";
constexpr const char* kPickupBass = ". . . . . . . . . . . R - - - -";

}  // namespace

Song tune1() {
    return {kBpm, {
        {.name = "theme", .bars = 8, .chords = "Am F C G",
         .kick = kFour, .snare = kBackbeat, .hats = kSoftHats, .bass = kBassOctaves,
         .lead = {A1, A2, A3, A4, A1, A2, A3, A4run},
         .arp = kArpUp, .pad = 0.5, .brightFrom = 0.6, .brightTo = 0.8, .fills = true, .crash = true},
        {.name = "answer", .bars = 8, .chords = "F G Am Am F G E E",
         .kick = kFour, .snare = kBackbeat, .hats = kDropHats, .bass = kBassDrive,
         .lead = {B1, B2, B3, B4, B5, B6, B7, B8}, .tone = LeadTone::Saw,
         .arp = kArpTriplet, .pad = 0.5, .brightFrom = 0.8, .brightTo = 0.9, .fills = true, .crash = true},
    }};
}

// It is cut in at 74 s wherever Tune1 is, and cut off 183 s later by Tune1's
// downbeat. So it opens on a hit at full level, 5 sixteenths before its first
// bar, and its 95 bars then end exactly at 183 s (at 125 BPM, 1525 sixteenths)
// on a rise that Tune1's return completes. The two bars after that only ring
// out, for a return that comes a frame late.
Song newtune() {
    return {kBpm, {
        {.name = "entry", .bars = 1, .chords = "Am",
         .kick = kPickupKick, .snare = kPickupSnare, .bass = kPickupBass,
         .pad = 1.0, .brightFrom = 0.7, .brightTo = 0.7, .crash = true, .from = 11},
        {.name = "intro", .bars = 3, .chords = "F C G",
         .kick = kFour, .hats = kOffHats, .bass = kBassOctaves,
         .arp = kArpSlow, .pad = 0.8, .brightFrom = 0.35, .brightTo = 0.5},
        {.name = "intro hats", .bars = 4, .chords = "Am F C G",
         .kick = kFour, .hats = kSoftHats, .bass = kBassOctaves,
         .arp = kArpUp, .pad = 0.7, .brightFrom = 0.5, .brightTo = 0.65},
        {.name = "build", .bars = 6, .chords = "Am F C G",
         .kick = kFour, .hats = kOffHats, .bass = kBassOctaves,
         .lead = {A1, A2, A3, A4}, .leadShift = -12,
         .arp = kArpUp, .pad = 0.7, .brightFrom = 0.45, .brightTo = 0.75},
        {.name = "rise", .bars = 2, .chords = "C G",
         .kick = kFour, .snare = kRoll, .hats = kSixteenHats, .bass = kBassOctaves,
         .arp = kArpUp, .pad = 0.6, .brightFrom = 0.8, .brightTo = 1.0, .riser = true},
        {.name = "drop", .bars = 16, .chords = "Am F C G",
         .kick = kFour, .snare = kBackbeat, .hats = kDropHats, .bass = kBassDrive,
         .lead = {A1, A2, A3, A4, A1, A2, A3, A4run},
         .arp = kArpTriplet, .pad = 0.45, .brightFrom = 0.9, .brightTo = 0.9, .fills = true, .crash = true},
        {.name = "groove", .bars = 8, .chords = "F G Em Am",
         .kick = kHalfKick, .snare = kHalfSnare, .hats = kSixteenHats, .bass = kBassGroove,
         .lead = {C1, C2, C3, C4, C1, C2, C3, C4end}, .tone = LeadTone::Saw,
         .pad = 0.6, .brightFrom = 0.55, .brightTo = 0.7, .fills = true, .crash = true},
        {.name = "second drop", .bars = 16, .chords = "F G Am Am F G E E",
         .kick = kFour, .snare = kBackbeat, .hats = kDropHats, .bass = kBassDrive,
         .lead = {B1, B2, B3, B4, B5, B6, B7, B8, D1, D2, D3, D4, D5, D6, D7, D8}, .leadDouble = true,
         .arp = kArpDown, .pad = 0.45, .brightFrom = 0.95, .brightTo = 1.0, .fills = true, .crash = true},
        {.name = "breakdown", .bars = 12, .chords = "Dm Am F E",
         .bass = kBassHold,
         .lead = {nullptr, nullptr, nullptr, nullptr, E1, E2, E3, E4, E1, E2, E3, E4end}, .tone = LeadTone::Saw,
         .arp = kArpSlow, .pad = 1.0, .brightFrom = 0.2, .brightTo = 0.65, .crash = true},
        {.name = "second rise", .bars = 4, .chords = "Dm Am F E",
         .kick = kFour, .snare = kRoll, .hats = kSixteenHats, .bass = kBassOctaves,
         .arp = kArpUp, .pad = 0.8, .brightFrom = 0.7, .brightTo = 1.0, .riser = true},
        // The theme's chords a whole tone up, a melody of its own doubled an
        // octave down, the arp bouncing and the bass in octaves: a lift, not
        // a copy of the drop.
        {.name = "return", .bars = 16, .chords = "Bm G D A",
         .kick = kFour, .snare = kBackbeat, .hats = kSixteenHats, .bass = kBassOctaves,
         .lead = {R1, R2, R3, R4, R5, R6, R7, R8, A1, A2, A3, A4, R5, R6, R7, R8}, .leadShift = 2,
         .tone = LeadTone::Saw, .leadDouble = true,
         .arp = kArpBounce, .pad = 0.5, .brightFrom = 0.8, .brightTo = 1.0, .fills = true, .crash = true},
        {.name = "bridge", .bars = 4, .chords = "Dm Am F E",
         .hats = kOffHats, .bass = kBassHold, .lead = {E1, E2, E3, E4end}, .tone = LeadTone::Saw,
         .arp = kArpSlow, .pad = 0.9, .brightFrom = 0.4, .brightTo = 0.6, .crash = true},
        {.name = "final rise", .bars = 4, .chords = "F G E E",
         .kick = kFour, .snare = kRoll, .hats = kSixteenHats, .bass = kBassOctaves,
         .arp = kArpUp, .pad = 0.8, .brightFrom = 0.6, .brightTo = 1.0, .riser = true},
        {.name = "ending", .bars = 2, .chords = "Am",
         .kick = "x...............", .bass = kBassHold,
         .pad = 1.0, .brightFrom = 0.45, .brightTo = 0.3, .crash = true, .rhythmBars = 1},
    }};
}

}  // namespace synth
