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

template <typename Pick>
std::string floatArray(const char* name, Pick pick) {
    std::string out = "const float " + std::string(name) + "[kImageCount] = float[](";
    for (const Interval& window : kImageWindows) {
        if (&window != kImageWindows) out += ", ";
        out += literal(pick(window));
    }
    return out + ");\n";
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
