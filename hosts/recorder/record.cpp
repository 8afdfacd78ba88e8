// Records the show to an MP4 file with its soundtrack, frame-exact: frame k
// shows t = from + k / fps, however fast the machine renders. The frames come
// from the show's own frame code through the offscreen harness.
//   record [--from S] [--to S] [--fps N] [--size WxH] [--crf N] [--run-dir DIR] OUT.mp4
// Data paths are relative, as in the show: run it from the run directory or
// name that with --run-dir. Without DISPLAY it draws on a private Xvfb.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "encoder.h"
#include "frame_stream.h"
#include "offscreen_show.h"
#include "progress.h"
#include "render/gl.h"
#include "record_options.h"
#include "soundtrack.h"
#include "timeline/music_cues.h"

namespace {

// Set by the handler on whichever thread the signal lands, read by the frame
// loop and the sound thread: lock-free atomics, safe in a handler and across
// threads.
std::atomic<int> caught{0};
// ffmpeg while it runs unreaped: the handler kills it, so that a writer
// blocked on a full pipe fails at once instead of holding the frame loop.
std::atomic<pid_t> ffmpegToKill{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free);

void onStopSignal(int signal) {
    caught = signal;
    if (const pid_t pid = ffmpegToKill.load(); pid > 0) kill(pid, SIGKILL);
}
int stopSignal() { return caught.load(); }

// What a run that does not finish must not leave behind: ffmpeg and the
// half-written file. Also run at exit, for exits from inside the harness.
Encoder encoder;
std::string partialPath;
void removePartial() {
    ffmpegToKill = 0;  // reaped below: its id may go to another process
    killEncoder(encoder);
    if (!partialPath.empty()) unlink(partialPath.c_str());
    partialPath.clear();
}

int fail(const std::string& why) {
    removePartial();
    std::cerr << "record: " << why << std::endl;
    return 1;
}

// A hidden file beside `out`, so the final rename stays on one file system.
bool createPartial(const std::filesystem::path& out, std::string& error) {
    struct stat info {};
    if (stat(out.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = "cannot write " + out.string() + ": it is a directory";
        return false;
    }
    std::string pattern = (out.parent_path() / ("." + out.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        error = "cannot write " + out.string() + ": " + std::strerror(errno);
        return false;
    }
    // mkstemp makes it private; the video gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    partialPath = pattern;
    return true;
}

// Streams the mixed soundtrack down ffmpeg's audio pipe, then closes it.
void writeSoundtrack(SoundtrackMixer& mixer, long long samples, int fd) {
    std::vector<std::int16_t> chunk(2 * 4096);
    for (long long done = 0; done < samples && stopSignal() == 0;) {
        const auto count = static_cast<std::size_t>(std::min<long long>(4096, samples - done));
        mixer.mix(chunk.data(), count);
        const char* bytes = reinterpret_cast<const char*>(chunk.data());
        for (std::size_t left = count * 4; left > 0;) {
            const ssize_t written = write(fd, bytes, left);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                close(fd);
                return;
            }
            bytes += written;
            left -= static_cast<std::size_t>(written);
        }
        done += static_cast<long long>(count);
    }
    close(fd);
}

double perSecond(long frames, double seconds) { return seconds > 0.0 ? static_cast<double>(frames) / seconds : 0.0; }

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const std::optional<RecordOptions> parsed = parseRecordOptions(argc - 1, argv + 1, error);
    if (!parsed) {
        std::cerr << "record: " << error << " (" << kRecordUsage << ")" << std::endl;
        return 2;
    }
    const RecordOptions& options = *parsed;
    const std::filesystem::path out = std::filesystem::absolute(options.out);

    std::signal(SIGPIPE, SIG_IGN);  // a write to a dead ffmpeg fails instead
    // Inherited as ignored, SIGCHLD would have ffmpeg reaped unseen, and with
    // it the status that says whether the video is whole.
    std::signal(SIGCHLD, SIG_DFL);
    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    stop.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &stop, nullptr);
    std::atexit(removePartial);

