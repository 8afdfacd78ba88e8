#pragma once
// The recorder's command line: what to record and where.
#include <optional>
#include <string>

#include "show_facts.h"

struct RecordOptions {
    double from = 0.0;   // show seconds of the first frame
    double to = kShowEnd;  // frames run while t < to
    int fps = 60;
    int width = kScreenWidth;  // size of the video; the show is drawn at the screen size
    int height = kScreenHeight;
    int crf = 18;        // x264 quality: 0 lossless .. 51 worst
    std::string runDir;  // where the show's data lies ("" = working directory)
    std::string out;
};

inline constexpr const char* kRecordUsage =
    "usage: record [--from S] [--to S] [--fps N] [--size WxH] [--crf N] [--run-dir DIR] OUT.mp4";

// Parses and checks the arguments (without argv[0]). On a bad argument returns
// nothing and sets `error` to one line saying what is wrong.
std::optional<RecordOptions> parseRecordOptions(int argc, char** argv, std::string& error);

// Frame k shows t = from + k / fps, for every k with t < to.
double frameTime(const RecordOptions& options, long k);
long frameCount(const RecordOptions& options);
// How many sample frames at `rate` the clip's frames last.
long long clipSamples(const RecordOptions& options, int rate);
