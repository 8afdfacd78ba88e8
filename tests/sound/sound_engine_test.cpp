// The show's own engine (the static `showSoundEngine`) on SDL's test drivers.
// Each suite runs in its own process, with the driver named in the
// environment before static initialisation opens the device:
// - DiskDriver: SDL_AUDIODRIVER=disk, SDL_DISKAUDIOFILE=<file>; the file
//   receives what the mixer plays, at real-time pace;
// - DiskDriverClosed: the same driver, for the engine's close() alone;
// - NoDevice: SDL_AUDIODRIVER names a driver that does not exist.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "runtime/sdl_sound_engine.h"

namespace {

namespace fs = std::filesystem;

void put(std::ofstream& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xff));
}

// Interleaved stereo samples as a WAV in the device's own format (44.1 kHz,
// 16-bit), so the mixer copies them through unchanged.
void writeWav(const fs::path& path, const std::vector<int16_t>& pcm) {
    const int frames = static_cast<int>(pcm.size() / 2);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put(out, 36 + frames * 4, 4);
    out.write("WAVEfmt ", 8);
    put(out, 16, 4);
    put(out, 1, 2);
    put(out, 2, 2);
    put(out, 44100, 4);
    put(out, 44100 * 4, 4);
    put(out, 4, 2);
    put(out, 16, 2);
    out.write("data", 4);
    put(out, frames * 4, 4);
    out.write(reinterpret_cast<const char*>(pcm.data()), static_cast<std::streamsize>(pcm.size() * 2));
}

// A recognisable stereo WAV in the device's own format (so the mixer copies
// it through unchanged): a 441 Hz tone whose left channel also counts the
// frames, so every stretch of it is unique.
std::vector<int16_t> writeTone(const fs::path& path, int frames) {
    std::vector<int16_t> pcm;
    for (int i = 0; i < frames; ++i) {
        pcm.push_back(static_cast<int16_t>(1000 + i % 20000));
        pcm.push_back(static_cast<int16_t>(12000.0 * std::sin(2.0 * 3.14159265358979 * 441.0 * i / 44100.0)));
    }
    writeWav(path, pcm);
    return pcm;
}

// A sine on both channels, from its zero crossing, in the device's format.
void writeSine(const fs::path& path, int frames, double hz) {
    std::vector<int16_t> pcm;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < 2; ++c)
            pcm.push_back(static_cast<int16_t>(20000.0 * std::sin(2.0 * 3.14159265358979 * hz * i / 44100.0)));
    writeWav(path, pcm);
}

// What the disk driver wrote from byte `from` on, as 16-bit samples.
std::vector<int16_t> recordedSince(std::uintmax_t from) {
    std::ifstream in(std::getenv("SDL_DISKAUDIOFILE"), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<int16_t> samples(bytes.size() / 2);
    std::copy_n(reinterpret_cast<const int16_t*>(bytes.data()), samples.size(), samples.begin());
    return samples;
}

std::uintmax_t recordedBytes() { return fs::file_size(std::getenv("SDL_DISKAUDIOFILE")); }

// Waits until the driver has written `ms` milliseconds of sound past byte
// `from` (the driver is paced in real time, but a loaded machine may lag), and
// returns where that stretch ends. Gives up after ten seconds.
std::uintmax_t waitForOutput(std::uintmax_t from, int ms) {
    const std::uintmax_t until = from + static_cast<std::uintmax_t>(ms) * 44100 / 1000 * 4;
    for (int i = 0; i < 1000 && recordedBytes() < until; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return recordedBytes();
}

// How often the first 256 frames of `tone` occur in `recorded`.
int occurrences(const std::vector<int16_t>& recorded, const std::vector<int16_t>& tone) {
    const auto head = tone.begin() + 512;
    int count = 0;
    for (auto at = recorded.begin();; ++at) {
        at = std::search(at, recorded.end(), tone.begin(), head);
        if (at == recorded.end()) return count;
        ++count;
    }
}

class DiskDriver : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("show_sound_" + std::to_string(::getpid()));
    fs::path shortTone = dir / "short.wav";
    std::vector<int16_t> tone;

    void SetUp() override {
        ASSERT_NE(std::getenv("SDL_DISKAUDIOFILE"), nullptr) << "run with SDL_AUDIODRIVER=disk";
        ASSERT_TRUE(showSoundEngine.available());
        fs::create_directories(dir);
        tone = writeTone(shortTone, 8820);  // 0.2 s
    }
    void TearDown() override {
        showSoundEngine.stopAll();
        fs::remove_all(dir);
    }
};

}  // namespace

