#pragma once
#include <array>
#include <future>
#include <span>

#include "render/glyph_atlas.h"
#include "render/texture.h"
#include "runtime/job_queue.h"
#include "timeline/resources.h"

// Seconds spent on each group of start-up work.
struct StartupTimes {
    double programs = 0.0;
    double atlases = 0.0;
    double meshes = 0.0;
    double textures = 0.0;
    double waitingForWorkers = 0.0;  // of the atlases and textures, the wait for prefetched work
};

// A program of the show by its file stem (demo6/<stem>.vs and .fs).
struct ShowProgram {
    const char* stem;
    Shader Programs::*member;
    bool text;  // a text program, which receives the screen projection when built
};
std::span<const ShowProgram> showPrograms();  // all 22
// Gives a freshly built program the uniforms start-up gives it (and leaves a
// text program bound); the image program's samplers come with its pictures.
void setBuildUniforms(const ShowProgram& program, const Shader& built);

// A font of the show: its file, the height it is rendered at, and its atlas.
struct ShowFont {
    const char* path;
    unsigned int pixelHeight;
    GlyphCodeCount codeCount;  // codes 0 to codeCount - 1
    Font* font;
};
std::span<const ShowFont> showFonts();  // Antonio, c64, topaz

// A picture of the image program: its file, sampler and unit, and its texture.
struct ShowImage {
    const char* path;
    const char* sampler;  // sampler uniform on demo6image
    int unit;
    unsigned int ImageTextures::*texture;
};
std::span<const ShowImage> showImages();  // all eight, in loading order

// The eight pictures of the image program, in loading order.
using DecodedImages = std::array<DecodedImage, 8>;

// The CPU half of start-up, which needs no GL context: the three fonts
// rasterised and the eight images decoded on worker threads, so that they are
// ready (or nearly) when start-up reaches them. Prints nothing; every message
// comes from buildResources at the step that uses the result. Destroying it
// waits for the workers (a start-up that fails early waits for them too).
struct StartupPrefetch {
    std::future<RasterisedFont> antonio;
    std::future<DecodedImages> images;
    std::future<RasterisedFont> c64;
    std::future<RasterisedFont> topaz;
    JobQueue jobs;
};

// Starts the workers; call it as early as possible, before the window opens.
StartupPrefetch startPrefetch();

// Sets the global GL state and builds every resource of the show in start-up
// order (programs, glyph atlases, meshes, image textures), taking the fonts and
// images from `prefetch` and waiting for them where they are not ready yet.
// Needs a current GL context with the entry points loaded. Returns false when a
// font could not be opened: start-up then ends with status -1. `times`, when
// given, receives the time spent per group.
bool buildResources(Resources& res, StartupPrefetch& prefetch, StartupTimes* times = nullptr);

// The same, starting the prefetch on the spot.
bool buildResources(Resources& res, StartupTimes* times = nullptr);
