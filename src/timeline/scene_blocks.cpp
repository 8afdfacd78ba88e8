#include "timeline/scene_blocks.h"

#include <cmath>
#include <optional>

#include <glm/gtc/matrix_transform.hpp>

#include "render/gl.h"
#include "timeline/chain.h"
#include "timeline/scene_math.h"
#include "timeline/shared_with_glsl.h"

// Every scene block draws instances of the cube mesh over whatever the caption
// of the same frame left in the colour buffer: it clears depth only, draws
// with culling and blending off and depth testing on, and leaves that state,
// its program and the cube mesh bound for whatever the frame draws next.
// Nothing survives between instances or frames.

namespace {

constexpr float kEighthTurn = 0.7853982f;         // 45 degrees as a float (0x3F490FDB)
constexpr float kDegreesToRadians = 0.017453292f;  // float bits 0x3C8EFA35

void scenePrologue(const Shader& program, float time) {
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    program.use();
    program.setFloat("time", time);
}

void drawCube(const Frame& frame) {
    glBindVertexArray(frame.res.cubeMesh);
    glDrawArrays(GL_TRIANGLES, 0, 36);
}

// ---------------------------------------------------------------------------
// The two cube waves: an integer counter i, a scale with 1.5 in w, and a
// rotation by a fresh timer reading for every cube.

struct CubeWave {
    Shader Programs::*program;
    int cubes;
    double y0;  // the wave is centred this far below the x axis
    double s0;  // the smallest scale of a cube
    glm::vec3 (*camera)(float t);
};

glm::vec3 waveTranslation(int i, float t, double y0) {
    const double x = i * 0.3 - 3.5;
    const double y = double(std::sin(t)) * (i * 0.2) - y0;
    const double z = std::fabs(std::atan(double(i))) - 4.0;
    return glm::vec3(float(x), float(y), float(z));
}

// D = scale(1.5 x identity, (s, s, s)) = diag(1.5 s, 1.5 s, 1.5 s, 1.5).
glm::mat4 waveScale(float t, double s0) {
    const float s = float(double(std::fabs(std::sin(t))) + s0);
    return glm::scale(glm::mat4(1.5f), glm::vec3(s, s, s));
}

glm::vec3 firstWaveCamera(float) { return glm::vec3(0.0f, 0.0f, -3.0f); }

glm::vec3 secondWaveCamera(float t) {
    return glm::vec3(-4.5f, float(double(std::sin(t) * -4.0f) * 0.5), -17.0f);
}

constexpr CubeWave kFirstWave{&Programs::demo6pt3_2, 29, 0.75, 1.0, firstWaveCamera};
constexpr CubeWave kSecondWave{&Programs::demo6pt51, 39, 5.5, 4.0, secondWaveCamera};

void drawCubeWave(Frame& frame, const CubeWave& wave) {
    const Shader& program = frame.res.programs.*wave.program;
    const float t = frame.t;
    scenePrologue(program, t);
    for (int i = 1; i <= wave.cubes; ++i) {
        program.setFloat("i", float(i));
        glm::mat4 model(1.0f);
        glm::mat4 view(1.0f);
        glm::mat4 projection(1.0f);
        model = glm::translate(model, waveTranslation(i, t, wave.y0));
        model = model * waveScale(t, wave.s0);
        // A later reading for every cube, so each turns a little further.
        const float spin = float(frame.clock.now());
        model = glm::rotate(model, spin, glm::vec3(0.5f, 1.0f, 0.0f));
        view = glm::translate(view, wave.camera(t));
        projection = sceneProjection(100.0f);
        program.setMat4("model", model);
        program.setMat4("view", view);
        program.setMat4("projection", projection);
        drawCube(frame);
    }
}

// ---------------------------------------------------------------------------
// The slab and pillar blocks: a float counter k, "beer" = |k - L|, and for
// most of them the root triple of the model and the quadratic value of the
// projection.

struct Turn {
    float angle;
    glm::vec3 axis;
};

enum class Roots { none, fromRowsOneToThree, fromDiagonal };

struct SlabScene {
    Shader Programs::*program;
    float localOffset = 0.0f;           // L = t - localOffset, sent as "time"
    std::optional<float> timerOffset = std::nullopt;  // "timer" = t - timerOffset, when sent
    float limit = 24.0f;                // k = 1, 2, ... while k < limit
    glm::vec3 (*translation)(float k, float L, float beer) = nullptr;
    std::optional<glm::vec3> scale = std::nullopt;
    Turn (*turn)(float t, float L) = nullptr;  // nullptr: no rotation
    glm::vec3 camera{};
    float farPlane = 100.0f;
    Roots roots = Roots::none;
    bool sendsQuadratic = false;        // "toinenaste"
};

// The translations, each computed in double from the widened k.

glm::vec3 sweepTranslation(float k, float L, float beer) {
    const double x = ((double(k) * 0.1 - 2.2) + 0.1) + double(beer - std::sin(beer));
    const double y = std::sin(double(k) * 0.4 + double(std::cos(L))) + 1.1;
    return glm::vec3(float(x), float(y), -12.0f);
}

glm::vec3 pillarTranslation(float k, float, float) {
    const double x = 0.1 + (double(k) * 0.1 + 1.2);
    const double y = std::sin(double(k) * 0.4) + 1.1;
    return glm::vec3(float(x), float(y), 1.0f);
}

glm::vec3 chainTranslation(float k, float, float) {
    const double tenth = double(k) * 0.1;  // formed once, used twice
    return glm::vec3(float(tenth - 2.2), float(std::sin(tenth) - 4.0), -12.0f);
}

// The slab ribbon, slab stack, rocking slabs, tilting slabs and slab wave
// share this one. The slab programs know the step from one slab to the next.
glm::vec3 slabTranslation(float k, float, float) {
    const double x = (double(k) * kSlabStepX + 1.2) + 0.1;
    const double y = std::sin(double(k) * kSlabRiseRate) + 1.1;
    return glm::vec3(float(x), float(y), 1.0f);
}

// The rotations, in float unless widened on purpose.

Turn ribbonTurn(float t, float) {
    return {kEighthTurn, glm::vec3(0.0f, 1.4f, std::sin(t) * 6.1f)};
}

Turn sweepTurn(float, float L) {
    const float y = float(double(std::cos(L) * 0.12f) * 0.2);
    const float z = float(double(std::sin(L) * 0.12f) * 0.1);
    return {kEighthTurn, glm::vec3(0.0f, y, z)};
}

Turn chainTurn(float, float L) {
    return {kEighthTurn, glm::vec3(0.0f, std::cos(L) * 1.1f, std::sin(L) * 1.2f)};
}

// Swings between -45 and +45 degrees with sin(L).
float rockAngle(float L) { return (std::sin(L) * 45.0f) * kDegreesToRadians; }

Turn rockingTurn(float, float L) { return {rockAngle(L), glm::vec3(2.0f, 0.0f, 2.0f)}; }

Turn tiltingTurn(float, float L) { return {rockAngle(L), glm::vec3(0.0f, 2.1f, 2.0f)}; }

constexpr glm::vec3 kSlabScale(kSlabSize.x, kSlabSize.y, kSlabSize.z);
constexpr float kStackLimit = kStackSlabs + 1;  // k runs 1 to kStackSlabs
constexpr float kWaveLimit = kWaveSlabs + 1;

constexpr SlabScene kSlabRibbon{
    .program = &Programs::demo6pt62,
    .translation = slabTranslation,
    .scale = glm::vec3(4.1f, 2.1f, 7.5f),
    .turn = ribbonTurn,
    .camera = glm::vec3(-2.0f, 1.0f, -15.0f),
    .roots = Roots::fromRowsOneToThree,
};
constexpr SlabScene kCubeSweep{
    .program = &Programs::demo6pt72,
    .localOffset = windowStart("cube sweep"),
    .translation = sweepTranslation,
    .scale = glm::vec3(2.0f, 2.0f, 2.0f),
    .turn = sweepTurn,
    .camera = glm::vec3(-0.5f, 0.0f, -15.0f),
    .roots = Roots::fromRowsOneToThree,
};
// "time" runs 85 seconds behind the window's start; "timer" is the true local time.
constexpr SlabScene kPillarRow{
    .program = &Programs::demo6pt92,
    .localOffset = 170.0f,
    .timerOffset = windowStart("pillar row"),
    .translation = pillarTranslation,
    .scale = glm::vec3(1.0f, 4.0f, 1.0f),
    .camera = glm::vec3(6.0f, -2.9f, -40.0f),
    .roots = Roots::fromDiagonal,
    .sendsQuadratic = true,
};
constexpr SlabScene kCubeChain{
    .program = &Programs::demo6ptA2,
    .localOffset = windowStart("cube chain"),
    .translation = chainTranslation,
    .turn = chainTurn,
    .camera = glm::vec3(0.0f, 0.0f, -22.0f),
};
constexpr SlabScene kSlabStack{
    .program = &Programs::demo6ptB2,
    .localOffset = windowStart("slab stack"),
    .limit = kStackLimit,
    .translation = slabTranslation,
    .scale = kSlabScale,
    .camera = glm::vec3(-7.0f, -4.4f, -65.0f),
    .roots = Roots::fromDiagonal,
    .sendsQuadratic = true,
};
constexpr SlabScene kRockingSlabs{
    .program = &Programs::demo6ptC2,
    .localOffset = windowStart("rocking slabs"),
    .limit = kStackLimit,
    .translation = slabTranslation,
    .scale = kSlabScale,
    .turn = rockingTurn,
    .camera = glm::vec3(-7.0f, -4.4f, -90.0f),
    .roots = Roots::fromDiagonal,
    .sendsQuadratic = true,
};
constexpr SlabScene kTiltingSlabs{
    .program = &Programs::demo6ptD2,
    .localOffset = windowStart("tilting slabs"),
    .limit = kStackLimit,
    .translation = slabTranslation,
    .scale = kSlabScale,
    .turn = tiltingTurn,
    .camera = glm::vec3(-7.0f, -4.4f, -90.0f),
    .roots = Roots::fromDiagonal,
    .sendsQuadratic = true,
};
// The tilting slabs again, twice as many and with a farther far plane.
constexpr SlabScene kSlabWave{
    .program = &Programs::demo6ptE2,
    .localOffset = windowStart("slab wave"),
    .limit = kWaveLimit,
    .translation = slabTranslation,
    .scale = kSlabScale,
    .turn = tiltingTurn,
    .camera = glm::vec3(-7.0f, -4.4f, -90.0f),
    .farPlane = 150.0f,
    .roots = Roots::fromDiagonal,
    .sendsQuadratic = true,
};

void sendRoots(const Shader& program, Roots roots, const glm::mat4& m) {
    RootTriple triple{};
    switch (roots) {
        case Roots::none:
            return;
        case Roots::fromRowsOneToThree:
            triple = rootTriple(m[1][1], m[2][2], m[3][3], m[1][1]);
            break;
        case Roots::fromDiagonal:
            triple = rootTriple(m[0][0], m[1][1], m[2][2], m[1][1]);
            break;
    }
    program.setFloat("rootone", triple.rootone);
    program.setFloat("roottwo", triple.roottwo);
    program.setFloat("rootthree", triple.rootthree);
}

void drawSlabScene(Frame& frame, const SlabScene& scene) {
    const Shader& program = frame.res.programs.*scene.program;
    const float t = frame.t;
    const float L = t - scene.localOffset;
    scenePrologue(program, L);
    if (scene.timerOffset) program.setFloat("timer", t - *scene.timerOffset);
    for (float k = 1.0f; k < scene.limit; k += 1.0f) {
        program.setFloat("i", k);
        glm::mat4 model(1.0f);
        glm::mat4 view(1.0f);
        glm::mat4 projection(1.0f);
        const float beer = std::fabs(k - L);
        model = glm::translate(model, scene.translation(k, L, beer));
        if (scene.scale) model = glm::scale(model, *scene.scale);
        if (scene.turn != nullptr) {
            const Turn turn = scene.turn(t, L);
            model = glm::rotate(model, turn.angle, turn.axis);
        }
        view = glm::translate(view, scene.camera);
        projection = sceneProjection(scene.farPlane);
        program.setFloat("beer", beer);
        program.setMat4("model", model);
        program.setMat4("view", view);
        program.setMat4("projection", projection);
        sendRoots(program, scene.roots, model);
        if (scene.sendsQuadratic)
            program.setFloat("toinenaste", quadraticValue(projection[0][0], projection[0][1], projection[0][2]));
        drawCube(frame);
    }
}

}  // namespace

void cubeWave1(Frame& frame) { drawCubeWave(frame, kFirstWave); }
void cubeWave2(Frame& frame) { drawCubeWave(frame, kSecondWave); }
void slabRibbon(Frame& frame) { drawSlabScene(frame, kSlabRibbon); }
void cubeSweep(Frame& frame) { drawSlabScene(frame, kCubeSweep); }
void pillarRow(Frame& frame) { drawSlabScene(frame, kPillarRow); }
void cubeChain(Frame& frame) { drawSlabScene(frame, kCubeChain); }
void slabStack(Frame& frame) { drawSlabScene(frame, kSlabStack); }
void rockingSlabs(Frame& frame) { drawSlabScene(frame, kRockingSlabs); }
void tiltingSlabs(Frame& frame) { drawSlabScene(frame, kTiltingSlabs); }
void slabWave(Frame& frame) { drawSlabScene(frame, kSlabWave); }
