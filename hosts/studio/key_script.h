#pragma once
// A script that drives the studio as a person would, for tests and timing
// runs; one command a line (blank lines and lines from # on are skipped):
//   key NAME          a key press (see actionNamed)
//   frames N          lets N frames go by
//   replace FROM TO   saves TO as editors do: deletes it, then writes FROM's bytes under its name
//   await reload      lets frames go by until a reload result arrives after the last replace
//                     (60 s of real time at most: then the script fails)
//   png PATH          writes the frame drawn last as a PNG
//   quit              ends the studio, as Escape does
#include <optional>
#include <string>
#include <vector>

#include "actions.h"

struct ScriptStep {
    enum class Kind { key, frames, replace, awaitReload, png, quit } kind;
    std::optional<Action> action;
    long count = 0;
    std::string path;
    std::string to;
};

// Reads the script; on a bad line returns nothing and says which in `error`.
std::optional<std::vector<ScriptStep>> readKeyScript(const std::string& path, std::string& error);

// Saves `to` with `from`'s bytes as editors do; false when that fails.
bool replaceFile(const std::string& from, const std::string& to);
