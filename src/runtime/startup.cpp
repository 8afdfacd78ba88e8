#include "runtime/startup.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <iterator>
#include <string>
#include <thread>
#include <utility>

#include "render/geometry.h"
#include "render/gl.h"
#include "render/glyph_atlas.h"
#include "render/texture.h"

namespace {

// Adds the time from construction to destruction to one group's total.
class GroupTimer {
public:
    GroupTimer(StartupTimes* times, double StartupTimes::*group)
        : times_(times), group_(group), start_(std::chrono::steady_clock::now()) {}
    ~GroupTimer() {
        if (times_ == nullptr) return;
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
        times_->*group_ += elapsed.count();
    }
    GroupTimer(const GroupTimer&) = delete;
    GroupTimer& operator=(const GroupTimer&) = delete;

private:
    StartupTimes* times_;
    double StartupTimes::*group_;
    std::chrono::steady_clock::time_point start_;
};

enum class Role { Text, Other };

// Builds demo6/<stem>.vs + .fs; a text program then receives the screen projection.
void buildProgram(Shader& program, const char* stem, Role role) {
    const std::string base = std::string("demo6/") + stem;
    program = Shader((base + ".vs").c_str(), (base + ".fs").c_str());
    if (role == Role::Text) {
        program.use();
        program.setMat4("projection", screenProjection());
    }
}

struct FontFile {
    const char* path;
    unsigned int pixelHeight;
    GlyphCodeCount codeCount;  // codes 0 to codeCount - 1
};

constexpr FontFile kAntonio = {"fonts/Antonio-Regular.ttf", 296, 255};
constexpr FontFile kC64 = {"fonts/c64.ttf", 165, 128};
constexpr FontFile kTopaz = {"fonts/topaz.ttf", 322, 128};

struct ImageFile {
    const char* path;
    const char* sampler;  // sampler uniform on demo6image
    int unit;
    unsigned int ImageTextures::*texture;
};

// Loading order. "texture9" shares unit 6 with "texture7"; there is no "texture8".
constexpr ImageFile kImageFiles[] = {
    {"demo6/images/what1.png", "texture1", 0, &ImageTextures::what1},
    {"demo6/images/where3.png", "texture2", 1, &ImageTextures::where3},
    {"demo6/images/lafrange.png", "texture3", 2, &ImageTextures::lafrange},
    {"demo6/images/maybe.png", "texture4", 3, &ImageTextures::maybe},
    {"demo6/images/mais.png", "texture5", 4, &ImageTextures::mais},
    {"demo6/images/answer1.png", "texture6", 5, &ImageTextures::answer1},
    {"demo6/images/nonsensical1.png", "texture7", 6, &ImageTextures::nonsensical1},
    {"demo6/images/last1.png", "texture9", 6, &ImageTextures::last1},
};
static_assert(std::size(kImageFiles) == std::tuple_size_v<DecodedImages>);

// A prefetched result, waiting for its worker if it is not ready yet.
template <typename Result>
Result take(std::future<Result>& prefetched, StartupTimes* times) {
    GroupTimer timer(times, &StartupTimes::waitingForWorkers);
    return prefetched.get();
}

}  // namespace

StartupPrefetch startPrefetch() {
    StartupPrefetch prefetch;
    auto rasterise = [](const FontFile& file) {
        return [file] { return rasteriseFont(file.path, file.pixelHeight, file.codeCount); };
    };
    // In the order start-up needs them. c64 and topaz cost the most, but come
    // last: with a single worker they are still done before that step.
    prefetch.antonio = prefetch.jobs.add(rasterise(kAntonio));
    prefetch.images = prefetch.jobs.add([] {
        DecodedImages images;
        for (std::size_t i = 0; i < images.size(); ++i) images[i] = decodeImage(kImageFiles[i].path);
        return images;
    });
    prefetch.c64 = prefetch.jobs.add(rasterise(kC64));
    prefetch.topaz = prefetch.jobs.add(rasterise(kTopaz));
    // One core is left to the main thread, which opens the window and makes
    // the GL calls meanwhile; more workers would only slow it down.
    const unsigned int cores = std::thread::hardware_concurrency();
    prefetch.jobs.start(std::min(cores > 1 ? cores - 1 : 1, 4u));
    return prefetch;
}

