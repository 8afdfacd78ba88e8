#pragma once
// A 16-bit PCM WAV file mapped into memory, read-only: the music tracks the
// recorder mixes from. Pages come in as the mix reaches them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class WavTrack {
public:
    WavTrack() = default;
    WavTrack(const WavTrack&) = delete;
    WavTrack& operator=(const WavTrack&) = delete;
    ~WavTrack();

    // Maps `path`. Returns false with a reason in `error` when the file cannot
    // be read or is not 16-bit PCM with one or two channels.
    bool open(const std::string& path, std::string& error);

    int rate() const { return rate_; }
    std::size_t frames() const { return frames_; }
    // Left and right of sample frame i (a mono track gives the same to both).
    std::int16_t left(std::size_t i) const { return samples_[i * channels_]; }
    std::int16_t right(std::size_t i) const { return samples_[i * channels_ + channels_ - 1]; }

private:
    void* mapping_ = nullptr;
    std::size_t mappedBytes_ = 0;
    const std::int16_t* samples_ = nullptr;
    std::size_t frames_ = 0;
    int channels_ = 0;
    int rate_ = 0;
};

// The show's two tracks, opened from the working directory, as the mixer
// takes them: each under the path the cues name.
struct ShowTracks {
    WavTrack first, second;
    // Opens both; false with the reason when one cannot be read or the two
    // differ in sample rate.
    bool open(std::string& error);
    int rate() const { return first.rate(); }
    std::vector<std::pair<std::string, const WavTrack*>> byPath() const;
};
