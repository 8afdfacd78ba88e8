#include "record_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool parseSeconds(const char* text, double& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return *text != '\0' && *end == '\0' && errno == 0 && std::isfinite(value);
}

bool parseInt(const char* text, long low, long high, int& value) {
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || errno != 0 || parsed < low || parsed > high) return false;
    value = static_cast<int>(parsed);
    return true;
}

// "WxH", both even (the video's chroma is subsampled by two) and 16..8192.
bool parseSize(const char* text, int& width, int& height) {
    const char* x = std::strchr(text, 'x');
    if (x == nullptr) return false;
    const std::string w(text, x);
    return parseInt(w.c_str(), 16, 8192, width) && parseInt(x + 1, 16, 8192, height) && width % 2 == 0 &&
           height % 2 == 0;
}

}  // namespace

std::optional<RecordOptions> parseRecordOptions(int argc, char** argv, std::string& error) {
    RecordOptions options;
    for (int i = 0; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag.size() > 1 && flag[0] == '-') {
            if (i + 1 >= argc) {
                error = flag + " needs a value";
                return std::nullopt;
            }
            const char* value = argv[++i];
            bool ok = true;
            if (flag == "--from") ok = parseSeconds(value, options.from);
            else if (flag == "--to") ok = parseSeconds(value, options.to);
            else if (flag == "--fps") ok = parseInt(value, 1, 1000, options.fps);
            else if (flag == "--size") ok = parseSize(value, options.width, options.height);
            else if (flag == "--crf") ok = parseInt(value, 0, 51, options.crf);
            else if (flag == "--run-dir") options.runDir = value;
            else {
                error = "unknown option " + flag;
                return std::nullopt;
            }
            if (!ok) {
                const char* expected = flag == "--fps"    ? "a whole number from 1 to 1000"
                                       : flag == "--size" ? "WxH, even numbers from 16 to 8192"
                                       : flag == "--crf"  ? "a whole number from 0 to 51"
                                                          : "a number of seconds";
                error = flag + " " + value + ": expected " + expected;
                return std::nullopt;
            }
        } else if (options.out.empty()) {
            options.out = flag;
        } else {
            error = "more than one output file: " + options.out + " and " + flag;
            return std::nullopt;
        }
    }
    if (options.out.empty()) error = "no output file given";
    else if (options.from < 0.0 || options.to < 0.0) error = "times must not be negative";
    else if (options.to > kShowEnd)
        error = "--to must not be past the end of the show (" + std::to_string(int(kShowEnd)) + " s)";
    else if (options.from >= options.to) error = "--from must be below --to";
    if (!error.empty()) return std::nullopt;
    return options;
}

double frameTime(const RecordOptions& options, long k) {
    return options.from + static_cast<double>(k) / options.fps;
}

long frameCount(const RecordOptions& options) {
    long k = 0;
    while (frameTime(options, k) < options.to) ++k;
    return k;
}

long long clipSamples(const RecordOptions& options, int rate) {
    return std::llround(static_cast<double>(frameCount(options)) / options.fps * rate);
}
