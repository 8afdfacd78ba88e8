#include "key_script.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

std::optional<std::vector<ScriptStep>> readKeyScript(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read the script " + path;
        return std::nullopt;
    }
    std::vector<ScriptStep> steps;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string command;
        if (!(words >> command)) continue;
        ScriptStep step{ScriptStep::Kind::quit, std::nullopt, 0, "", ""};
        std::string what;
        bool ok = true;
        if (command == "key" && words >> what) {
            step.kind = ScriptStep::Kind::key;
            step.action = actionNamed(what);
            ok = step.action.has_value();
        } else if (command == "frames" && words >> step.count) {
            step.kind = ScriptStep::Kind::frames;
        } else if (command == "replace" && words >> step.path >> step.to) {
            step.kind = ScriptStep::Kind::replace;
        } else if (command == "await" && words >> what && what == "reload") {
            step.kind = ScriptStep::Kind::awaitReload;
        } else if (command == "png" && words >> step.path) {
            step.kind = ScriptStep::Kind::png;
        } else if (command != "quit") {
            ok = false;
        }
        if (!ok) {
            error = path + ":" + std::to_string(number) + ": cannot read \"" + line + "\"";
            return std::nullopt;
        }
        steps.push_back(step);
    }
    return steps;
}

bool replaceFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(to.c_str());
    std::ofstream out(to, std::ios::binary);
    out << bytes;
    out.close();
    return static_cast<bool>(out);
}
