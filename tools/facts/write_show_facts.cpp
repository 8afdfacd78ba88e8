// Writes the show's facts that code in other languages needs, from the one
// place they are written (show_facts.h and the timeline), into
//   show_facts.json   for the Python tools and tests
//   show_facts.js     for the browser page (a global `showFacts`)
//   show_facts.sh     for the shell scripts (variables and arrays, to source)
// The text depends on nothing but those values, so every build writes the
// same bytes.   write_show_facts <out-dir>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "show_facts.h"
#include "timeline/chain.h"
#include "timeline/music_cues.h"

namespace {

struct Track {
    std::string path, stem;
    bool looped;
};

struct Facts {
    double showEnd = kShowEnd;
    int width = kScreenWidth, height = kScreenHeight;
    int sampleRate = kSampleRate;
    double declickSeconds = kDeclickSeconds;
    std::vector<Track> tracks;
    // When the cues start a track: the first frame, the switch, the return.
    std::vector<double> musicCues{0.0, kTrackSwitchAt, windowStart("music: return")};
};

Facts facts() {
    Facts f;
    for (const ShowTrack& track : kShowTracks)
        f.tracks.push_back({track.path, std::filesystem::path(track.path).stem().string(), track.looped});
    return f;
}

// The shortest decimal that reads back as the same double: 295, 0.005.
std::string number(double value) {
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end);
}

std::string quoted(const std::string& text, char quote) { return quote + text + quote; }

template <typename Item, typename Show>
std::string joined(const std::vector<Item>& items, const char* separator, Show show) {
    std::string out;
    for (const Item& item : items) out += (out.empty() ? "" : separator) + show(item);
    return out;
}

// The paths and names are plain ASCII without quotes or backslashes, so they
// are written as they are.
std::string json(const Facts& f) {
    std::string out = "{\n";
    out += "  \"showEnd\": " + number(f.showEnd) + ",\n";
    out += "  \"screen\": {\"width\": " + std::to_string(f.width) + ", \"height\": " + std::to_string(f.height) + "},\n";
    out += "  \"sampleRate\": " + std::to_string(f.sampleRate) + ",\n";
    out += "  \"declickSeconds\": " + number(f.declickSeconds) + ",\n";
    out += "  \"tracks\": [\n" + joined(f.tracks, ",\n", [](const Track& t) {
        return "    {\"path\": " + quoted(t.path, '"') + ", \"stem\": " + quoted(t.stem, '"') +
               ", \"looped\": " + (t.looped ? "true" : "false") + "}";
    }) + "\n  ],\n";
    out += "  \"musicCues\": [" + joined(f.musicCues, ", ", number) + "]\n";
    return out + "}\n";
}

std::string javascript(const Facts& f) {
    std::string object = json(f);
    object.pop_back();  // the newline
    return "// The show's facts, written by the build from src/show_facts.h: change them there.\n"
           "const showFacts = Object.freeze(" + object + ");\n";
}

std::string shell(const Facts& f) {
    const auto word = [](const std::string& text) { return quoted(text, '\''); };
    std::string out = "# The show's facts, written by the build from src/show_facts.h: change them there.\n";
    out += "show_end=" + number(f.showEnd) + "\n";
    out += "screen_width=" + std::to_string(f.width) + "\n";
    out += "screen_height=" + std::to_string(f.height) + "\n";
    out += "sample_rate=" + std::to_string(f.sampleRate) + "\n";
    out += "declick_seconds=" + number(f.declickSeconds) + "\n";
    out += "track_paths=(" + joined(f.tracks, " ", [&](const Track& t) { return word(t.path); }) + ")\n";
    out += "track_stems=(" + joined(f.tracks, " ", [&](const Track& t) { return word(t.stem); }) + ")\n";
    out += "track_looped=(" + joined(f.tracks, " ", [](const Track& t) { return std::string(t.looped ? "1" : "0"); }) + ")\n";
    out += "music_cues=(" + joined(f.musicCues, " ", number) + ")\n";
    return out;
}

// Writes beside the target and renames, so a reader never sees half a file.
bool write(const std::filesystem::path& path, const std::string& text) {
    const std::filesystem::path temporary = path.string() + ".tmp";
    std::ofstream out(temporary, std::ios::binary);
    out << text;
    out.close();
    if (out && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::cerr << "could not write " << path.string() << "\n";
    std::remove(temporary.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_show_facts <out-dir>\n";
        return 1;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const Facts f = facts();
    const bool ok = write(dir / "show_facts.json", json(f)) && write(dir / "show_facts.js", javascript(f)) &&
                    write(dir / "show_facts.sh", shell(f));
    return ok ? 0 : 1;
}
