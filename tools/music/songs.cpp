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

// Tune1's cadence, over Dm E and a held Am: the hook's rhythm climbing to
// the leading tone, then the tonic held and let go.
constexpr const char* K1 = "F5 - - A5 - - D6 - C6 - - A5 - F5 - -";
constexpr const char* K2 = "E5 - - G#5 - - B5 - D6 - - C6 - B5 - -";
constexpr const char* K3 = "A5 - - - - - - - - - - - - - - -";

// Tune1's variation, over Am F C G: the hook's rhythm an octave up, answered.
constexpr const char* V1 = "A5 - - C6 - - B5 - A5 - - G5 - E5 - -";
constexpr const char* V2 = "F5 - - A5 - - C6 - A5 - - F5 - C5 - -";
constexpr const char* V3 = "G5 - - C6 - - E6 - D6 - - C6 - G5 - -";
constexpr const char* V4 = "B5 - - D6 - - G6 - F6 - - D6 - B5 - -";
constexpr const char* V5 = "C6 - - E6 - - D6 - C6 - - B5 - A5 - -";
constexpr const char* V6 = "A5 - - C6 - - F6 - E6 - - C6 - A5 - -";
constexpr const char* V7 = "G5 - - E6 - - D6 - C6 - - D6 - E6 - -";
constexpr const char* V8 = "D6 - - - B5 - - - G5 - - - . . . .";

// newtune's motif, over Dm Bb F C: the hook's 3-3-2 rhythm on a rising
// arpeggio that turns back, in a key and on chords Tune1 never uses.
constexpr const char* M1 = "D5 - - F5 - - A5 - D6 - - C6 - A5 - -";
constexpr const char* M2 = "Bb4 - - D5 - - F5 - Bb5 - - A5 - F5 - -";
constexpr const char* M3 = "A4 - - C5 - - F5 - A5 - - G5 - F5 - -";
constexpr const char* M4 = "G4 - - C5 - - E5 - G5 - - F5 - E5 - -";
constexpr const char* M5 = "D5 - - F5 - - A5 - D6 - - E6 - F6 - -";
constexpr const char* M6 = "F6 - - D6 - - Bb5 - D6 - - C6 - Bb5 - -";
constexpr const char* M7 = "A5 - - F5 - - C5 - F5 - - G5 - A5 - -";
constexpr const char* M8 = "G5 - - - - - E5 - - - C5 - - - . .";

// The first drop's answer, over Dm Bb F C: longer notes, falling.
constexpr const char* N1 = "A5 - - - - - F5 - - - D5 - E5 - F5 -";
constexpr const char* N2 = "F5 - - - - - D5 - - - Bb4 - C5 - D5 -";
constexpr const char* N3 = "C6 - - - A5 - - - F5 - - - G5 - A5 -";
constexpr const char* N4 = "G5 - - - - - - - E5 - - - - - . .";
constexpr const char* N5 = "D6 - - - - - A5 - - - F5 - G5 - A5 -";
constexpr const char* N6 = "Bb5 - - - - - F5 - - - D5 - F5 - Bb5 -";
constexpr const char* N7 = "A5 - - - C6 - - - F6 - - - E6 - C6 -";
constexpr const char* N8 = "E6 - - - - - - - - - - - . . . .";

// The groove, over Gm Am Bb C: staccato saw figures climbing by step.
constexpr const char* G1 = "G5 . D5 . G5 . Bb5 - A5 . G5 . D5 - . .";
constexpr const char* G2 = "A5 . E5 . A5 . C6 - B5 . A5 . E5 - . .";
constexpr const char* G3 = "Bb5 . F5 . Bb5 . D6 - C6 . Bb5 . F5 - A5 -";
constexpr const char* G4 = "C6 - - - G5 - - - E5 . G5 . C6 . E6 .";
constexpr const char* G4end = "E6 - - - - - - - - - - - . . . .";

