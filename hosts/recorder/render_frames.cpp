// Renders frames of the show at chosen times into PNG files, so anyone can
// look at them:  render_frames <out-dir> <t>...   (run from the run directory)
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "offscreen_show.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: render_frames <out-dir> <t>...  (run from the run directory)\n";
        return 1;
    }
    const std::string outDir = argv[1];
    OffscreenShow& show = OffscreenShow::instance();
    SilentHost host(show);
    std::cout << show.startupOutput();
    for (int i = 2; i < argc; ++i) {
        const float t = std::strtof(argv[i], nullptr);
        host.render(t);
        const std::string path = outDir + "/frame_" + argv[i] + ".png";
        if (!show.writePng(path)) {
            std::cerr << "could not write " << path << "\n";
            return 1;
        }
        std::cout << path << "\n";
    }
    return 0;
}
