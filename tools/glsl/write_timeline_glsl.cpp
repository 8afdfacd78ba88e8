// Writes the GLSL module timeline.glsl: the values of
// timeline/shared_with_glsl.h as GLSL constants, for the programs to include.
// The text depends on nothing but those values, so every build writes the
// same bytes.   write_timeline_glsl <out-file>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "timeline/shared_with_glsl.h"

namespace {

// The shortest decimal that reads back as the same float or double, with a
// decimal point so that GLSL takes it as a float.
template <typename Number>
std::string literal(Number value) {
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    std::string out(text, end);
    if (out.find('.') == std::string::npos) out += ".0";
    return out;
}

std::string literal(int value) { return std::to_string(value) + ".0"; }

template <typename Number>
std::string floatConst(const char* name, Number value) {
    return "const float " + std::string(name) + " = " + literal(value) + ";\n";
}

// One bound of each interval of `windows`, as a GLSL array sized by the
// constant named `count`.
template <std::size_t N, typename Pick>
std::string intervalArray(const char* name, const char* count, const Interval (&windows)[N], Pick pick) {
    std::string out = "const float " + std::string(name) + "[" + count + "] = float[](";
    for (const Interval& window : windows) {
        if (&window != windows) out += ", ";
        out += literal(pick(window));
    }
    return out + ");\n";
}

template <typename Pick>
std::string floatArray(const char* name, Pick pick) {
    return intervalArray(name, "kImageCount", kImageWindows, pick);
}

// A scene's window as the programs see it: its start and end on the show
// clock, and its length, where the window ends on the clock that starts at
// zero with the window (the local time most scene blocks send).
std::string sceneWindow(const std::string& name, const Interval& window) {
    return floatConst((name + "Start").c_str(), window.lo) + floatConst((name + "End").c_str(), window.hi) +
           floatConst((name + "Length").c_str(), window.hi - window.lo);
}

std::string timelineGlsl() {
    std::string text =
        "// The timeline's values that the programs share with it. Written by the\n"
        "// build from src/timeline/shared_with_glsl.h: change them there.\n";
    text += "const int kImageCount = " + std::to_string(std::size(kImageWindows)) + ";\n";
    text += floatArray("kImageStarts", [](const Interval& w) { return w.lo; });
    text += floatArray("kImageEnds", [](const Interval& w) { return w.hi; });
    text += floatConst("kEndCardStart", kEndCardStart);
    text += floatConst("kShowEnd", kShowEnd);
    text += floatConst("kCreditsStart", kCreditsStart);
    text += floatConst("kCreditsScale", kCreditsScale);
    text += "const vec3 kSlabSize = vec3(" + literal(kSlabSize.x) + ", " + literal(kSlabSize.y) + ", " +
            literal(kSlabSize.z) + ");\n";
    text += floatConst("kSlabStepX", kSlabStepX);
    text += floatConst("kSlabRiseRate", kSlabRiseRate);
    text += floatConst("kStackSlabs", kStackSlabs);
    text += floatConst("kWaveSlabs", kWaveSlabs);
    // The first cube wave shows twice: kCubeWave1Start[n] to kCubeWave1End[n].
    text += "const int kCubeWave1Count = " + std::to_string(std::size(kCubeWave1Windows)) + ";\n";
    text += intervalArray("kCubeWave1Start", "kCubeWave1Count", kCubeWave1Windows, [](const Interval& w) { return w.lo; });
    text += intervalArray("kCubeWave1End", "kCubeWave1Count", kCubeWave1Windows, [](const Interval& w) { return w.hi; });
    text += sceneWindow("kCubeWave2", kCubeWave2Window);
    text += sceneWindow("kSlabRibbon", kSlabRibbonWindow);
    text += sceneWindow("kCubeSweep", kCubeSweepWindow);
    text += sceneWindow("kPillarRow", kPillarRowWindow);
    text += sceneWindow("kCubeChain", kCubeChainWindow);
    text += sceneWindow("kSlabStack", kSlabStackWindow);
    text += sceneWindow("kRockingSlabs", kRockingSlabsWindow);
    text += sceneWindow("kTiltingSlabs", kTiltingSlabsWindow);
    text += sceneWindow("kSlabWave", kSlabWaveWindow);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_timeline_glsl <out-file>\n";
        return 1;
    }
    const std::string path = argv[1];
    const std::string temporary = path + ".tmp";
    std::ofstream out(temporary, std::ios::binary);
    out << timelineGlsl();
    out.close();
    if (!out || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::cerr << "could not write " << path << "\n";
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