bool buildResources(Resources& res, StartupTimes* times) {
    StartupPrefetch prefetch = startPrefetch();
    return buildResources(res, prefetch, times);
}

bool buildResources(Resources& res, StartupPrefetch& prefetch, StartupTimes* times) {
    Programs& p = res.programs;

    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    {
        GroupTimer timer(times, &StartupTimes::programs);
        buildProgram(p.demo6pt1, "demo6pt1", Role::Text);
    }
    {
        // Also sets GL_UNPACK_ALIGNMENT to 1 for every later upload, images included.
        GroupTimer timer(times, &StartupTimes::atlases);
        if (!uploadGlyphAtlas(antonioFont, take(prefetch.antonio, times))) return false;
    }
    {
        GroupTimer timer(times, &StartupTimes::programs);
        buildProgram(p.demo6pt3, "demo6pt3", Role::Text);
        buildProgram(p.demo6pt3_2, "demo6pt3-2", Role::Other);
    }
    {
        GroupTimer timer(times, &StartupTimes::meshes);
        res.cubeMesh = buildCubeMesh();
    }
    {
        GroupTimer timer(times, &StartupTimes::programs);
        buildProgram(p.demo6pt4, "demo6pt4", Role::Text);
        buildProgram(p.demo6pt51, "demo6pt51", Role::Other);
        buildProgram(p.demo6pt61, "demo6pt61", Role::Text);
        buildProgram(p.demo6pt62, "demo6pt62", Role::Other);
        buildProgram(p.demo6pt71, "demo6pt71", Role::Text);
        buildProgram(p.demo6pt72, "demo6pt72", Role::Other);
        buildProgram(p.demo6pt91, "demo6pt91", Role::Text);
        buildProgram(p.demo6pt92, "demo6pt92", Role::Other);
        buildProgram(p.demo6ptA1, "demo6ptA1", Role::Text);
        buildProgram(p.demo6ptA2, "demo6ptA2", Role::Other);
        buildProgram(p.demo6ptB1, "demo6ptB1", Role::Text);
        buildProgram(p.demo6ptB2, "demo6ptB2", Role::Other);
        buildProgram(p.demo6ptC1, "demo6ptC1", Role::Text);
        buildProgram(p.demo6ptC2, "demo6ptC2", Role::Other);
        buildProgram(p.demo6ptD1, "demo6ptD1", Role::Text);
        buildProgram(p.demo6ptD2, "demo6ptD2", Role::Other);
        buildProgram(p.demo6ptE1, "demo6ptE1", Role::Text);
        buildProgram(p.demo6ptE2, "demo6ptE2", Role::Other);
        buildProgram(p.demo6image, "demo6image", Role::Other);
    }
    {
        GroupTimer timer(times, &StartupTimes::meshes);
        res.imageQuad = buildImageQuad();  // left bound
    }
    {
        GroupTimer timer(times, &StartupTimes::textures);
        DecodedImages decoded = take(prefetch.images, times);
        for (std::size_t i = 0; i < decoded.size(); ++i) {
            const ImageFile& image = kImageFiles[i];
            // Each picture's pixels are freed right after its upload.
            const DecodedImage pixels = std::move(decoded[i]);
            res.images.*image.texture = uploadTexture(image.path, pixels);
            p.demo6image.use();
            p.demo6image.setInt(image.sampler, image.unit);
        }
    }
    {
        GroupTimer timer(times, &StartupTimes::atlases);
        if (!uploadGlyphAtlas(c64Font, take(prefetch.c64, times))) return false;
        if (!uploadGlyphAtlas(topazFont, take(prefetch.topaz, times))) return false;
    }
    return true;
}
