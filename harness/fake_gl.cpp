#include "fake_gl.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace fakegl {
namespace {

State g;

void record(const char* name, std::vector<double> args = {}, std::string text = {}) {
    g.calls.push_back(Call{name, std::move(args), std::move(text)});
}

GLuint newName() { return g.nextName++; }

void copyLog(const std::string& log, GLsizei bufSize, GLsizei* length, GLchar* out) {
    if (bufSize <= 0) return;
    std::size_t n = std::min<std::size_t>(log.size(), static_cast<std::size_t>(bufSize - 1));
    std::memcpy(out, log.data(), n);
    out[n] = '\0';
    if (length) *length = static_cast<GLsizei>(n);
}

void setUniform(GLint location, std::vector<float> values, const char* call) {
    std::string name = location >= 0 && g.locationNames.count(location) ? g.locationNames[location] : "";
    std::vector<double> args{static_cast<double>(location)};
    for (float v : values) args.push_back(v);
    record(call, args, name);
    if (location < 0 || g.program == 0 || name.empty()) return;  // GL ignores location -1
    g.uniforms[g.program][name] = std::move(values);
}

void snapshot(const char* call, GLenum mode, GLint first, GLsizei count) {
    Draw d;
    d.call = call;
    d.mode = mode;
    d.first = first;
    d.count = count;
    d.program = g.program;
    d.vertexArray = g.vertexArray;
    d.texture0 = g.texture2D.count(GL_TEXTURE0) ? g.texture2D[GL_TEXTURE0] : 0;
    d.enabled = g.enabled;
    d.blendSrc = g.blendSrc;
    d.blendDst = g.blendDst;
    d.uniforms = g.uniforms[g.program];
    d.streamed = g.lastStreamed;
    g.draws.push_back(std::move(d));
}

// --- the fake entry points ------------------------------------------------

void APIENTRY fActiveTexture(GLenum unit) { record("glActiveTexture", {double(unit)}); g.activeUnit = unit; }
void APIENTRY fAttachShader(GLuint program, GLuint shader) {
    record("glAttachShader", {double(program), double(shader)});
    g.attached[program].push_back(shader);
}
void APIENTRY fBindBuffer(GLenum target, GLuint buffer) {
    record("glBindBuffer", {double(target), double(buffer)});
    if (target == GL_ARRAY_BUFFER) g.arrayBuffer = buffer;
    if (target == GL_ELEMENT_ARRAY_BUFFER) g.vertexArrayElements[g.vertexArray] = buffer;
}
void APIENTRY fBindTexture(GLenum target, GLuint texture) {
    record("glBindTexture", {double(target), double(texture)});
    if (target == GL_TEXTURE_2D) g.texture2D[g.activeUnit] = texture;
}
void APIENTRY fBindVertexArray(GLuint array) { record("glBindVertexArray", {double(array)}); g.vertexArray = array; }
void APIENTRY fBlendFunc(GLenum s, GLenum d) {
    record("glBlendFunc", {double(s), double(d)});
    g.blendSrc = s;
    g.blendDst = d;
}
GLuint boundBuffer(GLenum target) {
    return target == GL_ELEMENT_ARRAY_BUFFER ? g.vertexArrayElements[g.vertexArray] : g.arrayBuffer;
}
void APIENTRY fBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    record("glBufferData", {double(target), double(size), double(usage), data ? 1.0 : 0.0});
    auto& bytes = g.buffers[boundBuffer(target)];
    bytes.assign(static_cast<std::size_t>(size), 0);
    if (data) std::memcpy(bytes.data(), data, static_cast<std::size_t>(size));
}
void APIENTRY fBufferSubData(GLenum target, GLintptr offset, GLsizeiptr size, const void* data) {
    record("glBufferSubData", {double(target), double(offset), double(size)});
    auto& bytes = g.buffers[boundBuffer(target)];
    if (bytes.size() < static_cast<std::size_t>(offset + size)) bytes.resize(static_cast<std::size_t>(offset + size));
    std::memcpy(bytes.data() + offset, data, static_cast<std::size_t>(size));
    g.lastStreamed.assign(static_cast<const float*>(data),
                          static_cast<const float*>(data) + size / sizeof(float));
}
void APIENTRY fClear(GLbitfield mask) { record("glClear", {double(mask)}); }
void APIENTRY fClearColor(GLfloat r, GLfloat gr, GLfloat b, GLfloat a) {
    record("glClearColor", {r, gr, b, a});
    g.clearColor[0] = r;
    g.clearColor[1] = gr;
    g.clearColor[2] = b;
    g.clearColor[3] = a;
}
void APIENTRY fCompileShader(GLuint shader) {
    record("glCompileShader", {double(shader)});
    g.shaderCompiled[shader] = g.shaderSource[shader].find("#error") == std::string::npos;
}
GLuint APIENTRY fCreateProgram() {
    GLuint name = newName();
    record("glCreateProgram", {double(name)});
    return name;
}
GLuint APIENTRY fCreateShader(GLenum type) {
    GLuint name = newName();
    record("glCreateShader", {double(type), double(name)});
    g.shaderType[name] = type;
    return name;
}
void APIENTRY fDeleteShader(GLuint shader) { record("glDeleteShader", {double(shader)}); g.deletedShaders.insert(shader); }
void APIENTRY fDisable(GLenum cap) { record("glDisable", {double(cap)}); g.enabled.erase(cap); }
void APIENTRY fDrawArrays(GLenum mode, GLint first, GLsizei count) {
    record("glDrawArrays", {double(mode), double(first), double(count)});
    snapshot("glDrawArrays", mode, first, count);
}
void APIENTRY fDrawElements(GLenum mode, GLsizei count, GLenum type, const void* offset) {
    record("glDrawElements", {double(mode), double(count), double(type),
                              double(reinterpret_cast<std::uintptr_t>(offset))});
    snapshot("glDrawElements", mode, 0, count);
}
void APIENTRY fEnable(GLenum cap) { record("glEnable", {double(cap)}); g.enabled.insert(cap); }
void APIENTRY fEnableVertexAttribArray(GLuint index) { record("glEnableVertexAttribArray", {double(index)}); }
void genNames(const char* call, GLsizei n, GLuint* out) {
    std::vector<double> args{double(n)};
    for (GLsizei i = 0; i < n; ++i) {
        out[i] = newName();
        args.push_back(out[i]);
    }
    record(call, args);
}
void APIENTRY fGenBuffers(GLsizei n, GLuint* out) { genNames("glGenBuffers", n, out); }
void APIENTRY fGenTextures(GLsizei n, GLuint* out) {
    genNames("glGenTextures", n, out);
    for (GLsizei i = 0; i < n; ++i) g.textures[out[i]];
}
void APIENTRY fGenVertexArrays(GLsizei n, GLuint* out) { genNames("glGenVertexArrays", n, out); }
void APIENTRY fGenerateMipmap(GLenum target) {
    record("glGenerateMipmap", {double(target)});
    g.textures[g.texture2D[g.activeUnit]].mipmaps = true;
}
void APIENTRY fGetProgramInfoLog(GLuint program, GLsizei bufSize, GLsizei* length, GLchar* log) {
    record("glGetProgramInfoLog", {double(program), double(bufSize)});
    copyLog(g.linkLog, bufSize, length, log);
}
void APIENTRY fGetProgramiv(GLuint program, GLenum pname, GLint* out) {
    record("glGetProgramiv", {double(program), double(pname)});
    *out = pname == GL_LINK_STATUS ? (g.programLinked[program] ? 1 : 0) : 0;
}
void APIENTRY fGetShaderInfoLog(GLuint shader, GLsizei bufSize, GLsizei* length, GLchar* log) {
    record("glGetShaderInfoLog", {double(shader), double(bufSize)});
    copyLog(g.compileLog, bufSize, length, log);
}
void APIENTRY fGetShaderiv(GLuint shader, GLenum pname, GLint* out) {
    record("glGetShaderiv", {double(shader), double(pname)});
    *out = pname == GL_COMPILE_STATUS ? (g.shaderCompiled[shader] ? 1 : 0) : 0;
}
bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Whether `word` appears in `source` as a whole identifier.
bool mentions(const std::string& source, const std::string& word) {
    for (std::size_t at = source.find(word); at != std::string::npos; at = source.find(word, at + 1)) {
        bool startOk = at == 0 || !isIdentifierChar(source[at - 1]);
        std::size_t end = at + word.size();
        bool endOk = end >= source.size() || !isIdentifierChar(source[end]);
        if (startOk && endOk) return true;
    }
    return false;
}

