#include "soundtrack.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "runtime/declick.h"
#include "show_facts.h"

namespace {

constexpr int kStereo = 2;

}  // namespace

std::vector<SoundEvent> recordCueEvents(const RecordOptions& options) {
    // The grid reaches back from the clip's first frame to the show's start.
    const long first = -static_cast<long>(std::floor(options.from * options.fps + 1e-9));
    return cueEvents(options.from, options.fps, first, frameCount(options));
}

SoundtrackMixer::SoundtrackMixer(std::vector<SoundEvent> events, double from,
                                 std::vector<std::pair<std::string, const WavTrack*>> tracks)
    : tracks_(std::move(tracks)) {
    const double rate = tracks_.empty() ? double(kSampleRate) : tracks_.front().second->rate();
    for (SoundEvent& event : events)
        events_.push_back({std::llround((event.t - from) * rate), std::move(event)});
    fade_ = std::llround(rate * kDeclickSeconds);
}

void SoundtrackMixer::apply(std::size_t index) {
    const SoundEvent& event = events_[index].event;
    if (event.path.empty()) {
        voices_.clear();
        return;
    }
    long long end = LLONG_MAX;
    for (std::size_t k = index + 1; k < events_.size() && end == LLONG_MAX; ++k)
        if (events_[k].event.path.empty()) end = events_[k].at;
    for (const auto& [path, track] : tracks_)
        if (path == event.path) voices_.push_back({track, events_[index].at, event.looped, end});
}

void SoundtrackMixer::mix(std::int16_t* out, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i, ++position_) {
        // Events before the clip's start all land on its first sample, in order.
        while (nextEvent_ < events_.size() && events_[nextEvent_].at <= position_) {
            apply(nextEvent_);
            ++nextEvent_;
        }
        int left = 0, right = 0;
        for (const Voice& voice : voices_) {
            long long at = position_ - voice.start;
            const auto length = static_cast<long long>(voice.track->frames());
            if (voice.looped) at %= length;
            else if (at >= length) continue;
            // A gain of 1 leaves a sample exactly as it is.
            const double gain = declickGain(voice.end - position_, fade_ + 1);
            left += static_cast<int>(std::lround(voice.track->left(static_cast<std::size_t>(at)) * gain));
            right += static_cast<int>(std::lround(voice.track->right(static_cast<std::size_t>(at)) * gain));
        }
        out[i * kStereo] = static_cast<std::int16_t>(std::clamp(left, -32768, 32767));
        out[i * kStereo + 1] = static_cast<std::int16_t>(std::clamp(right, -32768, 32767));
    }
}
