#pragma once
// ffmpeg as a process of its own, fed through two pipes: raw YUV 4:2:0 frames,
// top row first, on its standard input, and 16-bit stereo PCM on descriptor 3.
// It writes H.264 (yuv420p) and AAC into an MP4 with the index up front.
#include <string>

#include <sys/resource.h>
#include <sys/types.h>

#include "record_options.h"

// The x264 preset. On the show's flat colours and sharp text, veryfast costs
// ffmpeg less processor time a frame than a heavy frame takes to render in
// software (the recorder hands it yuv420p already), and its files are about a
// third the size of superfast's; ultrafast saves little time for files four
// to five times larger. The measured figures are in docs/performance.md.
inline constexpr const char* kX264Preset = "veryfast";

struct Encoder {
    pid_t pid = -1;
    int video = -1;  // write ends, owned
    int audio = -1;
    double cpuSeconds = 0.0;  // ffmpeg's user and system time, once finished
};

// Starts ffmpeg writing `path`, in a process group of its own so that a
// Ctrl+C on the terminal reaches only the recorder, which then stops it.
// Returns false with a reason when ffmpeg cannot be started.
bool startEncoder(const RecordOptions& options, int audioRate, const std::string& path, Encoder& encoder,
                  std::string& error);

// Closes the video pipe: the end of the frames.
void closeVideo(Encoder& encoder);

// Closes the pipes still open and waits for ffmpeg. Returns true when it
// finished well; false, with the reason, when it failed or was killed.
bool finishEncoder(Encoder& encoder, std::string& error);

// Kills ffmpeg and reaps it, so that writes to its pipes fail at once; the
// pipes stay open until finishEncoder (threads may still be writing to them)
// and its file is the caller's to remove. Safe to call at any time.
void killEncoder(Encoder& encoder);

// User plus system seconds of a resource usage report.
double cpuSeconds(const struct rusage& usage);