// The breakdown, over Bb F Gm A: slow, wide, the dominant at the end.
constexpr const char* L1 = "D5 - - - - - - - F5 - - - Bb5 - - -";
constexpr const char* L2 = "C6 - - - - - - - A5 - - - - - - -";
constexpr const char* L3 = "Bb5 - - - - - - - D6 - - - G5 - - -";
constexpr const char* L4 = "C#6 - - - - - - - E6 - - - - - - -";

// The second drop, over Bb C Dm Dm Bb C A A: broken chords in eighths.
constexpr const char* P1 = "Bb5 - D6 - F6 - D6 - Bb5 - D6 - F6 - G6 -";
constexpr const char* P2 = "G6 - - - E6 - - - C6 - - - G5 - - -";
constexpr const char* P3 = "A5 - D6 - F6 - A6 - G6 - F6 - E6 - F6 -";
constexpr const char* P4 = "D6 - - - - - - - - - - - A5 - C6 -";
constexpr const char* P5 = "D6 - F6 - Bb6 - F6 - D6 - F6 - Bb6 - A6 -";
constexpr const char* P6 = "G6 - - - E6 - - - C6 - - - E6 - G6 -";
constexpr const char* P7 = "A6 - - - - - - - G6 - - - E6 - - -";
constexpr const char* P8 = "C#6 - - - - - - - E6 - - - A6 - - -";

// The bridge, over Gm Eb Bb A: the flat second darkens before the last rise.
constexpr const char* Q1 = "G5 - - - - - - - Bb5 - - - D6 - - -";
constexpr const char* Q2 = "Eb6 - - - - - - - D6 - - - Bb5 - - -";
constexpr const char* Q3 = "F5 - - - - - - - Bb5 - - - D6 - - -";
constexpr const char* Q4 = "C#6 - - - - - - - - - - - E6 - - -";

// The climax's second half, over Bb C Dm Dm Bb C A A: the hook's rhythm at
// the top of the range.
constexpr const char* S1 = "F6 - - D6 - - F6 - Bb6 - - A6 - F6 - -";
constexpr const char* S2 = "G6 - - E6 - - G6 - C7 - - Bb6 - G6 - -";
constexpr const char* S3 = "A6 - - F6 - - D6 - F6 - - E6 - D6 - -";
constexpr const char* S4 = "D6 - - - - - A5 - - - D6 - F6 - A6 -";
constexpr const char* S5 = "Bb6 - - F6 - - D6 - F6 - - G6 - A6 - -";
constexpr const char* S6 = "G6 - - E6 - - C6 - E6 - - F6 - G6 - -";
constexpr const char* S7 = "A6 - - - - - E6 - - - C#6 - - - A5 -";
constexpr const char* S8 = "C#6 - - - E6 - - - A6 - - - - - . .";

// --- Rhythms --------------------------------------------------------------
constexpr const char* kFour = "x...x...x...x...";
constexpr const char* kFourPush = "x...x...x...x.x.";
constexpr const char* kHalfKick = "x.....x...x.....";
constexpr const char* kBrokenKick = "x..x..x...x..x..";
constexpr const char* kStab = "x...............";
constexpr const char* kBackbeat = "....x.......x...";
constexpr const char* kGhostBeat = "....x..g....x.g.";
constexpr const char* kGhostBeat2 = "..g.x.....g.x..g";
constexpr const char* kHalfSnare = "........x.......";
constexpr const char* kHalfGhost = "...g....x.....g.";
constexpr const char* kPickupSnare = ".............gox";
// A rise's snare: quarters, eighths, sixteenths; its last beat stays silent.
constexpr const char* kRise1 = "x...x...x...x...";
constexpr const char* kRise2 = "x.x.x.x.x.x.x.x.";
constexpr const char* kRise3 = "xxxxxxxxxxxxxxxx";
constexpr const char* kOffHats = "..x...x...x...x.";
constexpr const char* kSoftHats = "o.x.o.x.o.x.o.x.";
constexpr const char* kDropHats = "xoOoxoOoxoOoxoOo";
constexpr const char* kOpenOff = "x.O.x.O.x.O.x.O.";
constexpr const char* kSixteenHats = "xoxoxoxoxoxoxoxo";
constexpr const char* kEighthHats = "x.x.x.x.x.x.x.x.";

