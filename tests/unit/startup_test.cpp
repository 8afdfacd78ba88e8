#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "fake_gl.h"
#include "render/geometry.h"
#include "runtime/startup.h"

// Start-up against the fake GL, with the real data files of the run directory.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::install();
        ::testing::internal::CaptureStdout();
        built_ = buildResources(res_);
        printed_ = ::testing::internal::GetCapturedStdout();
    }

    // Index of the first call named `name` whose first argument is `arg` (at or after `from`).
    std::size_t indexOf(const std::string& name, double arg, std::size_t from = 0) const {
        const auto& calls = fakegl::state().calls;
        for (std::size_t i = from; i < calls.size(); ++i)
            if (calls[i].name == name && !calls[i].args.empty() && calls[i].args[0] == arg) return i;
        ADD_FAILURE() << name << "(" << arg << ") not called";
        return calls.size();
    }

    std::size_t indexOfUniform(const std::string& uniform) const {
        const auto& calls = fakegl::state().calls;
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i].name.rfind("glUniform", 0) == 0 && calls[i].text == uniform) return i;
        ADD_FAILURE() << uniform << " never set";
        return calls.size();
    }

    Resources res_;
    bool built_ = false;
    std::string printed_;
};

TEST_F(StartupTest, BuildsEveryResourceSilently) {
    EXPECT_TRUE(built_);
    EXPECT_EQ(printed_, "");
    const auto& gl = fakegl::state();
    EXPECT_EQ(fakegl::calls("glCreateProgram").size(), 22u);
    for (const auto& [program, linked] : gl.programLinked) EXPECT_TRUE(linked) << program;
    // Global state first: culling and blending on, depth test off.
    auto names = fakegl::callNames();
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{"glEnable", "glEnable", "glBlendFunc"}));
    EXPECT_TRUE(gl.enabled.count(GL_CULL_FACE));
    EXPECT_TRUE(gl.enabled.count(GL_BLEND));
    EXPECT_FALSE(gl.enabled.count(GL_DEPTH_TEST));
    EXPECT_EQ(gl.blendSrc, GL_SRC_ALPHA);
    EXPECT_EQ(gl.blendDst, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(StartupTest, BuildsProgramsInOrderAndGivesEachTextProgramTheProjection) {
    const Programs& p = res_.programs;
    const std::vector<std::pair<const Shader*, bool>> order = {
        {&p.demo6pt1, true},    {&p.demo6pt3, true},    {&p.demo6pt3_2, false}, {&p.demo6pt4, true},
        {&p.demo6pt51, false},  {&p.demo6pt61, true},   {&p.demo6pt62, false},  {&p.demo6pt71, true},
        {&p.demo6pt72, false},  {&p.demo6pt91, true},   {&p.demo6pt92, false},  {&p.demo6ptA1, true},
        {&p.demo6ptA2, false},  {&p.demo6ptB1, true},   {&p.demo6ptB2, false},  {&p.demo6ptC1, true},
        {&p.demo6ptC2, false},  {&p.demo6ptD1, true},   {&p.demo6ptD2, false},  {&p.demo6ptE1, true},
        {&p.demo6ptE2, false},  {&p.demo6image, false}};
    auto created = fakegl::calls("glCreateProgram");
    ASSERT_EQ(created.size(), order.size());
    const glm::mat4 projection = screenProjection();
    const std::vector<float> expected(&projection[0][0], &projection[0][0] + 16);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Shader& shader = *order[i].first;
        EXPECT_EQ(shader.ID, created[i]->args[0]) << "program " << i + 1;
        if (order[i].second) {
            // Right after linking: bind, then load "projection".
            std::size_t link = indexOf("glLinkProgram", shader.ID);
            const auto& calls = fakegl::state().calls;
            std::size_t use = std::find_if(calls.begin() + link, calls.end(),
                                           [](const fakegl::Call& c) { return c.name == "glUseProgram"; }) -
                              calls.begin();
            ASSERT_LT(use, calls.size());
            EXPECT_EQ(calls[use].args[0], shader.ID);
            EXPECT_EQ(calls[use + 2].name, "glUniformMatrix4fv");
            EXPECT_EQ(calls[use + 2].text, "projection");
            EXPECT_EQ(fakegl::uniform(shader.ID, "projection"), expected);
        } else {
            EXPECT_TRUE(fakegl::uniform(shader.ID, "projection").empty());
        }
    }
}

TEST_F(StartupTest, InterleavesAtlasesMeshesAndImagesInStartupOrder) {
    const Programs& p = res_.programs;
    // The Antonio atlas sets the unpack alignment between the first and second program.
    std::size_t alignment = indexOf("glPixelStorei", GL_UNPACK_ALIGNMENT);
    EXPECT_GT(alignment, indexOf("glLinkProgram", p.demo6pt1.ID));
    EXPECT_LT(alignment, indexOf("glLinkProgram", p.demo6pt3.ID));
    EXPECT_EQ(fakegl::state().unpackAlignment, 1);
    // The cube mesh comes between demo6pt3-2 and demo6pt4.
    std::size_t cube = indexOf("glBindVertexArray", res_.cubeMesh);
    EXPECT_GT(cube, indexOf("glLinkProgram", p.demo6pt3_2.ID));
    EXPECT_LT(cube, indexOf("glLinkProgram", p.demo6pt4.ID));
    // The image quad after demo6image, then the images, then the c64 and topaz glyphs.
    std::size_t imageQuad = indexOf("glBindVertexArray", res_.imageQuad);
    EXPECT_GT(imageQuad, indexOf("glLinkProgram", p.demo6image.ID));
    std::size_t firstSampler = indexOfUniform("texture1");
    EXPECT_GT(firstSampler, imageQuad);
    std::size_t lastSampler = indexOfUniform("texture9");
    const auto& calls = fakegl::state().calls;
    std::size_t glyphUploadsAfterImages = 0;
    for (std::size_t i = lastSampler; i < calls.size(); ++i)
        if (calls[i].name == "glTexImage2D" && calls[i].args[2] == GL_RED) ++glyphUploadsAfterImages;
    EXPECT_EQ(glyphUploadsAfterImages, 256u);  // codes 0 to 127 of c64, then of topaz
}

