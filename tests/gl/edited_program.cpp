#include "edited_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

std::vector<int> pixelsMovedByEdit(const ProgramEdit& c, const std::string& stage, const std::string& marker,
                                   const std::string& replacement, void (*setUp)(Shader&)) {
    const std::string stem = std::string("demo6/") + c.stem;
    std::ifstream in(stem + stage);
    std::stringstream source;
    source << in.rdbuf();
    std::string edited = source.str();
    const std::size_t at = edited.find(marker);
    if (at == std::string::npos) {
        ADD_FAILURE() << stem << stage << " has no \"" << marker << "\" as this test expects";
        return {};
    }
    edited.replace(at, marker.size(), replacement);
    // Named for this process: two test runs on one machine must not draw each other's edits.
    const std::string path = ::testing::TempDir() + "/edited_" + std::to_string(getpid()) + stage;
    std::ofstream(path) << edited;

    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    host.render(c.t);
    const std::vector<std::uint8_t> shipped = show.pixels();
    Shader& program = show.mutableResources().programs.*c.program;
    const Shader kept = program;
    const std::string vertex = stage == ".vs" ? path : stem + ".vs";
    const std::string fragment = stage == ".fs" ? path : stem + ".fs";
    program = Shader(vertex.c_str(), fragment.c_str());
    if (setUp) setUp(program);
    host.render(c.t);
    program = kept;

    const std::vector<std::uint8_t>& drawn = show.pixels();
    std::vector<int> moved;
    for (std::size_t i = 0; i + 3 < std::min(drawn.size(), shipped.size()); i += 4)
        moved.push_back(std::max({std::abs(drawn[i] - shipped[i]), std::abs(drawn[i + 1] - shipped[i + 1]),
                                  std::abs(drawn[i + 2] - shipped[i + 2])}));
    return moved;
}