TEST_F(DiskDriver, AStartedTrackIsPlayedSampleForSample) {
    const auto from = recordedBytes();
    showSoundEngine.play(shortTone.string().c_str(), false);
    waitForOutput(from, 700);
    std::vector<int16_t> recorded = recordedSince(from);
    auto at = std::search(recorded.begin(), recorded.end(), tone.begin(), tone.end());
    ASSERT_NE(at, recorded.end()) << "the whole track was not found in the output";
    // Played once: silence after it.
    EXPECT_EQ(occurrences(recorded, tone), 1);
    EXPECT_TRUE(std::all_of(at + static_cast<long>(tone.size()), recorded.end(), [](int16_t s) { return s == 0; }));
}

TEST_F(DiskDriver, ALoopedTrackGoesOnPastItsEnd) {
    const auto from = recordedBytes();
    showSoundEngine.play(shortTone.string().c_str(), true);
    waitForOutput(from, 1100);  // five and a half times the track
    EXPECT_GE(occurrences(recordedSince(from), tone), 4);
}

TEST_F(DiskDriver, StopAllSilencesWhatPlays) {
    showSoundEngine.play(shortTone.string().c_str(), true);
    waitForOutput(recordedBytes(), 300);
    showSoundEngine.stopAll();
    // Let the buffers already mixed drain (a few 23 ms device periods).
    const auto from = waitForOutput(recordedBytes(), 150);
    waitForOutput(from, 400);
    std::vector<int16_t> after = recordedSince(from);
    ASSERT_GT(after.size(), 10000u) << "the device stopped writing";
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](int16_t s) { return s == 0; }));
}

TEST_F(DiskDriver, StoppingFadesOutInsteadOfStepping) {
    // Loud sines, stopped mid-wave as the cues do it: stop then play in the
    // same frame, later a stop alone. A halt leaves a step of up to 20000; a
    // 5 ms fade adds less than 200 to the sines' own steps (at most 1260).
    const fs::path low = dir / "low.wav", high = dir / "high.wav";
    writeSine(low, 44100, 441.0);
    writeSine(high, 44100, 330.0);
    const auto from = recordedBytes();
    showSoundEngine.play(low.string().c_str(), true);
    waitForOutput(from, 310);
    showSoundEngine.stopAll();
    showSoundEngine.play(high.string().c_str(), true);
    waitForOutput(recordedBytes(), 290);
    showSoundEngine.stopAll();
    waitForOutput(recordedBytes(), 150);
    const std::vector<int16_t> recorded = recordedSince(from);
    int largest = 0;
    std::size_t at = 0;
    for (std::size_t i = 2; i < recorded.size(); ++i)
        if (std::abs(recorded[i] - recorded[i - 2]) > largest) largest = std::abs(recorded[i] - recorded[i - 2]), at = i / 2;
    EXPECT_LT(largest, 1500) << "a step at frame " << at << " of " << recorded.size() / 2;
    // Both tracks did play, loud, and silence followed.
    EXPECT_GT(*std::max_element(recorded.begin(), recorded.end()), 19000);
    EXPECT_EQ(recorded.back(), 0);
}

TEST_F(DiskDriver, ANewTrackReplacesTheOneThatPlays) {
    fs::path other = dir / "other.wav";
    std::vector<int16_t> second = writeTone(other, 4410);
    for (std::size_t i = 0; i < second.size(); i += 2) second[i] = static_cast<int16_t>(-second[i]);
    {
        std::ofstream out(other, std::ios::binary | std::ios::in);
        out.seekp(44);
        out.write(reinterpret_cast<const char*>(second.data()), static_cast<std::streamsize>(second.size() * 2));
    }
    showSoundEngine.play(shortTone.string().c_str(), true);
    waitForOutput(recordedBytes(), 300);
    showSoundEngine.play(other.string().c_str(), true);
    const auto from = waitForOutput(recordedBytes(), 150);
    waitForOutput(from, 500);
    std::vector<int16_t> recorded = recordedSince(from);
    EXPECT_GE(occurrences(recorded, second), 3);
    EXPECT_EQ(occurrences(recorded, tone), 0);
}

