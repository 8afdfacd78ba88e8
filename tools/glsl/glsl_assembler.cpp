#include "glsl_assembler.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A failure with the file and line it stops at.
struct Failure {
    std::string message;
};

[[noreturn]] void fail(const std::string& file, int line, const std::string& why) {
    throw Failure{file + ":" + std::to_string(line) + ": " + why};
}

// One open conditional of a file: a GL_ES switch whose current branch is
// this variant's (take) or not (skip), or any other #if (pass).
enum class Branch { take, skip, pass };

const std::regex kSwitch(R"re(^[ \t]*#[ \t]*if(n?)def[ \t]+GL_ES[ \t]*(//[\s\S]*)?$)re");
const std::regex kIf(R"re(^[ \t]*#[ \t]*if)re");
const std::regex kElseOrEnd(R"re(^[ \t]*#[ \t]*(else|elif|endif)([ \t]|//|$))re");
const std::regex kAnyInclude(R"re(^[ \t]*#[ \t]*include)re");
const std::regex kInclude(R"re(^[ \t]*#[ \t]*include[ \t]+"([^"]+)"[ \t]*(//[\s\S]*)?$)re");

bool present(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

class Assembler {
public:
    Assembler(GlslVariant variant, std::string includeDir, AssembledGlsl& out)
        : esBranches_(variant == GlslVariant::es), includeDir_(std::move(includeDir)), out_(out) {}

    // Appends the expansion of `file` (absolute and normal) to the text.
    void expand(const std::string& file) {
        stack_.push_back(file);
        const int index = static_cast<int>(out_.files.size());
        out_.files.push_back(file);
        const std::string dir = fs::path(file).parent_path().string();
        std::ifstream in(file, std::ios::binary);
        if (!in) throw Failure{file + ": cannot be read"};
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

        std::vector<Branch> branches;
        int number = 0;
        for (std::size_t at = 0; at < text.size();) {
            ++number;
            std::size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(at, end - at);
            at = end + 1;
            if (!followSwitch(line, file, number, branches)) continue;
            if (std::find(branches.begin(), branches.end(), Branch::skip) != branches.end()) continue;
            std::smatch include;
            if (std::regex_search(line, kAnyInclude)) {
                if (!std::regex_match(line, include, kInclude)) fail(file, number, "malformed include: " + line);
                includeOnce(include[1].str(), dir, file, number);
            } else {
                out_.text += line;
                out_.text += '\n';
                out_.origins.push_back({index, number});
            }
        }
        if (!branches.empty()) fail(file, number, "an #if is not closed by the end of the file");
        stack_.pop_back();
    }

private:
    // Keeps `branches` in step with the line; false when the line is a GL_ES
    // switch's own directive, which never reaches the text.
    bool followSwitch(const std::string& line, const std::string& file, int number, std::vector<Branch>& branches) {
        std::smatch match;
        if (std::regex_match(line, match, kSwitch)) {
            const bool forEs = match[1].length() == 0;
            branches.push_back(forEs == esBranches_ ? Branch::take : Branch::skip);
            return false;
        }
        if (std::regex_search(line, kIf)) {
            branches.push_back(Branch::pass);
        } else if (std::regex_search(line, match, kElseOrEnd)) {
            const std::string directive = match[1].str();
            if (branches.empty()) fail(file, number, "#" + directive + " without an #if");
            const Branch top = branches.back();
            if (directive == "endif") branches.pop_back();
            if (top != Branch::pass) {
                if (directive == "elif") fail(file, number, "#elif in a GL_ES switch: use #else");
                if (directive == "else") branches.back() = top == Branch::take ? Branch::skip : Branch::take;
                return false;
            }
        }
        return true;
    }

    void includeOnce(const std::string& name, const std::string& dir, const std::string& file, int number) {
        fs::path target = (fs::absolute(dir) / name).lexically_normal();
        // Not beside the including file: then in the include directory.
        if (!present(target) && !includeDir_.empty()) {
            const fs::path generated = (fs::absolute(includeDir_) / name).lexically_normal();
            if (present(generated)) target = generated;
        }
        const std::string path = target.string();
        std::error_code error;
        if (!present(target) || fs::is_directory(target, error))
            fail(file, number, "included file \"" + name + "\" not found");
        if (std::find(stack_.begin(), stack_.end(), path) != stack_.end())
            fail(file, number, "\"" + name + "\" includes itself (through this line)");
        if (std::find(out_.files.begin(), out_.files.end(), path) == out_.files.end()) expand(path);
    }

    bool esBranches_;  // which side of the GL_ES switches the text takes
    std::string includeDir_;
    AssembledGlsl& out_;
    std::vector<std::string> stack_;  // the files being expanded, outermost first
};

// The ES header: the sampler types of ES 3.00 other than sampler2D have no
// default precision in one stage or the other, so each one used gets its own.
std::string esHeader(const std::string& text) {
    static const std::regex kSampler("[iu]?sampler[23][A-Za-z]*|[iu]?samplerCube[A-Za-z]*");
    std::vector<std::string> used;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kSampler); it != std::sregex_iterator(); ++it)
        used.push_back(it->str());
    std::string header = "#version 300 es\nprecision highp float;\nprecision highp int;\nprecision highp sampler2D;\n";
    for (const char* type : {"sampler3D", "samplerCube", "sampler2DShadow", "samplerCubeShadow", "sampler2DArray",
                             "sampler2DArrayShadow", "isampler2D", "isampler3D", "isamplerCube", "isampler2DArray",
                             "usampler2D", "usampler3D", "usamplerCube", "usampler2DArray"})
        if (std::find(used.begin(), used.end(), type) != used.end()) header += "precision highp " + std::string(type) + ";\n";
    return header;
}

}  // namespace

std::optional<GlslVariant> glslVariantNamed(const std::string& name) {
    if (name == "desktop") return GlslVariant::desktop;
    if (name == "es") return GlslVariant::es;
    if (name == "es-quad") return GlslVariant::esPixelQuad;
    return std::nullopt;
}

AssembledGlsl assembleGlsl(const std::string& source, GlslVariant variant, const std::string& includeDir) {
    AssembledGlsl out;
    const std::string file = fs::absolute(source).lexically_normal().string();
    try {
        Assembler(variant, includeDir, out).expand(file);
        if (variant != GlslVariant::desktop) {
            const std::string version = "#version 460 core\n";
            if (out.text.compare(0, version.size(), version) != 0)
                fail(file, 1, "the ES variant needs \"#version 460 core\" on the first line");
            const std::string header = esHeader(out.text);
            out.text = header + out.text.substr(version.size());
            out.origins.erase(out.origins.begin());
            out.origins.insert(out.origins.begin(), std::count(header.begin(), header.end(), '\n'), GlslOrigin{});
        }
        if (variant == GlslVariant::esPixelQuad) out.text = std::regex_replace(out.text, std::regex("dFd([xy])Fine"), "dFd$1");
        out.ok = true;
    } catch (const Failure& failure) {
        out.text.clear();
        out.origins.clear();
        out.error = failure.message;
    }
    return out;
}

std::string AssembledGlsl::where(int line) const {
    if (line < 1 || line > static_cast<int>(origins.size())) return "";
    const GlslOrigin& origin = origins[static_cast<std::size_t>(line - 1)];
    if (origin.file < 0) return "";
    return files[static_cast<std::size_t>(origin.file)] + ":" + std::to_string(origin.line);
}
