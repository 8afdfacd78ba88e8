#pragma once
// A recording fake of the GL entry points the show calls. install() points
// every loader pointer at it; it then records each call with its arguments,
// keeps the bits of GL state the show relies on, and snapshots that state at
// every draw, so tests can ask what uniform X of program P held at draw N.
//
// Rules that let tests provoke failures without a driver:
// - a shader whose source contains "#error" fails to compile (log: compileLog);
// - a program with an attached shader containing "LINK_ERROR" fails to link
//   (log: linkLog);
// - glGetUniformLocation gives a stable id per (program, name), or -1 when the
//   program was linked from sources that never mention the name.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "render/gl.h"

namespace fakegl {

struct Call {
    std::string name;          // e.g. "glClear"
    std::vector<double> args;  // the numeric arguments in order; pointers are left out
    std::string text;          // uniform name for glGetUniformLocation and glUniform*, else ""
};

struct Texture {
    GLint internalFormat = 0;
    GLenum format = 0;
    GLsizei width = 0;
    GLsizei height = 0;
    bool hasImage = false;
    bool mipmaps = false;
    std::vector<unsigned char> pixels;  // copied with the unpack alignment in force
    std::map<GLenum, GLint> parameters;
};

struct Draw {
    std::string call;  // "glDrawArrays" or "glDrawElements"
    GLenum mode = 0;
    GLint first = 0;
    GLsizei count = 0;
    GLuint program = 0;
    GLuint vertexArray = 0;
    GLuint texture0 = 0;  // GL_TEXTURE_2D bound on unit 0
    std::set<GLenum> enabled;
    GLenum blendSrc = 0;
    GLenum blendDst = 0;
    std::map<std::string, std::vector<float>> uniforms;  // the bound program's values (ints as floats)
    std::vector<float> streamed;  // the floats of the last glBufferSubData before this draw

    float uniform(const std::string& name, std::size_t index = 0) const;
    bool has(const std::string& name) const { return uniforms.count(name) != 0; }
};

struct State {
    std::vector<Call> calls;
    std::vector<Draw> draws;

    // Objects
    GLuint nextName = 1;
    std::map<GLuint, GLenum> shaderType;
    std::map<GLuint, std::string> shaderSource;
    std::map<GLuint, bool> shaderCompiled;
    std::set<GLuint> deletedShaders;
    std::map<GLuint, std::vector<GLuint>> attached;
    std::map<GLuint, std::string> programSource;  // all attached sources, at link time
    std::map<GLuint, bool> programLinked;
    std::map<GLuint, std::map<std::string, std::vector<float>>> uniforms;
    std::map<std::pair<GLuint, std::string>, GLint> locations;
    std::map<GLint, std::string> locationNames;
    std::map<GLuint, Texture> textures;
    std::map<GLuint, std::vector<unsigned char>> buffers;
    std::map<GLuint, GLuint> vertexArrayElements;  // element buffer recorded by each vertex array
    std::string compileLog = "0:1(1): error: fake compile error";
    std::string linkLog = "error: fake link error";

    // Bindings and switches
    GLuint program = 0;
    GLuint vertexArray = 0;
    GLuint arrayBuffer = 0;
    GLenum activeUnit = GL_TEXTURE0;
    std::map<GLenum, GLuint> texture2D;  // per texture unit
    std::set<GLenum> enabled;
    GLenum blendSrc = GL_ONE;
    GLenum blendDst = GL_ZERO;
    GLint unpackAlignment = 4;
    float clearColor[4] = {0, 0, 0, 0};
    std::vector<float> lastStreamed;
};

// Points every GL entry point at the fake and starts from an empty state.
void install();
State& state();

// Calls with this name, in order.
std::vector<const Call*> calls(const std::string& name);
// Names of all calls, in order.
std::vector<std::string> callNames();
// The value the uniform `name` of `program` holds now (empty when never set).
std::vector<float> uniform(GLuint program, const std::string& name);

}  // namespace fakegl