TEST_F(DiskDriver, MissingOrBrokenFilesPlayNothingAndBreakNothing) {
    fs::path garbage = dir / "garbage.wav", truncated = dir / "truncated.wav", empty = dir / "empty.wav";
    std::ofstream(garbage, std::ios::binary) << std::string(5000, '\x7f');
    {
        // A valid header that promises far more data than the file holds.
        std::ifstream in(shortTone, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(truncated, std::ios::binary).write(bytes.data(), 44 + 1000);
    }
    std::ofstream(empty, std::ios::binary).flush();

    testing::internal::CaptureStdout();
    for (const fs::path& p : {dir / "no-such.wav", garbage, truncated, empty}) {
        showSoundEngine.play(p.string().c_str(), true);
        showSoundEngine.play(p.string().c_str(), false);
        showSoundEngine.stopAll();
    }
    waitForOutput(recordedBytes(), 100);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // The engine is still good for the next track.
    const auto from = recordedBytes();
    showSoundEngine.play(shortTone.string().c_str(), false);
    waitForOutput(from, 600);
    EXPECT_EQ(occurrences(recordedSince(from), tone), 1);
}

TEST_F(DiskDriver, AlsaStillReportsItsErrorsOnceADeviceIsOpen) {
    // The engine quiets ALSA only while it looks for a device.
    testing::internal::CaptureStderr();
    snd_pcm_t* pcm = nullptr;
    EXPECT_LT(snd_pcm_open(&pcm, "no-such-pcm", SND_PCM_STREAM_PLAYBACK, 0), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ALSA lib"), std::string::npos);
}

// Run in a process of its own: the engine is absent afterwards.
TEST(DiskDriverClosed, ClosingFadesOutWhatPlaysBeforeItReturns) {
    // What the show does at its end: close() returns once the fade has gone
    // out, so the process can end without a step in the sound.
    ASSERT_TRUE(showSoundEngine.available());
    const fs::path dir = fs::temp_directory_path() / ("show_sound_close_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    writeSine(dir / "sine.wav", 44100, 441.0);
    const auto from = recordedBytes();
    showSoundEngine.play((dir / "sine.wav").string().c_str(), true);
    waitForOutput(from, 300);
    showSoundEngine.close();
    const std::vector<int16_t> recorded = recordedSince(from);
    fs::remove_all(dir);
    EXPECT_FALSE(showSoundEngine.available());
    ASSERT_GT(recorded.size(), 2u * 4410);
    int largest = 0;
    for (std::size_t i = 2; i < recorded.size(); ++i) largest = std::max(largest, std::abs(recorded[i] - recorded[i - 2]));
    EXPECT_LT(largest, 1500);
    // It ends on silence: the last 10 ms written before close() returned.
    EXPECT_TRUE(std::all_of(recorded.end() - 882, recorded.end(), [](int16_t s) { return s == 0; }));
}

TEST(NoDevice, TheEngineIsAbsentAndEveryCallIsHarmless) {
    EXPECT_FALSE(showSoundEngine.available());
    testing::internal::CaptureStdout();
    bool musicCueFlag = false;
    musicCueStart(showSoundEngine, musicCueFlag);
    EXPECT_TRUE(musicCueFlag);
    musicCueSwitch(showSoundEngine, musicCueFlag, 74.5f);
    EXPECT_FALSE(musicCueFlag);
    musicCueReturn(showSoundEngine, musicCueFlag);
    EXPECT_TRUE(musicCueFlag);
    showSoundEngine.stopAll();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // A second engine made later with the same (missing) driver is absent too,
    // so a failed open leaves SDL in a state that can be tried again.
    // It says so once, on standard error, with SDL's reason.
    testing::internal::CaptureStderr();
    SdlSoundEngine another;
    EXPECT_FALSE(another.available());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "No sound device (Audio target 'no-such-driver' not available): the show plays silently.\n");
}
