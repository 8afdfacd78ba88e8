// The video recorder end to end: short clips at small sizes, checked with
// ffprobe, against the music tracks and against the offscreen render.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "offscreen_show.h"
#include "soundtrack.h"
#include "timeline/music_cues.h"
#include "wav_track.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;

// A scratch folder per test, removed afterwards.
struct Scratch {
    fs::path dir;
    Scratch() {
        char pattern[] = "/tmp/record_test_XXXXXX";
        dir = mkdtemp(pattern);
    }
    ~Scratch() { fs::remove_all(dir); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
        return names;
    }
};

std::string quoted(const std::string& text) { return "'" + text + "'"; }

struct Outcome {
    int status;
    std::string err;
};

// Runs the recorder (always on a private display) with `args`; `env` goes first.
Outcome record(const std::string& args, const Scratch& scratch, const std::string& env = "") {
    const fs::path err = scratch.dir / "stderr.txt";
    const std::string command =
        "env -u DISPLAY " + env + " " + RECORD_PROGRAM + " " + args + " 2>" + quoted(err) + " >/dev/null";
    const int status = std::system(command.c_str());
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    fs::remove(err);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

std::string output(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[65536];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
    return text;
}

std::string probe(const fs::path& video, const char* stream, const char* entries) {
    return output(std::string("ffprobe -v error -count_frames -select_streams ") + stream + " -show_entries stream=" +
                  entries + " -of default=noprint_wrappers=1 " + quoted(video));
}

// The decoded soundtrack's left channel, at the tracks' rate.
std::vector<double> decodedLeft(const fs::path& video) {
    const std::string raw = output("ffmpeg -v error -i " + quoted(video) + " -f s16le -ac 2 -ar 44100 -");
    std::vector<double> left(raw.size() / 4);
    for (std::size_t i = 0; i < left.size(); ++i) {
        std::int16_t sample;
        std::memcpy(&sample, raw.data() + i * 4, 2);
        left[i] = sample;
    }
    return left;
}

// Where `length` samples of the track from `trackAt` on lie in `decoded`,
// searched `reach` samples either side of `expected`: the lag of the best
// normalised correlation, and that correlation.
std::pair<long, double> locate(const std::vector<double>& decoded, long expected, const WavTrack& track,
                               std::size_t trackAt, long length, long reach) {
    long best = 0;
    double bestScore = -1.0;
    for (long lag = -reach; lag <= reach; ++lag) {
        double dot = 0.0, a2 = 0.0, b2 = 0.0;
        for (long i = 0; i < length; ++i) {
            const long at = expected + lag + i;
            if (at < 0 || at >= static_cast<long>(decoded.size())) continue;
            const double a = decoded[at], b = track.left((trackAt + i) % track.frames());
            dot += a * b;
            a2 += a * a;
            b2 += b * b;
        }
        const double score = dot / std::sqrt(a2 * b2 + 1e-9);
        if (score > bestScore) bestScore = score, best = lag;
    }
    return {best, bestScore};
}

std::string contents(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The recorder in a process group of its own, its standard error into `err`.
pid_t startRecorder(const std::string& args, const std::string& err, const std::string& env = "") {
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        const std::string command =
            "exec env -u DISPLAY " + env + " " + RECORD_PROGRAM + " " + args + " 2>" + quoted(err);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Ctrl+C on the recorder's whole process group (its X server too); its exit
// status, or -1 when it is still running `patience` seconds later (it is then
// killed).
int interrupt(pid_t pid, int patience) {
    kill(-pid, SIGINT);
    int status = 0;
    for (int i = 0; i < patience * 10; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        usleep(100000);
    }
    kill(-pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

}  // namespace

// 73 to 75.5 s at 10 fps: Tune1 loops from the show's start, and newtune
// replaces it on the first frame after 74 s, the one at 74.1 s.
TEST(Record, ClipAcrossTheMusicSwitch) {
    Scratch scratch;
    const fs::path video = scratch.dir / "switch.mp4";
    const Outcome run = record("--from 73 --to 75.5 --fps 10 --size 320x180 " + quoted(video), scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(scratch.entries(), std::vector<std::string>{"switch.mp4"}) << "no temporary file left";

    EXPECT_EQ(probe(video, "v:0", "codec_name,width,height,pix_fmt,r_frame_rate,nb_read_frames"),
              "codec_name=h264\nwidth=320\nheight=180\npix_fmt=yuv420p\nr_frame_rate=10/1\nnb_read_frames=25\n");
    EXPECT_EQ(probe(video, "a:0", "codec_name,sample_rate,channels"), "codec_name=aac\nsample_rate=44100\nchannels=2\n");

    WavTrack tune1, newtune;
    std::string error;
    ASSERT_TRUE(tune1.open(kFirstTrack, error)) << error;
    ASSERT_TRUE(newtune.open(kSecondTrack, error)) << error;
    const std::vector<double> decoded = decodedLeft(video);
    EXPECT_NEAR(static_cast<double>(decoded.size()) / kRate, 2.5, 0.03);

    // Lags are expected within a few milliseconds: the tracks are mixed
    // sample-exactly and the MP4's edit list hides the AAC encoder's delay.
    // One frame late or early (4410 samples) must show.
    constexpr long kTolerance = 256, kReach = 5000, kLength = 4096;
    // Tune1 at 73 s modulo its length, 0.05 s into the clip.
    const std::size_t tune1At = (73 * kRate + 2205) % tune1.frames();
    const auto [tune1Lag, tune1Score] = locate(decoded, 2205, tune1, tune1At, kLength, kReach);
    EXPECT_GT(tune1Score, 0.9);
    EXPECT_LE(std::abs(tune1Lag), kTolerance);
    // newtune from its first sample at 74.1 s, 1.1 s into the clip: the cut
    // from Tune1 makes the match unique.
    const auto [newtuneLag, newtuneScore] = locate(decoded, 48510, newtune, 0, kLength, kReach);
    EXPECT_GT(newtuneScore, 0.9);
    EXPECT_LE(std::abs(newtuneLag), kTolerance);
}

// The cues' stop-then-play, mid-wave, as the mixer renders it: what stops
// fades out over the 5 ms before the stop, and what starts begins on the
// stop's own sample with its first sample, unchanged.
TEST(Record, TheMixerFadesOutWhatAStopSilences) {
    Scratch scratch;
    auto writeSine = [&](const char* name, double hz) {
        std::vector<std::int16_t> pcm;
        for (int i = 0; i < kRate; ++i) pcm.insert(pcm.end(), 2, static_cast<std::int16_t>(20000.0 * std::sin(2.0 * M_PI * hz * i / kRate)));
        std::ofstream out(scratch.dir / name, std::ios::binary);
        const std::uint32_t header[] = {0x46464952, 36u + kRate * 4u, 0x45564157, 0x20746d66, 16, 0x00020001,
                                        kRate, kRate * 4u, 0x00100004, 0x61746164, kRate * 4u};
        out.write(reinterpret_cast<const char*>(header), sizeof header);
        out.write(reinterpret_cast<const char*>(pcm.data()), static_cast<std::streamsize>(pcm.size() * 2));
        return (scratch.dir / name).string();
    };
    const std::string low = writeSine("low.wav", 441.0), high = writeSine("high.wav", 330.0);
    WavTrack first, second;
    std::string error;
    ASSERT_TRUE(first.open(low, error)) << error;
    ASSERT_TRUE(second.open(high, error)) << error;
    const double cut = 0.50171;  // frame 22125: a quarter into a wave of the 441 Hz sine, at its crest
    SoundtrackMixer mixer({{0.0, low, true}, {cut, "", false}, {cut, high, true}, {0.8, "", false}}, 0.0,
                          {{low, &first}, {high, &second}});
    std::vector<std::int16_t> mixed(2 * kRate);
    mixer.mix(mixed.data(), kRate);

    int largest = 0;
    for (std::size_t i = 2; i < mixed.size(); ++i) largest = std::max(largest, std::abs(mixed[i] - mixed[i - 2]));
    EXPECT_LT(largest, 1500);  // a halt at the crest steps by 20000; the sines' own steps reach 1260
    const long at = std::lround(cut * kRate);
    EXPECT_LT(std::abs(mixed[2 * (at - 1)]), 500) << "the first track has faded out by the stop";
    EXPECT_GT(std::abs(mixed[2 * (at - 300)]), 5000) << "but not long before it";
    for (long i = 0; i < 1000; ++i) ASSERT_EQ(mixed[2 * (at + i)], second.left(static_cast<std::size_t>(i))) << i;
    EXPECT_EQ(mixed[2 * (kRate - 1)], 0);
}

// One frame at full size against the offscreen render of the same t: no
// flip, channel swap or shift on the way through the pixel buffers and ffmpeg.
TEST(Record, FrameMatchesTheOffscreenRender) {
    Scratch scratch;
    const fs::path video = scratch.dir / "frame.mp4";
    const Outcome run = record("--from 60 --to 60.05 --fps 20 " + quoted(video), scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string decoded =
        output("ffmpeg -v error -i " + quoted(video) + " -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
    constexpr int width = OffscreenShow::kWidth, height = OffscreenShow::kHeight;
    ASSERT_EQ(decoded.size(), static_cast<std::size_t>(width) * height * 3);

    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    host.render(60.0f, 60.0);
    // Per channel: the mean difference, and the largest difference of the
    // means of 8 x 8 blocks (yuv420p halves the chroma, so single pixels on
    // coloured edges may be far off; whole blocks may not).
    constexpr int block = 8;
    std::vector<double> blocks((width / block) * (height / block) * 3);
    double total = 0.0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto rendered = show.pixel(x, height - 1 - y);  // GL rows run bottom-up
            for (int c = 0; c < 3; ++c) {
                const int d = static_cast<unsigned char>(decoded[(y * width + x) * 3 + c]) - rendered[c];
                total += std::abs(d);
                blocks[((y / block) * (width / block) + x / block) * 3 + c] += d / double(block * block);
            }
        }
    double largest = 0.0;
    for (double d : blocks) largest = std::max(largest, std::abs(d));
    // Measured on Mesa llvmpipe, x264 veryfast at crf 18: mean 2.1, largest block 10.3.
    EXPECT_LT(total / (width * height * 3.0), 3.0);
    EXPECT_LT(largest, 20.0);
}

// Bad input and failures mid-way: one line on standard error, a non-zero
// status, and nothing under the output's name (nor any temporary file).
TEST(Record, FailuresLeaveNothing) {
    Scratch scratch;
    const std::string out = quoted((scratch.dir / "out.mp4").string());
    for (const std::string& args :
         {"--from 80 --to 70 " + out, "--from -1 " + out, "--to 296 " + out, "--fps 0 " + out, "--fps -5 " + out,
          "--size 320 " + out, "--size 321x180 " + out, "--bogus 1 " + out, std::string("--fps 10"),
          "--to 1 " + quoted((scratch.dir / "missing" / "out.mp4").string())}) {
        const Outcome run = record(args, scratch);
        EXPECT_NE(run.status, 0) << args;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << args << ": " << run.err;
        EXPECT_TRUE(scratch.entries().empty()) << args;
    }

    // ffmpeg missing, and ffmpeg failing after a few frames: the X server
    // stays on the PATH, ffmpeg is absent or a stand-in that gives up.
    const fs::path bin = scratch.dir / ".." / (scratch.dir.filename().string() + "_bin");
    fs::create_directories(bin);
    fs::create_symlink("/usr/bin/Xvfb", bin / "Xvfb");
    const std::string path = "PATH=" + quoted(bin.string());
    Outcome run = record("--to 1 --size 64x36 " + out, scratch, path);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("ffmpeg not found"), std::string::npos) << run.err;
    EXPECT_TRUE(scratch.entries().empty());

    std::ofstream(bin / "ffmpeg") << "#!/bin/sh\nhead -c 10000000 >/dev/null\nexit 1\n";
    fs::permissions(bin / "ffmpeg", fs::perms::owner_all);
    run = record("--from 100 --to 101 --fps 10 --size 64x36 " + out, scratch, path + ":/usr/bin:/bin");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("ffmpeg failed (exit status 1)"), std::string::npos) << run.err;
    EXPECT_TRUE(scratch.entries().empty());
    fs::remove_all(bin);
}

// Ctrl+C: the recorder stops, says so, and removes what it had written.
TEST(Record, InterruptLeavesNothing) {
    Scratch scratch;
    const std::string err = (scratch.dir / ".." / (scratch.dir.filename().string() + ".err")).string();
    const pid_t pid = startRecorder("--to 30 --fps 10 --size 64x36 " + quoted((scratch.dir / "out.mp4").string()), err);
    // Wait for the first frames, then interrupt.
    for (int i = 0; i < 300 && contents(err).find("frames") == std::string::npos; ++i) usleep(100000);
    const int status = interrupt(pid, 60);
    const std::string text = contents(err);
    fs::remove(err);
    EXPECT_EQ(status, 128 + SIGINT) << text;
    EXPECT_NE(text.find("stopped by signal"), std::string::npos) << text;
    EXPECT_TRUE(scratch.entries().empty());
}

// Ctrl+C while a frame is half written to an ffmpeg that has stopped reading:
// the frame loop waits on the writer, the writer on the pipe. The recorder
// must still end at once, as for any Ctrl+C, with ffmpeg gone and nothing left.
TEST(Record, InterruptInTheMiddleOfAWrite) {
    Scratch scratch;
    const fs::path bin = scratch.dir / ".." / (scratch.dir.filename().string() + "_stuck");
    fs::create_directories(bin);
    const std::string ffmpegPid = (bin / "pid").string();
    // The stand-in holds both pipes open and reads nothing.
    std::ofstream(bin / "ffmpeg") << "#!/bin/sh\necho $$ >" << quoted(ffmpegPid) << "\nexec sleep 600\n";
    fs::permissions(bin / "ffmpeg", fs::perms::owner_all);
    const std::string err = (bin / "err").string();
    const pid_t pid = startRecorder("--from 100 --to 130 --fps 10 --size 64x36 " +
                                        quoted((scratch.dir / "out.mp4").string()),
                                    err, "PATH=" + quoted(bin.string()) + ":/usr/bin:/bin");
    for (int i = 0; i < 1200 && contents(ffmpegPid).empty(); ++i) usleep(100000);
    ASSERT_FALSE(contents(ffmpegPid).empty()) << contents(err);
    // A few frames: the first fills the pipe, the next ones wait behind it.
    sleep(3);
    const int status = interrupt(pid, 30);
    const pid_t stuck = std::stoi(contents(ffmpegPid));
    const bool stuckAlive = kill(stuck, 0) == 0;
    if (stuckAlive) kill(stuck, SIGKILL);
    const std::string text = contents(err);
    fs::remove_all(bin);
    EXPECT_EQ(status, 128 + SIGINT) << "-1: still running 30 s after Ctrl+C\n" << text;
    EXPECT_NE(text.find("stopped by signal"), std::string::npos) << text;
    EXPECT_FALSE(stuckAlive) << "ffmpeg outlived the recorder";
    EXPECT_TRUE(scratch.entries().empty());
}
