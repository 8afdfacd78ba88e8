// The generated soundtrack as the show finds it in the run directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;  // interleaved
    std::size_t frames() const { return channels ? samples.size() / channels : 0; }
    double seconds() const { return rate ? static_cast<double>(frames()) / rate : 0.0; }
    // The mono mix of frame i in -1..1.
    double mono(std::size_t i) const {
        double sum = 0.0;
        for (int c = 0; c < channels; ++c) sum += samples[i * channels + c];
        return sum / channels / 32768.0;
    }
};

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Walks the RIFF chunks; any layout with "fmt " before "data" is accepted.
Wav readWav(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
    Wav wav;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        return wav;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        uint32_t size = le32(&b[at + 4]);
        const unsigned char* body = &b[at + 8];
        if (std::memcmp(&b[at], "fmt ", 4) == 0 && size >= 16) {
            wav.format = le16(body);
            wav.channels = le16(body + 2);
            wav.rate = static_cast<int>(le32(body + 4));
            wav.bits = le16(body + 14);
        } else if (std::memcmp(&b[at], "data", 4) == 0) {
            std::size_t bytes = std::min<std::size_t>(size, b.size() - at - 8);
            wav.samples.resize(bytes / 2);
            std::memcpy(wav.samples.data(), body, wav.samples.size() * 2);
            break;
        }
        at += 8 + size + (size & 1);
    }
    return wav;
}

double rmsDb(const Wav& wav, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += wav.mono(i) * wav.mono(i);
    return 10.0 * std::log10(sum / static_cast<double>(to - from) + 1e-12);
}

void expectShowFormat(const Wav& wav) {
    EXPECT_EQ(wav.format, 1) << "PCM";
    EXPECT_EQ(wav.rate, 44100);
    EXPECT_EQ(wav.bits, 16);
    EXPECT_TRUE(wav.channels == 1 || wav.channels == 2);
}

// No stretch of `window` seconds (up to `until`) is near silence, and no
// sample sits at full scale (a clipped mix).
void expectMusicThroughout(const Wav& wav, double window, double until) {
    const std::size_t step = static_cast<std::size_t>(window * wav.rate);
    for (std::size_t at = 0; at + step <= static_cast<std::size_t>(until * wav.rate); at += step)
        EXPECT_GT(rmsDb(wav, at, at + step), -30.0) << "quiet from " << at / static_cast<std::size_t>(wav.rate) << " s";
    std::size_t fullScale = std::count_if(wav.samples.begin(), wav.samples.end(),
                                          [](int16_t s) { return s >= 32767 || s <= -32767; });
    EXPECT_EQ(fullScale, 0u);
}

// ffmpeg's EBU R128 meter on `path`: the integrated loudness (LUFS) and the
// true peak (dBTP) of its summary; NaN where it says nothing.
std::pair<double, double> loudnessAndTruePeak(const std::string& path) {
    const std::string command = "ffmpeg -hide_banner -nostats -i '" + path + "' -af ebur128=peak=true -f null - 2>&1";
    std::string log;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) log.append(buffer, n);
    if (pipe) pclose(pipe);
    auto after = [&](const std::string& label, std::size_t from) {
        const std::size_t at = log.find(label, from);
        return at == std::string::npos ? NAN : std::strtod(log.c_str() + at + label.size(), nullptr);
    };
    const std::size_t summary = log.rfind("Summary:");
    if (summary == std::string::npos) return {NAN, NAN};
    return {after("I:", summary), after("Peak:", log.find("True peak:", summary))};
}

}  // namespace

TEST(Soundtrack, EachTrackIsMasteredToTheReleaseLevel) {
    // -14 LUFS integrated, give or take 1 LU, and no true peak above -1 dBTP
    // (a sample peak under it is not enough: the waveform between samples
    // rises higher), with no DC offset left.
    for (const char* path : {"demo6/musics/Tune1.wav", "demo6/musics/newtune.wav"}) {
        const auto [lufs, truePeak] = loudnessAndTruePeak(path);
        EXPECT_NEAR(lufs, -14.0, 1.0) << path;
        EXPECT_LE(truePeak, -1.0) << path;
        const Wav wav = readWav(path);
        ASSERT_GT(wav.frames(), 0u) << path;
        for (int c = 0; c < wav.channels; ++c) {
            double sum = 0.0;
            for (std::size_t i = 0; i < wav.frames(); ++i) sum += wav.samples[i * wav.channels + c];
            EXPECT_LT(std::abs(sum / static_cast<double>(wav.frames()) / 32768.0), 0.001) << path << ": DC";
        }
    }
}

