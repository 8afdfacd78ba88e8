#pragma once
// Assembles one GLSL program source into a self-contained text: every line
// `#include "path"` is replaced by that file's text (paths relative to the
// including file, else in the include directory, where the build writes the
// modules it generates), each file at most once per program. The switches
// `#ifdef GL_ES` / `#ifndef GL_ES` (with `#else` and `#endif`) are resolved
// here, keeping only the lines meant for the variant; any other #if goes
// through to the compiler.
//
// Variants:
// - desktop: the source as written (`#version 460 core`);
// - es: OpenGL ES 3.00 (WebGL 2): `#version 300 es` and high precision for
//   floats, ints and every sampler type used, the GL_ES branches taken;
// - es-quad (esPixelQuad): the desktop text under the ES header, its fine derivatives
//   written as ES 3.00's plain dFdx and dFdy: it shares taps across 2x2 pixel
//   quads as the desktop does, which is right only where those derivatives
//   are fine (a browser checks before it loads these).
//
// The build (through the program assemble_glsl) and the studio's live reload
// both assemble with this.
#include <optional>
#include <string>
#include <vector>

enum class GlslVariant { desktop, es, esPixelQuad };

// "desktop", "es" or "es-quad"; nothing for any other name.
std::optional<GlslVariant> glslVariantNamed(const std::string& name);

// Where a line of the assembled text comes from.
struct GlslOrigin {
    int file = -1;  // index into AssembledGlsl::files; -1 for the ES header
    int line = 0;   // from 1
};

struct AssembledGlsl {
    bool ok = false;
    std::string text;                 // the assembled program, when ok
    std::vector<GlslOrigin> origins;  // one per line of `text`
    std::string error;                // "<file>:<line>: <why>", when not
    std::vector<std::string> files;   // every file read, the source first

    // "<file>:<line>" of line `line` (from 1) of the text; "" when it has none.
    std::string where(int line) const;
};

AssembledGlsl assembleGlsl(const std::string& source, GlslVariant variant, const std::string& includeDir = "");
