// The songs as written, walked the way the show plays them.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "songs.h"
#include "timeline/chain.h"
#include "timeline/music_cues.h"
#include "voices.h"

namespace {

constexpr double kBarSeconds = 16 * 5292.0 / 44100.0;  // 125 BPM
constexpr double kStepSeconds = kBarSeconds / 16;

struct HeardBar {
    const char* song;
    int bar;
    synth::BarKey key;
};

// The bars of `score` whose downbeat falls in [from, to) seconds of the
// track (whose first sample is the score's start step), in order.
void appendBars(std::vector<HeardBar>& out, const char* song, const synth::Score& score, double from, double to) {
    const std::vector<synth::BarKey> keys = synth::barKeys(score);
    for (std::size_t b = 0; b < keys.size(); ++b) {
        const double at = static_cast<double>(b) * kBarSeconds - static_cast<double>(score.start) * kStepSeconds;
        // The pickup's bar is heard from the track's first sample.
        if (at + kBarSeconds > from && at < to) out.push_back({song, static_cast<int>(b), keys[b]});
    }
}

// Each rise's snare, per beat: how many hits each beat of the rise has.
std::vector<int> snaresPerBeat(const synth::Score& score, const synth::Note& rise) {
    std::vector<int> beats((rise.steps + 4 + 3) / 4, 0);  // the rise's note leaves out its silent beat
    for (const synth::Hit& h : score.snares)
        if (h.step >= rise.step && h.step < rise.step + static_cast<long>(beats.size()) * 4)
            ++beats[static_cast<std::size_t>((h.step - rise.step) / 4)];
    return beats;
}

double leadLevel(synth::LeadTone tone) {
    synth::Bus bus(44100 * 8);
    long at = 0;
    for (int midi : {57, 64, 69, 72, 76, 81, 86}) {
        synth::lead(bus, at, 44100 / 2, midi, 1.0, tone);
        at += 44100;
    }
    double sum = 0.0;
    for (float v : bus.left) sum += static_cast<double>(v) * v;
    return 10.0 * std::log10(sum / static_cast<double>(bus.frames()));
}

}  // namespace

TEST(Score, TheShowAsHeardKeepsBringingNewMaterialAndItsRisesAndLeadsHoldTogether) {
    const synth::Score tune1 = synth::buildScore(synth::tune1());
    const synth::Score newtune = synth::buildScore(synth::newtune());
    const double returnAt = windowStart("music: return");

    // Something new, a chord or a lead line, at least every 16 bars from the
    // first frame to the return of Tune1 (which then recaps the opening).
    std::vector<HeardBar> heard;
    appendBars(heard, "Tune1", tune1, 0.0, kTrackSwitchAt);
    appendBars(heard, "newtune", newtune, 0.0, returnAt - kTrackSwitchAt);
    ASSERT_GT(heard.size(), 130u);
    std::set<std::pair<std::string, std::string>> seen;
    int sinceNew = 0;
    for (const HeardBar& bar : heard) {
        bool fresh = false;
        for (auto item : {std::pair<std::string, std::string>{"chord", bar.key.chord}, {"lead", bar.key.lead}})
            if (!item.second.empty()) fresh = seen.insert(item).second || fresh;
        sinceNew = fresh ? 0 : sinceNew + 1;
        EXPECT_LE(sinceNew, 16) << bar.song << " bar " << bar.bar << ": more than 16 bars in a row bring nothing new";
    }

    // A change of lead sound is not a change of level.
    EXPECT_NEAR(leadLevel(synth::LeadTone::Saw), leadLevel(synth::LeadTone::Pulse), 1.0);

    // A rise accelerates: its snare never thins out from one beat to the
    // next, and its last beat is silent, for the drop to land on.
    int rises = 0;
    for (const synth::Score* score : {&tune1, &newtune})
        for (const synth::Note& rise : score->risers) {
            ++rises;
            const std::vector<int> beats = snaresPerBeat(*score, rise);
            ASSERT_GE(beats.size(), 4u);
            EXPECT_EQ(beats.back(), 0) << "the rise at step " << rise.step << " fills its last beat";
            for (std::size_t i = 1; i + 1 < beats.size(); ++i)
                EXPECT_GE(beats[i], beats[i - 1]) << "the rise at step " << rise.step << " thins out at beat " << i;
        }
    EXPECT_GE(rises, 4);
}
