#include "live_reload.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "glsl_assembler.h"
#include "offscreen_show.h"
#include "render/gl.h"
#include "render/glyph_atlas.h"
#include "render/texture.h"
#include "runtime/startup.h"

namespace fs = std::filesystem;

namespace {

double modifiedAt(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return 0.0;
    return double(info.st_mtim.tv_sec) + double(info.st_mtim.tv_nsec) * 1e-9;
}

std::string fileName(const std::string& path) { return fs::path(path).filename().string(); }

// A compiler's log with each "0:<line>(<column>)" of the assembled text
// replaced by the source file and line it came from.
std::string withSourceLines(const std::string& log, const AssembledGlsl& assembled, const std::string& base) {
    static const std::regex kPlace(R"((\d+):(\d+)\((\d+)\))");
    std::string out;
    auto last = log.cbegin();
    for (auto it = std::sregex_iterator(log.begin(), log.end(), kPlace); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        out.append(last, m[0].first);
        std::string where = assembled.where(std::stoi(m[2].str()));
        if (where.rfind(base, 0) == 0) where = where.substr(base.size());
        out += where.empty() ? m[0].str() : where + ":" + m[3].str();
        last = m[0].second;
    }
    out.append(last, log.cend());
    while (!out.empty() && (out.back() == '\n' || out.back() == '\0')) out.pop_back();
    return out;
}

// Compiles one stage; on failure returns 0 and sets `log`.
GLuint compileStage(GLenum type, const AssembledGlsl& source, const std::string& base, std::string& log) {
    const GLuint shader = glCreateShader(type);
    const char* text = source.text.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok) return shader;
    char info[2048] = {};
    glGetShaderInfoLog(shader, sizeof info, nullptr, info);
    log = withSourceLines(info, source, base);
    glDeleteShader(shader);
    return 0;
}

}  // namespace

LiveReload::LiveReload(std::string sourceDir, std::string includeDir, Resources& resources)
    : sourceDir_(fs::absolute(sourceDir).lexically_normal().string()),
      includeDir_(std::move(includeDir)),
      resources_(resources) {
    if (!sourceDir_.empty() && sourceDir_.back() != '/') sourceDir_ += '/';
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    for (const std::string& dir : {sourceDir_ + "demo6", sourceDir_ + "demo6/lib", sourceDir_ + "demo6/images",
                                   sourceDir_ + "fonts", includeDir_}) {
        const int watch = inotify_add_watch(inotify_, dir.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
        if (watch >= 0) watched_[watch] = fs::absolute(dir).lexically_normal().string();
    }
    // What each program reads, so that a module's save rebuilds every program that includes it.
    for (const ShowProgram& program : showPrograms())
        for (const char* stage : {".vs", ".fs"}) {
            const AssembledGlsl assembled =
                assembleGlsl(sourceDir_ + "demo6/" + program.stem + stage, GlslVariant::desktop, includeDir_);
            deps_[program.stem].insert(assembled.files.begin(), assembled.files.end());
        }
    result_ = inotify_ < 0 ? "live reload is off: no inotify" : "watching " + sourceDir_;
}

LiveReload::~LiveReload() {
    if (inotify_ >= 0) close(inotify_);
}

bool LiveReload::poll() {
    std::set<std::string> changed;
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t length = read(inotify_, buffer, sizeof buffer);
        if (length <= 0) break;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto dir = watched_.find(event->wd);
            if (dir != watched_.end() && event->len > 0) changed.insert(dir->second + "/" + event->name);
        }
    }
    if (changed.empty()) return false;

    std::vector<std::string> lines;
    std::set<std::string> programs;
    savedAt_ = 0.0;
    for (const std::string& path : changed) {
        savedAt_ = std::max(savedAt_, modifiedAt(path));
        for (const auto& [stem, files] : deps_)
            if (files.count(path)) programs.insert(stem);
        const std::string name = fileName(path);
        const auto images = showImages();
        for (std::size_t i = 0; i < images.size(); ++i)
            if (name == fileName(images[i].path) && path.find("/images/") != std::string::npos)
                lines.push_back(rebuildImage(i));
        const auto fonts = showFonts();
        for (std::size_t i = 0; i < fonts.size(); ++i)
            if (name == fileName(fonts[i].path) && path.find("/fonts/") != std::string::npos)
                lines.push_back(rebuildFont(i));
    }
    for (const std::string& stem : programs) lines.push_back(rebuildProgram(stem));
    if (lines.empty()) return false;
    result_.clear();
    for (const std::string& line : lines) result_ += (result_.empty() ? "" : "\n") + line;
    ++results_;
    return true;
}