TEST(Soundtrack, FirstTrackIsALoopThatTheOpeningHearsOnce) {
    // The opening plays it from the first frame to the switch at 74 s: a
    // piece that long is heard once there, not as a short loop repeated.
    Wav wav = readWav("demo6/musics/Tune1.wav");
    ASSERT_GT(wav.frames(), 0u) << "demo6/musics/Tune1.wav is missing or not a WAV file";
    expectShowFormat(wav);
    EXPECT_GE(wav.seconds(), 74.0);
    EXPECT_LE(wav.seconds(), 90.0);
    expectMusicThroughout(wav, 2.0, wav.seconds());
}

TEST(Soundtrack, FirstTrackJoinsItsEndToItsStartWithoutAClick) {
    // A click is a step far larger than the signal's own movement. Two views:
    // the raw step across the join is no larger than the steps of 99 % of the
    // track; and, smoothed over 8 samples (about 5 kHz) so that hats and noise
    // do not hide it, the step across the join is no larger than the largest
    // one in the 50 ms on either side.
    Wav wav = readWav("demo6/musics/Tune1.wav");
    ASSERT_GT(wav.frames(), 10000u);
    const long n = static_cast<long>(wav.frames()), side = 2205, taps = 8;
    auto wrapped = [&](long i) { return wav.mono(static_cast<std::size_t>((i % n + n) % n)); };

    std::vector<double> steps;
    for (long i = 1; i < n; ++i) steps.push_back(std::abs(wrapped(i) - wrapped(i - 1)));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
    EXPECT_LE(std::abs(wrapped(0) - wrapped(-1)), steps[steps.size() * 99 / 100]);

    auto smooth = [&](long i) {
        double s = 0.0;
        for (long k = 0; k < taps; ++k) s += wrapped(i - k);
        return s / taps;
    };
    double around = 0.0, across = 0.0;
    for (long i = -side; i < side; ++i) {
        double d = std::abs(smooth(i) - smooth(i - 1));
        if (i >= 0 && i < taps) across = std::max(across, d);  // averages that straddle the join
        else around = std::max(around, d);
    }
    EXPECT_LE(across, around) << "step across the loop point " << across << ", around it " << around;
}

TEST(Soundtrack, SecondTrackLastsFromTheSwitchToTheReturn) {
    // It plays once from 74 s and is cut at 257 s: 183 s of music.
    Wav wav = readWav("demo6/musics/newtune.wav");
    ASSERT_GT(wav.frames(), 0u) << "demo6/musics/newtune.wav is missing or not a WAV file";
    expectShowFormat(wav);
    EXPECT_GE(wav.seconds(), 183.0);
    expectMusicThroughout(wav, 5.0, 175.0);
    // It ends on silence, not on a cut.
    EXPECT_LT(std::abs(wav.mono(wav.frames() - 1)), 0.001);
}

TEST(Soundtrack, SecondTrackChangesAlongTheWay) {
    // Sections, not one loop: the loudness of 10-second stretches spreads over
    // several dB between the quiet intro and breakdown and the drops.
    Wav wav = readWav("demo6/musics/newtune.wav");
    ASSERT_GE(wav.seconds(), 183.0);
    double quietest = 0.0, loudest = -200.0;
    for (std::size_t at = 0; at + 10 * 44100 <= 170u * 44100; at += 10 * 44100) {
        double db = rmsDb(wav, at, at + 10 * 44100);
        quietest = std::min(quietest, db);
        loudest = std::max(loudest, db);
    }
    EXPECT_GT(loudest - quietest, 3.0);
}
