#include "encoder.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "offscreen_show.h"

extern char** environ;

namespace {

void closeFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

std::vector<std::string> ffmpegArguments(const RecordOptions& options, int audioRate, const std::string& path) {
    constexpr int width = OffscreenShow::kWidth, height = OffscreenShow::kHeight;
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    std::vector<std::string> args = {
        "ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-y",
        "-f", "rawvideo", "-pix_fmt", "yuv420p", "-video_size", size, "-framerate", std::to_string(options.fps),
        "-i", "pipe:0",
        "-f", "s16le", "-ar", std::to_string(audioRate), "-ac", "2", "-i", "pipe:3",
        "-map", "0:v", "-map", "1:a"};
    // The show is drawn at 1920 x 1080; other sizes are scaled from it.
    if (options.width != width || options.height != height)
        args.insert(args.end(), {"-vf", "scale=" + std::to_string(options.width) + ":" +
                                            std::to_string(options.height) + ":flags=lanczos"});
    args.insert(args.end(), {"-c:v", "libx264", "-preset", kX264Preset, "-crf", std::to_string(options.crf),
                             "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "192k", "-movflags", "+faststart",
                             "-f", "mp4", path});
    return args;
}

}  // namespace

double cpuSeconds(const struct rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

bool startEncoder(const RecordOptions& options, int audioRate, const std::string& path, Encoder& encoder,
                  std::string& error) {
    int video[2], audio[2];
    // Close-on-exec, so that no other child (the X server) holds a write end
    // open and keeps ffmpeg waiting for more.
    if (pipe2(video, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    if (pipe2(audio, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        close(video[0]);
        close(video[1]);
        return false;
    }
    // Larger pipes: fewer wake-ups per 8 MB frame. Best effort.
    fcntl(video[1], F_SETPIPE_SZ, 1 << 20);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, video[0], 0);
    posix_spawn_file_actions_adddup2(&actions, audio[0], 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    // The recorder ignores SIGPIPE; ffmpeg gets the default back.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGHUP);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> args = ffmpegArguments(options, audioRate, path);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int spawned = posix_spawnp(&encoder.pid, "ffmpeg", &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(video[0]);
    close(audio[0]);
    if (spawned != 0) {
        encoder.pid = -1;
        close(video[1]);
        close(audio[1]);
        error = spawned == ENOENT ? "ffmpeg not found (install Debian's ffmpeg package)"
                                  : std::string("cannot start ffmpeg: ") + std::strerror(spawned);
        return false;
    }
    encoder.video = video[1];
    encoder.audio = audio[1];
    return true;
}

void closeVideo(Encoder& encoder) { closeFd(encoder.video); }

bool finishEncoder(Encoder& encoder, std::string& error) {
    closeFd(encoder.video);
    closeFd(encoder.audio);
    if (encoder.pid <= 0) {
        error = "ffmpeg was stopped";
        return false;
    }
    int status = 0;
    struct rusage usage {};
    pid_t waited;
    while ((waited = wait4(encoder.pid, &status, 0, &usage)) < 0 && errno == EINTR) {
    }
    encoder.pid = -1;
    // Without ffmpeg's own word (its status already reaped elsewhere, e.g.
    // under an ignored SIGCHLD) nothing says the file is whole.
    if (waited < 0) {
        error = std::string("cannot learn how ffmpeg ended: ") + std::strerror(errno);
        return false;
    }
    encoder.cpuSeconds = cpuSeconds(usage);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    error = WIFSIGNALED(status) ? "ffmpeg was killed by signal " + std::to_string(WTERMSIG(status))
                                : "ffmpeg failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    return false;
}

void killEncoder(Encoder& encoder) {
    if (encoder.pid > 0) {
        kill(encoder.pid, SIGKILL);
        while (waitpid(encoder.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    encoder.pid = -1;
}