GLint APIENTRY fGetUniformLocation(GLuint program, const GLchar* name) {
    GLint location = -1;
    auto source = g.programSource.find(program);
    bool declared = source == g.programSource.end() || source->second.empty() ||
                    mentions(source->second, name);
    if (declared) {
        auto key = std::make_pair(program, std::string(name));
        auto found = g.locations.find(key);
        if (found == g.locations.end()) {
            location = static_cast<GLint>(g.locations.size());
            g.locations[key] = location;
            g.locationNames[location] = name;
        } else {
            location = found->second;
        }
    }
    record("glGetUniformLocation", {double(program), double(location)}, name);
    return location;
}
void APIENTRY fLinkProgram(GLuint program) {
    record("glLinkProgram", {double(program)});
    std::string all;
    bool ok = true;
    for (GLuint shader : g.attached[program]) {
        all += g.shaderSource[shader];
        ok = ok && g.shaderCompiled[shader];
    }
    g.programSource[program] = all;
    g.programLinked[program] = ok && all.find("LINK_ERROR") == std::string::npos;
}
void APIENTRY fPixelStorei(GLenum pname, GLint param) {
    record("glPixelStorei", {double(pname), double(param)});
    if (pname == GL_UNPACK_ALIGNMENT) g.unpackAlignment = param;
}
void APIENTRY fShaderSource(GLuint shader, GLsizei count, const GLchar* const* strings, const GLint* lengths) {
    std::string source;
    for (GLsizei i = 0; i < count; ++i)
        source += lengths ? std::string(strings[i], static_cast<std::size_t>(lengths[i])) : std::string(strings[i]);
    record("glShaderSource", {double(shader), double(count)}, source);
    g.shaderSource[shader] = source;
}
std::size_t channelsOf(GLenum format) {
    switch (format) {
        case GL_RED: return 1;
        case GL_RG: return 2;
        case GL_RGB: return 3;
        default: return 4;
    }
}
void APIENTRY fTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                          GLint border, GLenum format, GLenum type, const void* pixels) {
    record("glTexImage2D", {double(target), double(level), double(internalFormat), double(width), double(height),
                            double(border), double(format), double(type)});
    Texture& tex = g.textures[g.texture2D[g.activeUnit]];
    tex.internalFormat = internalFormat;
    tex.format = format;
    tex.width = width;
    tex.height = height;
    tex.hasImage = true;
    tex.pixels.clear();
    if (pixels == nullptr || width <= 0 || height <= 0) return;
    // Copy the rows as GL would read them under the current unpack alignment.
    std::size_t rowBytes = channelsOf(format) * static_cast<std::size_t>(width);
    std::size_t align = static_cast<std::size_t>(g.unpackAlignment);
    std::size_t stride = (rowBytes + align - 1) / align * align;
    const auto* src = static_cast<const unsigned char*>(pixels);
    for (GLsizei row = 0; row < height; ++row)
        tex.pixels.insert(tex.pixels.end(), src + stride * static_cast<std::size_t>(row),
                          src + stride * static_cast<std::size_t>(row) + rowBytes);
}
void APIENTRY fTexParameteri(GLenum target, GLenum pname, GLint param) {
    record("glTexParameteri", {double(target), double(pname), double(param)});
    g.textures[g.texture2D[g.activeUnit]].parameters[pname] = param;
}
void APIENTRY fUniform1f(GLint location, GLfloat v) { setUniform(location, {v}, "glUniform1f"); }
void APIENTRY fUniform1i(GLint location, GLint v) { setUniform(location, {static_cast<float>(v)}, "glUniform1i"); }
void APIENTRY fUniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) {
    setUniform(location, {x, y, z}, "glUniform3f");
}
void APIENTRY fUniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value) {
    if (count != 1 || transpose != GL_FALSE) throw std::logic_error("the show sends one untransposed matrix");
    setUniform(location, std::vector<float>(value, value + 16), "glUniformMatrix4fv");
}
void APIENTRY fUseProgram(GLuint program) { record("glUseProgram", {double(program)}); g.program = program; }
void APIENTRY fVertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride,
                                   const void* offset) {
    record("glVertexAttribPointer", {double(index), double(size), double(type), double(normalized),
                                     double(stride), double(reinterpret_cast<std::uintptr_t>(offset))});
}
void APIENTRY fViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glViewport", {double(x), double(y), double(w), double(h)});
}

}  // namespace