    if (!createPartial(out, error)) return fail(error);
    if (!options.runDir.empty() && chdir(options.runDir.c_str()) != 0)
        return fail("cannot enter " + options.runDir + ": " + std::strerror(errno));

    ShowTracks tracks;
    if (!tracks.open(error)) return fail(error);

    OffscreenShow& show = OffscreenShow::instance(std::getenv("DISPLAY") == nullptr);
    if (!show.startupOutput().empty()) std::cerr << "record: start-up said:\n" << show.startupOutput();
    SilentHost host(show);  // silent: the soundtrack is mixed from the cues
    const auto finish = glExtras().glFinish;

    const long frames = frameCount(options);
    SoundtrackMixer mixer(recordCueEvents(options), options.from, tracks.byPath());
    const long long samples = clipSamples(options, tracks.rate());

    if (!startEncoder(options, tracks.rate(), partialPath, encoder, error)) return fail(error);
    ffmpegToKill = encoder.pid;
    std::thread sound([&mixer, samples, fd = encoder.audio] { writeSoundtrack(mixer, samples, fd); });
    encoder.audio = -1;  // the sound thread closes it when done

    struct rusage atStart {};
    getrusage(RUSAGE_SELF, &atStart);
    const double cpuAtStart = cpuSeconds(atStart);  // start-up and the cue pass are not frames
    Progress progress(frames);
    bool streamed = false;
    double rendered = 0.0, readBack = 0.0, written = 0.0;  // seconds spent per stage
    {
        FrameStream stream(encoder.video);
        bool ok = true;
        for (long k = 0; k < frames && ok && stopSignal() == 0; ++k) {
            const double t = frameTime(options, k);
            const auto start = std::chrono::steady_clock::now();
            host.draw(static_cast<float>(t), t);
            finish();
            rendered += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            ok = stream.push();
            progress.frameDone();
        }
        streamed = ok && stopSignal() == 0 && stream.finish();
        readBack = stream.readBackSeconds();
        written = stream.writeSeconds();
        // Stopped, the handler has killed ffmpeg: the writer's last write
        // fails, and the stream's end waits for it before it frees the buffers.
    }
    progress.close();
    ffmpegToKill = 0;  // reaped from here on
    if (stopSignal() != 0) killEncoder(encoder);
    // ffmpeg reads both pipes in step: it must see the video's end before
    // the sound thread can be waited for.
    closeVideo(encoder);
    sound.join();

    const bool encoded = finishEncoder(encoder, error);
    if (stopSignal() != 0) {
        fail("stopped by signal " + std::to_string(stopSignal()) + "; nothing written");
        return 128 + stopSignal();
    }
    if (!encoded) return fail(error + "; nothing written");
    if (!streamed) return fail("ffmpeg stopped reading frames; nothing written");
    if (std::rename(partialPath.c_str(), out.c_str()) != 0)
        return fail("cannot write " + out.string() + ": " + std::strerror(errno));
    partialPath.clear();

    // Wall-clock rates of each stage (they overlap, so the slowest one sets the
    // pace), and processor time per frame: on a shared machine the latter
    // says more about what a frame costs.
    const double elapsed = progress.elapsedSeconds();
    struct rusage self {};
    getrusage(RUSAGE_SELF, &self);
    std::fprintf(stderr,
                 "record: wrote %s: %ld frames of %dx%d at %d fps in %s, %.1f fps end to end\n"
                 "record: stages: render %.1f fps, read-back %.1f fps, encode (to YUV, pipe to ffmpeg, x264 %s) %.1f fps\n"
                 "record: processor time per frame: recorder %.0f ms, ffmpeg %.0f ms\n",
                 out.c_str(), frames, options.width, options.height, options.fps, clockText(elapsed).c_str(),
                 perSecond(frames, elapsed), perSecond(frames, rendered), perSecond(frames, readBack),
                 kX264Preset, perSecond(frames, written), 1e3 * (cpuSeconds(self) - cpuAtStart) / frames,
                 1e3 * encoder.cpuSeconds / frames);
    return 0;
}
