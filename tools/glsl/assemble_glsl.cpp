// Assembles one GLSL program source into a self-contained file (see
// glsl_assembler.h); on a fault says where on standard error and writes
// nothing.
//   assemble_glsl [--variant desktop|es|es-quad] [--include-dir DIR] IN OUT
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "glsl_assembler.h"

namespace {

int usage() {
    std::cerr << "usage: assemble_glsl [--variant desktop|es|es-quad] [--include-dir DIR] IN OUT\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string variantName = "desktop", includeDir, in, out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--variant" || arg == "--include-dir") && i + 1 < argc)
            (arg == "--variant" ? variantName : includeDir) = argv[++i];
        else if (in.empty()) in = arg;
        else if (out.empty()) out = arg;
        else return usage();
    }
    if (out.empty()) return usage();
    const auto variant = glslVariantNamed(variantName);
    if (!variant) {
        std::cerr << "assemble_glsl: the variant is desktop, es or es-quad, not \"" << variantName << "\"\n";
        return 2;
    }
    const AssembledGlsl assembled = assembleGlsl(in, *variant, includeDir);
    if (!assembled.ok) {
        std::cerr << assembled.error << "\n";
        return 1;
    }
    // Written whole, then renamed: a build stopped midway leaves no half file.
    const std::string partial = out + ".tmp";
    std::error_code ignored;  // a folder that cannot be made shows as a file that cannot be written
    std::filesystem::create_directories(std::filesystem::path(out).parent_path(), ignored);
    std::ofstream file(partial, std::ios::binary);
    file << assembled.text;
    file.close();
    if (!file || std::rename(partial.c_str(), out.c_str()) != 0) {
        std::cerr << "assemble_glsl: cannot write " << out << "\n";
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}