float Draw::uniform(const std::string& name, std::size_t index) const {
    auto found = uniforms.find(name);
    if (found == uniforms.end() || index >= found->second.size())
        throw std::out_of_range("uniform not set at this draw: " + name);
    return found->second[index];
}

void install() {
    g = State{};
#define FAKEGL_CLEAR(type, name) gl_api::name = nullptr;
    SHOW_GL_FUNCTIONS(FAKEGL_CLEAR)
#undef FAKEGL_CLEAR
    gl_api::glActiveTexture = fActiveTexture;
    gl_api::glAttachShader = fAttachShader;
    gl_api::glBindBuffer = fBindBuffer;
    gl_api::glBindTexture = fBindTexture;
    gl_api::glBindVertexArray = fBindVertexArray;
    gl_api::glBlendFunc = fBlendFunc;
    gl_api::glBufferData = fBufferData;
    gl_api::glBufferSubData = fBufferSubData;
    gl_api::glClear = fClear;
    gl_api::glClearColor = fClearColor;
    gl_api::glCompileShader = fCompileShader;
    gl_api::glCreateProgram = fCreateProgram;
    gl_api::glCreateShader = fCreateShader;
    gl_api::glDeleteShader = fDeleteShader;
    gl_api::glDisable = fDisable;
    gl_api::glDrawArrays = fDrawArrays;
    gl_api::glDrawElements = fDrawElements;
    gl_api::glEnable = fEnable;
    gl_api::glEnableVertexAttribArray = fEnableVertexAttribArray;
    gl_api::glGenBuffers = fGenBuffers;
    gl_api::glGenTextures = fGenTextures;
    gl_api::glGenVertexArrays = fGenVertexArrays;
    gl_api::glGenerateMipmap = fGenerateMipmap;
    gl_api::glGetProgramInfoLog = fGetProgramInfoLog;
    gl_api::glGetProgramiv = fGetProgramiv;
    gl_api::glGetShaderInfoLog = fGetShaderInfoLog;
    gl_api::glGetShaderiv = fGetShaderiv;
    gl_api::glGetUniformLocation = fGetUniformLocation;
    gl_api::glLinkProgram = fLinkProgram;
    gl_api::glPixelStorei = fPixelStorei;
    gl_api::glShaderSource = fShaderSource;
    gl_api::glTexImage2D = fTexImage2D;
    gl_api::glTexParameteri = fTexParameteri;
    gl_api::glUniform1f = fUniform1f;
    gl_api::glUniform1i = fUniform1i;
    gl_api::glUniform3f = fUniform3f;
    gl_api::glUniformMatrix4fv = fUniformMatrix4fv;
    gl_api::glUseProgram = fUseProgram;
    gl_api::glVertexAttribPointer = fVertexAttribPointer;
    gl_api::glViewport = fViewport;
#define FAKEGL_CHECK(type, name) \
    if (gl_api::name == nullptr) throw std::logic_error("the fake GL lacks " #name);
    SHOW_GL_FUNCTIONS(FAKEGL_CHECK)
#undef FAKEGL_CHECK
}

State& state() { return g; }

std::vector<const Call*> calls(const std::string& name) {
    std::vector<const Call*> out;
    for (const Call& c : g.calls)
        if (c.name == name) out.push_back(&c);
    return out;
}

std::vector<std::string> callNames() {
    std::vector<std::string> out;
    for (const Call& c : g.calls) out.push_back(c.name);
    return out;
}

std::vector<float> uniform(GLuint program, const std::string& name) {
    auto p = g.uniforms.find(program);
    if (p == g.uniforms.end()) return {};
    auto u = p->second.find(name);
    return u == p->second.end() ? std::vector<float>{} : u->second;
}

}  // namespace fakegl