constexpr const char* kBassHold = "R - - - - - - - - - - - - - - -";
constexpr const char* kBassFinal = "R - - - - - - - - - - - . . . .";
constexpr const char* kBassOctaves = "R - O - R - O - R - O - R - O -";
constexpr const char* kBassDrive = "R . R O . R O . R . R O . R O R";
// Off the kick: the kick leads, the bass answers between its beats.
constexpr const char* kBassOff = ". . R O . . R O . . R O . R O .";
constexpr const char* kBassGroove = "R - - R . . R - . R - . F - O -";

constexpr const char* kArpUp = "0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3";
constexpr const char* kArpTriplet = "0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 3";
constexpr const char* kArpDown = "3 2 1 0 3 2 1 0 3 2 1 0 3 2 1 0";
constexpr const char* kArpSlow = "0 . 1 . 2 . 3 . 2 . 1 . 0 . 2 .";
constexpr const char* kArpBounce = "0 2 1 3 0 2 1 3 0 2 1 3 2 1 0 1";

// newtune's pickup: a hit on the chord and a snare run into the first bar.
constexpr const char* kPickupKick = "...........x....";
constexpr const char* kPickupHit = "............o.xx";
constexpr const char* kPickupBass = ". . . . . . . . . . . R - - - -";

}  // namespace

// The opening's piece, heard once from the first frame up to the cut at 74 s
// and its first 38 s again at the end: theme and answer, a cadence whose held
// tonic has died away by 38 s (where the show ends), a breath, then a groove
// and a variation of the theme for the rest of the opening, and a rise that
// leads back to the top. 40 bars (76.8 s) that loop.
Song tune1() {
    return {kBpm, {
        {.name = "theme", .bars = 8, .chords = "Am F C G",
         .kick = {kFour}, .snare = {kBackbeat, kGhostBeat}, .hats = {kSoftHats}, .bass = kBassOctaves,
         .lead = {A1, A2, A3, A4, A1, A2, A3, A4run},
         .arp = kArpUp, .pad = 0.5, .brightFrom = 0.6, .brightTo = 0.8, .fills = true, .crash = true},
        {.name = "answer", .bars = 8, .chords = "F G Am Am F G E E",
         .kick = {kFour}, .snare = {kBackbeat, kGhostBeat2}, .hats = {kDropHats}, .bass = kBassDrive,
         .lead = {B1, B2, B3, B4, B5, B6, B7, B8}, .tone = LeadTone::Saw,
         .arp = kArpTriplet, .pad = 0.5, .brightFrom = 0.8, .brightTo = 0.9, .fills = true, .crash = true},
        {.name = "cadence", .bars = 2, .chords = "Dm E",
         .kick = {kFour}, .snare = {kGhostBeat, "x.g.x.gxx.x.xxxx"}, .hats = {kEighthHats}, .bass = kBassDrive,
         .lead = {K1, K2}, .arp = kArpTriplet, .pad = 0.55, .brightFrom = 0.8, .brightTo = 0.9},
        {.name = "final chord", .bars = 1, .chords = "Am",
         .kick = {kStab}, .bass = kBassFinal, .lead = {K3}, .pad = 0.8, .brightFrom = 0.7, .brightTo = 0.7,
         .crash = true, .padRelease = 1.2},
        {.name = "breath", .bars = 1, .chords = "F", .snare = {kPickupSnare}},
        {.name = "groove", .bars = 8, .chords = "F G Em Am",
         .kick = {kHalfKick, kHalfKick, kHalfKick, kBrokenKick}, .snare = {kHalfSnare, kHalfGhost},
         .hats = {kSixteenHats}, .bass = kBassGroove,
         .lead = {C1, C2, C3, C4, C1, C2, C3, C4end}, .tone = LeadTone::Saw,
         .pad = 0.6, .brightFrom = 0.55, .brightTo = 0.7, .fills = true, .crash = true},
        {.name = "variation", .bars = 8, .chords = "Am F C G",
         .kick = {kFour, kFour, kFour, kFourPush}, .snare = {kBackbeat, kGhostBeat}, .hats = {kOpenOff},
         .bass = kBassOctaves, .lead = {V1, V2, V3, V4, V5, V6, V7, V8},
         .arp = kArpBounce, .pad = 0.5, .brightFrom = 0.7, .brightTo = 0.9, .fills = true, .crash = true},
        {.name = "rise", .bars = 4, .chords = "F G E E",
         .kick = {kFour}, .snare = {kRise1, kRise2, kRise3, kRise3}, .hats = {kSixteenHats}, .bass = kBassOctaves,
         .arp = kArpUp, .pad = 0.6, .brightFrom = 0.6, .brightTo = 1.0, .riser = true, .padRelease = 0.15},
    }};
}