std::string LiveReload::rebuildProgram(const std::string& stem) {
    const ShowProgram* program = nullptr;
    for (const ShowProgram& p : showPrograms())
        if (p.stem == stem) program = &p;
    const std::string base = sourceDir_ + "demo6/" + stem;
    const AssembledGlsl vertex = assembleGlsl(base + ".vs", GlslVariant::desktop, includeDir_);
    const AssembledGlsl fragment = assembleGlsl(base + ".fs", GlslVariant::desktop, includeDir_);
    std::set<std::string>& deps = deps_[stem];
    deps.insert(vertex.files.begin(), vertex.files.end());
    deps.insert(fragment.files.begin(), fragment.files.end());
    const std::string kept = "; the old program stays";
    auto shortened = [&](std::string error) {
        if (error.rfind(sourceDir_, 0) == 0) error = error.substr(sourceDir_.size());
        return error;
    };
    if (!vertex.ok) return stem + ": " + shortened(vertex.error) + kept;
    if (!fragment.ok) return stem + ": " + shortened(fragment.error) + kept;

    std::string log;
    const GLuint vs = compileStage(GL_VERTEX_SHADER, vertex, sourceDir_, log);
    if (vs == 0) return stem + ": " + log + kept;
    const GLuint fs = compileStage(GL_FRAGMENT_SHADER, fragment, sourceDir_, log);
    if (fs == 0) {
        glDeleteShader(vs);
        return stem + ": " + log + kept;
    }
    const GLuint linked = glCreateProgram();
    glAttachShader(linked, vs);
    glAttachShader(linked, fs);
    glLinkProgram(linked);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(linked, GL_LINK_STATUS, &ok);
    if (!ok) {
        char info[2048] = {};
        glGetProgramInfoLog(linked, sizeof info, nullptr, info);
        glExtras().glDeleteProgram(linked);
        std::string text = info;
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return stem + ": link: " + text + kept;
    }
    Shader& shader = resources_.programs.*program->member;
    glExtras().glDeleteProgram(shader.ID);
    shader.ID = linked;
    setBuildUniforms(*program, shader);
    if (program->member == &Programs::demo6image)
        for (const ShowImage& image : showImages()) {
            shader.use();
            shader.setInt(image.sampler, image.unit);
        }
    return stem + ": rebuilt";
}

std::string LiveReload::rebuildImage(std::size_t index) {
    const ShowImage& image = showImages()[index];
    const std::string path = sourceDir_ + image.path;
    const DecodedImage decoded = decodeImage(path.c_str());
    if (!decoded.pixels) return fileName(path) + ": does not decode; the old picture stays";
    unsigned int& texture = resources_.images.*image.texture;
    const unsigned int fresh = uploadTexture(path.c_str(), decoded);
    glExtras().glDeleteTextures(1, &texture);
    texture = fresh;
    return fileName(path) + ": reloaded";
}

std::string LiveReload::rebuildFont(std::size_t index) {
    const ShowFont& font = showFonts()[index];
    const std::string path = sourceDir_ + font.path;
    const RasterisedFont rasterised = rasteriseFont(path.c_str(), font.pixelHeight, font.codeCount);
    if (rasterised.status != RasterisedFont::Status::Ready)
        return fileName(path) + ": FreeType refuses it; the old atlas stays";
    Font fresh;
    uploadGlyphAtlas(fresh, rasterised);
    Font& old = *font.font;
    for (const auto& [code, glyph] : old.Characters) glExtras().glDeleteTextures(1, &glyph.TextureID);
    glExtras().glDeleteVertexArrays(1, &old.VAO);
    glExtras().glDeleteBuffers(1, &old.VBO);
    old = std::move(fresh);
    return fileName(path) + ": atlas rebuilt";
}
