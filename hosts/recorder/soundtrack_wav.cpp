// Writes the soundtrack the recorder mixes for a stretch of the show into a
// 16-bit stereo WAV file, without drawing a frame: the cue links make no GL
// call, so no display and no resources are needed. For
// measuring what the show's cuts sound like (tools/music/measure). Prints the
// cues' calls, one a line: "<t> stop" or "<t> play <path> looped|once".
//   soundtrack_wav [--from S] [--to S] [--fps N] [--run-dir DIR] OUT.wav
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <vector>

#include <unistd.h>

#include "record_options.h"
#include "soundtrack.h"

namespace {

void put(std::ofstream& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xff));
}

void writeHeader(std::ofstream& out, int rate, std::uint32_t frames) {
    out.write("RIFF", 4);
    put(out, 36 + frames * 4, 4);
    out.write("WAVEfmt ", 8);
    put(out, 16, 4);
    put(out, 1, 2);  // PCM
    put(out, 2, 2);
    put(out, static_cast<std::uint32_t>(rate), 4);
    put(out, static_cast<std::uint32_t>(rate) * 4, 4);
    put(out, 4, 2);
    put(out, 16, 2);
    out.write("data", 4);
    put(out, frames * 4, 4);
}

int fail(const std::string& why) {
    std::cerr << "soundtrack_wav: " << why << std::endl;
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const std::optional<RecordOptions> parsed = parseRecordOptions(argc - 1, argv + 1, error);
    if (!parsed) return fail(error);
    const RecordOptions& options = *parsed;
    std::ofstream out(options.out, std::ios::binary);
    if (!out) return fail("cannot write " + options.out);
    if (!options.runDir.empty() && chdir(options.runDir.c_str()) != 0)
        return fail("cannot enter " + options.runDir + ": " + std::strerror(errno));

    ShowTracks tracks;
    if (!tracks.open(error)) return fail(error);
    std::vector<SoundEvent> events = recordCueEvents(options);
    for (const SoundEvent& e : events)
        std::printf("%.6f %s\n", e.t, e.path.empty() ? "stop" : ("play " + e.path + (e.looped ? " looped" : " once")).c_str());
    SoundtrackMixer mixer(std::move(events), options.from, tracks.byPath());
    const auto frames = static_cast<std::uint32_t>(clipSamples(options, tracks.rate()));
    writeHeader(out, tracks.rate(), frames);
    std::vector<std::int16_t> chunk(2 * 4096);
    for (std::uint32_t done = 0; done < frames;) {
        const std::uint32_t count = std::min<std::uint32_t>(4096, frames - done);
        mixer.mix(chunk.data(), count);
        out.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(count * 4));
        done += count;
    }
    return out ? 0 : fail("cannot write " + options.out);
}