// It is cut in at 74 s wherever Tune1 is, and cut off 183 s later by Tune1's
// downbeat. So it opens on a hit at full level, 5 sixteenths before its first
// bar, and its 95 bars then end exactly at 183 s (at 125 BPM, 1525 sixteenths)
// on a rise that Tune1's return completes. The two bars after that only ring
// out, for a return that comes a frame late. Its arc: a motif of its own in D
// minor, two drops, a groove, a breakdown without bass or drums, and one
// climax late, where the hook comes back in the new key.
Song newtune() {
    return {kBpm, {
        {.name = "entry", .bars = 1, .chords = "Dm",
         .kick = {kPickupKick}, .snare = {kPickupHit}, .bass = kPickupBass,
         .pad = 1.0, .brightFrom = 0.7, .brightTo = 0.7, .crash = true, .from = 11},
        {.name = "intro", .bars = 3, .chords = "Bb F C",
         .kick = {kFour}, .hats = {kOffHats}, .bass = kBassOctaves,
         .arp = kArpSlow, .pad = 0.8, .brightFrom = 0.35, .brightTo = 0.5, .gain = 0.75},
        {.name = "motif", .bars = 8, .chords = "Dm Bb F C",
         .kick = {kFour}, .snare = {nullptr, nullptr, nullptr, kHalfGhost}, .hats = {kSoftHats},
         .bass = kBassOctaves, .lead = {M1, M2, M3, M4, M5, M6, M7, M8}, .leadShift = -12,
         .arp = kArpUp, .pad = 0.7, .brightFrom = 0.45, .brightTo = 0.7, .gain = 0.8},
        {.name = "rise", .bars = 4, .chords = "Gm Bb C C",
         .kick = {kFour}, .snare = {kRise1, kRise2, kRise3, kRise3}, .hats = {kSixteenHats}, .bass = kBassOctaves,
         .arp = kArpUp, .pad = 0.6, .brightFrom = 0.7, .brightTo = 1.0, .riser = true, .padRelease = 0.15,
         .gain = 0.85},
        {.name = "drop", .bars = 16, .chords = "Dm Bb F C",
         .kick = {kFour, kFour, kFour, kFourPush}, .snare = {kBackbeat, kGhostBeat}, .hats = {kDropHats},
         .bass = kBassOff, .lead = {M1, M2, M3, M4, M5, M6, M7, M8, N1, N2, N3, N4, N5, N6, N7, N8},
         .arp = kArpTriplet, .pad = 0.45, .brightFrom = 0.85, .brightTo = 0.9, .fills = true, .crash = true,
         .gain = 0.85},
        {.name = "groove", .bars = 8, .chords = "Gm Am Bb C",
         .kick = {kHalfKick, kBrokenKick}, .snare = {kHalfSnare, kHalfGhost}, .hats = {kSixteenHats},
         .bass = kBassGroove, .lead = {G1, G2, G3, G4, G1, G2, G3, G4end}, .tone = LeadTone::Saw,
         .pad = 0.6, .brightFrom = 0.55, .brightTo = 0.7, .fills = true, .crash = true, .gain = 0.8},
        {.name = "breakdown", .bars = 8, .chords = "Bb F Gm A",
         .lead = {nullptr, nullptr, nullptr, nullptr, L1, L2, L3, L4}, .tone = LeadTone::Saw,
         .arp = kArpSlow, .pad = 0.8, .brightFrom = 0.2, .brightTo = 0.55, .crash = true, .gain = 0.7},
        {.name = "second rise", .bars = 4, .chords = "Bb C A A",
         .kick = {kFour}, .snare = {kRise1, kRise2, kRise3, kRise3}, .hats = {kSixteenHats}, .bass = kBassOctaves,
         .arp = kArpUp, .pad = 0.7, .brightFrom = 0.6, .brightTo = 1.0, .riser = true, .padRelease = 0.15,
         .gain = 0.85},
        {.name = "second drop", .bars = 16, .chords = "Bb C Dm Dm Bb C A A",
         .kick = {kFour, kFour, kFour, kFourPush}, .snare = {kBackbeat, kGhostBeat2}, .hats = {kDropHats},
         .bass = kBassOff, .lead = {P1, P2, P3, P4, P5, P6, P7, P8},
         .arp = kArpDown, .pad = 0.45, .brightFrom = 0.9, .brightTo = 0.95, .fills = true, .crash = true,
         .gain = 0.9},
        {.name = "bridge", .bars = 4, .chords = "Gm Eb Bb A",
         .hats = {kOffHats}, .bass = kBassHold, .lead = {Q1, Q2, Q3, Q4}, .tone = LeadTone::Saw,
         .arp = kArpSlow, .pad = 0.9, .brightFrom = 0.4, .brightTo = 0.6, .crash = true, .gain = 0.7},
        {.name = "third rise", .bars = 4, .chords = "Gm Eb A A",
         .kick = {kFour}, .snare = {kRise1, kRise2, kRise3, kRise3}, .hats = {kSixteenHats}, .bass = kBassOctaves,
         .arp = kArpUp, .pad = 0.8, .brightFrom = 0.6, .brightTo = 1.0, .riser = true, .padRelease = 0.15},
        // The climax: Tune1's hook in newtune's key over newtune's chords,
        // doubled, with open hats on the off-beats and everything in.
        {.name = "return", .bars = 8, .chords = "Dm Bb F C",
         .kick = {kFour, kFour, kFour, kFourPush}, .snare = {kGhostBeat, kGhostBeat2}, .hats = {kOpenOff},
         .bass = kBassOff, .lead = {A1, A2, A3, A4, A1, A2, A3, A4run}, .leadShift = 5, .leadDouble = true,
         .arp = kArpBounce, .pad = 0.55, .brightFrom = 0.9, .brightTo = 1.0, .fills = true, .crash = true},
        {.name = "climax", .bars = 8, .chords = "Bb C Dm Dm Bb C A A",
         .kick = {kFour, kFour, kFour, kFourPush}, .snare = {kGhostBeat2, kGhostBeat}, .hats = {kOpenOff},
         .bass = kBassOff, .lead = {S1, S2, S3, S4, S5, S6, S7, S8}, .tone = LeadTone::Saw, .leadDouble = true,
         .arp = kArpBounce, .pad = 0.55, .brightFrom = 1.0, .brightTo = 1.0, .fills = true, .crash = true},
        {.name = "last rise", .bars = 4, .chords = "Bb C E E",
         .kick = {kFour}, .snare = {kRise1, kRise2, kRise3, kRise3}, .hats = {kSixteenHats}, .bass = kBassOctaves,
         .arp = kArpUp, .pad = 0.8, .brightFrom = 0.7, .brightTo = 1.0, .riser = true, .padRelease = 0.15},
        {.name = "ending", .bars = 2, .chords = "Am",
         .kick = {kStab}, .bass = kBassHold,
         .pad = 1.0, .brightFrom = 0.45, .brightTo = 0.3, .crash = true, .padRelease = 3.0, .rhythmBars = 1},
    }};
}

}  // namespace synth
