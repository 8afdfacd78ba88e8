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

}  // namespace

// The text programs receive the screen projection; the others nothing at build time.
constexpr ShowProgram kShowPrograms[] = {
    {"demo6pt1", &Programs::demo6pt1, true},       {"demo6pt3", &Programs::demo6pt3, true},
    {"demo6pt3-2", &Programs::demo6pt3_2, false},  {"demo6pt4", &Programs::demo6pt4, true},
    {"demo6pt51", &Programs::demo6pt51, false},    {"demo6pt61", &Programs::demo6pt61, true},
    {"demo6pt62", &Programs::demo6pt62, false},    {"demo6pt71", &Programs::demo6pt71, true},
    {"demo6pt72", &Programs::demo6pt72, false},    {"demo6pt91", &Programs::demo6pt91, true},
    {"demo6pt92", &Programs::demo6pt92, false},    {"demo6ptA1", &Programs::demo6ptA1, true},
    {"demo6ptA2", &Programs::demo6ptA2, false},    {"demo6ptB1", &Programs::demo6ptB1, true},
    {"demo6ptB2", &Programs::demo6ptB2, false},    {"demo6ptC1", &Programs::demo6ptC1, true},
    {"demo6ptC2", &Programs::demo6ptC2, false},    {"demo6ptD1", &Programs::demo6ptD1, true},
    {"demo6ptD2", &Programs::demo6ptD2, false},    {"demo6ptE1", &Programs::demo6ptE1, true},
    {"demo6ptE2", &Programs::demo6ptE2, false},    {"demo6image", &Programs::demo6image, false},
};

const ShowFont kShowFonts[] = {
    {"fonts/Antonio-Regular.ttf", 296, 255, &antonioFont},
    {"fonts/c64.ttf", 165, 128, &c64Font},
    {"fonts/topaz.ttf", 322, 128, &topazFont},
};

std::span<const ShowProgram> showPrograms() { return kShowPrograms; }
std::span<const ShowFont> showFonts() { return kShowFonts; }

void setBuildUniforms(const ShowProgram& program, const Shader& built) {
    if (!program.text) return;
    built.use();
    built.setMat4("projection", screenProjection());
}

// Loading order. "texture9" shares unit 6 with "texture7"; there is no "texture8".
constexpr ShowImage kImageFiles[] = {
    {"demo6/images/what1.png", "texture1", 0, &ImageTextures::what1},
    {"demo6/images/where3.png", "texture2", 1, &ImageTextures::where3},
    {"demo6/images/lafrange.png", "texture3", 2, &ImageTextures::lafrange},
    {"demo6/images/maybe.png", "texture4", 3, &ImageTextures::maybe},
    {"demo6/images/mais.png", "texture5", 4, &ImageTextures::mais},
    {"demo6/images/answer1.png", "texture6", 5, &ImageTextures::answer1},
    {"demo6/images/nonsensical1.png", "texture7", 6, &ImageTextures::nonsensical1},
    {"demo6/images/last1.png", "texture9", 6, &ImageTextures::last1},
};
std::span<const ShowImage> showImages() { return kImageFiles; }

namespace {

const ShowFont& kAntonio = kShowFonts[0];
const ShowFont& kC64 = kShowFonts[1];
const ShowFont& kTopaz = kShowFonts[2];

// Builds demo6/<stem>.vs + .fs into its place, with the uniforms it gets at build time.
void buildProgram(Programs& programs, std::string_view stem) {
    for (const ShowProgram& program : kShowPrograms) {
        if (program.stem != stem) continue;
        const std::string base = "demo6/" + std::string(stem);
        programs.*program.member = Shader((base + ".vs").c_str(), (base + ".fs").c_str());
        setBuildUniforms(program, programs.*program.member);
    }
}

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
    auto rasterise = [](const ShowFont& file) {
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
        buildProgram(p, "demo6pt1");
    }
    {
        // Also sets GL_UNPACK_ALIGNMENT to 1 for every later upload, images included.
        GroupTimer timer(times, &StartupTimes::atlases);
        if (!uploadGlyphAtlas(antonioFont, take(prefetch.antonio, times))) return false;
    }
    {
        GroupTimer timer(times, &StartupTimes::programs);
        buildProgram(p, "demo6pt3");
        buildProgram(p, "demo6pt3-2");
    }
    {
        GroupTimer timer(times, &StartupTimes::meshes);
        res.cubeMesh = buildCubeMesh();
    }
    {
        GroupTimer timer(times, &StartupTimes::programs);
        buildProgram(p, "demo6pt4");
        buildProgram(p, "demo6pt51");
        buildProgram(p, "demo6pt61");
        buildProgram(p, "demo6pt62");
        buildProgram(p, "demo6pt71");
        buildProgram(p, "demo6pt72");
        buildProgram(p, "demo6pt91");
        buildProgram(p, "demo6pt92");
        buildProgram(p, "demo6ptA1");
        buildProgram(p, "demo6ptA2");
        buildProgram(p, "demo6ptB1");
        buildProgram(p, "demo6ptB2");
        buildProgram(p, "demo6ptC1");
        buildProgram(p, "demo6ptC2");
        buildProgram(p, "demo6ptD1");
        buildProgram(p, "demo6ptD2");
        buildProgram(p, "demo6ptE1");
        buildProgram(p, "demo6ptE2");
        buildProgram(p, "demo6image");
    }
    {
        GroupTimer timer(times, &StartupTimes::meshes);
        res.imageQuad = buildImageQuad();  // left bound
    }
    {
        GroupTimer timer(times, &StartupTimes::textures);
        DecodedImages decoded = take(prefetch.images, times);
        for (std::size_t i = 0; i < decoded.size(); ++i) {
            const ShowImage& image = kImageFiles[i];
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
