#pragma once
// Live reload: watches the folders of the show's sources with inotify and
// rebuilds what a save changes, without ever stopping the picture.
// - a program's .vs/.fs, or a module it includes (demo6/lib/, the generated
//   timeline.glsl): the program is assembled (the build's assembler), compiled
//   and linked anew; on any fault the old one stays and the result says where;
// - a picture (demo6/images/*.png): its texture, unless the file does not decode;
// - a font (fonts/*.ttf): its atlas, unless FreeType refuses the file.
// Folders are watched rather than files, so a file deleted and written back
// (as editors save) is still seen.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "timeline/resources.h"

class LiveReload {
public:
    // `sourceDir` holds demo6/ and fonts/ as the repository has them;
    // `includeDir` the generated modules.
    LiveReload(std::string sourceDir, std::string includeDir, Resources& resources);
    ~LiveReload();
    LiveReload(const LiveReload&) = delete;
    LiveReload& operator=(const LiveReload&) = delete;

    // Reads what changed and rebuilds it; returns true when anything was
    // rebuilt or refused (then `result` says what).
    bool poll();
    // The last result, one line per thing rebuilt or refused.
    const std::string& result() const { return result_; }
    // How many results there have been.
    unsigned results() const { return results_; }
    // The newest modification time (seconds, CLOCK_REALTIME) of the files the
    // last result came from: when the save that caused it happened.
    double savedAt() const { return savedAt_; }

private:
    std::string rebuildProgram(const std::string& stem);
    std::string rebuildImage(std::size_t index);
    std::string rebuildFont(std::size_t index);

    std::string sourceDir_;
    std::string includeDir_;
    Resources& resources_;
    int inotify_ = -1;
    std::map<int, std::string> watched_;                   // watch descriptor -> folder
    std::map<std::string, std::set<std::string>> deps_;  // program stem -> files it reads
    std::string result_;
    unsigned results_ = 0;
    double savedAt_ = 0.0;
};