TEST_F(StartupTest, LeavesTheStateTheFirstFrameFinds) {
    const auto& gl = fakegl::state();
    EXPECT_EQ(gl.program, res_.programs.demo6image.ID);
    EXPECT_EQ(gl.vertexArray, 0u);
    EXPECT_EQ(gl.activeUnit, static_cast<GLenum>(GL_TEXTURE0));
    EXPECT_EQ(gl.texture2D.at(GL_TEXTURE0), 0u);
    EXPECT_EQ(gl.unpackAlignment, 1);
}

TEST_F(StartupTest, GivesTheImageSamplersTheirUnits) {
    const GLuint image = res_.programs.demo6image.ID;
    const std::vector<std::pair<std::string, float>> units = {
        {"texture1", 0}, {"texture2", 1}, {"texture3", 2}, {"texture4", 3},
        {"texture5", 4}, {"texture6", 5}, {"texture7", 6}, {"texture9", 6}};
    for (const auto& [sampler, unit] : units) EXPECT_EQ(fakegl::uniform(image, sampler), std::vector<float>{unit});
    EXPECT_TRUE(fakegl::uniform(image, "texture8").empty());
    const ImageTextures& t = res_.images;
    std::vector<unsigned int> names = {t.what1, t.where3, t.lafrange, t.maybe, t.mais, t.answer1, t.nonsensical1, t.last1};
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

// --- Start-up with files missing ---------------------------------------------
// Fonts and images are read ahead on worker threads; what they meet must still
// be reported at the step that uses them, in start-up order.

namespace {

namespace fs = std::filesystem;

// A copy of the run directory (links to its files) without the given paths,
// made the working directory for the lifetime of this object.
class RunDirWithout {
public:
    explicit RunDirWithout(std::initializer_list<std::string> missing) : original_(fs::current_path()) {
        // One folder per test: ctest runs the tests of this file side by side.
        dir_ = fs::path(::testing::TempDir()) /
               (std::string("startup_run_dir_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        for (const char* folder : {"demo6", "demo6/images", "fonts"}) {
            fs::create_directories(dir_ / folder);
            for (const fs::directory_entry& entry : fs::directory_iterator(original_ / folder)) {
                const std::string path = std::string(folder) + "/" + entry.path().filename().string();
                if (entry.is_regular_file() && std::find(missing.begin(), missing.end(), path) == missing.end())
                    fs::create_symlink(entry.path(), dir_ / path);
            }
        }
        fs::current_path(dir_);
    }
    ~RunDirWithout() {
        fs::current_path(original_);
        fs::remove_all(dir_);
    }

private:
    fs::path original_;
    fs::path dir_;
};

std::string buildAndCapture(Resources& res, bool& built) {
    fakegl::install();
    ::testing::internal::CaptureStdout();
    built = buildResources(res);
    return ::testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(StartupWithMissingFiles, AMissingAntonioEndsStartUpBeforeAnyLaterStepReports) {
    RunDirWithout runDir({"fonts/Antonio-Regular.ttf", "demo6/images/mais.png", "fonts/c64.ttf"});
    Resources res;
    bool built = true;
    EXPECT_EQ(buildAndCapture(res, built), "ERROR TERROR failed to load font as face\n");
    EXPECT_FALSE(built);
    // Only the first program came before; no texture was made.
    EXPECT_EQ(fakegl::calls("glCreateProgram").size(), 1u);
    EXPECT_TRUE(fakegl::calls("glGenTextures").empty());
}

TEST(StartupWithMissingFiles, ShaderImageAndFontFailuresAreReportedInStartupOrder) {
    RunDirWithout runDir({"demo6/demo6pt4.fs", "demo6/images/mais.png", "fonts/topaz.ttf"});
    Resources res;
    bool built = true;
    const std::string printed = buildAndCapture(res, built);
    EXPECT_FALSE(built);
    const std::string shader = "ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ\n";
    const std::string lastTwo = "Texture failed to load at path: demo6/images/mais.png\n"
                                "ERROR TERROR failed to load font as face\n";
    EXPECT_EQ(printed.substr(0, shader.size()), shader) << printed;
    ASSERT_GE(printed.size(), lastTwo.size());
    EXPECT_EQ(printed.substr(printed.size() - lastTwo.size()), lastTwo) << printed;
    // The missing image still has its name, in turn and without storage; c64
    // was uploaded in full before topaz failed.
    EXPECT_EQ(fakegl::calls("glCreateProgram").size(), 22u);
    EXPECT_GT(res.images.mais, res.images.maybe);
    EXPECT_LT(res.images.mais, res.images.answer1);
    EXPECT_FALSE(fakegl::state().textures[res.images.mais].hasImage);
    const auto& calls = fakegl::state().calls;
    const auto lastSampler = std::find_if(calls.begin(), calls.end(),
                                          [](const fakegl::Call& c) { return c.text == "texture9"; });
    const auto glyphUploads = std::count_if(lastSampler, calls.end(), [](const fakegl::Call& c) {
        return c.name == "glTexImage2D" && c.args[2] == GL_RED;
    });
    EXPECT_EQ(glyphUploads, 128);
}
